#include "gantt/rycolorcombo.h"


#include <QPainter>

RyColorCombo::RyColorCombo(QWidget *parent)
    : RyPickerCombo(QStringLiteral("RyColorPickerPopup"), QColor(), parent)
{
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

void RyColorCombo::paintValue(QPainter *painter, const QRect &rect)
{
    if (!color().isValid()) {
        paintNoValue(painter, rect, QStringLiteral("No Color"));
        return;
    }
    const QRect swatch = rect.adjusted(1, 2, -1, -2);
    painter->fillRect(swatch, color());
    painter->setPen(Qt::gray);
    painter->drawRect(swatch.adjusted(0, 0, -1, -1));
}
