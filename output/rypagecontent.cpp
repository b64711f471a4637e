#include "output/rypagecontent.h"

#include "gantt/ryganttview.h"
#include "gantt/rytimelineheader.h"
#include "views/rygroupedtreeview.h"

#include <QHeaderView>
#include <QPaintDevice>
#include <QPainter>

#include <algorithm>

namespace {

// Qt draws a widget onto a printer through a pixmap of the covered device area; at printer
// resolution a whole page would take hundreds of megabytes, so rows go in bands of this size.
constexpr qreal MaxRasterPixels = 16.0 * 1024 * 1024;

const QWidget::RenderFlags RenderFlags = QWidget::DrawWindowBackground | QWidget::DrawChildren;

} // namespace

void RyPageContent::addColumns(QWidget *header, QWidget *body, const QVector<int> &lefts,
                               const QVector<int> &widths)
{
    Q_ASSERT(lefts.size() == widths.size());
    if (widths.isEmpty())
        return;
    Source source;
    source.header = header;
    source.body = body;
    source.firstColumn = columnCount();
    source.lefts = lefts;
    m_sources.append(source);
    if (m_columnLefts.isEmpty())
        m_columnLefts.append(0);
    for (int width : widths) {
        m_tiles.columnWidths.append(width);
        m_columnLefts.append(m_columnLefts.last() + width);
    }
}

void RyPageContent::setRows(int count, int height)
{
    m_tiles.rowCount = std::max(0, count);
    m_tiles.rowHeight = std::max(0, height);
}

void RyPageContent::setHeaderHeight(int height)
{
    m_tiles.headerHeight = std::max(0, height);
}

namespace {

// One column per lowest-tier unit, each one unit wide.
void chartColumns(const RyGanttView *gantt, QVector<int> &lefts, QVector<int> &widths)
{
    const RyTimeLineHeader *timeline = gantt->header();
    const int unit = timeline->unitWidth();
    const int units = unit > 0 ? timeline->sizeHint().width() / unit : 0;
    for (int i = 0; i < units; ++i) {
        lefts.append(i * unit);
        widths.append(unit);
    }
}

} // namespace

// The shown columns of a table in visual order; false when none is shown.
bool RyPageContent::addTableColumns(QTreeView *tree)
{
    QHeaderView *header = tree->header();
    QVector<int> lefts, widths;
    for (int visual = 0; visual < header->count(); ++visual) {
        const int logical = header->logicalIndex(visual);
        if (header->isSectionHidden(logical) || header->sectionSize(logical) <= 0)
            continue;
        lefts.append(header->sectionViewportPosition(logical));
        widths.append(header->sectionSize(logical));
    }
    addColumns(header, tree->viewport(), lefts, widths);
    return !widths.isEmpty();
}

RyPageContent RyPageContent::fromTable(QTreeView *tree)
{
    RyPageContent content;
    content.addTableColumns(tree);
    const QAbstractItemModel *model = tree->model();
    const int rows = model ? model->rowCount() : 0;
    content.setRows(rows, rows > 0 ? tree->visualRect(model->index(0, 0)).height() : 0);
    content.setHeaderHeight(tree->header()->height());
    return content;
}

RyPageContent RyPageContent::fromViews(RyGroupedTreeView *tree, RyGanttView *gantt)
{
    RyPageContent content;
    QHeaderView *header = tree->header();
    const bool tableShown = content.addTableColumns(tree);
    QVector<int> chartLefts, chartWidths;
    chartColumns(gantt, chartLefts, chartWidths);
    content.addColumns(gantt->header(), gantt->viewport(), chartLefts, chartWidths);
    content.setRows(tree->visibleRows().size(), gantt->rowHeight());
    content.setHeaderHeight(tableShown ? header->height() : gantt->header()->height());
    return content;
}

RyPageContent RyPageContent::fromChart(RyGanttView *gantt)
{
    RyPageContent content;
    QVector<int> lefts, widths;
    chartColumns(gantt, lefts, widths);
    content.addColumns(gantt->header(), gantt->viewport(), lefts, widths);
    content.setRows(gantt->visibleItems().size(), gantt->rowHeight());
    content.setHeaderHeight(gantt->header()->height());
    return content;
}

QSize RyPageContent::size() const
{
    return QSize(m_columnLefts.isEmpty() ? 0 : m_columnLefts.last(),
                 m_tiles.headerHeight + m_tiles.rowCount * m_tiles.rowHeight);
}

int RyPageContent::spanWidth(int firstColumn, int lastColumn) const
{
    return m_columnLefts.at(lastColumn + 1) - m_columnLefts.at(firstColumn);
}

int RyPageContent::columnAt(int x) const
{
    // The last column whose left edge is at or before x.
    const auto end = m_columnLefts.constEnd() - 1;
    const auto it = std::upper_bound(m_columnLefts.constBegin(), end, x);
    return std::clamp(int(it - m_columnLefts.constBegin()) - 1, 0, columnCount() - 1);
}

void RyPageContent::forEachSource(QPainter &painter, int firstRow, int lastRow, int firstColumn,
                                  int lastColumn, SourcePart part) const
{
    firstColumn = std::max(0, firstColumn);
    lastColumn = std::min(columnCount() - 1, lastColumn);
    if (m_beforePaint)
        m_beforePaint();
    for (const Source &source : m_sources) {
        const int first = std::max(firstColumn, source.firstColumn);
        const int last = std::min(lastColumn, source.firstColumn + source.lefts.size() - 1);
        if (first > last)
            continue;
        painter.save();
        painter.translate(m_columnLefts.at(first) - m_columnLefts.at(firstColumn), 0);
        (this->*part)(painter, source, firstRow, lastRow, first, last);
        painter.restore();
    }
}

void RyPageContent::paintHeader(QPainter &painter, int firstColumn, int lastColumn) const
{
    forEachSource(painter, 0, 0, firstColumn, lastColumn, &RyPageContent::paintSourceHeader);
}

void RyPageContent::paintBody(QPainter &painter, int firstRow, int lastRow, int firstColumn,
                              int lastColumn) const
{
    firstRow = std::max(0, firstRow);
    lastRow = std::min(rowCount() - 1, lastRow);
    if (firstRow > lastRow)
        return;
    forEachSource(painter, firstRow, lastRow, firstColumn, lastColumn,
                  &RyPageContent::paintSourceBody);
}

void RyPageContent::paintSourceHeader(QPainter &painter, const Source &source, int, int,
                                      int firstColumn, int lastColumn) const
{
    if (!source.header || m_tiles.headerHeight <= 0)
        return;
    const QRect area(source.lefts.at(firstColumn - source.firstColumn), 0,
                     spanWidth(firstColumn, lastColumn), m_tiles.headerHeight);
    source.header->render(&painter, QPoint(), QRegion(area), RenderFlags);
}

void RyPageContent::paintSourceBody(QPainter &painter, const Source &source, int firstRow,
                                    int lastRow, int firstColumn, int lastColumn) const
{
    const int rowHeight = m_tiles.rowHeight;
    if (!source.body || rowHeight <= 0)
        return;
    const int left = source.lefts.at(firstColumn - source.firstColumn);
    const int width = spanWidth(firstColumn, lastColumn);
    int bandRows = lastRow - firstRow + 1;
    if (painter.device() && painter.device()->devType() == QInternal::Printer) {
        const QRectF device = painter.deviceTransform().mapRect(QRectF(0, 0, width, rowHeight));
        const qreal rowPixels = std::max<qreal>(1, device.width() * device.height());
        bandRows = std::max(1, int(MaxRasterPixels / rowPixels));
    }
    for (int row = firstRow; row <= lastRow; row += bandRows) {
        const int rows = std::min(bandRows, lastRow - row + 1);
        const QRect area(left, row * rowHeight, width, rows * rowHeight);
        source.body->render(&painter, QPoint(0, (row - firstRow) * rowHeight), QRegion(area),
                            RenderFlags);
    }
}

void RyPageContent::paintArea(QPainter &painter, const QRect &area) const
{
    if (columnCount() == 0 || area.isEmpty())
        return;
    const int firstColumn = columnAt(area.left());
    const int lastColumn = columnAt(area.right());
    const int headerHeight = m_tiles.headerHeight;
    painter.save();
    painter.translate(m_columnLefts.at(firstColumn), 0);
    if (area.top() < headerHeight)
        paintHeader(painter, firstColumn, lastColumn);
    if (m_tiles.rowHeight > 0 && area.bottom() >= headerHeight) {
        const int firstRow = std::max(0, area.top() - headerHeight) / m_tiles.rowHeight;
        const int lastRow = (area.bottom() - headerHeight) / m_tiles.rowHeight;
        painter.translate(0, headerHeight + firstRow * m_tiles.rowHeight);
        paintBody(painter, firstRow, lastRow, firstColumn, lastColumn);
    }
    painter.restore();
}
