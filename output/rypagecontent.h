// What goes onto paper or into an image: a grid of tiles, one header tile per column above one
// body tile per (row, column). The tiles are not stored; they are drawn on request from the
// widgets that show them (table header and rows, timeline header and chart), which must stay
// laid out at full size (RyViewSnapshot) while the content is in use. The widgets are not
// owned.
#pragma once

#include "output/rypagelayout.h"

#include <QPointer>
#include <QRect>
#include <QVector>

#include <functional>

class QPainter;
class QTreeView;
class QWidget;
class RyGanttView;
class RyGroupedTreeView;

class RyPageContent
{
public:
    // Columns drawn by one pair of widgets; `lefts` are the columns' x positions in them.
    void addColumns(QWidget *header, QWidget *body, const QVector<int> &lefts,
                    const QVector<int> &widths);
    void setRows(int count, int height);
    void setHeaderHeight(int height);
    // Run before anything is drawn, to make sure the widgets are still laid out at full size.
    void setBeforePaint(const std::function<void()> &prepare) { m_beforePaint = prepare; }

    // The table columns in visual order, then one column per lowest-tier unit of the chart.
    static RyPageContent fromViews(RyGroupedTreeView *tree, RyGanttView *gantt);
    // The chart alone.
    static RyPageContent fromChart(RyGanttView *gantt);
    // A flat table: its shown columns and every row of its model, all of them laid out.
    static RyPageContent fromTable(QTreeView *tree);

    const RyPageLayout::Tiles &tiles() const { return m_tiles; }
    int columnCount() const { return m_tiles.columnWidths.size(); }
    int rowCount() const { return m_tiles.rowCount; }
    // The tiles joined without gaps: header row on top, body rows below.
    QSize size() const;

    // Header tiles [first, last] side by side, the first one's top left at the painter's origin.
    void paintHeader(QPainter &painter, int firstColumn, int lastColumn) const;
    // Body tiles of the given rows and columns, joined the same way.
    void paintBody(QPainter &painter, int firstRow, int lastRow, int firstColumn,
                   int lastColumn) const;
    // The part of the joined tiles inside `area`, in the coordinates of size().
    void paintArea(QPainter &painter, const QRect &area) const;

private:
    bool addTableColumns(QTreeView *tree);

    struct Source
    {
        QPointer<QWidget> header;
        QPointer<QWidget> body;
        int firstColumn = 0;
        QVector<int> lefts;
    };

    using SourcePart
        = void (RyPageContent::*)(QPainter &, const Source &, int, int, int, int) const;
    void forEachSource(QPainter &painter, int firstRow, int lastRow, int firstColumn,
                       int lastColumn, SourcePart part) const;
    void paintSourceHeader(QPainter &painter, const Source &source, int, int, int firstColumn,
                           int lastColumn) const;
    void paintSourceBody(QPainter &painter, const Source &source, int firstRow, int lastRow,
                         int firstColumn, int lastColumn) const;
    int spanWidth(int firstColumn, int lastColumn) const;
    int columnAt(int x) const;

    RyPageLayout::Tiles m_tiles;
    QVector<Source> m_sources;
    QVector<int> m_columnLefts; // x of each column in the joined tiles, plus the total width
    std::function<void()> m_beforePaint;
};
