// Where the tiles of the page content fall on paper pages: tile rows that would cross a page's
// bottom margin move to the next page row, tile columns that would cross its right margin to the
// next page column. Computed from the tile sizes alone; nothing is drawn here.
#pragma once

#include <QRectF>
#include <QSizeF>
#include <QVector>

class RyPageLayout
{
public:
    struct Tiles
    {
        QVector<int> columnWidths;
        int rowCount = 0;
        int rowHeight = 0;
        int headerHeight = 0;
    };

    // One paper page: its rectangle in scene units and the tiles it holds.
    struct Page
    {
        QRectF rect;
        int firstRow = 0;
        int lastRow = -1;
        int firstColumn = 0;
        int lastColumn = -1;
        bool hasHeader = false; // the page row starts with a row of header tiles
    };

    void layOut(const Tiles &tiles, const QSizeF &pageSize, const QSizeF &margin, qreal scale,
                bool repeatHeaders);

    // Pages in reading order: page rows top to bottom, each row left to right.
    const QVector<Page> &pages() const { return m_pages; }
    // The pages and every placed tile.
    QRectF boundingRect() const { return m_boundingRect; }

    qreal columnX(int column) const { return m_columnX.at(column); }
    qreal bodyY(int row) const { return m_bodyY.at(row); }
    bool rowHasHeader(int row) const { return m_rowHasHeader.at(row); }
    // Top of the header tiles above `row`; meaningful when rowHasHeader(row).
    qreal headerY(int row) const { return m_bodyY.at(row) - m_headerHeight; }

private:
    void layOutColumns(const Tiles &tiles, qreal pageWidth, qreal marginWidth, qreal scale);
    void layOutRows(const Tiles &tiles, qreal pageHeight, qreal marginHeight, qreal scale,
                    bool repeatHeaders);
    void collectPages(const Tiles &tiles, const QSizeF &pageSize, qreal scale);

    QVector<qreal> m_columnX;
    QVector<int> m_columnPage;
    QVector<qreal> m_bodyY;
    QVector<int> m_rowPage;
    QVector<bool> m_rowHasHeader;
    qreal m_headerHeight = 0;
    QVector<Page> m_pages;
    QRectF m_boundingRect;
};
