// The main window as a desktop program: opening from the command line and by drop, what it
// remembers between runs, keyboard access, the find bar, zoom to fit and the status bar.
#include "app/layoutstore.h"
#include "app/mainwindow.h"
#include "app/mainwindowform.h"
#include "app/sampleschedule.h"
#include "app/settingsstore.h"
#include "apptestsupport.h"
#include "filter/ryfilterdialogproxymodel.h"
#include "gantt/ryganttview.h"
#include "gantt/rytimelineheader.h"
#include "models/ryconstants.h"
#include "views/activities.h"
#include "views/resources.h"
#include "views/ryfindbar.h"
#include "views/ryheaderstate.h"
#include "views/rysortfilterheader.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QScreen>
#include <QScrollBar>
#include <QSplitter>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTableView>
#include <QToolBar>
#include <QTreeView>
#include <QtTest>

namespace {

// A schedule with summary tasks over several months.
const char *const Sample = TARVIK_SAMPLES "/oracle/task-links-project2013-mpp14.mpp";

bool openAndWait(MainWindow &window, const QString &path)
{
    QSignalSpy ended(&window, &MainWindow::projectLoadEnded);
    window.openProjectFile(path);
    if (ended.isEmpty() && !ended.wait(20000))
        return false;
    return ended.first().first().toBool();
}

QAction *action(const MainWindow &window, const char *name)
{
    return window.findChild<QAction *>(QLatin1String(name));
}

} // namespace

class TestMainWindowDesktop : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void openFromOutside_data();
    void openFromOutside();
    void dropOpensTheFirstProjectFile();
    void remembersAcrossRuns();
    void largeGeometryIsClampedToTheScreen();
    void damagedAndUnknownSettingsAreIgnored();
    void databaseWithoutSettingsTable();
    void shortcuts_data();
    void shortcuts();
    void noTwoActionsShareAShortcut();
    void menuBarAndToolTips();
    void findExpandsSelectsAndReportsNoMatch();
    void fitShowsTheWholeProject();
    void statusBarCountsActivities();
    void resourcesPageNamesActivitiesAndCountsAssignments();
    void helpOpensTheSampleSchedule();
    void clickingABarKeepsTheTreeColumns();

private:
    void recreateWindow();

    std::unique_ptr<ScratchHome> home;
    std::unique_ptr<MainWindow> window;
};

void TestMainWindowDesktop::init()
{
    home.reset(new ScratchHome);
    window.reset(new MainWindow);
}

void TestMainWindowDesktop::cleanup()
{
    window.reset();
    home.reset();
}

void TestMainWindowDesktop::recreateWindow()
{
    window->close();
    window.reset();
    window.reset(new MainWindow);
}

void TestMainWindowDesktop::openFromOutside_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("problem");
    QTest::newRow("sample") << QString::fromLatin1(Sample) << QString();
    QTest::newRow("missing") << QStringLiteral("/nonexistent/plan.mpp")
                             << QStringLiteral("The file does not exist.");
    QTest::newRow("not mpp") << QString::fromLatin1(TARVIK_SAMPLES
                                                    "/oracle/task-links-project2013-mspdi.xml")
                             << QStringLiteral("It is not a Microsoft Project file (.mpp).");
}

void TestMainWindowDesktop::openFromOutside()
{
    QFETCH(QString, path);
    QFETCH(QString, problem);
    window->show();
    if (problem.isEmpty()) {
        QVERIFY(openAndWait(*window, path));
        // The absolute path the system's way: "Z:\work\..." under Wine.
        QCOMPARE(window->windowTitle(),
                 QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath()));
        QCOMPARE(window->recentEntries().size(), 1);
        return;
    }
    MessageBoxAnswerer answerer(QMessageBox::Ok);
    window->openProjectFile(path);
    QCOMPARE(answerer.count, 1);
    QCOMPARE(answerer.title, QStringLiteral("Open file"));
    QCOMPARE(answerer.text,
             QStringLiteral("The file could not be opened:\n%1\n\n%2")
                 .arg(QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath()), problem));
    QCOMPARE(window->windowTitle(), QStringLiteral("Tarvik"));
    QVERIFY(window->recentEntries().isEmpty());
    QVERIFY(window->form().actionOpen_file->isEnabled());
}

void TestMainWindowDesktop::dropOpensTheFirstProjectFile()
{
    QMimeData data;
    data.setUrls({ QUrl::fromLocalFile(QStringLiteral(TARVIK_SAMPLES "/oracle")),
                   QUrl::fromLocalFile(
                       QStringLiteral(TARVIK_SAMPLES "/oracle/task-links-project2013-mspdi.xml")),
                   QUrl::fromLocalFile(QString::fromLatin1(Sample)),
                   QUrl::fromLocalFile(QStringLiteral(TARVIK_SAMPLES "/extra/mpp14task.mpp")) });
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window.get(), &enter);
    QVERIFY(enter.isAccepted());

    QSignalSpy ended(window.get(), &MainWindow::projectLoadEnded);
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window.get(), &drop);
    QVERIFY(ended.wait(20000));
    QCOMPARE(window->windowTitle(),
             QDir::toNativeSeparators(QFileInfo(QString::fromLatin1(Sample)).absoluteFilePath()));

    QMimeData folderOnly;
    folderOnly.setUrls({ QUrl::fromLocalFile(QStringLiteral(TARVIK_SAMPLES "/oracle")) });
    QDragEnterEvent refused(QPoint(10, 10), Qt::CopyAction, &folderOnly, Qt::LeftButton,
                            Qt::NoModifier);
    refused.setAccepted(false);
    QApplication::sendEvent(window.get(), &refused);
    QVERIFY(!refused.isAccepted());
}

void TestMainWindowDesktop::remembersAcrossRuns()
{
    window->show();
    window->setGeometry(40, 50, 700, 520);
    QVERIFY(openAndWait(*window, QString::fromLatin1(Sample)));
    window->form().actionDetail->trigger();
    QSplitter *splitter = window->activitySplitter();
    splitter->setSizes({ 120, 280 });
    const QList<int> sizes = splitter->sizes();
    window->form().actionResources->trigger();
    QCOMPARE(window->form().stackedWidget->currentIndex(), 1);

    recreateWindow();
    window->show();
    QCOMPARE(window->size(), QSize(700, 520));
    QVERIFY(window->form().actionDetail->isChecked());
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    QCoreApplication::processEvents();
    // Within the few pixels the splitter handle may take differently before the first layout.
    const QList<int> restored = window->activitySplitter()->sizes();
    QCOMPARE(restored.size(), sizes.size());
    QVERIFY2(qAbs(restored.first() - sizes.first()) <= 6,
             qPrintable(QStringLiteral("%1 -> %2").arg(sizes.first()).arg(restored.first())));
    QCOMPARE(window->lastFolder(), QFileInfo(QString::fromLatin1(Sample)).absolutePath());
    // The view waits for a project.
    QCOMPARE(window->form().stackedWidget->currentIndex(), 0);
    QVERIFY(openAndWait(*window, QString::fromLatin1(Sample)));
    QVERIFY(window->form().actionResources->isChecked());
    QCOMPARE(window->form().stackedWidget->currentIndex(), 1);
}

void TestMainWindowDesktop::largeGeometryIsClampedToTheScreen()
{
    window->setGeometry(3000, 2500, 5000, 4000);
    recreateWindow();
    const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
    QVERIFY2(available.contains(window->geometry()),
             qPrintable(QStringLiteral("%1,%2 %3x%4")
                            .arg(window->x())
                            .arg(window->y())
                            .arg(window->width())
                            .arg(window->height())));
}

void TestMainWindowDesktop::damagedAndUnknownSettingsAreIgnored()
{
    SettingsStore store(LayoutStore::ConnectionName);
    QVERIFY(store.isAvailable());
    for (const QString &key :
         { SettingsStore::WindowGeometryKey, SettingsStore::WindowStateKey,
           SettingsStore::SplitterKey, SettingsStore::DetailKey, SettingsStore::ViewKey,
           SettingsStore::LastFolderKey, QStringLiteral("from/a/newer/version") }) {
        QVERIFY(store.setValue(key, QByteArray("\x01garbage\xff", 9)));
    }
    window.reset(); // closing would store good values again
    window.reset(new MainWindow);
    QCOMPARE(window->size(), QSize(800, 600));
    QVERIFY(!window->form().actionDetail->isChecked());
    QVERIFY(window->lastFolder().isEmpty());
    QVERIFY(openAndWait(*window, QString::fromLatin1(Sample)));
    QVERIFY(window->form().actionGanttChart->isChecked());
}

void TestMainWindowDesktop::databaseWithoutSettingsTable()
{
    const QString file = window->layoutStore().fileName();
    window.reset();
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), "older");
        db.setDatabaseName(file);
        QVERIFY(db.open());
        QSqlQuery(db).exec(QStringLiteral("DROP TABLE IF EXISTS tblSettings"));
        QVERIFY(!db.tables().contains(QStringLiteral("tblSettings")));
        QVERIFY(db.tables().contains(QStringLiteral("tblLayout")));
    }
    QSqlDatabase::removeDatabase(QStringLiteral("older"));
    window.reset(new MainWindow);
    window->resize(640, 480);
    recreateWindow();
    QCOMPARE(window->size(), QSize(640, 480));
}

void TestMainWindowDesktop::shortcuts_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("keys");
    auto row = [](const char *name, const char *keys) {
        QTest::newRow(name) << QString::fromLatin1(name) << QString::fromLatin1(keys);
    };
    row("actionColumns", "Ctrl+Shift+C");
    row("actionGroup", "Ctrl+Alt+G");
    row("actionStyles", "Ctrl+B");
    row("actionDetail", "Ctrl+D");
    row("actionExport", "Ctrl+E");
    row("actionSnip", "Ctrl+Shift+I");
    row("actionOpen_file", "Ctrl+O");
    row("actionPrint", "Ctrl+P");
    row("actionQuit", "Ctrl+Q");
    row("actionClose", "Ctrl+W");
    row("actionFind", "Ctrl+F");
    row("actionFindNext", "F3");
    row("actionFindPrevious", "Shift+F3");
    row("actionZoomIn", "Ctrl++; Ctrl+=");
    row("actionZoomOut", "Ctrl+-");
    row("actionZoomFit", "Ctrl+0");
}

void TestMainWindowDesktop::shortcuts()
{
    QFETCH(QString, name);
    QAction *a = window->findChild<QAction *>(name);
    QVERIFY(a);
    QStringList keys;
    for (const QKeySequence &sequence : a->shortcuts())
        keys << sequence.toString();
    QTEST(keys.join(QStringLiteral("; ")), "keys");
}

void TestMainWindowDesktop::noTwoActionsShareAShortcut()
{
    QHash<QKeySequence, QString> owners;
    const QList<QAction *> actions = window->findChildren<QAction *>();
    for (const QAction *a : actions) {
        for (const QKeySequence &sequence : a->shortcuts()) {
            QVERIFY2(!owners.contains(sequence),
                     qPrintable(sequence.toString() + ": " + owners.value(sequence) + ", "
                                + a->objectName()));
            owners.insert(sequence, a->objectName());
        }
    }
    // Ctrl+G stays free for the platform's Find Next.
    QVERIFY(!owners.contains(QKeySequence(QStringLiteral("Ctrl+G"))));
}

void TestMainWindowDesktop::menuBarAndToolTips()
{
    const MainWindowForm &ui = window->form();
    QStringList titles;
    for (const QAction *entry : ui.menuBar->actions())
        titles << entry->text();
    QCOMPARE(titles, QStringList({ "&File", "&View", "&Layout", "&Help" }));
    const QList<QAction *> view = ui.menuViewMain->actions();
    for (QMenu *submenu : { window->viewMenu(), window->outlineMenu(), window->timeMenu() })
        QVERIFY(view.contains(submenu->menuAction()));
    for (const char *name : { "actionColumns", "actionGroup", "actionStyles", "actionDetail",
                              "actionFind", "actionZoomIn", "actionZoomOut", "actionZoomFit" })
        QVERIFY2(view.contains(action(*window, name)), name);
    QVERIFY(ui.menuFile->actions().contains(ui.actionQuit));

    QCOMPARE(ui.actionColumns->toolTip(), QStringLiteral("Columns (Ctrl+Shift+C)"));
    QCOMPARE(ui.actionExport->toolTip(), QStringLiteral("Export (Ctrl+E)"));
    QCOMPARE(window->timeMenu()->menuAction()->toolTip(), QStringLiteral("Time Scales"));
    for (const QAction *entry : ui.mainToolBar->actions()) {
        if (const QAction *command = entry->isSeparator() ? nullptr : entry;
            command && !command->shortcut().isEmpty())
            QVERIFY2(command->toolTip().endsWith(command->shortcut().toString() + ")"),
                     qPrintable(command->toolTip()));
    }
}

void TestMainWindowDesktop::findExpandsSelectsAndReportsNoMatch()
{
    window->resize(1400, 700);
    window->show();
    QVERIFY(openAndWait(*window, QString::fromLatin1(Sample)));
    QTreeView *tree = window->activityView()->treeView();
    tree->collapseAll();
    // The deepest activity of the tree, found by its name.
    QModelIndex deepest;
    int deepestLevel = -1;
    std::function<void(const QModelIndex &, int)> walk = [&](const QModelIndex &parent, int level) {
        for (int row = 0; row < tree->model()->rowCount(parent); ++row) {
            const QModelIndex index = tree->model()->index(row, 0, parent);
            if (level > deepestLevel) {
                deepest = index;
                deepestLevel = level;
            }
            walk(index, level + 1);
        }
    };
    walk(QModelIndex(), 0);
    QVERIFY(deepestLevel >= 1);
    const int nameColumn = RyHeaderState::findSection(
        tree->header(), QStringLiteral("Activity Name"), Qt::DisplayRole);
    QVERIFY(nameColumn >= 0);
    const QString name = deepest.siblingAtColumn(nameColumn).data().toString();
    QVERIFY(!name.isEmpty());

    window->form().actionFind->trigger();
    RyFindBar *bar = window->findBar();
    QVERIFY(bar->isVisible());
    QTest::keyClicks(bar->lineEdit(), name.toUpper());
    QCOMPARE(tree->currentIndex().siblingAtColumn(0), deepest);
    QVERIFY(tree->isExpanded(deepest.parent()));
    QVERIFY(tree->selectionModel()->isRowSelected(deepest.row(), deepest.parent()));
    QVERIFY(bar->statusLabel()->text().isEmpty());
    // The ID and name columns that fit stay in sight: no sideways scroll past them.
    QVERIFY(tree->columnViewportPosition(nameColumn) + tree->columnWidth(nameColumn)
            <= tree->viewport()->width());
    QCOMPARE(tree->horizontalScrollBar()->value(), 0);

    bar->lineEdit()->selectAll();
    QTest::keyClicks(bar->lineEdit(), QStringLiteral("no such activity 4711"));
    QCOMPARE(bar->statusLabel()->text(), RyFindBar::NoMatchText);
    QCOMPARE(tree->currentIndex().siblingAtColumn(0), deepest);
    QTest::keyClick(bar->lineEdit(), Qt::Key_Escape);
    QVERIFY(!bar->isVisible());
}

void TestMainWindowDesktop::fitShowsTheWholeProject()
{
    window->resize(1000, 700);
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    QVERIFY(openAndWait(*window, QString::fromLatin1(Sample)));
    window->form().actionExpand_All->trigger();
    RyGanttView *gantt = window->activityView()->ganttView();
    window->form().actionZoomFit->trigger();
    QCoreApplication::processEvents();

    int left = INT_MAX;
    int right = INT_MIN;
    for (const QModelIndex &index : gantt->visibleItems()) {
        const QRect bar = gantt->barRect(index, -1);
        if (bar.isEmpty())
            continue;
        left = std::min(left, bar.left());
        right = std::max(right, bar.right());
    }
    QVERIFY(left != INT_MAX);
    QVERIFY2(left >= 0 && right < gantt->viewport()->width(),
             qPrintable(QStringLiteral("bars %1..%2, viewport %3")
                            .arg(left)
                            .arg(right)
                            .arg(gantt->viewport()->width())));
    // The Time checks follow the tiers the fit chose.
    const quint8 flags = gantt->timelineFlags();
    QCOMPARE(window->form().actionDay->isChecked(), bool(flags & Ry::Day));
    QCOMPARE(window->form().actionWeek->isChecked(), bool(flags & Ry::Week));
    QCOMPARE(window->form().actionMonth->isChecked(), bool(flags & Ry::Month));
}

void TestMainWindowDesktop::statusBarCountsActivities()
{
    QVERIFY(openAndWait(*window, QString::fromLatin1(Sample)));
    Activities *view = window->activityView();
    const int total = view->baseRowCount();
    QVERIFY(total > 1);
    const QLabel *count = window->findChild<QLabel *>(QStringLiteral("activityCountLabel"));
    QVERIFY(count);
    QCOMPARE(count->text(), QStringLiteral("%1 activities").arg(total));

    const int idColumn = RyHeaderState::findSection(view->treeView()->header(),
                                                    QStringLiteral("Activity ID"), Qt::DisplayRole);
    const QModelIndex first = view->filterProxy()->index(0, idColumn);
    view->filterProxy()->setValueFilter(idColumn, { first.data() });
    emit view->sortFilterHeader()->filterSettingsChanged();
    const QString text = count->text();
    QVERIFY2(text.endsWith(QStringLiteral(" of %1 activities shown").arg(total)), qPrintable(text));

    window->form().actionClose->trigger();
    QVERIFY(count->text().isEmpty());
}

void TestMainWindowDesktop::resourcesPageNamesActivitiesAndCountsAssignments()
{
    QVERIFY(openAndWait(
        *window,
        QStringLiteral(TARVIK_SAMPLES "/oracle/assignment-assignments-project2013-mpp14.mpp")));
    const QLabel *count = window->findChild<QLabel *>(QStringLiteral("activityCountLabel"));
    // The Resources page counts its assignment rows and leads with the activity they belong to.
    window->form().actionResources->trigger();
    const QTableView *table = window->resourcesView()->tableView();
    const int assignments = window->resourcesView()->sourceModel()->rowCount();
    QVERIFY(assignments > 0);
    QCOMPARE(count->text(), QStringLiteral("%1 assignments").arg(assignments));
    QStringList leading;
    for (int visual = 0; leading.size() < 3 && visual < table->horizontalHeader()->count();
         ++visual) {
        const int column = table->horizontalHeader()->logicalIndex(visual);
        if (!table->isColumnHidden(column))
            leading << table->model()->headerData(column, Qt::Horizontal).toString();
    }
    QCOMPARE(leading, QStringList({ "Activity ID", "Activity Name", "Resource Type" }));
    const int name = RyHeaderState::findSection(table->horizontalHeader(),
                                                QStringLiteral("Activity Name"), Qt::DisplayRole);
    QVERIFY(!table->model()->index(0, name).data().toString().isEmpty());
    window->form().actionGanttChart->trigger();
    QCOMPARE(count->text(),
             QStringLiteral("%1 activities").arg(window->activityView()->baseRowCount()));
}

void TestMainWindowDesktop::helpOpensTheSampleSchedule()
{
    // Alt+H opens Help, S (the mnemonic of "Open Sample Schedule") opens the built-in sample.
    window->show();
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window.get()));
    QSignalSpy ended(window.get(), &MainWindow::projectLoadEnded);
    QMenu *help = window->form().menuHelp;
    QTest::keyClick(window.get(), Qt::Key_H, Qt::AltModifier);
    QTRY_VERIFY(help->isVisible());
    QTest::keyClick(help, Qt::Key_S);
    QTRY_COMPARE(ended.size(), 1);
    QVERIFY(ended.first().first().toBool());
    QCOMPARE(window->windowTitle(), SampleSchedule::WindowTitle);
    QVERIFY(window->activityView()->baseRowCount() >= 200);
    QFile copy(SampleSchedule::extract());
    QFile compiledIn(SampleSchedule::ResourcePath);
    QVERIFY(copy.open(QIODevice::ReadOnly) && compiledIn.open(QIODevice::ReadOnly));
    QCOMPARE(copy.readAll(), compiledIn.readAll());
    // A project with baselines and progress opens at its start.
    RyGanttView *gantt = window->activityView()->ganttView();
    QCOMPARE(gantt->horizontalScrollBar()->value(), gantt->header()->scale().homeX());
}

void TestMainWindowDesktop::clickingABarKeepsTheTreeColumns()
{
    // Clicking a bar makes its row current in the tree, which must not scroll sideways to a
    // hidden key column past the shown ones, as find once did.
    window->resize(1400, 700);
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    QVERIFY(openAndWait(*window, QString::fromLatin1(Sample)));
    window->form().actionExpand_All->trigger();
    QTreeView *tree = window->activityView()->treeView();
    RyGanttView *gantt = window->activityView()->ganttView();
    QCoreApplication::processEvents();
    QVERIFY(tree->horizontalScrollBar()->maximum() > 0);
    QCOMPARE(tree->horizontalScrollBar()->value(), 0);
    const QModelIndexList rows = gantt->visibleItems();
    QVERIFY(rows.size() > 3);
    const QRect bar = gantt->barRect(rows.at(3), -1);
    QVERIFY(gantt->viewport()->rect().contains(bar.center()));
    QTest::mouseClick(gantt->viewport(), Qt::LeftButton, Qt::NoModifier, bar.center());
    QCOMPARE(tree->currentIndex().row(), rows.at(3).row());
    QCOMPARE(tree->currentIndex().parent(), rows.at(3).parent());
    QCOMPARE(tree->horizontalScrollBar()->value(), 0);
}

QTEST_MAIN(TestMainWindowDesktop)
#include "tst_mainwindowdesktop.moc"
