// The main window at start-up: its form, commands and their enabled state, the Layout menu
// widgets, view switching and the About box.
#include "app/mainwindow.h"
#include "app/mainwindowform.h"
#include "apptestsupport.h"
#include "views/activities.h"
#include "views/activitydetails.h"
#include "views/resources.h"

#include <QAction>
#include <QActionGroup>
#include <QGridLayout>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSplitter>
#include <QStackedWidget>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <QWidgetAction>
#include <QtTest>

class TestMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void form();
    void actions_data();
    void actions();
    void commandsWithoutProject();
    void hiddenAtStartUp();
    void menus();
    void toolBarOrder();
    void windowIcon();
    void layoutNameEnablesSave();
    void viewSwitchingHidesDetail();
    void detailShowsDetailsForm();
    void outlineCommandRecordsText();
    void aboutBox();

private:
    QAction *action(const char *name) const
    {
        return window->findChild<QAction *>(QLatin1String(name));
    }

    std::unique_ptr<ScratchHome> home;
    std::unique_ptr<MainWindow> window;
};

void TestMainWindow::init()
{
    home.reset(new ScratchHome);
    QApplication::setApplicationVersion(QStringLiteral("1.3.6.0"));
    window.reset(new MainWindow);
}

void TestMainWindow::cleanup()
{
    window.reset();
    home.reset();
}

void TestMainWindow::form()
{
    QCOMPARE(window->objectName(), QStringLiteral("MainWindow"));
    QCOMPARE(window->windowTitle(), QStringLiteral("Tarvik"));
    QCOMPARE(window->size(), QSize(800, 600));
    const MainWindowForm &ui = window->form();
    QCOMPARE(ui.centralWidget->objectName(), QStringLiteral("centralWidget"));
    QCOMPARE(ui.gridLayout->spacing(), 6);
    QCOMPARE(ui.gridLayout->contentsMargins(), QMargins(11, 11, 11, 11));
    QCOMPARE(ui.stackedWidget->objectName(), QStringLiteral("stackedWidget"));
    QCOMPARE(ui.stackedWidget->count(), 2);
    QCOMPARE(ui.stackedWidget->currentIndex(), 0);
    auto *splitter = qobject_cast<QSplitter *>(ui.stackedWidget->widget(0));
    QVERIFY(splitter);
    QCOMPARE(splitter->orientation(), Qt::Vertical);
    QCOMPARE(splitter->widget(0), static_cast<QWidget *>(window->activityView()));
    QCOMPARE(splitter->widget(1), static_cast<QWidget *>(window->detailsView()));
    QCOMPARE(ui.stackedWidget->widget(1), static_cast<QWidget *>(window->resourcesView()));
    QCOMPARE(window->toolBarArea(ui.mainToolBar), Qt::TopToolBarArea);
    QCOMPARE(ui.statusBar->objectName(), QStringLiteral("statusBar"));
}

void TestMainWindow::actions_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("hasIcon");
    QTest::addColumn<QString>("shortcut");
    QTest::addColumn<bool>("checkable");
    QTest::addColumn<QString>("toolTip");

    auto row = [](const char *name, const char *text, bool icon = false, const char *key = "",
                  bool checkable = false, const char *tip = nullptr) {
        QTest::newRow(name) << QString::fromLatin1(name) << QString::fromLatin1(text) << icon
                            << QString::fromLatin1(key) << checkable
                            << QString::fromLatin1(tip ? tip : text);
    };
    row("actionOpen", "Open", true);
    row("actionAbout", "About");
    row("actionClose", "Close", false, "Ctrl+W");
    // Tool bar commands name their shortcut in the tooltip.
    row("actionColumns", "Columns", true, "Ctrl+Shift+C", false, "Columns (Ctrl+Shift+C)");
    row("actionGroup", "Group", true, "Ctrl+Alt+G", false, "Group (Ctrl+Alt+G)");
    row("actionDetail", "Detail", true, "Ctrl+D", true, "Detail (Ctrl+D)");
    row("actionStyles", "Styles", true, "Ctrl+B", false, "Styles (Ctrl+B)");
    row("actionExport", "&Export...", true, "Ctrl+E", false, "Export (Ctrl+E)");
    row("actionOpen_file", "Open file", false, "Ctrl+O");
    row("actionInfo", "Project &Information...", false, "", false, "Project Information");
    row("actionImportLayout", "Import layout");
    for (const char *scale : { "Year", "Quarter", "Month", "Week", "Day", "Hour", "Minute" }) {
        const QByteArray name = QByteArray("action") + scale;
        QTest::newRow(name) << QString::fromLatin1(name) << QString::fromLatin1(scale) << false
                            << QString() << true << QString::fromLatin1(scale);
    }
    row("actionExpand_All", "Expand All", true);
    row("actionCollapse_All", "Collapse All", true);
    row("actionExpand", "Expand", true);
    row("actionCollapse", "Collapse", true);
    for (int level = 1; level <= 7; ++level) {
        const QByteArray name = "actionLevel_" + QByteArray::number(level);
        const QString text = QStringLiteral("Level %1").arg(level);
        QTest::newRow(name) << QString::fromLatin1(name) << text << false << QString() << false
                            << text;
    }
    row("actionSave_file", "Save file");
    row("actionOpenCaced", "Open cached");
    row("actionSnip", "Snip", false, "Ctrl+Shift+I", false, "Snip the GanttChart to image or file");
    row("actionPrint", "Print", false, "Ctrl+P");
    row("actionGanttChart", "Gantt chart", false, "", true);
    row("actionResources", "Resources", false, "", true);
    row("actionTrackingGanttChart", "Tracking Gantt Chart", false, "", true);
}

void TestMainWindow::actions()
{
    QFETCH(QString, name);
    QAction *a = window->findChild<QAction *>(name);
    QVERIFY2(a, qPrintable(name));
    QTEST(a->text(), "text");
    QFETCH(bool, hasIcon);
    QCOMPARE(!a->icon().pixmap(16).isNull(), hasIcon);
    QTEST(a->shortcut().toString(), "shortcut");
    QTEST(a->isCheckable(), "checkable");
    QTEST(a->toolTip(), "toolTip");
    // The chart starts with Month and Day; the Time checks follow it.
    const QStringList checked = { "actionGanttChart", "actionMonth", "actionDay" };
    QCOMPARE(a->isChecked(), checked.contains(name));
}

void TestMainWindow::commandsWithoutProject()
{
    for (const char *name : { "actionOpen_file", "actionClose", "actionAbout" })
        QVERIFY2(action(name)->isEnabled(), name);
    // Snip and Print have nothing to draw without a project.
    for (const char *name : { "actionColumns", "actionGroup", "actionDetail", "actionExport",
                              "actionStyles", "actionSnip", "actionPrint", "actionInfo" })
        QVERIFY2(!action(name)->isEnabled(), name);
    for (QMenu *menu : { window->outlineMenu(), window->viewMenu(), window->timeMenu() }) {
        QVERIFY(!menu->isEnabled());
        QVERIFY(!menu->menuAction()->isEnabled());
    }
    const QToolBar *bar = window->form().mainToolBar;
    for (QMenu *menu : { window->outlineMenu(), window->viewMenu(), window->timeMenu() }) {
        auto *button = bar->findChild<QToolButton *>(menu->objectName() + QStringLiteral("Button"));
        QVERIFY(button);
        QVERIFY(!button->isEnabled());
    }
}

void TestMainWindow::hiddenAtStartUp()
{
    for (const char *name : { "actionOpen", "actionSave_file", "actionOpenCaced" })
        QVERIFY2(!action(name)->isVisible(), name);
    QVERIFY(action("actionGroup")->isVisible());
    // Layouts are in front of the user: the Layout menu and the import are shown.
    QVERIFY(action("actionImportLayout")->isVisible());
    QVERIFY(window->form().menuLayout->menuAction()->isVisible());
    QVERIFY(action("actionDetail")->isVisible());
    QVERIFY(!action("actionDetail")->isChecked());
    QVERIFY(window->detailsView()->isHidden());
}

void TestMainWindow::menus()
{
    const MainWindowForm &ui = window->form();
    const QList<QAction *> bar = ui.menuBar->actions();
    QCOMPARE(bar.size(), 4);
    QCOMPARE(bar.at(0)->menu(), ui.menuFile);
    QCOMPARE(bar.at(1)->menu(), ui.menuViewMain);
    QCOMPARE(bar.at(2)->menu(), ui.menuLayout);
    QCOMPARE(bar.at(3)->menu(), ui.menuHelp);
    QCOMPARE(ui.menuFile->title(), QStringLiteral("&File"));

    QStringList file;
    for (QAction *a : ui.menuFile->actions())
        file << (a->isSeparator() ? QStringLiteral("-") : a->objectName());
    QCOMPARE(file,
             QStringList({ "actionOpen", "actionSave_file", "actionOpen_file", "actionClose",
                           "actionCompare", "actionEndCompare", "-", "actionOpenCaced",
                           "actionImportLayout", "actionSnip", "actionPrint", "actionExport",
                           "actionInfo", "-", "actionQuit" }));
    QCOMPARE(ui.menuHelp->actions(),
             (QList<QAction *> { action("actionOpenSample"), action("actionAbout") }));

    QStringList outline;
    for (QAction *a : window->outlineMenu()->actions())
        outline << (a->isSeparator() ? QStringLiteral("-") : a->text());
    QCOMPARE(outline,
             QStringList({ "Expand", "Collapse", "-", "Expand All", "Collapse All", "Level 1",
                           "Level 2", "Level 3", "Level 4", "Level 5", "Level 6", "Level 7" }));
    QCOMPARE(window->outlineMenu()->title(), QStringLiteral("Outline"));

    QStringList view;
    for (QAction *a : window->viewMenu()->actions())
        view << a->text();
    QCOMPARE(view, QStringList({ "Gantt chart", "Tracking Gantt Chart", "Resources" }));
    QVERIFY(action("actionGanttChart")->actionGroup());
    QVERIFY(action("actionGanttChart")->actionGroup()->isExclusive());

    QStringList time;
    for (QAction *a : window->timeMenu()->actions())
        time << a->text();
    QCOMPARE(time, QStringList({ "Year", "Quarter", "Month", "Week", "Day", "Hour" }));
    QCOMPARE(window->timeMenu()->toolTip(), QStringLiteral("Time Scales"));

    const QList<QAction *> layout = ui.menuLayout->actions();
    QVERIFY(layout.size() >= 3);
    QVERIFY(qobject_cast<QWidgetAction *>(layout.at(0)));
    QVERIFY(layout.at(1)->isSeparator());
    QCOMPARE(layout.constLast(), window->layoutDeleteAction());
    QVERIFY(layout.at(layout.size() - 2)->isSeparator());
    QCOMPARE(window->layoutNameEdit()->placeholderText(), QStringLiteral("Layout name"));
    QCOMPARE(window->layoutSaveButton()->text(), QStringLiteral("Save"));
}

void TestMainWindow::toolBarOrder()
{
    const QToolBar *bar = window->form().mainToolBar;
    const QList<QAction *> entries = bar->actions();
    QCOMPARE(entries.size(), 10);
    QCOMPARE(entries.at(0), action("actionOpen"));
    auto buttonMenu = [bar](QAction *entry) {
        auto *button = qobject_cast<QToolButton *>(bar->widgetForAction(entry));
        return button && button->defaultAction() ? button->defaultAction()->menu() : nullptr;
    };
    QCOMPARE(buttonMenu(entries.at(1)), window->viewMenu());
    QCOMPARE(entries.at(2), action("actionColumns"));
    QCOMPARE(entries.at(3), action("actionGroup"));
    QCOMPARE(entries.at(4), action("actionDetail"));
    QCOMPARE(entries.at(5), action("actionExport"));
    QCOMPARE(buttonMenu(entries.at(6)), window->outlineMenu());
    QWidget *spacer = bar->widgetForAction(entries.at(7));
    QVERIFY(spacer);
    QCOMPARE(spacer->sizePolicy().horizontalPolicy(), QSizePolicy::Expanding);
    QCOMPARE(spacer->sizePolicy().verticalPolicy(), QSizePolicy::Expanding);
    QCOMPARE(buttonMenu(entries.at(8)), window->timeMenu());
    QCOMPARE(entries.at(9), action("actionStyles"));
}

void TestMainWindow::windowIcon()
{
    // The green pyramid: the middle of the icon is green, not red or blue.
    const QImage image = window->windowIcon().pixmap(32).toImage();
    QVERIFY(!image.isNull());
    const QColor centre = image.pixelColor(20, 20);
    QVERIFY(centre.alpha() > 200);
    QVERIFY(centre.green() > centre.red() + 40);
    QVERIFY(centre.green() > centre.blue() + 40);
    QCOMPARE(QApplication::windowIcon().cacheKey() != 0, true);
}

void TestMainWindow::layoutNameEnablesSave()
{
    QLineEdit *edit = window->layoutNameEdit();
    QPushButton *save = window->layoutSaveButton();
    QVERIFY(!save->isEnabled());
    QTest::keyClicks(edit, QStringLiteral("Mine"));
    QVERIFY(save->isEnabled());
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Backspace);
    QVERIFY(edit->text().isEmpty());
    QVERIFY(!save->isEnabled());
}

void TestMainWindow::viewSwitchingHidesDetail()
{
    const MainWindowForm &ui = window->form();
    action("actionResources")->trigger();
    QCOMPARE(ui.stackedWidget->currentIndex(), 1);
    QVERIFY(!action("actionDetail")->isVisible());
    action("actionTrackingGanttChart")->trigger();
    QCOMPARE(ui.stackedWidget->currentIndex(), 0);
    QVERIFY(action("actionDetail")->isVisible());
    action("actionResources")->trigger();
    window->onDefaultViewClicked();
    QCOMPARE(ui.stackedWidget->currentIndex(), 0);
    QVERIFY(action("actionGanttChart")->isChecked());
    QVERIFY(action("actionDetail")->isVisible());
    window->setView(action("actionAbout")); // not a view: ignored
    QCOMPARE(ui.stackedWidget->currentIndex(), 0);
}

void TestMainWindow::detailShowsDetailsForm()
{
    window->show();
    QAction *detail = action("actionDetail");
    detail->setEnabled(true);
    detail->trigger();
    QVERIFY(window->detailsView()->isVisible());
    detail->trigger();
    QVERIFY(!window->detailsView()->isVisible());
}

void TestMainWindow::outlineCommandRecordsText()
{
    QVERIFY(window->outlineText().isEmpty());
    action("actionLevel_3")->trigger();
    QCOMPARE(window->outlineText(), QStringLiteral("Level 3"));
    action("actionExpand_All")->trigger();
    QCOMPARE(window->outlineText(), QStringLiteral("Expand All"));
}

void TestMainWindow::aboutBox()
{
    MessageBoxAnswerer answer(QMessageBox::Ok);
    action("actionAbout")->trigger();
    QCOMPARE(answer.count, 1);
    QCOMPARE(answer.title, QStringLiteral("About Tarvik"));
    QVERIFY(answer.text.startsWith(QStringLiteral(
        "<!DOCTYPE html><html><body><h1>About Tarvik</h1><p>This is version 1.3.6.0</p>")));
    QVERIFY(!answer.text.contains(QStringLiteral("0.0.0.0")));
    // The Qt in use and the licence; no made-up maker or address.
    QVERIFY(answer.text.contains(QString::fromLatin1(qVersion())));
    QVERIFY(answer.text.contains(QStringLiteral("MIT License")));
    QVERIFY(!answer.text.contains(QStringLiteral("<a href=")));
    QVERIFY(answer.text.endsWith(QStringLiteral("</body></html>")));
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
