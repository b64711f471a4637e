#include "gantt/rypickerwidget.h"

#include <QMouseEvent>

RyPickerWidget::RyPickerWidget(const QColor &color, int selected, QWidget *parent)
    : QWidget(parent)
    , m_color(color)
    , m_selected(selected)
{
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
}

void RyPickerWidget::setColor(const QColor &color)
{
    m_color = color;
    update();
}

QString RyPickerWidget::choiceToolTip(int index) const
{
    Q_UNUSED(index)
    return QString();
}

void RyPickerWidget::setCurrentIndex(int index)
{
    m_selected = qBound(0, index, choiceCount() - 1);
    update();
}

void RyPickerWidget::mouseMoveEvent(QMouseEvent *event)
{
    const int index = choiceAt(event->pos());
    if (index != m_hovered) {
        m_hovered = index;
        setToolTip(index >= 0 ? choiceToolTip(index) : QString());
        update();
    }
}

void RyPickerWidget::leaveEvent(QEvent *)
{
    m_hovered = -1;
    update();
}

void RyPickerWidget::mouseReleaseEvent(QMouseEvent *event)
{
    const int index = choiceAt(event->pos());
    if (index < 0) {
        releasedOutside();
        return;
    }
    m_selected = index;
    update();
    choose(index);
}
