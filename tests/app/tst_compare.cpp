// File › Compare with... through the main window, offscreen: a generated schedule as the old
// version of its edited copy. The Compare columns join the activity view, the deleted
// activities come back as struck-through rows, the Change column filters and exports, End
// comparison gives back the view as it was, and a file that cannot be read leaves it alone.
#include "app/csvexport.h"
#include "app/mainwindow.h"
#include "app/mainwindowform.h"
#include "apptestsupport.h"
#include "filter/ryfilterdialogproxymodel.h"
#include "gantt/ryganttview.h"
#include "gantt/ryganttviewbarstyle.h"
#include "models/rymodellookup.h"
#include "tests/support/mppscheduleedits.h"
#include "tests/support/mppschedulegenerator.h"
#include "views/activities.h"
#include "views/rydetaildelegate.h"
#include "views/rygroupedtreeview.h"
#include "views/rygroupedtreeviewdelegate.h"
#include "views/ryheaderstate.h"

#include <QLabel>
#include <QScrollBar>
#include <QStatusBar>
#include <QTableView>
#include <QtTest>

namespace {

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// The Change cells of every row of the table, depth first, with the row's name.
QList<QPair<QString, QModelIndex>> changeCells(const QTreeView *tree)
{
    const QAbstractItemModel *model = tree->model();
    const int change = RyModelLookup::findColumn(model, QStringLiteral("Change"));
    QList<QPair<QString, QModelIndex>> cells;
    for (const QModelIndex &row : RyModelLookup::flattenIndexes(model)) {
        const QModelIndex cell = row.sibling(row.row(), change);
        if (change >= 0 && cell.data().isValid())
            cells.append({ cell.data().toString(), cell });
    }
    return cells;
}

QString tableText(const QTreeView *tree)
{
    return CsvExport::headerText(tree) + QLatin1Char('\n') + CsvExport::rowsText(tree);
}

} // namespace

class TestCompare : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void comparisonShownFilteredAndExported();
    void endComparisonRestoresView();
    void unreadableFileKeepsView_data();
    void unreadableFileKeepsView();

private:
    bool compare(const QString &oldPath);

    QTemporaryDir m_dir;
    QString m_oldPath;
    QString m_newPath;
    MppScheduleEdits m_edits;
    std::unique_ptr<ScratchHome> m_home;
    std::unique_ptr<MainWindow> m_window;
};

void TestCompare::initTestCase()
{
    MppScheduleSpec spec = generateMppSchedule(MppGeneratorOptions());
    m_oldPath = m_dir.filePath(QStringLiteral("old.mpp"));
    m_newPath = m_dir.filePath(QStringLiteral("new.mpp"));
    QVERIFY(writeFile(m_oldPath, buildMppFile(spec)));
    m_edits = editMppSchedule(spec, 3);
    QCOMPARE(m_edits.removed.size(), 3);
    QVERIFY(writeFile(m_newPath, buildMppFile(spec)));
}

void TestCompare::init()
{
    m_home = std::make_unique<ScratchHome>();
    m_window = std::make_unique<MainWindow>();
    m_window->show();
    QSignalSpy ended(m_window.get(), &MainWindow::projectLoadEnded);
    m_window->openProject(m_newPath);
    QVERIFY(ended.wait(20000));
    QVERIFY(ended.first().first().toBool());
    QVERIFY(m_window->form().actionCompare->isEnabled());
    QVERIFY(!m_window->form().actionEndCompare->isEnabled());
}

void TestCompare::cleanup()
{
    m_window.reset();
    m_home.reset();
}

bool TestCompare::compare(const QString &oldPath)
{
    QSignalSpy ended(m_window->compareController(), &CompareController::comparisonEnded);
    m_window->compareController()->compareWith(oldPath);
    return (!ended.isEmpty() || ended.wait(20000)) && ended.first().first().toBool();
}

void TestCompare::comparisonShownFilteredAndExported()
{
    QVERIFY(compare(m_oldPath));
    const CompareController *controller = m_window->compareController();
    const RyCompareModel::Summary &summary = controller->comparison()->summary();
    QCOMPARE(summary.added, m_edits.added.size());
    QCOMPARE(summary.deleted, m_edits.removed.size());
    QVERIFY(summary.changed >= m_edits.moved.size());
    QVERIFY(m_window->form().actionEndCompare->isEnabled());
    const auto *label = m_window->statusBar()->findChild<QLabel *>("compareSummaryLabel");
    QVERIFY(label && label->isVisible());
    QVERIFY2(label->text().contains(QStringLiteral("Compared with old.mpp: 3 added, 3 deleted, "))
                 && label->text().endsWith(QStringLiteral("matched by unique ID")),
             qPrintable(label->text()));

    // Every kind in the table, the deleted rows named and drawn struck through.
    RyGroupedTreeView *tree = m_window->activityView()->treeView();
    const auto *delegate = qobject_cast<RyGroupedTreeViewDelegate *>(tree->itemDelegate());
    const int name = RyModelLookup::findColumn(tree->model(), QStringLiteral("Activity Name"));
    const int wbs = RyModelLookup::findColumn(tree->model(), QStringLiteral("WBS Name"));
    QMap<QString, int> kinds;
    for (const auto &cell : changeCells(tree)) {
        ++kinds[cell.first];
        const bool deleted = cell.first == QLatin1String("deleted");
        QCOMPARE(delegate->isStruckOut(cell.second), deleted);
        if (deleted) {
            // Named as it was, under its old WBS node of the WBS grouping.
            QVERIFY(!cell.second.sibling(cell.second.row(), name).data().toString().isEmpty());
            QVERIFY(!cell.second.sibling(cell.second.row(), wbs).data().toString().isEmpty());
            QVERIFY(cell.second.parent().isValid());
        }
    }
    QCOMPARE(kinds.value("added"), summary.added);
    QCOMPARE(kinds.value("deleted"), summary.deleted);
    QCOMPARE(kinds.value("changed"), summary.changed);
    QCOMPARE(kinds.value("unchanged"), summary.unchanged);

    // A moved activity's old bar starts a working day before its plan bar, under it.
    RyGanttView *gantt = m_window->activityView()->ganttView();
    const QList<RyGanttViewBarStyle> styles = gantt->barStyles();
    const int previous = styles.size() - 1;
    QCOMPARE(styles.at(previous).styleName, QStringLiteral("Previous Version"));
    QVERIFY(styles.at(previous).visible);
    const int taskId = RyModelLookup::findColumn(tree->model(), QStringLiteral("task_id"));
    const QModelIndex moved
        = RyModelLookup::verticalLookup(uint(m_edits.moved.first()), tree->model(), taskId, 0);
    QVERIFY(moved.isValid());
    tree->scrollTo(moved);
    QScrollBar *scroll = gantt->horizontalScrollBar();
    scroll->setValue(scroll->value() + gantt->barRect(moved, previous).left() - 10);
    const QRect oldBar = gantt->barRect(moved, previous);
    const QRect bar = gantt->barRect(moved, 0);
    QVERIFY(!oldBar.isEmpty());
    QVERIFY(oldBar.left() < bar.left() && oldBar.top() == bar.top());
    const QPoint body(oldBar.left() + 1, oldBar.top() + 3);
    QVERIFY(gantt->viewport()->rect().contains(body));
    const QImage image = gantt->viewport()->grab().toImage();
    QCOMPARE(image.pixelColor(body * image.devicePixelRatio()), QColor("#E07000"));

    // The details pane lists a removed link among the predecessors, marked and struck through.
    QVERIFY(!m_edits.linksRemoved.isEmpty());
    const auto removedLink = m_edits.linksRemoved.first();
    m_window->activityView()->goToActivity(uint(removedLink.second));
    const auto *predecessors = m_window->findChild<QTableView *>("tblvwPred");
    const QAbstractItemModel *links = predecessors->model();
    const int linkChange = RyModelLookup::findColumn(links, QStringLiteral("Change"));
    QVERIFY(linkChange >= 0 && !predecessors->isColumnHidden(linkChange));
    const QModelIndex removed
        = RyModelLookup::verticalLookup(uint(removedLink.first), links, linkChange, 1);
    QCOMPARE(removed.data().toString(), QStringLiteral("deleted"));
    QVERIFY(qobject_cast<RyDetailDelegate *>(predecessors->itemDelegate())->isStruckOut(removed));

    // The everyday filter: changed activities only.
    RyFilterDialogProxyModel *filter = m_window->activityView()->filterProxy();
    const int change = RyModelLookup::findColumn(filter, QStringLiteral("Change"));
    filter->setValueFilter(change, { QStringLiteral("changed") });
    kinds.clear();
    for (const auto &cell : changeCells(tree))
        ++kinds[cell.first];
    QCOMPARE(kinds.keys(), QStringList { "changed" });
    QCOMPARE(kinds.value("changed"), summary.changed);

    // The export carries the shown Compare columns and their cells.
    const QStringList header = RyHeaderState::visibleHeaderTexts(tree->header());
    for (const char *title : { "Change", "Changed fields", "Finish Δ" })
        QVERIFY2(header.contains(QString::fromUtf8(title)), title);
    const QString rows = CsvExport::rowsText(tree);
    QCOMPARE(rows.count(QStringLiteral(";changed;")), summary.changed);
}

void TestCompare::endComparisonRestoresView()
{
    RyGroupedTreeView *tree = m_window->activityView()->treeView();
    const QString before = tableText(tree);
    const int columns = tree->model()->columnCount();
    const int rows = RyModelLookup::flattenIndexes(tree->model()).size();
    QVERIFY(compare(m_oldPath));
    QVERIFY(tree->model()->columnCount() > columns);
    m_window->activityView()->filterProxy()->setValueFilter(columns, { QStringLiteral("added") });
    const QString layout = m_window->layoutDocument();
    QVERIFY(layout.contains(QStringLiteral("\"@compare_change:")));

    m_window->form().actionEndCompare->trigger();
    QVERIFY(!m_window->compareController()->isComparing());
    QCOMPARE(tree->model()->columnCount(), columns);
    QVERIFY(m_window->activityView()->filterProxy()->valueFilters().isEmpty());
    QCOMPARE(tableText(tree), before);
    QVERIFY(!m_window->statusBar()->findChild<QLabel *>("compareSummaryLabel")->isVisible());
    const auto *predecessors = m_window->findChild<QTableView *>("tblvwPred");
    QCOMPARE(RyModelLookup::findColumn(predecessors->model(), QStringLiteral("Change")), -1);
    // A layout that names the Compare columns applies without a comparison.
    QVERIFY(m_window->applyLayout(layout));
    QCOMPARE(tree->model()->columnCount(), columns);
    QCOMPARE(RyModelLookup::flattenIndexes(tree->model()).size(), rows);
}

void TestCompare::unreadableFileKeepsView_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("reason");
    QTest::newRow("missing") << "missing.mpp" << QByteArray() << "does not exist";
    QTest::newRow("not a project")
        << "broken.mpp" << QByteArray("not a compound file") << "not a file that Tarvik can read";
}

void TestCompare::unreadableFileKeepsView()
{
    QFETCH(QString, file);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, reason);
    const QString path = m_dir.filePath(file);
    if (!bytes.isEmpty())
        QVERIFY(writeFile(path, bytes));
    QVERIFY(compare(m_oldPath));
    RyGroupedTreeView *tree = m_window->activityView()->treeView();
    const QString before = tableText(tree);
    const QString summary = m_window->compareController()->summaryText();

    MessageBoxAnswerer answerer(QMessageBox::Ok);
    QVERIFY(!compare(path));
    QCOMPARE(answerer.count, 1);
    QCOMPARE(answerer.title, QStringLiteral("Compare with"));
    QVERIFY2(answerer.text.contains(QDir::toNativeSeparators(path))
                 && answerer.text.contains(reason),
             qPrintable(answerer.text));
    QCOMPARE(tableText(tree), before);
    QCOMPARE(m_window->compareController()->summaryText(), summary);
}

QTEST_MAIN(TestCompare)
#include "tst_compare.moc"
