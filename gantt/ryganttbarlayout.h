// Where the bars of the chart's shown rows lie and which bars a row shows: a row's dates, read
// through the row reader, placed on the time scale, in the rows of the row controller. Content
// coordinates; the chart moves them by its scroll offsets. The reader, the scale, the rows and
// the delegate holding the bar styles are the chart's.
#pragma once

#include "models/ryconstants.h"

#include <QDateTime>
#include <QHash>
#include <QModelIndex>
#include <QRect>
#include <QVector>

class RyGanttRowController;
class RyGanttRowReader;
class RyGanttViewDelegate;
class RyTimeScale;

class RyGanttBarLayout
{
public:
    // Indexes of the baseline styles in the bar style list (task rows, milestone rows).
    enum BaselineStyle { BaselineTaskStyle = 5, BaselineMilestoneStyle = 6 };
    // The built-in styles; any after them (say "Previous Version") are extra bars of tasks
    // and milestones.
    static constexpr int BuiltInStyleCount = 7;
    // One bar of a row: a bar style index (-1: the plain start/finish bar) and whether the
    // bar delegate paints it (else the tracking delegate does).
    struct Bar
    {
        int kind;
        bool byStyle;
    };

    RyGanttBarLayout(const RyGanttRowReader &reader, const RyTimeScale &scale,
                     const RyGanttViewDelegate &styles);
    void setRows(const RyGanttRowController *rows);

    // The bar of bar style `barKind` of shown row `row`; empty when the row lacks a date.
    QRect barRect(int row, int barKind) const;
    // The parts of a split task's plan bar (`barKind` 0 or -1 of a task row) in content
    // coordinates, left to right; empty when the bar is drawn whole.
    QVector<QRect> partRects(int row, int barKind) const;
    // The parts a bar from `start` to `finish` is drawn in: `segments` (Ry::SegmentsRole) when
    // there are two or more, each valid, in order, apart and inside the bar; else none, and
    // the bar is drawn whole.
    using Part = QPair<QDateTime, QDateTime>;
    static QVector<Part> drawnParts(const QVariantList &segments, const QDateTime &start,
                                    const QDateTime &finish);

    // The bar links attach to: the first style's, kept until invalidate().
    QRect linkBarRect(int row) const;
    void invalidate();

    // The bars of a row in paint order. Extra and baseline bars go first, so that the plan's
    // bars lie over them wherever they meet; they stay with critical activities and in tracking
    // mode, which show the plain bar alone.
    static QVector<Bar> barsOfRow(Ry::RowType type, bool critical, bool tracking,
                                  int styleCount = BuiltInStyleCount);

private:
    QRect spanRect(int row, const QDateTime &start, const QDateTime &finish) const;

    const RyGanttRowReader &m_reader;
    const RyTimeScale &m_scale;
    const RyGanttViewDelegate &m_styles;
    const RyGanttRowController *m_rows = nullptr;
    mutable QHash<QModelIndex, QRect> m_linkBars;
};
