#include "output/rypagelayout.h"

#include <algorithm>

// Every tile row is walked across the same tile columns, so a column's page column and x
// position do not depend on the row, nor a row's page row and y position on the column. The
// tile-by-tile walk therefore splits into one pass over the columns and one over the rows, and
// the pages in use are every pair of a used page row and a used page column.

void RyPageLayout::layOut(const Tiles &tiles, const QSizeF &pageSize, const QSizeF &margin,
                          qreal scale, bool repeatHeaders)
{
    m_pages.clear();
    m_boundingRect = QRectF();
    m_headerHeight = tiles.headerHeight * scale;
    layOutColumns(tiles, pageSize.width(), margin.width(), scale);
    layOutRows(tiles, pageSize.height(), margin.height(), scale, repeatHeaders);
    // Without columns no page is ever taken.
    if (tiles.columnWidths.isEmpty() || tiles.rowCount <= 0 || pageSize.isEmpty())
        return;
    collectPages(tiles, pageSize, scale);
}

void RyPageLayout::layOutColumns(const Tiles &tiles, qreal pageWidth, qreal marginWidth,
                                 qreal scale)
{
    const int count = tiles.columnWidths.size();
    m_columnX.resize(count);
    m_columnPage.resize(count);
    qreal x = 0;
    int current = -1;
    for (int column = 0; column < count; ++column) {
        const int width = int(tiles.columnWidths.at(column) * scale);
        const int page = pageWidth > 0 ? int((2 * marginWidth + x + width) / pageWidth) : 0;
        if (column == 0 || page != current) {
            x = page * pageWidth + marginWidth;
            current = page;
        }
        m_columnX[column] = x;
        m_columnPage[column] = page;
        x += width;
    }
}

void RyPageLayout::layOutRows(const Tiles &tiles, qreal pageHeight, qreal marginHeight, qreal scale,
                              bool repeatHeaders)
{
    const int count = std::max(0, tiles.rowCount);
    m_bodyY.resize(count);
    m_rowPage.resize(count);
    m_rowHasHeader.resize(count);
    const qreal rowHeight = tiles.rowHeight * scale;
    qreal y = 0;
    int current = -1;
    for (int row = 0; row < count; ++row) {
        const int page = pageHeight > 0 ? int((2 * marginHeight + y + rowHeight) / pageHeight) : 0;
        const bool header = page != current && (page == 0 || repeatHeaders);
        if (page != current) {
            y = page * pageHeight + marginHeight;
            current = page;
        }
        m_rowPage[row] = page;
        m_rowHasHeader[row] = header;
        m_bodyY[row] = header ? y + m_headerHeight : y;
        y += rowHeight;
        if (header)
            y += m_headerHeight;
    }
}

void RyPageLayout::collectPages(const Tiles &tiles, const QSizeF &pageSize, qreal scale)
{
    // Runs of equal page numbers; both sequences never decrease.
    auto runs = [](const QVector<int> &pageOf) {
        QVector<QPair<int, int>> result;
        for (int i = 0; i < pageOf.size(); ++i) {
            if (i == 0 || pageOf.at(i) != pageOf.at(i - 1))
                result.append({ i, i });
            else
                result.last().second = i;
        }
        return result;
    };
    const QVector<QPair<int, int>> rowRuns = runs(m_rowPage);
    const QVector<QPair<int, int>> columnRuns = runs(m_columnPage);
    for (const auto &rows : rowRuns) {
        for (const auto &columns : columnRuns) {
            Page page;
            page.rect = QRectF(m_columnPage.at(columns.first) * pageSize.width(),
                               m_rowPage.at(rows.first) * pageSize.height(), pageSize.width(),
                               pageSize.height());
            page.firstRow = rows.first;
            page.lastRow = rows.second;
            page.firstColumn = columns.first;
            page.lastColumn = columns.second;
            page.hasHeader = m_rowHasHeader.at(rows.first);
            m_pages.append(page);
            m_boundingRect |= page.rect;
        }
    }
    // Tiles larger than a page reach beyond it.
    qreal right = 0;
    for (int column = 0; column < m_columnX.size(); ++column)
        right = std::max(right, m_columnX.at(column) + tiles.columnWidths.at(column) * scale);
    const qreal bottom = m_bodyY.last() + tiles.rowHeight * scale;
    const qreal top = m_rowHasHeader.first() ? headerY(0) : m_bodyY.first();
    m_boundingRect |= QRectF(QPointF(m_columnX.first(), top), QPointF(right, bottom));
}
