#include "gantt/ryendpointcombo.h"

#include "gantt/ryendpointwidget.h"
#include "gantt/ryitempainter.h"

#include <QPainter>

RyEndPointCombo::RyEndPointCombo(QWidget *parent)
    : RyPopupCombo(QStringLiteral("RyEndPointPopup"), parent)
{
}

void RyEndPointCombo::setCurrentIndex(int index)
{
    m_index = qBound(0, index, RyEndPointWidget::shapeNames().size() - 1);
    update();
}

QString RyEndPointCombo::currentShapeName() const
{
    return m_index > 0 ? RyEndPointWidget::shapeNames().at(m_index) : QString();
}

void RyEndPointCombo::setColor(const QColor &color)
{
    m_color = color;
    if (picker())
        static_cast<RyEndPointWidget *>(picker())->setColor(color);
    update();
}

void RyEndPointCombo::endpointSelected(int selectedindex)
{
    setCurrentIndex(selectedindex);
    hidePopup();
    emit endpointChanged(m_index);
}

QWidget *RyEndPointCombo::createPicker()
{
    auto *widget = new RyEndPointWidget;
    connect(widget, &RyEndPointWidget::selected, this, &RyEndPointCombo::endpointSelected);
    return widget;
}

void RyEndPointCombo::preparePicker(QWidget *picker)
{
    auto *widget = static_cast<RyEndPointWidget *>(picker);
    widget->setColor(m_color);
    widget->setCurrentIndex(m_index);
}

void RyEndPointCombo::paintValue(QPainter *painter, const QRect &rect)
{
    if (m_index == 0) {
        painter->setPen(palette().color(QPalette::Text));
        painter->drawText(rect, Qt::AlignLeft | Qt::AlignVCenter,
                          RyEndPointWidget::shapeNames().first());
        return;
    }
    const int size = RyEndPointWidget::CellSize;
    QRect box(0, 0, size, size);
    box.moveCenter(rect.center());
    painter->setPen(m_color.isValid() ? m_color : palette().color(QPalette::Text));
    RyItemPainter().drawShape(painter, box, RyItemPainter::shapeCode(currentShapeName()), size);
}
