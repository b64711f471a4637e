#include "gantt/ryganttbarlayout.h"

#include "gantt/ryganttrowcontroller.h"
#include "gantt/ryganttrowreader.h"
#include "gantt/ryganttviewdelegate.h"
#include "gantt/rytimescale.h"

RyGanttBarLayout::RyGanttBarLayout(const RyGanttRowReader &reader, const RyTimeScale &scale,
                                   const RyGanttViewDelegate &styles)
    : m_reader(reader)
    , m_scale(scale)
    , m_styles(styles)
{
}

void RyGanttBarLayout::setRows(const RyGanttRowController *rows)
{
    m_rows = rows;
    invalidate();
}

QRect RyGanttBarLayout::barRect(int row, int barKind) const
{
    if (!m_rows || row < 0 || row >= m_rows->rowCount())
        return QRect();
    QString startField = RyGanttRowReader::StartField;
    QString finishField = RyGanttRowReader::FinishField;
    if (barKind >= 0) {
        const QList<RyGanttViewBarStyle> &styles = m_styles.barStyles();
        if (barKind >= styles.size())
            return QRect();
        startField = styles.at(barKind).startDate;
        finishField = styles.at(barKind).finishDate;
        if (startField.isEmpty() || finishField.isEmpty()) // a style without date fields
            return QRect();
    }
    const QModelIndex index = m_rows->visibleRows().at(row);
    const QDateTime start = m_reader.date(index, startField);
    const QDateTime finish = m_reader.date(index, finishField);
    if (!start.isValid() || !finish.isValid())
        return QRect();
    return spanRect(row, start, finish);
}

QRect RyGanttBarLayout::spanRect(int row, const QDateTime &start, const QDateTime &finish) const
{
    const int x1 = m_scale.dateToX(start.date());
    const int x2 = m_scale.dateToX(finish.date());
    // The finish day is covered in full. Zoomed out, a day is less than a pixel: a bar keeps
    // one pixel, so that it, its end markers and its links stay drawn.
    const int width = qMax(1, int(float(x2) + m_scale.dayWidth()) - x1);
    return QRect(x1, m_rows->rowY(row), width, m_rows->rowHeight());
}

QVector<RyGanttBarLayout::Part> RyGanttBarLayout::drawnParts(const QVariantList &segments,
                                                             const QDateTime &start,
                                                             const QDateTime &finish)
{
    QVector<Part> parts;
    if (segments.size() < 2 || !start.isValid() || !finish.isValid())
        return parts;
    parts.reserve(segments.size());
    // Wall-clock fields compared as such, as everywhere in the chart.
    QDateTime previousFinish = start;
    for (const QVariant &segment : segments) {
        const QVariantList pair = segment.toList();
        const QDateTime from = pair.value(0).toDateTime();
        const QDateTime to = pair.value(1).toDateTime();
        // Parts that overlap, run backwards or leave the task are damaged: the whole bar shows.
        if (pair.size() != 2 || !from.isValid() || !to.isValid() || to < from
            || from < previousFinish || to > finish)
            return QVector<Part>();
        // Parts meeting end to start are not apart: nothing to join with a line.
        if (!parts.isEmpty() && from == previousFinish)
            return QVector<Part>();
        parts.append({ from, to });
        previousFinish = to;
    }
    return parts;
}

QVector<QRect> RyGanttBarLayout::partRects(int row, int barKind) const
{
    QVector<QRect> rects;
    if (!m_rows || row < 0 || row >= m_rows->rowCount() || barKind > 0 || barKind < -1)
        return rects;
    const QModelIndex index = m_rows->visibleRows().at(row);
    if (m_reader.rowType(index) != Ry::TaskRow)
        return rects;
    const QVector<Part> parts
        = drawnParts(m_reader.segments(index), m_reader.date(index, RyGanttRowReader::StartField),
                     m_reader.date(index, RyGanttRowReader::FinishField));
    rects.reserve(parts.size());
    for (const Part &part : parts)
        rects.append(spanRect(row, part.first, part.second));
    return rects;
}

QRect RyGanttBarLayout::linkBarRect(int row) const
{
    const QModelIndex index = m_rows->visibleRows().at(row);
    auto it = m_linkBars.constFind(index);
    if (it != m_linkBars.constEnd())
        return it.value();
    const QRect rect = barRect(row, 0);
    m_linkBars.insert(index, rect);
    return rect;
}

void RyGanttBarLayout::invalidate()
{
    m_linkBars.clear();
}

QVector<RyGanttBarLayout::Bar> RyGanttBarLayout::barsOfRow(Ry::RowType type, bool critical,
                                                           bool tracking, int styleCount)
{
    QVector<Bar> bars;
    if (type == Ry::TaskRow || type == Ry::MilestoneRow) {
        for (int kind = BuiltInStyleCount; kind < styleCount; ++kind)
            bars.append({ kind, true });
    }
    if (type == Ry::TaskRow)
        bars.append({ BaselineTaskStyle, true });
    else if (type == Ry::MilestoneRow)
        bars.append({ BaselineMilestoneStyle, true });
    if (tracking || critical) {
        bars.append({ -1, !tracking });
        return bars;
    }
    static const QVector<int> taskStyles { 0, 3 };
    static const QVector<int> milestoneStyles { 1, 4 };
    static const QVector<int> summaryStyles { 2 };
    const QVector<int> &kinds = type == Ry::TaskRow ? taskStyles
        : type == Ry::MilestoneRow                  ? milestoneStyles
        : type == Ry::SummaryRow                    ? summaryStyles
                                                    : QVector<int>();
    for (int kind : kinds)
        bars.append({ kind, true });
    return bars;
}
