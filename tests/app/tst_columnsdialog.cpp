// The Columns command and named layouts on a real schedule, driven through the window: the dialog
// on the activity and resources pages, filters set from it, and a look that is saved, survives a
// restart, is applied again; "default" and an imported P6 layout show the schedule.
#include "app/mainwindow.h"
#include "app/mainwindowform.h"
#include "apptestsupport.h"
#include "filter/ryfilterdialogpopup.h"
#include "filter/ryfilterdialogproxymodel.h"
#include "filter/ryfilterproxymodel.h"
#include "filter/rysortfilterwidget.h"
#include "gantt/ryganttview.h"
#include "models/rymodellookup.h"
#include "models/rytextfile.h"
#include "views/activities.h"
#include "views/resources.h"
#include "views/rygroupedcolumndialog.h"
#include "views/ryheaderstate.h"
#include "views/rysortfilterheader.h"

#include <QAction>
#include <QDialogButtonBox>
#include <QJsonDocument>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTableView>
#include <QToolButton>
#include <QTreeView>
#include <QtTest>

#include <functional>

namespace {

const QString Sample = QStringLiteral(TARVIK_SAMPLES "/extra/sample.mpp");

bool openAndWait(MainWindow &window)
{
    QSignalSpy ended(&window, &MainWindow::projectLoadEnded);
    window.openProject(Sample);
    if (ended.isEmpty() && !ended.wait(20000))
        return false;
    return ended.first().first().toBool();
}

QHeaderView *activityHeader(const MainWindow &window)
{
    return window.activityView()->treeView()->header();
}

QAction *layoutEntry(const MainWindow &window, const QString &name)
{
    for (QAction *action : window.form().menuLayout->actions()) {
        if (action->property("layoutName").toString() == name)
            return action;
    }
    return nullptr;
}

// Runs the Columns command; `interact` gets the open dialog and must close it.
bool runColumnsDialog(MainWindow &window,
                      const std::function<void(RyGroupedColumnDialog *)> &interact)
{
    bool reached = false;
    QTimer::singleShot(0, &window, [&] {
        auto *dialog = qobject_cast<RyGroupedColumnDialog *>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        reached = true;
        interact(dialog);
        if (dialog->isVisible())
            dialog->reject();
    });
    window.form().actionColumns->trigger();
    return reached;
}

// Selects the item `text` of `view` and presses `button`.
void press(QAbstractItemView *view, const QString &text, QToolButton *button)
{
    auto *model = static_cast<QStandardItemModel *>(view->model());
    const QModelIndexList found = model->match(model->index(0, 0), Qt::DisplayRole, text, 1,
                                               Qt::MatchExactly | Qt::MatchRecursive);
    QVERIFY2(!found.isEmpty(), qPrintable(text));
    view->selectionModel()->select(found.first(), QItemSelectionModel::ClearAndSelect);
    view->setCurrentIndex(found.first());
    QTest::mouseClick(button, Qt::LeftButton);
}

void clickButton(RyGroupedColumnDialog *dialog, QDialogButtonBox::StandardButton which)
{
    QTest::mouseClick(dialog->form().buttonBox->button(which), Qt::LeftButton);
}

QStringList texts(const QStringList &state)
{
    QStringList result;
    for (const QString &entry : state)
        result << entry.section(QLatin1Char(':'), 0, 0);
    return result;
}

} // namespace

class TestColumnsDialog : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void okAppliesChosenColumns();
    void cancelKeepsColumns();
    void filterFromDialogAppliesAtOnce();
    void resourcesPage();
    void saveRestartApplyImport();

private:
    std::unique_ptr<ScratchHome> home;
    std::unique_ptr<MainWindow> window;
};

void TestColumnsDialog::init()
{
    home.reset(new ScratchHome);
    window.reset(new MainWindow);
    QVERIFY(openAndWait(*window));
}

void TestColumnsDialog::cleanup()
{
    window.reset();
    home.reset();
}

void TestColumnsDialog::okAppliesChosenColumns()
{
    QStringList chosen;
    QVERIFY(runColumnsDialog(*window, [&](RyGroupedColumnDialog *dialog) {
        const QStringList before = RyHeaderState::visibleHeaderTexts(activityHeader(*window));
        QCOMPARE(dialog->chosenColumns(), before);
        // No internal key columns are offered.
        QStandardItem *root = dialog->availableModel()->invisibleRootItem();
        for (int row = 0; row < root->rowCount(); ++row)
            QVERIFY(root->child(row)->text() != QLatin1String("system"));

        // A whole group goes to the end of the list, in tree order.
        QStandardItem *group = root->child(root->rowCount() - 1);
        QStringList groupColumns;
        for (int row = 0; row < group->rowCount(); ++row)
            groupColumns << group->child(row)->text();
        QVERIFY(!groupColumns.isEmpty());
        dialog->form().lwAvaiable->selectionModel()->select(group->index(),
                                                            QItemSelectionModel::ClearAndSelect);
        QTest::mouseClick(dialog->form().tbRight, Qt::LeftButton);
        QCOMPARE(dialog->chosenColumns(), before + groupColumns);

        press(dialog->form().lwChosen, QStringLiteral("Activity Name"), dialog->form().tbUp);
        press(dialog->form().lwChosen, QStringLiteral("Activity Type"), dialog->form().tbLeft);
        chosen = dialog->chosenColumns();
        clickButton(dialog, QDialogButtonBox::Ok);
    }));
    QCOMPARE(chosen.first(), QStringLiteral("Activity Name"));
    QVERIFY(!chosen.contains("Activity Type"));
    QCOMPARE(RyHeaderState::visibleHeaderTexts(activityHeader(*window)), chosen);
    QCOMPARE(window->activityView()->treeView()->treePosition(),
             RyHeaderState::firstVisibleColumn(activityHeader(*window)));
}

void TestColumnsDialog::cancelKeepsColumns()
{
    const QStringList before = RyHeaderState::saveHeaderState(activityHeader(*window));
    QVERIFY(runColumnsDialog(*window, [&](RyGroupedColumnDialog *dialog) {
        press(dialog->form().lwChosen, QStringLiteral("Activity Name"), dialog->form().tbLeft);
        clickButton(dialog, QDialogButtonBox::Cancel);
    }));
    QCOMPARE(RyHeaderState::saveHeaderState(activityHeader(*window)), before);
}

void TestColumnsDialog::filterFromDialogAppliesAtOnce()
{
    QAbstractItemModel *shown = window->activityView()->treeView()->model();
    const int rowsBefore = shown->rowCount();
    const int column = RyModelLookup::findColumn(shown, QStringLiteral("Activity Type"));
    QVERIFY(rowsBefore > 0 && column >= 0);
    int rowsInDialog = -1;
    bool popUpReached = false;
    QVERIFY(runColumnsDialog(*window, [&](RyGroupedColumnDialog *dialog) {
        QListView *list = dialog->form().lwChosen;
        const QModelIndexList found = dialog->chosenModel()->match(
            dialog->chosenModel()->index(0, 0), Qt::DisplayRole, QStringLiteral("Activity Type"));
        QVERIFY(!found.isEmpty());
        QTimer::singleShot(0, this, [&] {
            auto *popUp = qobject_cast<RyFilterDialogPopUp *>(QApplication::activePopupWidget());
            if (!popUp)
                return;
            popUpReached = true;
            QCOMPARE(popUp->column(), column);
            // Nothing checked: no activity passes.
            QStandardItem *selectAll = popUp->valueModel()->item(0);
            selectAll->setCheckState(Qt::Unchecked);
            popUp->onItemClicked(popUp->valueProxy()->mapFromSource(selectAll->index()));
            QTest::mouseClick(popUp->buttonBox()->button(QDialogButtonBox::Ok), Qt::LeftButton);
        });
        const QRect item = list->visualRect(found.first());
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          RySortFilterWidget::buttonRect(item).center());
        rowsInDialog = shown->rowCount();
        clickButton(dialog, QDialogButtonBox::Cancel);
    }));
    QVERIFY(popUpReached);
    QVERIFY2(rowsInDialog < rowsBefore, qPrintable(QString::number(rowsInDialog)));
    // Cancel leaves the filter: it acted on the view at once.
    QVERIFY(window->activityView()->filterProxy()->isColumnFiltered(column));
    QVERIFY(window->activityView()->sortFilterHeader()->hasFilteredColumns());
    QCOMPARE(shown->rowCount(), rowsInDialog);
}

void TestColumnsDialog::resourcesPage()
{
    window->form().actionResources->trigger();
    QHeaderView *header = window->resourcesView()->tableView()->horizontalHeader();
    const QStringList before = RyHeaderState::visibleHeaderTexts(header);
    QVERIFY(before.size() > 1);
    QStringList chosen;
    QVERIFY(runColumnsDialog(*window, [&](RyGroupedColumnDialog *dialog) {
        QCOMPARE(dialog->chosenColumns(), before);
        press(dialog->form().lwChosen, before.first(), dialog->form().tbLeft);
        chosen = dialog->chosenColumns();
        clickButton(dialog, QDialogButtonBox::Ok);
    }));
    QCOMPARE(chosen, before.mid(1));
    QCOMPARE(RyHeaderState::visibleHeaderTexts(header), chosen);
}

void TestColumnsDialog::saveRestartApplyImport()
{
    QVERIFY(runColumnsDialog(*window, [&](RyGroupedColumnDialog *dialog) {
        press(dialog->form().lwAvaiable, QStringLiteral("Actual Start"), dialog->form().tbRight);
        press(dialog->form().lwChosen, QStringLiteral("Activity Type"), dialog->form().tbLeft);
        clickButton(dialog, QDialogButtonBox::Ok);
    }));
    const QStringList mine = RyHeaderState::visibleHeaderTexts(activityHeader(*window));
    QVERIFY(mine.contains("Actual Start"));
    QVERIFY(!mine.contains("Activity Type"));
    QTest::keyClicks(window->layoutNameEdit(), QStringLiteral("mine"));
    QTest::mouseClick(window->layoutSaveButton(), Qt::LeftButton);

    // Restart on the same configuration folder.
    window.reset(); // one window at a time owns the database connection
    window.reset(new MainWindow);
    QVERIFY(openAndWait(*window));
    QVERIFY(RyHeaderState::visibleHeaderTexts(activityHeader(*window)).contains("Activity Type"));
    layoutEntry(*window, QStringLiteral("mine"))->trigger();
    QCOMPARE(RyHeaderState::visibleHeaderTexts(activityHeader(*window)), mine);

    // "default" shows the schedule: the built-in columns and bars.
    const QVariantMap builtIn
        = QJsonDocument::fromJson(
              RyTextFile::readTextFile(QStringLiteral(":/files/mpp_style.json")).toUtf8())
              .toVariant()
              .toMap();
    layoutEntry(*window, QStringLiteral("default"))->trigger();
    QCOMPARE(RyHeaderState::visibleHeaderTexts(activityHeader(*window)).mid(0, 2),
             texts(builtIn.value("columns").toStringList()).mid(0, 2));
    QVERIFY(RyHeaderState::visibleHeaderTexts(activityHeader(*window)).contains("Start Date"));
    QCOMPARE(window->activityView()->ganttView()->barStyles().size(),
             builtIn.value("barStyles").toList().size());

    const QString plf = QStringLiteral(TARVIK_SOURCE_DIR "/tests/app/plf/planner.plf");
    QVERIFY(window->importP6Layout(plf));
    layoutEntry(*window, QStringLiteral("[P6] ") + plf)->trigger();
    QCOMPARE(RyHeaderState::visibleHeaderTexts(activityHeader(*window)),
             QStringList({ "Activity ID", "Activity Name", "Start Date", "Finish Date",
                           "Actual Start", "Total float" }));
    // P6 left the width of "Actual Start" out; the column keeps a usable one.
    QVERIFY(activityHeader(*window)->sectionSize(
                RyModelLookup::findColumn(window->activityView()->treeView()->model(), "Actual Start"))
            > 20);
    QCOMPARE(window->activityView()->groupRules(), QStringList { "WBS Code;2" });
    QCOMPARE(window->activityView()->ganttView()->barStyles().size(),
             builtIn.value("barStyles").toList().size());
}

QTEST_MAIN(TestColumnsDialog)
#include "tst_columnsdialog.moc"
