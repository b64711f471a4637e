#include "gantt/rytextcolorcombo.h"

#include <QPainter>

RyTextColorCombo::RyTextColorCombo(QWidget *parent)
    : RyColorCombo(parent)
{
}

void RyTextColorCombo::paintValue(QPainter *painter, const QRect &rect)
{
    // No colour paints as the text colour of the palette, which is what a label would use.
    const QColor sample = color().isValid() ? color() : palette().color(QPalette::Text);
    QFont font = painter->font();
    font.setBold(true);
    painter->setFont(font);
    painter->setPen(sample);
    const QRect letter(rect.left(), rect.top(), rect.width(), rect.height() - 4);
    painter->drawText(letter, Qt::AlignCenter, QStringLiteral("A"));
    painter->fillRect(QRect(rect.left() + 2, rect.bottom() - 3, rect.width() - 4, 3), sample);
}
