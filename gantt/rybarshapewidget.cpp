#include "gantt/rybarshapewidget.h"

#include "gantt/ryitempainter.h"

#include <QKeyEvent>
#include <QPainter>

#include <cstdlib>

namespace {

constexpr int Margin = 4;

} // namespace

RyBarShapeWidget::RyBarShapeWidget(QWidget *parent)
    : RyIndexPickerWidget(QColor(0x99, 0xcc, 0xff), 0, parent)
{
    setFixedSize(sizeHint());
}

QSize RyBarShapeWidget::sizeHint() const
{
    return QSize(BarWidth + 2 * Margin, shapes().size() * RowHeight);
}

const QVector<RyBarShapeWidget::BodyShape> &RyBarShapeWidget::shapes()
{
    static const QVector<BodyShape> list {
        { 0, 0 }, { 11, 6 }, { 5, 3 },  { 5, 9 },  { 5, 12 },
        { 3, 6 }, { 3, 10 }, { 3, 14 }, { 3, 18 },
    };
    return list;
}

int RyBarShapeWidget::indexOf(int height, int offset)
{
    if (height <= 0)
        return 0;
    int best = 1;
    int bestDistance = -1;
    for (int i = 1; i < shapes().size(); ++i) {
        const BodyShape &shape = shapes().at(i);
        const int distance = std::abs(shape.first - height) + std::abs(shape.second - offset);
        if (bestDistance < 0 || distance < bestDistance) {
            best = i;
            bestDistance = distance;
        }
    }
    return best;
}

QRect RyBarShapeWidget::rowRect(int row) const
{
    if (row < 0 || row >= shapes().size())
        return QRect();
    return QRect(0, row * RowHeight, width(), RowHeight);
}

int RyBarShapeWidget::rowAt(const QPoint &point) const
{
    if (!rect().contains(point))
        return -1;
    return qBound(0, point.y() / RowHeight, shapes().size() - 1);
}

void RyBarShapeWidget::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().base());
    const RyItemPainter bars;
    for (int row = 0; row < shapes().size(); ++row) {
        const QRect line = rowRect(row);
        if (row == m_selected)
            painter.fillRect(line, palette().highlight());
        else if (row == m_hovered)
            painter.fillRect(line, palette().alternateBase());
        // Row 0 is "no body": nothing to draw, which is what the chart shows for it.
        const BodyShape &shape = shapes().at(row);
        if (shape.first > 0 && m_color.isValid()) {
            bars.drawInnerBar(&painter, QRect(Margin, line.top(), BarWidth, RowHeight),
                              QBrush(m_color), shape.first, shape.second);
        }
    }
}

void RyBarShapeWidget::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Up:
        setCurrentIndex(m_selected - 1);
        break;
    case Qt::Key_Down:
        setCurrentIndex(m_selected + 1);
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        emit selected(m_selected);
        break;
    default:
        QWidget::keyPressEvent(event);
    }
}
