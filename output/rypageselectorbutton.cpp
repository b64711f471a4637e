#include "output/rypageselectorbutton.h"

#include <QMouseEvent>
#include <QPainter>
#include <QTextDocument>

RyPageSelectorButton::RyPageSelectorButton(Orientation orientation, QWidget *parent)
    : QWidget(parent)
    , m_orientation(orientation)
{
    setObjectName(orientation == Portrait ? QStringLiteral("portraitButton")
                                          : QStringLiteral("landscapeButton"));
    setToolTip(orientation == Portrait ? QStringLiteral("Portrait") : QStringLiteral("Landscape"));
}

QSize RyPageSelectorButton::sizeHint() const
{
    return QSize(56, 56);
}

QRect RyPageSelectorButton::pageRect() const
{
    const QRect all = rect().adjusted(0, 0, -1, -1);
    if (m_orientation == Portrait) {
        const int width = int(all.width() * 0.7);
        return QRect(all.left() + (all.width() - width) / 2, all.top(), width, all.height());
    }
    const int height = int(all.height() * 0.7);
    return QRect(all.left(), all.top() + (all.height() - height) / 2, all.width(), height);
}

void RyPageSelectorButton::select()
{
    if (m_selected)
        return;
    m_selected = true;
    emit pageOrientChecked();
    update();
}

void RyPageSelectorButton::setUnchecked()
{
    if (sender() == this || !m_selected)
        return;
    m_selected = false;
    update();
}

void RyPageSelectorButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QRect page = pageRect();
    painter.setPen(QColor(173, 173, 173));
    painter.setBrush(Qt::white);
    painter.drawRect(page);
    if (!m_selected)
        return;
    QTextDocument mark;
    mark.setHtml(QStringLiteral("&#x2714;"));
    painter.translate(page.bottomRight() - QPoint(20, 20));
    mark.drawContents(&painter);
}

void RyPageSelectorButton::mousePressEvent(QMouseEvent *event)
{
    if (pageRect().contains(event->pos()))
        select();
    QWidget::mousePressEvent(event);
}
