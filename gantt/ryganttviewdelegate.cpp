#include "gantt/ryganttviewdelegate.h"

#include "gantt/ryitempainter.h"
#include "models/rymodellookup.h"
#include "models/ryvaluetext.h"

#include <QPainter>

RyGanttViewDelegate::RyGanttViewDelegate(QObject *parent)
    : QStyledItemDelegate(parent)
{
}

RyGanttViewBarStyle RyGanttViewDelegate::styleForKind(int barKind) const
{
    if (barKind == -1) {
        RyGanttViewBarStyle critical
            = m_barStyles.isEmpty() ? RyGanttViewBarStyle() : m_barStyles.first();
        critical.bodyColor = Qt::red;
        return critical;
    }
    if (barKind >= 0 && barKind < m_barStyles.size())
        return m_barStyles.at(barKind);
    return RyGanttViewBarStyle();
}

void RyGanttViewDelegate::paintBar(QPainter *painter, const QStyleOptionViewItem &option,
                                   const QModelIndex &index, int barKind,
                                   const QVector<QRect> &parts) const
{
    const RyGanttViewBarStyle style = styleForKind(barKind);
    RyItemPainter itemPainter;
    const QColor text = option.palette.color(QPalette::WindowText);
    if (parts.size() > 1)
        itemPainter.drawSplitBar(painter, option.rect, parts, style, text);
    else
        itemPainter.drawBar(painter, option.rect, style, text);
    if (!style.displayColumns.isEmpty())
        drawLabels(painter, option, index, option.rect, style);
}

void RyGanttViewDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option,
                                const QModelIndex &index) const
{
    paintBar(painter, option, index, 0);
}

QRect RyGanttViewDelegate::labelBox(int position, const QRect &barRect, int textWidth,
                                    int *alignment)
{
    QRect box(0, 0, textWidth, barRect.height());
    switch (position) {
    case RyGanttViewBarStyle::Right:
        box.moveBottomLeft(barRect.bottomRight());
        box.translate(10, 0);
        *alignment = Qt::AlignLeft | Qt::AlignVCenter;
        break;
    case RyGanttViewBarStyle::Top:
        box.moveBottomLeft(barRect.topLeft());
        *alignment = Qt::AlignHCenter | Qt::AlignBottom;
        break;
    case RyGanttViewBarStyle::Bottom:
        box.moveTopLeft(barRect.bottomLeft());
        *alignment = Qt::AlignHCenter | Qt::AlignTop;
        break;
    case RyGanttViewBarStyle::Inside:
        box.moveCenter(barRect.center());
        *alignment = Qt::AlignCenter;
        break;
    default:
        box.moveBottomRight(barRect.bottomLeft());
        box.translate(-10, 0);
        *alignment = Qt::AlignRight | Qt::AlignVCenter;
        break;
    }
    return box;
}

void RyGanttViewDelegate::drawLabels(QPainter *painter, const QStyleOptionViewItem &option,
                                     const QModelIndex &index, const QRect &barRect,
                                     const RyGanttViewBarStyle &style)
{
    const QAbstractItemModel *model = index.model();
    if (!model)
        return;
    for (auto it = style.displayColumns.cbegin(); it != style.displayColumns.cend(); ++it) {
        const int column = RyModelLookup::findColumn(model, it.value());
        if (column < 0)
            continue;
        const QString text = RyValueText::displayText(index.sibling(index.row(), column));
        if (text.isEmpty())
            continue;
        int alignment = 0;
        const QRect box = labelBox(it.key(), barRect,
                                   option.fontMetrics.horizontalAdvance(text) + 1, &alignment);
        painter->drawText(box, alignment, text);
    }
}
