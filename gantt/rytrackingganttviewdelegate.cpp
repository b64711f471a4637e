#include "gantt/rytrackingganttviewdelegate.h"

#include "gantt/ryitempainter.h"
#include "models/ryvaluetext.h"

#include <QPainter>

namespace {
const QColor DoneColor(QStringLiteral("#3b87d4"));
}

RyTrackingGanttViewDelegate::RyTrackingGanttViewDelegate(QObject *parent)
    : QStyledItemDelegate(parent)
{
}

double RyTrackingGanttViewDelegate::progressPercent(const QVariant &value)
{
    if (value.isNull() || value.userType() == QMetaType::QString)
        return 0.0;
    bool ok = false;
    const double percent = value.toDouble(&ok);
    // A bar never grows past its own end or runs backwards.
    return ok ? qBound(0.0, percent, 100.0) : 0.0;
}

void RyTrackingGanttViewDelegate::paintBar(QPainter *painter, const QStyleOptionViewItem &option,
                                           const QModelIndex &index, int) const
{
    QModelIndex progress;
    if (m_progressColumn >= 0 && index.isValid())
        progress = index.sibling(index.row(), m_progressColumn);
    const double percent = progressPercent(progress.data(Qt::DisplayRole));
    // The text the table shows for the same cell ("45%").
    const QString text = RyValueText::displayText(progress);
    const QRect bar = option.rect;
    RyItemPainter itemPainter;
    itemPainter.drawInnerBar(painter, bar, m_baseColor, InnerBarHeight, InnerBarOffset);
    QRect done = bar;
    done.setWidth(int(bar.width() * percent / 100.0));
    if (done.width() > 0)
        itemPainter.drawInnerBar(painter, done, DoneColor, InnerBarHeight, InnerBarOffset);
    if (text.isEmpty())
        return;
    const int textWidth = option.fontMetrics.horizontalAdvance(text) + 1;
    const QRect box(bar.right() + 10, bar.top(), textWidth, bar.height());
    painter->setPen(option.palette.color(QPalette::WindowText));
    painter->drawText(box, Qt::AlignLeft | Qt::AlignVCenter, text);
}

void RyTrackingGanttViewDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option,
                                        const QModelIndex &index) const
{
    paintBar(painter, option, index, -1);
}
