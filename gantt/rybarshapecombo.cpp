#include "gantt/rybarshapecombo.h"

#include "gantt/ryitempainter.h"

#include <QPainter>

RyBarShapeCombo::RyBarShapeCombo(QWidget *parent)
    : RyIndexPickerCombo(QStringLiteral("RyBarShapePopup"), QColor(0x99, 0xcc, 0xff), parent)
{
}

int RyBarShapeCombo::bodyHeight() const
{
    return RyBarShapeWidget::shapes().at(currentIndex()).first;
}

int RyBarShapeCombo::bodyOffset() const
{
    return RyBarShapeWidget::shapes().at(currentIndex()).second;
}

void RyBarShapeCombo::paintValue(QPainter *painter, const QRect &rect)
{
    if (bodyHeight() <= 0 || !color().isValid()) {
        paintNoValue(painter, rect, QStringLiteral("<None>"));
        return;
    }
    // The body keeps its place in a 22-pixel row, centred in the button.
    QRect row(rect.left(), 0, rect.width(), RyBarShapeWidget::RowHeight);
    row.moveCenter(rect.center());
    RyItemPainter().drawInnerBar(painter, row, QBrush(color()), bodyHeight(), bodyOffset());
}
