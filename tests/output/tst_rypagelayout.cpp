// The page layout on tile sizes alone: the row and column passes give the same tiles and pages
// as the tile-by-tile walk they replace, over content and paper sizes and the edge cases.
#include "output/rypagelayout.h"

#include <QtTest>

namespace {

constexpr qreal Unit = 4.33333;
const QSizeF Margin(5 * Unit, 5 * Unit);

QSizeF paper(qreal widthMm, qreal heightMm)
{
    return QSizeF(qRound(widthMm * Unit), qRound(heightMm * Unit));
}

RyPageLayout::Tiles tiles(const QVector<int> &widths, int rows, int rowHeight = 22,
                          int headerHeight = 48)
{
    RyPageLayout::Tiles result;
    result.columnWidths = widths;
    result.rowCount = rows;
    result.rowHeight = rowHeight;
    result.headerHeight = headerHeight;
    return result;
}

// The tile-by-tile walk over every row and column, step by step as the layout is defined.
struct Walk
{
    QVector<QPair<int, int>> pages; // (page row, page column) in order of first use
    QVector<QVector<QPointF>> body;
    QVector<bool> header;

    Walk(const RyPageLayout::Tiles &t, const QSizeF &page, const QSizeF &margin, qreal s,
         bool repeat)
    {
        const qreal PW = page.width(), PH = page.height();
        const qreal MW = margin.width(), MH = margin.height();
        qreal y = 0;
        int e = -1, f = -1;
        for (int i = 0; i < t.rowCount; ++i) {
            const int h = int((2 * MH + y + t.rowHeight * s) / PH);
            const bool hasHeader = h != e && (h == 0 || repeat);
            header.append(hasHeader);
            body.append(QVector<QPointF>());
            qreal x = 0;
            for (int j = 0; j < t.columnWidths.size(); ++j) {
                const int width = int(t.columnWidths.at(j) * s);
                const int o = int((2 * MW + x + width) / PW);
                const bool stays = !(i > 0 && j == 0) && o == f && h == e;
                if (!stays) {
                    if (!pages.contains({ h, o }))
                        pages.append({ h, o });
                    if (j == 0 || o != f)
                        x = o * PW + MW;
                    if (h != e) {
                        y = h * PH + MH;
                        e = h;
                    }
                    f = o;
                }
                body.last().append(QPointF(x, hasHeader ? y + t.headerHeight * s : y));
                x += width;
            }
            y += t.rowHeight * s;
            if (hasHeader)
                y += t.headerHeight * s;
        }
        std::sort(pages.begin(), pages.end());
    }
};

} // namespace

Q_DECLARE_METATYPE(RyPageLayout::Tiles)

class TestRyPageLayout : public QObject
{
    Q_OBJECT
private slots:
    void matchesTileWalk_data();
    void matchesTileWalk();
    void wideContentContinuesOnPagesToTheRight();
    void headersRepeatOnEveryPageRow();
};

void TestRyPageLayout::matchesTileWalk_data()
{
    QTest::addColumn<RyPageLayout::Tiles>("content");
    QTest::addColumn<QSizeF>("page");
    QTest::addColumn<qreal>("scale");
    QTest::addColumn<bool>("repeat");
    QTest::addColumn<int>("pageRows");
    QTest::addColumn<int>("pageColumns");

    const QVector<int> table { 60, 250, 80, 90, 90 };
    QVector<int> days = table;
    for (int day = 0; day < 180; ++day)
        days.append(24);
    const QSizeF a4 = paper(210, 297);
    QTest::newRow("one page") << tiles(table, 10) << a4 << 1.0 << true << 1 << 1;
    QTest::newRow("empty") << tiles(table, 0) << a4 << 1.0 << true << 0 << 0;
    QTest::newRow("no columns") << tiles({}, 30) << a4 << 1.0 << true << 0 << 0;
    QTest::newRow("long, repeated headers") << tiles(table, 500) << a4 << 1.0 << true << 10 << 1;
    QTest::newRow("long, header once") << tiles(table, 500) << a4 << 1.0 << false << 10 << 1;
    QTest::newRow("half day units") << tiles(days, 300) << a4 << 0.5 << true << 3 << 3;
    QTest::newRow("odd scale") << tiles(days, 300) << paper(297, 210) << 0.37 << true << 3 << 2;
    QTest::newRow("enlarged") << tiles(days, 120) << paper(148, 210) << 1.5 << true << 6 << 13;
    QTest::newRow("A3") << tiles(days, 1000) << paper(297, 420) << 1.0 << false << 13 << 5;
    QTest::newRow("column wider than a page")
        << tiles({ 100, 900, 100 }, 5) << paper(105, 148) << 1.0 << true << 1 << 3;
    QTest::newRow("row taller than a page")
        << tiles({ 100 }, 4, 700, 30) << paper(105, 148) << 1.0 << true << 4 << 1;
}

void TestRyPageLayout::matchesTileWalk()
{
    QFETCH(RyPageLayout::Tiles, content);
    QFETCH(QSizeF, page);
    QFETCH(qreal, scale);
    QFETCH(bool, repeat);
    QFETCH(int, pageRows);
    QFETCH(int, pageColumns);

    RyPageLayout layout;
    layout.layOut(content, page, Margin, scale, repeat);
    const Walk walk(content, page, Margin, scale, repeat);

    QVector<QPair<int, int>> pages;
    QSet<int> rows, columns;
    for (const RyPageLayout::Page &p : layout.pages()) {
        QCOMPARE(p.rect.size(), page);
        const int row = int(p.rect.top() / page.height());
        const int column = int(p.rect.left() / page.width());
        pages.append({ row, column });
        rows.insert(row);
        columns.insert(column);
        QCOMPARE(p.hasHeader, layout.rowHasHeader(p.firstRow));
    }
    QCOMPARE(pages, walk.pages); // reading order: page rows, then page columns
    QCOMPARE(rows.size(), pageRows);
    QCOMPARE(columns.size(), pageColumns);

    // Each tile sits where the walk puts it, and on the page that holds its row and column.
    for (const RyPageLayout::Page &p : layout.pages()) {
        for (int i = p.firstRow; i <= p.lastRow; ++i) {
            QCOMPARE(layout.rowHasHeader(i), walk.header.at(i));
            for (int j = p.firstColumn; j <= p.lastColumn; ++j)
                QCOMPARE(QPointF(layout.columnX(j), layout.bodyY(i)), walk.body.at(i).at(j));
        }
    }
}

void TestRyPageLayout::wideContentContinuesOnPagesToTheRight()
{
    // Three pages' worth of content at 100 %: an A4 page column takes eight 100-unit columns
    // (a tile column moves on once it would come within two margins of the page's right edge).
    // Each page column starts at its left margin.
    const QSizeF page = paper(210, 297);
    const QVector<int> widths(24, 100);
    RyPageLayout layout;
    layout.layOut(tiles(widths, 3), page, Margin, 1.0, true);
    QCOMPARE(layout.pages().size(), 3);
    for (int c = 0; c < 3; ++c) {
        const RyPageLayout::Page &p = layout.pages().at(c);
        QCOMPARE(p.rect.left(), c * page.width());
        QCOMPARE(layout.columnX(p.firstColumn), p.rect.left() + Margin.width());
        QVERIFY(layout.columnX(p.lastColumn) + 100 <= p.rect.right() - Margin.width());
    }
}

void TestRyPageLayout::headersRepeatOnEveryPageRow()
{
    const QSizeF page = paper(105, 148);
    for (bool repeat : { true, false }) {
        RyPageLayout layout;
        layout.layOut(tiles({ 100, 100 }, 100), page, Margin, 1.0, repeat);
        QVERIFY(layout.pages().size() > 3);
        for (const RyPageLayout::Page &p : layout.pages()) {
            const bool firstPageRow = p.rect.top() == 0;
            QCOMPARE(p.hasHeader, firstPageRow || repeat);
            // The first body row sits just below the header, or at the top margin.
            QCOMPARE(layout.bodyY(p.firstRow),
                     p.rect.top() + Margin.height() + (p.hasHeader ? 48 : 0));
        }
    }
}

QTEST_APPLESS_MAIN(TestRyPageLayout)
#include "tst_rypagelayout.moc"
