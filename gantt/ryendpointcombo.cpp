#include "gantt/ryendpointcombo.h"

#include "gantt/ryitempainter.h"

#include <QPainter>

RyEndPointCombo::RyEndPointCombo(QWidget *parent)
    : RyIndexPickerCombo(QStringLiteral("RyEndPointPopup"), Qt::black, parent)
{
}

QString RyEndPointCombo::currentShapeName() const
{
    return currentIndex() > 0 ? RyEndPointWidget::shapeNames().at(currentIndex()) : QString();
}

void RyEndPointCombo::paintValue(QPainter *painter, const QRect &rect)
{
    if (currentIndex() == 0) {
        paintNoValue(painter, rect, RyEndPointWidget::shapeNames().first());
        return;
    }
    const int size = RyEndPointWidget::CellSize;
    QRect box(0, 0, size, size);
    box.moveCenter(rect.center());
    painter->setPen(color().isValid() ? color() : palette().color(QPalette::Text));
    RyItemPainter().drawShape(painter, box, RyItemPainter::shapeCode(currentShapeName()), size);
}
