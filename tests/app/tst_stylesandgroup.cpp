// Styles and Group through the window on real schedules: what a planner changes in the two
// dialogs reaches the chart and the table after OK, and nothing does after Cancel.
#include "app/mainwindow.h"
#include "app/mainwindowform.h"
#include "apptestsupport.h"
#include "gantt/rycolorcombo.h"
#include "gantt/ryganttchartstylesdialog.h"
#include "gantt/ryganttchartstylesdialogmodel.h"
#include "gantt/ryganttview.h"
#include "gantt/rystylecombo.h"
#include "gantt/rytimelineheader.h"
#include "models/ryconstants.h"
#include "models/rymodellookup.h"
#include "models/ryvaluetext.h"
#include "views/activities.h"
#include "views/rygroupdialog.h"
#include "views/rygroupdialogdelegate.h"
#include "views/rygroupedtreeview.h"

#include <QAction>
#include <QComboBox>
#include <QHeaderView>
#include <QScreen>
#include <QTableWidget>
#include <QToolBar>
#include <QtTest>
#include <functional>

namespace {

QString sample(const char *name)
{
    return QStringLiteral(TARVIK_SAMPLES "/") + QLatin1String(name);
}

// Runs `work` on the dialog of type T once it is the active modal widget.
template<typename T> void whenModal(const std::function<void(T *)> &work)
{
    auto *poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, [poll, work] {
        auto *dialog = qobject_cast<T *>(QApplication::activeModalWidget());
        if (!dialog || !dialog->isVisible())
            return;
        poll->stop();
        poll->deleteLater();
        work(dialog);
        // A failed check inside `work` must not leave the window waiting on the dialog.
        if (dialog->isVisible())
            dialog->reject();
    });
    poll->start(5);
}

int rowNamed(const QAbstractItemModel *model, const QString &name)
{
    for (int row = 0; row < model->rowCount(); ++row) {
        if (model->index(row, RyGanttChartStylesDialogModel::NameColumn).data() == name)
            return row;
    }
    return -1;
}

// The edits a planner makes in Styles: Summary off, Task bars bright green with the activity
// name at their right, months as "Jan".
void editStyles(RyGanttChartStylesDialog *dialog)
{
    RyGanttChartStylesDialogModel *model = dialog->model();
    const int summary = rowNamed(model, "Summary");
    const int task = rowNamed(model, "Task");
    QVERIFY(summary >= 0 && task >= 0);
    model->setData(model->index(summary, RyGanttChartStylesDialogModel::ShowColumn), false,
                   RyGanttChartStylesDialogModel::ValueRole);
    dialog->table()->setCurrentIndex(model->index(task, RyGanttChartStylesDialogModel::NameColumn));
    dialog->barColorCombo()->colorSelected(QColor("#00FF00"));
    dialog->positionCombo(RyGanttViewBarStyle::Right)->setCurrentText("Activity Name");
    dialog->dateFormatCombo(Ry::Month)->setCurrentText("Jan");
}

} // namespace

class TestStylesAndGroup : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void commandsFollowTheProject();
    void stylesReachTheChart();
    void cancelledStylesChangeNothing();
    void groupByStartMonth();
    void dialogsReopenAtTheirLastSize_data();
    void dialogsReopenAtTheirLastSize();

private:
    bool open(const QString &path);
    QModelIndexList rows() const;

    std::unique_ptr<ScratchHome> home;
    std::unique_ptr<MainWindow> window;
};

void TestStylesAndGroup::init()
{
    home.reset(new ScratchHome);
    window.reset(new MainWindow);
    window->resize(1400, 900);
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
}

void TestStylesAndGroup::cleanup()
{
    window.reset();
    home.reset();
}

bool TestStylesAndGroup::open(const QString &path)
{
    QSignalSpy ended(window.get(), &MainWindow::projectLoadEnded);
    window->openProject(path);
    if (ended.isEmpty() && !ended.wait(10000))
        return false;
    window->activityView()->treeView()->expandAll();
    window->activityView()->ganttView()->onVisibleItemsChanged();
    return ended.first().first().toBool();
}

QModelIndexList TestStylesAndGroup::rows() const
{
    return RyModelLookup::flattenIndexes(window->activityView()->treeView()->model());
}

void TestStylesAndGroup::commandsFollowTheProject()
{
    QAction *group = window->form().actionGroup;
    QVERIFY(group->isVisible());
    QVERIFY(!group->isEnabled());
    QVERIFY(window->form().mainToolBar->actions().contains(group));
    // Without a project neither command opens a dialog.
    window->form().actionStyles->trigger();
    group->trigger();
    QVERIFY(open(sample("oracle/task-links-project2013-mpp14.mpp")));
    QVERIFY(group->isEnabled());
    QVERIFY(window->form().actionStyles->isEnabled());
}

void TestStylesAndGroup::stylesReachTheChart()
{
    QVERIFY(open(sample("oracle/task-links-project2013-mpp14.mpp")));
    RyGanttView *gantt = window->activityView()->ganttView();
    const QList<RyGanttViewBarStyle> before = gantt->barStyles();
    whenModal<RyGanttChartStylesDialog>([](RyGanttChartStylesDialog *dialog) {
        // The dialog starts from the chart's own settings.
        QCOMPARE(dialog->dateFormats().value(Ry::Month), 3);
        QVERIFY(dialog->showLinks());
        editStyles(dialog);
        dialog->accept();
    });
    window->form().actionStyles->trigger();

    const QList<RyGanttViewBarStyle> after = gantt->barStyles();
    QCOMPARE(after.size(), before.size());
    QVERIFY(!after.at(2).visible);
    QCOMPARE(after.at(0).bodyColor, QColor("#00FF00"));
    QCOMPARE(after.at(0).displayColumns.value(RyGanttViewBarStyle::Right),
             QString("Activity Name"));
    for (int i : { 1, 3, 4, 5 })
        QCOMPARE(after.at(i), before.at(i));
    QCOMPARE(gantt->header()->dateFormats().value(Ry::Month), 2);

    QApplication::processEvents();
    const QImage image = gantt->viewport()->grab().toImage();
    int greenBars = 0;
    int summaries = 0;
    for (const QModelIndex &row : rows()) {
        const QRect bar = gantt->barRect(row, 0);
        if (bar.isEmpty() || !image.rect().contains(bar.center()))
            continue;
        if (gantt->rowType(row) == RyGanttView::SummaryRow) {
            // The summary bar (black, rows 3 to 7) is gone.
            int black = 0;
            for (int x = bar.left(); x <= bar.right(); ++x)
                black += image.pixelColor(x, bar.top() + 5) == QColor(Qt::black);
            QVERIFY(black < bar.width() / 2);
            ++summaries;
        } else if (gantt->rowType(row) == RyGanttView::TaskRow && !gantt->isCritical(row)) {
            QCOMPARE(image.pixelColor(bar.center()), QColor("#00FF00"));
            bool label = false;
            for (int x = bar.right() + 11; x < qMin(image.width(), bar.right() + 60); ++x)
                label |= qGray(image.pixel(x, bar.center().y())) < 110;
            QVERIFY(label);
            ++greenBars;
        }
    }
    QVERIFY(greenBars >= 2);
    QVERIFY(summaries >= 1);
}

void TestStylesAndGroup::cancelledStylesChangeNothing()
{
    QVERIFY(open(sample("oracle/task-links-project2013-mpp14.mpp")));
    RyGanttView *gantt = window->activityView()->ganttView();
    const QList<RyGanttViewBarStyle> before = gantt->barStyles();
    const QMap<int, int> formats = gantt->header()->dateFormats();
    whenModal<RyGanttChartStylesDialog>([](RyGanttChartStylesDialog *dialog) {
        editStyles(dialog);
        dialog->setShowLinks(false);
        dialog->reject();
    });
    window->form().actionStyles->trigger();
    QCOMPARE(gantt->barStyles(), before);
    QCOMPARE(gantt->header()->dateFormats(), formats);
    QVERIFY(gantt->showLinks());
}

void TestStylesAndGroup::groupByStartMonth()
{
    QVERIFY(open(sample("extra/sample.mpp")));
    Activities *view = window->activityView();
    whenModal<RyGroupDialog>([](RyGroupDialog *dialog) {
        QTableWidget *table = dialog->table();
        // The built-in layout's WBS rule is there; system columns are not offered.
        QCOMPARE(table->item(0, 0)->text(), QString("WBS Code"));
        QVERIFY(!dialog->columnNames().contains("task_id"));
        QVERIFY(dialog->columnNames().contains("Start Date"));
        RyGroupDialogDelegate *delegate = dialog->delegate();
        auto chooseIn = [&](int column, const QString &text) {
            const QModelIndex index = table->model()->index(0, column);
            std::unique_ptr<QWidget> editor(delegate->createEditor(table->viewport(), {}, index));
            QVERIFY(editor);
            delegate->setEditorData(editor.get(), index);
            if (auto *combo = qobject_cast<QComboBox *>(editor.get())) {
                combo->setCurrentText(text);
            } else if (auto *style = qobject_cast<RyStyleCombo *>(editor.get())) {
                style->setBackgroundColor(Qt::yellow);
            }
            delegate->setModelData(editor.get(), table->model(), index);
        };
        chooseIn(RyGroupDialog::GroupByColumn, "Start Date");
        chooseIn(RyGroupDialog::RuleColumn, "Month");
        chooseIn(RyGroupDialog::FormatColumn, QString());
        dialog->accept();
    });
    window->form().actionGroup->trigger();

    QCOMPARE(view->groupRules().size(), 1);
    QVERIFY(view->groupRules().first().startsWith("Start Date;Month;"));

    // One group per calendar month of each year, in date order.
    const QAbstractItemModel *activities = view->activityModel();
    const int start = RyModelLookup::findColumn(activities, "Start Date");
    QSet<QDate> months;
    for (int row = 0; row < view->baseRowCount(); ++row) {
        const QDateTime date = activities->index(row, start).data().toDateTime();
        if (date.isValid())
            months.insert(QDate(date.date().year(), date.date().month(), 1));
    }
    QList<QDate> sorted = months.values();
    std::sort(sorted.begin(), sorted.end());
    QStringList expected;
    for (const QDate &month : sorted)
        expected << RyValueText::monthName(month.month()) + " " + QString::number(month.year());
    QVERIFY(expected.size() >= 2);

    RyGroupedTreeView *tree = view->treeView();
    const QAbstractItemModel *model = tree->model();
    const int group = RyModelLookup::findColumn(model, "Group");
    QStringList groups;
    QModelIndex first;
    for (int row = 0; row < model->rowCount(); ++row) {
        const QModelIndex index = model->index(row, 0);
        if (!tree->isGroupRow(index))
            continue;
        groups << index.sibling(row, group).data().toString();
        if (!first.isValid())
            first = index;
    }
    QCOMPARE(groups, expected);

    // Level 0 rows carry the yellow background across their merged cell.
    tree->selectionModel()->clear();
    tree->scrollToTop();
    QApplication::processEvents();
    const QImage image = tree->viewport()->grab().toImage();
    const QRect rowRect = tree->visualRect(first);
    const QHeaderView *header = tree->header();
    const int lastMerged = header->logicalIndex(header->visualIndex(tree->treePosition()) + 2);
    const int x = tree->columnViewportPosition(lastMerged) + header->sectionSize(lastMerged) - 3;
    QCOMPARE(image.pixelColor(x, rowRect.top() + 2), QColor(Qt::yellow));
}

void TestStylesAndGroup::dialogsReopenAtTheirLastSize_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("dialogClass");
    QTest::addColumn<QSize>("initial");
    QTest::newRow("columns") << "actionColumns"
                             << "RyGroupedColumnDialog" << QSize(900, 700);
    QTest::newRow("group") << "actionGroup"
                           << "RyGroupDialog" << QSize(760, 600);
    QTest::newRow("bar styles") << "actionStyles"
                                << "RyGanttChartStylesDialog" << QSize(1100, 640);
}

void TestStylesAndGroup::dialogsReopenAtTheirLastSize()
{
    // Roomy at first (lists without scrolling on a 1600 x 1000 screen), resizable, and the
    // size the user left is the size the next opening, in this run or the next, gets.
    QFETCH(QString, command);
    QFETCH(QString, dialogClass);
    QVERIFY(open(sample("oracle/task-links-project2013-mpp14.mpp")));
    QAction *action = window->findChild<QAction *>(command);
    QSize first;
    QSize again;
    auto run = [&](QSize *seen, const QSize &resizeTo) {
        whenModal<QDialog>([&, seen, resizeTo](QDialog *dialog) {
            QCOMPARE(QString::fromLatin1(dialog->metaObject()->className()), dialogClass);
            *seen = dialog->size();
            QVERIFY(dialog->isSizeGripEnabled());
            if (resizeTo.isValid())
                dialog->resize(resizeTo);
            dialog->reject();
        });
        action->trigger();
    };
    run(&first, QSize(640, 480));
    // Bounded by the screen (800 x 600 offscreen).
    QFETCH(QSize, initial);
    QCOMPARE(first, initial.boundedTo(window->screen()->availableGeometry().size() * 9 / 10));
    window.reset(new MainWindow);
    window->show();
    QVERIFY(open(sample("oracle/task-links-project2013-mpp14.mpp")));
    action = window->findChild<QAction *>(command);
    run(&again, QSize());
    QCOMPARE(again, QSize(640, 480));
}

QTEST_MAIN(TestStylesAndGroup)
#include "tst_stylesandgroup.moc"
