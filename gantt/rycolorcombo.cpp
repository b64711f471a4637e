#include "gantt/rycolorcombo.h"

#include "gantt/rycolorwidget.h"

#include <QPainter>

RyColorCombo::RyColorCombo(QWidget *parent)
    : RyPopupCombo(QStringLiteral("RyColorPickerPopup"), parent)
{
}

void RyColorCombo::setColor(const QColor &color)
{
    m_color = color;
    update();
}

void RyColorCombo::colorSelected(const QColor &color)
{
    setColor(color);
    hidePopup();
    emit colorChanged(color);
}

QWidget *RyColorCombo::createPicker()
{
    auto *widget = new RyColorWidget;
    connect(widget, &RyColorWidget::selected, this, &RyColorCombo::colorSelected);
    return widget;
}

void RyColorCombo::preparePicker(QWidget *picker)
{
    static_cast<RyColorWidget *>(picker)->setColor(m_color);
}

void RyColorCombo::paintValue(QPainter *painter, const QRect &rect)
{
    if (!m_color.isValid()) {
        painter->setPen(palette().color(QPalette::Text));
        painter->drawText(rect, Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("No Color"));
        return;
    }
    const QRect swatch = rect.adjusted(1, 2, -1, -2);
    painter->fillRect(swatch, m_color);
    painter->setPen(Qt::gray);
    painter->drawRect(swatch.adjusted(0, 0, -1, -1));
}
