#include "output/rysnipgraphicsscene.h"

#include "output/rypagecontent.h"

#include <QGraphicsItem>
#include <QGraphicsSceneMouseEvent>
#include <QPainter>
#include <QPen>
#include <QStyleOptionGraphicsItem>

#include <algorithm>
#include <cmath>

namespace {

constexpr qreal HitDistance = 3;

// The whole chart as one item that draws only its exposed part.
class ChartItem : public QGraphicsItem
{
public:
    explicit ChartItem(const RyPageContent *content)
        : m_content(content)
    {
        setFlag(ItemUsesExtendedStyleOption);
    }

    QRectF boundingRect() const override { return QRectF(QPointF(), m_content->size()); }

    void paint(QPainter *painter, const QStyleOptionGraphicsItem *option, QWidget *) override
    {
        const QRect area = option->exposedRect.toAlignedRect() & boundingRect().toRect();
        painter->save();
        painter->setClipRect(area, Qt::IntersectClip);
        m_content->paintArea(*painter, area);
        painter->restore();
    }

private:
    const RyPageContent *m_content;
};

} // namespace

RySnipGraphicsScene::RySnipGraphicsScene(const RyPageContent *content, QObject *parent)
    : QGraphicsScene(parent)
    , m_content(content)
{
    auto *chart = new ChartItem(content);
    addItem(chart);
    setSceneRect(chart->boundingRect());
    createSplitLines();
}

void RySnipGraphicsScene::createSplitLines()
{
    m_sceneWidth = int(sceneRect().width());
    m_sceneHeight = int(sceneRect().height());
    QPen pen(QColor(255, 165, 0));
    pen.setWidth(5);
    const QColor shade(223, 222, 222, 150);
    m_leftShade = addRect(0, 0, 0, m_sceneHeight, Qt::NoPen, shade);
    m_rightShade = addRect(m_sceneWidth, 0, 0, m_sceneHeight, Qt::NoPen, shade);
    m_leftLine = addLine(0, 0, 0, m_sceneHeight, pen);
    m_rightLine = addLine(0, 0, 0, m_sceneHeight, pen);
    m_rightLine->setPos(m_sceneWidth, 0);
}

qreal RySnipGraphicsScene::leftLineX() const
{
    return m_leftLine->pos().x();
}

qreal RySnipGraphicsScene::rightLineX() const
{
    return m_rightLine->pos().x();
}

QRect RySnipGraphicsScene::selection() const
{
    const int left = qRound(leftLineX());
    return QRect(left, 0, qRound(rightLineX()) - left, m_sceneHeight);
}

bool RySnipGraphicsScene::hits(const QGraphicsLineItem *line, const QPointF &point) const
{
    return std::abs(point.x() - line->pos().x()) <= HitDistance && point.y() >= -HitDistance
        && point.y() <= m_sceneHeight + HitDistance;
}

void RySnipGraphicsScene::mousePressEvent(QGraphicsSceneMouseEvent *event)
{
    const QPointF point = event->scenePos();
    m_activeLine = hits(m_leftLine, point) ? 0 : hits(m_rightLine, point) ? 1 : -1;
    m_dragging = event->button() == Qt::LeftButton && m_activeLine >= 0;
    if (!m_dragging)
        QGraphicsScene::mousePressEvent(event);
}

void RySnipGraphicsScene::mouseMoveEvent(QGraphicsSceneMouseEvent *event)
{
    if (m_dragging) {
        moveActiveLine(event->scenePos().x());
        return;
    }
    const QPointF point = event->scenePos();
    emit cursorUpdated(hits(m_leftLine, point) || hits(m_rightLine, point));
    QGraphicsScene::mouseMoveEvent(event);
}

void RySnipGraphicsScene::mouseReleaseEvent(QGraphicsSceneMouseEvent *event)
{
    m_dragging = false;
    QGraphicsScene::mouseReleaseEvent(event);
}

void RySnipGraphicsScene::moveActiveLine(qreal x)
{
    // The lines stay on the chart and never pass each other.
    x = std::clamp<qreal>(x, 0, m_sceneWidth);
    if (m_activeLine == 0)
        m_leftLine->setPos(std::min(x, rightLineX()), 0);
    else if (m_activeLine == 1)
        m_rightLine->setPos(std::max(x, leftLineX()), 0);
    m_leftShade->setRect(0, 0, leftLineX(), m_sceneHeight);
    m_rightShade->setRect(rightLineX(), 0, m_sceneWidth - rightLineX(), m_sceneHeight);
}
