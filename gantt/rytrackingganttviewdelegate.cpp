#include "gantt/rytrackingganttviewdelegate.h"

#include "gantt/ryitempainter.h"

#include <QPainter>

namespace {
const QColor DoneColor(QStringLiteral("#3b87d4"));
}

RyTrackingGanttViewDelegate::RyTrackingGanttViewDelegate(QObject *parent)
    : QStyledItemDelegate(parent)
{
}

double RyTrackingGanttViewDelegate::progressPercent(const QString &text)
{
    if (text.isEmpty() || !text.endsWith(QLatin1Char('%')))
        return 0.0;
    bool ok = false;
    const double percent = text.left(text.size() - 1).trimmed().toDouble(&ok);
    // A bar never grows past its own end or runs backwards.
    return ok ? qBound(0.0, percent, 100.0) : 0.0;
}

void RyTrackingGanttViewDelegate::paintBar(QPainter *painter, const QStyleOptionViewItem &option,
                                           const QModelIndex &index, int) const
{
    QString text;
    if (m_progressColumn >= 0 && index.isValid())
        text = index.sibling(index.row(), m_progressColumn).data(Qt::DisplayRole).toString();
    const double percent = progressPercent(text);
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
