#include "gantt/rybarshapecombo.h"

#include "gantt/rybarshapewidget.h"
#include "gantt/ryitempainter.h"

#include <QPainter>

RyBarShapeCombo::RyBarShapeCombo(QWidget *parent)
    : RyPopupCombo(QStringLiteral("RyBarShapePopup"), parent)
{
}

void RyBarShapeCombo::setCurrentIndex(int index)
{
    m_index = qBound(0, index, RyBarShapeWidget::shapes().size() - 1);
    update();
}

int RyBarShapeCombo::bodyHeight() const
{
    return RyBarShapeWidget::shapes().at(m_index).first;
}

int RyBarShapeCombo::bodyOffset() const
{
    return RyBarShapeWidget::shapes().at(m_index).second;
}

void RyBarShapeCombo::setColor(const QColor &color)
{
    m_color = color;
    if (picker())
        static_cast<RyBarShapeWidget *>(picker())->setColor(color);
    update();
}

void RyBarShapeCombo::shapeSelected(int selectedindex)
{
    setCurrentIndex(selectedindex);
    hidePopup();
    emit shapeChanged(m_index);
}

QWidget *RyBarShapeCombo::createPicker()
{
    auto *widget = new RyBarShapeWidget;
    connect(widget, &RyBarShapeWidget::selected, this, &RyBarShapeCombo::shapeSelected);
    return widget;
}

void RyBarShapeCombo::preparePicker(QWidget *picker)
{
    auto *widget = static_cast<RyBarShapeWidget *>(picker);
    widget->setColor(m_color);
    widget->setCurrentIndex(m_index);
}

void RyBarShapeCombo::paintValue(QPainter *painter, const QRect &rect)
{
    if (bodyHeight() <= 0 || !m_color.isValid()) {
        painter->setPen(palette().color(QPalette::Text));
        painter->drawText(rect, Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("<None>"));
        return;
    }
    // The body keeps its place in a 22-pixel row, centred in the button.
    QRect row(rect.left(), 0, rect.width(), RyBarShapeWidget::RowHeight);
    row.moveCenter(rect.center());
    RyItemPainter().drawInnerBar(painter, row, QBrush(m_color), bodyHeight(), bodyOffset());
}
