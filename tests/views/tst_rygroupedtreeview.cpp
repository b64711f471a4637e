#include "views/rygroupedtreeview.h"
#include "views/rygroupedtreeviewdelegate.h"

#include <QAbstractItemModelTester>
#include <QHeaderView>
#include <QScrollBar>
#include <QSortFilterProxyModel>
#include <QStandardItemModel>
#include <QtTest>

namespace {

enum Column { Name, A, B, C, Group, Empty, ColumnCount };
constexpr int SectionWidth = 80;

// Remembers what the view asked it to paint, then paints as usual.
class RecordingDelegate : public RyGroupedTreeViewDelegate
{
public:
    struct Call
    {
        QPersistentModelIndex index;
        QRect rect;
        int version;
        QFont font;
        QColor text;
    };
    using RyGroupedTreeViewDelegate::RyGroupedTreeViewDelegate;
    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override
    {
        calls.append({ index, option.rect, option.version, option.font,
                       option.palette.color(QPalette::Text) });
        RyGroupedTreeViewDelegate::paint(painter, option, index);
    }
    QList<Call> callsForRow(const QModelIndex &row) const
    {
        QList<Call> result;
        for (const Call &call : calls) {
            if (call.index.row() == row.row() && call.index.parent() == row.parent())
                result.append(call);
        }
        return result;
    }
    mutable QList<Call> calls;
};

QList<QStandardItem *> makeRow(const QString &name, const QString &group)
{
    QList<QStandardItem *> items;
    for (int column = 0; column < ColumnCount; ++column)
        items.append(new QStandardItem);
    items[Name]->setText(name);
    items[A]->setText(group.isEmpty() ? "aaa" : "AAAA");
    items[B]->setText(group.isEmpty() ? "bbb" : "BBBBBBBB");
    items[C]->setText("ccc");
    if (!group.isEmpty())
        items[Group]->setText(group);
    return items;
}

bool hasDarkPixel(const QImage &image, const QRect &area)
{
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if (qGray(image.pixel(x, y)) < 110)
                return true;
        }
    }
    return false;
}

} // namespace

class TestRyGroupedTreeView : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void delegateDisplayText_data();
    void delegateDisplayText();
    void rowsAre22PixelsHigh();
    void groupColumnRules();
    void mergeCountAboveTwoIsRejected();
    void visibleRowsFollowExpansionAndModel();
    void visibleRowsFollowFiltering();
    void groupRowTextDrawnOnceAcrossMergedColumns();
    void mergeCountZeroPaintsEveryColumn();
    void activityRowsPaintedNormally();
    void levelStylesAndFallback();
    void stripesFollowShownRows();
    void snapshotRoundTrip();
    void noModelPaintsNothing();
    void fitTreeColumn_data();
    void fitTreeColumn();
    void cellCutAtTheRightEdge_data();
    void cellCutAtTheRightEdge();

private:
    QImage render();
    QRect cellArea(const QModelIndex &index, int column) const;

    QStandardItemModel *m_model = nullptr;
    RyGroupedTreeView *m_view = nullptr;
    RecordingDelegate *m_delegate = nullptr;
    QModelIndex m_group1, m_group2, m_sub, m_act1, m_act2, m_act3;
};

// Tree: G1 > (a1, Sub > a2), G2 > a3
void TestRyGroupedTreeView::init()
{
    m_model = new QStandardItemModel(0, ColumnCount, this);
    m_model->setHorizontalHeaderLabels({ "Name", "A", "B", "C", "Group", "Empty" });
    auto g1 = makeRow("", "MMMMMMMM");
    g1[Name]->appendRow(makeRow("a1", ""));
    auto sub = makeRow("", "Sub");
    sub[Name]->appendRow(makeRow("a2", ""));
    g1[Name]->appendRow(sub);
    auto g2 = makeRow("", "G2");
    g2[Name]->appendRow(makeRow("a3", ""));
    m_model->appendRow(g1);
    m_model->appendRow(g2);
    new QAbstractItemModelTester(m_model, this);

    m_view = new RyGroupedTreeView;
    m_delegate = new RecordingDelegate(m_view);
    m_view->setItemDelegate(m_delegate);
    m_view->setUniformRowHeights(true);
    m_view->setModel(m_model);
    m_view->setGroupColumn(Group);
    m_view->header()->setStretchLastSection(false);
    m_view->header()->setMinimumSectionSize(10);
    for (int column = 0; column < ColumnCount; ++column)
        m_view->header()->resizeSection(column, SectionWidth);
    m_view->resize(SectionWidth * ColumnCount + 40, 300);
    m_view->expandAll();

    m_group1 = m_model->index(0, 0);
    m_group2 = m_model->index(1, 0);
    m_act1 = m_model->index(0, 0, m_group1);
    m_sub = m_model->index(1, 0, m_group1);
    m_act2 = m_model->index(0, 0, m_sub);
    m_act3 = m_model->index(0, 0, m_group2);
}

void TestRyGroupedTreeView::cleanup()
{
    delete m_view;
    delete m_model;
}

QImage TestRyGroupedTreeView::render()
{
    m_delegate->calls.clear();
    return m_view->viewport()->grab().toImage();
}

// The part of a cell right of the indentation, a little inside, in viewport coordinates.
QRect TestRyGroupedTreeView::cellArea(const QModelIndex &index, int column) const
{
    const QRect row = m_view->visualRect(index);
    const int left = m_view->columnViewportPosition(column);
    return QRect(left + 2, row.top() + 3, SectionWidth - 4, row.height() - 6);
}

void TestRyGroupedTreeView::delegateDisplayText_data()
{
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("date-time") << QVariant(QDateTime(QDate(2024, 3, 5), QTime(8, 0), Qt::UTC))
                               << "05-03-2024";
    QTest::newRow("date") << QVariant(QDate(2023, 12, 31)) << "31-12-2023";
    QTest::newRow("relationship type") << QVariant("PR_FS") << "FS";
    QTest::newRow("task type") << QVariant("TT_Task") << "Task";
    QTest::newRow("plain text") << QVariant("Design") << "Design";
    QTest::newRow("number") << QVariant(42) << "42";
}

void TestRyGroupedTreeView::delegateDisplayText()
{
    QFETCH(QVariant, value);
    QFETCH(QString, text);
    RyGroupedTreeViewDelegate delegate;
    QCOMPARE(delegate.displayText(value, QLocale()), text);
}

void TestRyGroupedTreeView::rowsAre22PixelsHigh()
{
    RyGroupedTreeViewDelegate delegate;
    QStyleOptionViewItem option;
    QCOMPARE(delegate.sizeHint(option, m_group1).height(), 22);
    QCOMPARE(m_view->visualRect(m_act2).height(), 22);
    QCOMPARE(m_view->indentation(), 15);
}

void TestRyGroupedTreeView::groupColumnRules()
{
    QCOMPARE(m_view->groupColumn(), int(Group));
    QCOMPARE(m_delegate->groupColumn(), int(Group));
    m_view->setGroupColumn(ColumnCount); // outside the model
    QCOMPARE(m_view->groupColumn(), int(Group));

    m_view->setGroupColumn(C);
    QCOMPARE(m_delegate->groupColumn(), int(C));

    m_view->setItemDelegate(new QStyledItemDelegate(m_view)); // foreign delegate
    m_view->setGroupColumn(Group);
    QCOMPARE(m_view->groupColumn(), int(C));

    RyGroupedTreeView empty;
    empty.setGroupColumn(0); // no model
    QCOMPARE(empty.groupColumn(), -1);
}

void TestRyGroupedTreeView::mergeCountAboveTwoIsRejected()
{
    QCOMPARE(m_view->mergeCount(), 2);
    m_view->setMergeCount(1);
    m_view->setMergeCount(3);
    QCOMPARE(m_view->mergeCount(), 1);
    m_view->setMergeCount(0);
    QCOMPARE(m_view->mergeCount(), 0);
}

void TestRyGroupedTreeView::visibleRowsFollowExpansionAndModel()
{
    QCOMPARE(m_view->visibleRows(),
             (QModelIndexList { m_group1, m_act1, m_sub, m_act2, m_group2, m_act3 }));
    m_view->collapse(m_sub);
    QCOMPARE(m_view->visibleRows(),
             (QModelIndexList { m_group1, m_act1, m_sub, m_group2, m_act3 }));
    m_view->collapseAll();
    QCOMPARE(m_view->visibleRows(), (QModelIndexList { m_group1, m_group2 }));
    m_view->expandToDepth(0);
    QCOMPARE(m_view->visibleRows(),
             (QModelIndexList { m_group1, m_act1, m_sub, m_group2, m_act3 }));
    m_view->expandAll();
    QCOMPARE(m_view->visibleRows().size(), 6);

    m_view->setModel(m_model); // the same model again keeps the view listening
    m_model->appendRow(makeRow("a4", ""));
    QCOMPARE(m_view->visibleRows().size(), 7);
    QVERIFY(m_view->visualRect(m_model->index(2, 0)).isValid());
    QCOMPARE(m_view->visibleRows().last(), m_model->index(2, 0));
    m_model->removeRow(0);
    QCOMPARE(m_view->visibleRows(),
             (QModelIndexList { m_model->index(0, 0), m_model->index(0, 0, m_model->index(0, 0)),
                                m_model->index(1, 0) }));
    m_model->sort(Name, Qt::DescendingOrder);
    QCOMPARE(m_view->visibleRows().first(), m_model->index(0, 0));
    QCOMPARE(m_view->visibleRows().first().data().toString(), QString("a4"));
    QCOMPARE(m_view->visibleRowPosition(m_model->index(0, C)), 0);
}

void TestRyGroupedTreeView::visibleRowsFollowFiltering()
{
    QSortFilterProxyModel filter;
    filter.setRecursiveFilteringEnabled(true);
    filter.setSourceModel(m_model);
    m_view->setModel(&filter);
    m_view->expandAll();
    QCOMPARE(m_view->visibleRows().size(), 6);
    filter.setFilterFixedString("a2"); // keeps a2 and its ancestors
    m_view->expandAll();
    const QModelIndexList rows = m_view->visibleRows();
    QCOMPARE(rows.size(), 3);
    QCOMPARE(rows.last().data().toString(), QString("a2"));
    filter.setFilterFixedString(QString());
    m_view->expandAll();
    QCOMPARE(m_view->visibleRows().size(), 6);
    m_view->setModel(m_model);
}

void TestRyGroupedTreeView::groupRowTextDrawnOnceAcrossMergedColumns()
{
    const QImage image = render();

    const QList<RecordingDelegate::Call> calls = m_delegate->callsForRow(m_group1);
    QList<int> columns;
    for (const auto &call : calls)
        columns.append(call.index.column());
    // Name, A and B form one cell; C, Group and Empty are painted on their own.
    QCOMPARE(columns, (QList<int> { Name, C, Group, Empty }));
    const RecordingDelegate::Call merged = calls.first();
    QCOMPARE(merged.version, int(RyGroupedTreeViewDelegate::MergedCellMarker));
    QCOMPARE(merged.rect.left(), m_view->indentation());
    QCOMPARE(merged.rect.right(), 3 * SectionWidth - 1);

    // The long label runs from the tree column into A; B shows nothing of its own text.
    QVERIFY(hasDarkPixel(image, cellArea(m_group1, Name)));
    QVERIFY(hasDarkPixel(image, cellArea(m_group1, A)));
    QVERIFY(!hasDarkPixel(image, cellArea(m_group1, B)));
    QVERIFY(hasDarkPixel(image, cellArea(m_group1, C)));
}

void TestRyGroupedTreeView::mergeCountZeroPaintsEveryColumn()
{
    m_view->setMergeCount(0);
    const QImage image = render();
    QList<int> columns;
    for (const auto &call : m_delegate->callsForRow(m_group1))
        columns.append(call.index.column());
    QCOMPARE(columns, (QList<int> { Name, A, B, C, Group, Empty }));
    QVERIFY(hasDarkPixel(image, cellArea(m_group1, B)));

    // The merged set follows the visual order: with B moved to the front of the non-tree
    // columns, merge count 1 covers B instead of A.
    m_view->setMergeCount(1);
    m_view->header()->moveSection(m_view->header()->visualIndex(B), 1);
    render();
    columns.clear();
    for (const auto &call : m_delegate->callsForRow(m_group1))
        columns.append(call.index.column());
    QCOMPARE(columns, (QList<int> { Name, A, C, Group, Empty }));
}

void TestRyGroupedTreeView::activityRowsPaintedNormally()
{
    const QImage image = render();
    const QList<RecordingDelegate::Call> calls = m_delegate->callsForRow(m_act1);
    QCOMPARE(calls.size(), int(ColumnCount));
    for (const auto &call : calls) {
        QVERIFY(call.version != RyGroupedTreeViewDelegate::MergedCellMarker);
        QCOMPARE(call.font, m_view->font());
    }
    QVERIFY(hasDarkPixel(image, cellArea(m_act1, A)));
    QVERIFY(hasDarkPixel(image, cellArea(m_act1, B)));
}

void TestRyGroupedTreeView::levelStylesAndFallback()
{
    QPalette palette = m_view->palette();
    palette.setColor(QPalette::Base, Qt::white);
    m_view->setPalette(palette);
    RyLevelStyle top;
    top.font = QFont("DejaVu Serif");
    top.font.setItalic(true);
    top.textColor = Qt::red;
    top.background = QBrush(Qt::yellow);
    RyLevelStyle second;
    second.font = QFont("DejaVu Sans Mono");
    m_view->setLevelStyles({ top, second });
    QImage image = render();
    const auto topCall = m_delegate->callsForRow(m_group1).first();
    QCOMPARE(topCall.font.family(), QString("DejaVu Serif"));
    QVERIFY(topCall.font.italic());
    QCOMPARE(topCall.font.weight(), int(QFont::Bold));
    QCOMPARE(topCall.font.pointSizeF(), QApplication::font().pointSizeF());
    QCOMPARE(topCall.text, QColor(Qt::red));
    // The level's background fills the merged cell, right to its far end.
    const QRect merged = cellArea(m_group1, B);
    QCOMPARE(image.pixelColor(merged.right(), merged.center().y()), QColor(Qt::yellow));
    QCOMPARE(image.pixelColor(cellArea(m_group2, B).topRight()), QColor(Qt::yellow));
    const auto subCall = m_delegate->callsForRow(m_sub).first();
    QCOMPARE(subCall.font.family(), QString("DejaVu Sans Mono"));
    QCOMPARE(subCall.text, QColor(Qt::black)); // no colour given: black
    QCOMPARE(image.pixelColor(cellArea(m_sub, B).topRight()), QColor(Qt::white));

    m_view->setLevelStyles({ top });
    image = render();
    const auto fallback = m_delegate->callsForRow(m_sub).first();
    QCOMPARE(fallback.font.family(), QString("MS Shell Dlg 2"));
    QCOMPARE(fallback.font.weight(), int(QFont::Bold));
    QCOMPARE(fallback.text, QColor(Qt::black));
    QCOMPARE(m_view->levelStyle(1).textColor, QColor(Qt::black));
    QCOMPARE(m_view->levelStyle(1).background.style(), Qt::NoBrush);
    QCOMPARE(image.pixelColor(cellArea(m_sub, B).topRight()), QColor(Qt::white));
}

void TestRyGroupedTreeView::stripesFollowShownRows()
{
    QPalette palette = m_view->palette();
    palette.setColor(QPalette::Base, Qt::white);
    palette.setColor(QPalette::AlternateBase, QColor(0, 200, 0));
    m_view->setPalette(palette);
    m_view->setAlternatingRowColors(true);

    auto stripe = [this](const QImage &image, const QModelIndex &index) {
        const QRect area = cellArea(index, Empty);
        return image.pixelColor(area.center());
    };
    // G1, a1, Sub, a2, G2, a3: a3 is the sixth row shown, G2 the fifth.
    QImage image = render();
    QCOMPARE(stripe(image, m_group2), QColor(Qt::white));
    QCOMPARE(stripe(image, m_act3), QColor(0, 200, 0));
    // The branch area of the tree column is striped too.
    QCOMPARE(image.pixelColor(2, m_view->visualRect(m_act3).center().y()), QColor(0, 200, 0));

    m_view->collapse(m_sub); // G1, a1, Sub, G2, a3
    image = render();
    QCOMPARE(stripe(image, m_group2), QColor(0, 200, 0));
    QCOMPARE(stripe(image, m_act3), QColor(Qt::white));
}

void TestRyGroupedTreeView::snapshotRoundTrip()
{
    for (int i = 0; i < 40; ++i)
        m_model->appendRow(makeRow(QString("row %1").arg(i), ""));
    for (int column = 0; column < ColumnCount; ++column)
        m_view->header()->resizeSection(column, 150);
    m_view->header()->hideSection(Empty);
    m_view->resize(400, 300);
    m_view->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_view));
    QTRY_VERIFY(m_view->verticalScrollBar()->maximum() > 7);
    QTRY_VERIFY(m_view->horizontalScrollBar()->maximum() > 60);
    m_view->verticalScrollBar()->setValue(7);
    m_view->horizontalScrollBar()->setValue(60);
    const int headerWidth = m_view->header()->width();
    const QSize viewSize = m_view->size();

    m_view->selectionModel()->select(m_act1, QItemSelectionModel::Select);
    const QVariantMap state = m_view->prepareSnapshot();
    QVERIFY(!m_view->selectionModel()->hasSelection());
    QCOMPARE(state.value("width").toInt(), headerWidth);
    QCOMPARE(state.value("ver_scroll_val").toInt(), 7);
    QCOMPARE(state.value("hor_scroll_val").toInt(), 60);
    QCOMPARE(m_view->header()->width(), 5 * 150);
    const int rows = m_view->visibleRows().size();
    QCOMPARE(m_view->viewport()->size(), QSize(5 * 150, rows * 22));
    QCOMPARE(m_view->verticalScrollBar()->value(), 0);
    QCOMPARE(m_view->horizontalScrollBar()->value(), 0);
    QCOMPARE(m_view->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    QCOMPARE(m_view->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);

    m_view->restoreSnapshot(state);
    QCOMPARE(m_view->header()->width(), headerWidth);
    QCOMPARE(m_view->size(), viewSize);
    QCOMPARE(m_view->verticalScrollBarPolicy(), Qt::ScrollBarAsNeeded);
    QCOMPARE(m_view->horizontalScrollBarPolicy(), Qt::ScrollBarAsNeeded);
    QCOMPARE(m_view->verticalScrollBar()->value(), 7);
    QCOMPARE(m_view->horizontalScrollBar()->value(), 60);
}

void TestRyGroupedTreeView::noModelPaintsNothing()
{
    RyGroupedTreeView view;
    view.resize(200, 100);
    QPalette palette = view.palette();
    palette.setColor(QPalette::Base, Qt::blue);
    view.setPalette(palette);
    QVERIFY(view.visibleRows().isEmpty());
    // Painting must not touch a model: the viewport shows nothing but its base colour.
    const QImage image = view.viewport()->grab().toImage();
    QVERIFY(!image.isNull());
    for (int y = 0; y < image.height(); y += 3) {
        for (int x = 0; x < image.width(); x += 3)
            QCOMPARE(image.pixelColor(x, y), QColor(Qt::blue));
    }
}

void TestRyGroupedTreeView::fitTreeColumn_data()
{
    QTest::addColumn<QString>("deepestId");
    QTest::addColumn<int>("maximum");
    QTest::addColumn<bool>("capped");
    QTest::addColumn<QString>("shallowerId"); // a1's, one level up: never measured
    QTest::newRow("short id keeps the column") << "a2" << 400 << false << "a1";
    QTest::newRow("long id widens it") << "ACTIVITY-000123456" << 400 << false << "a1";
    QTest::newRow("at most the maximum") << QString(80, QLatin1Char('W')) << 400 << true << "a1";
    QTest::newRow("a shallower long id does not count")
        << "a2" << 400 << false << QString(30, QLatin1Char('W'));
}

void TestRyGroupedTreeView::fitTreeColumn()
{
    QFETCH(QString, deepestId);
    QFETCH(int, maximum);
    QFETCH(bool, capped);
    QFETCH(QString, shallowerId);
    m_model->setData(m_act2, deepestId); // a2 is the only row at depth 2
    m_model->setData(m_act1, shallowerId);
    m_view->fitTreeColumn(maximum);
    const int width = m_view->header()->sectionSize(Name);
    const int needed
        = 3 * m_view->indentation() + m_view->fontMetrics().horizontalAdvance(deepestId);
    if (capped)
        QCOMPARE(width, maximum);
    else
        QVERIFY(width >= needed && width <= qMax(SectionWidth, needed + 12));
}

void TestRyGroupedTreeView::cellCutAtTheRightEdge_data()
{
    QTest::addColumn<int>("shown"); // pixels of column B inside the viewport
    QTest::addColumn<int>("alignment");
    QTest::addColumn<int>("paintedWidth");
    QTest::addColumn<bool>("ink");
    // Eight pixels hold no letter (nor "…"); forty hold the elided start of the text.
    QTest::newRow("a sliver shows nothing") << 8 << int(Qt::AlignLeft) << 8 << false;
    QTest::newRow("half elided at the edge") << 40 << int(Qt::AlignLeft) << 40 << true;
    QTest::newRow("right-aligned keeps its place")
        << 40 << int(Qt::AlignRight | Qt::AlignVCenter) << SectionWidth << true;
}

void TestRyGroupedTreeView::cellCutAtTheRightEdge()
{
    QFETCH(int, shown);
    QFETCH(int, alignment);
    QFETCH(int, paintedWidth);
    m_model->setData(m_act1.siblingAtColumn(B), QStringLiteral("Tbbbbbbbbbbbbbbbbbbb"));
    m_model->setData(m_act1.siblingAtColumn(B), alignment, Qt::TextAlignmentRole);
    m_view->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_view));
    m_view->resize(m_view->width() - m_view->viewport()->width() + 2 * SectionWidth + shown, 300);
    QTRY_COMPARE(m_view->viewport()->width(), 2 * SectionWidth + shown);
    const QImage image = render();
    const auto calls = m_delegate->callsForRow(m_act1);
    const auto b = std::find_if(calls.cbegin(), calls.cend(),
                                [](const auto &call) { return call.index.column() == B; });
    QVERIFY(b != calls.cend());
    QCOMPARE(b->rect.width(), paintedWidth);
    const QRect row = m_view->visualRect(m_act1);
    const QRect edge(2 * SectionWidth, row.top() + 2, shown, row.height() - 4);
    QTEST(hasDarkPixel(image, edge), "ink");
}

QTEST_MAIN(TestRyGroupedTreeView)
#include "tst_rygroupedtreeview.moc"
