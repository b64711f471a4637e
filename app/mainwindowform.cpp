#include "app/mainwindowform.h"

#include <QAction>
#include <QGridLayout>
#include <QIcon>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QStackedWidget>
#include <QStatusBar>
#include <QToolBar>

namespace {

QAction *makeAction(QMainWindow *window, const char *objectName, const QString &text,
                    const char *icon = nullptr)
{
    auto *action = new QAction(window);
    action->setObjectName(QLatin1String(objectName));
    action->setText(text);
    if (icon)
        action->setIcon(QIcon(QLatin1String(icon)));
    return action;
}

QAction *makeCheckable(QMainWindow *window, const char *objectName, const QString &text)
{
    QAction *action = makeAction(window, objectName, text);
    action->setCheckable(true);
    return action;
}

} // namespace

void MainWindowForm::setupDesktopActions(QMainWindow *window)
{
    actionQuit = makeAction(window, "actionQuit", QStringLiteral("Quit"));
    actionFind = makeAction(window, "actionFind", QStringLiteral("Find"));
    actionFindNext = makeAction(window, "actionFindNext", QStringLiteral("Find Next"));
    actionFindPrevious = makeAction(window, "actionFindPrevious", QStringLiteral("Find Previous"));
    actionZoomIn = makeAction(window, "actionZoomIn", QStringLiteral("Zoom In"));
    actionZoomOut = makeAction(window, "actionZoomOut", QStringLiteral("Zoom Out"));
    actionZoomFit = makeAction(window, "actionZoomFit", QStringLiteral("Fit Project"));
    actionCheckSchedule
        = makeAction(window, "actionCheckSchedule", QStringLiteral("Check schedule"));
    actionInfo = makeAction(window, "actionInfo", QStringLiteral("Project &Information..."));
}

void MainWindowForm::setupUi(QMainWindow *window)
{
    window->setObjectName(QStringLiteral("MainWindow"));
    window->resize(800, 600);
    window->setWindowTitle(QStringLiteral("Tarvik"));

    actionOpen
        = makeAction(window, "actionOpen", QStringLiteral("Open"), ":/images/project-add2_32.png");
    actionAbout = makeAction(window, "actionAbout", QStringLiteral("About"));
    actionOpenSample
        = makeAction(window, "actionOpenSample", QStringLiteral("Open &Sample Schedule"));
    actionClose = makeAction(window, "actionClose", QStringLiteral("Close"));
    actionColumns = makeAction(window, "actionColumns", QStringLiteral("Columns"),
                               ":/images/table_column_f_32.png");
    actionGroup = makeAction(window, "actionGroup", QStringLiteral("Group"),
                             ":/images/network_diagram_f_32.png");
    actionDetail
        = makeAction(window, "actionDetail", QStringLiteral("Detail"), ":/images/details_32.png");
    actionDetail->setCheckable(true);
    actionStyles = makeAction(window, "actionStyles", QStringLiteral("Styles"),
                              ":/images/gantt_chart-gear_32.png");
    actionExport = makeAction(window, "actionExport", QStringLiteral("&Export..."),
                              ":/images/export_to_csv_32.png");
    actionOpen_file = makeAction(window, "actionOpen_file", QStringLiteral("Open file"));
    actionOpen_file->setShortcut(QKeySequence(QStringLiteral("Ctrl+O")));
    actionImportLayout = makeAction(window, "actionImportLayout", QStringLiteral("Import layout"));
    actionCompare = makeAction(window, "actionCompare", QStringLiteral("Compare with..."));
    actionCompare->setShortcut(QKeySequence(QStringLiteral("Ctrl+Shift+O")));
    actionEndCompare = makeAction(window, "actionEndCompare", QStringLiteral("End comparison"));
    actionYear = makeCheckable(window, "actionYear", QStringLiteral("Year"));
    actionQuarter = makeCheckable(window, "actionQuarter", QStringLiteral("Quarter"));
    actionMonth = makeCheckable(window, "actionMonth", QStringLiteral("Month"));
    actionWeek = makeCheckable(window, "actionWeek", QStringLiteral("Week"));
    actionDay = makeCheckable(window, "actionDay", QStringLiteral("Day"));
    actionHour = makeCheckable(window, "actionHour", QStringLiteral("Hour"));
    actionMinute = makeCheckable(window, "actionMinute", QStringLiteral("Minute"));
    actionExpand_All = makeAction(window, "actionExpand_All", QStringLiteral("Expand All"),
                                  ":/images/expand_all_32.png");
    actionCollapse_All = makeAction(window, "actionCollapse_All", QStringLiteral("Collapse All"),
                                    ":/images/collapse_all_32.png");
    actionExpand
        = makeAction(window, "actionExpand", QStringLiteral("Expand"), ":/images/expand_32.png");
    actionCollapse = makeAction(window, "actionCollapse", QStringLiteral("Collapse"),
                                ":/images/remove_32.png");
    actionLevel_1 = makeAction(window, "actionLevel_1", QStringLiteral("Level 1"));
    actionLevel_2 = makeAction(window, "actionLevel_2", QStringLiteral("Level 2"));
    actionLevel_3 = makeAction(window, "actionLevel_3", QStringLiteral("Level 3"));
    actionLevel_4 = makeAction(window, "actionLevel_4", QStringLiteral("Level 4"));
    actionLevel_5 = makeAction(window, "actionLevel_5", QStringLiteral("Level 5"));
    actionLevel_6 = makeAction(window, "actionLevel_6", QStringLiteral("Level 6"));
    actionLevel_7 = makeAction(window, "actionLevel_7", QStringLiteral("Level 7"));
    actionSave_file = makeAction(window, "actionSave_file", QStringLiteral("Save file"));
    actionOpenCaced = makeAction(window, "actionOpenCaced", QStringLiteral("Open cached"));
    actionSnip = makeAction(window, "actionSnip", QStringLiteral("Snip"));
    actionSnip->setToolTip(QStringLiteral("Snip the GanttChart to image or file"));
    actionPrint = makeAction(window, "actionPrint", QStringLiteral("Print"));
    actionPrint->setShortcut(QKeySequence(QStringLiteral("Ctrl+P")));
    actionGanttChart = makeCheckable(window, "actionGanttChart", QStringLiteral("Gantt chart"));
    actionGanttChart->setChecked(true);
    actionGanttChart->setToolTip(QStringLiteral("Gantt chart"));
    actionResources = makeCheckable(window, "actionResources", QStringLiteral("Resources"));
    actionResources->setToolTip(QStringLiteral("Resources"));
    actionTrackingGanttChart
        = makeCheckable(window, "actionTrackingGanttChart", QStringLiteral("Tracking Gantt Chart"));
    actionTrackingGanttChart->setToolTip(QStringLiteral("Tracking Gantt Chart"));
    setupDesktopActions(window);

    centralWidget = new QWidget(window);
    centralWidget->setObjectName(QStringLiteral("centralWidget"));
    gridLayout = new QGridLayout(centralWidget);
    gridLayout->setObjectName(QStringLiteral("gridLayout"));
    gridLayout->setSpacing(6);
    gridLayout->setContentsMargins(11, 11, 11, 11);
    stackedWidget = new QStackedWidget(centralWidget);
    stackedWidget->setObjectName(QStringLiteral("stackedWidget"));
    gridLayout->addWidget(stackedWidget, 0, 0);
    window->setCentralWidget(centralWidget);

    menuBar = new QMenuBar(window);
    menuBar->setObjectName(QStringLiteral("menuBar"));
    menuBar->setGeometry(QRect(0, 0, 800, 26));
    menuFile = new QMenu(QStringLiteral("&File"), menuBar);
    menuFile->setObjectName(QStringLiteral("menuFile"));
    menuViewMain = new QMenu(QStringLiteral("&View"), menuBar);
    menuViewMain->setObjectName(QStringLiteral("menuViewMain"));
    menuLayout = new QMenu(QStringLiteral("&Layout"), menuBar);
    menuLayout->setObjectName(QStringLiteral("menuLayout"));
    menuHelp = new QMenu(QStringLiteral("&Help"), menuBar);
    menuHelp->setObjectName(QStringLiteral("menuHelp"));
    window->setMenuBar(menuBar);
    menuBar->addAction(menuFile->menuAction());
    menuBar->addAction(menuViewMain->menuAction());
    menuBar->addAction(menuLayout->menuAction());
    menuBar->addAction(menuHelp->menuAction());

    menuFile->addAction(actionOpen);
    menuFile->addAction(actionSave_file);
    menuFile->addAction(actionOpen_file);
    menuFile->addAction(actionClose);
    menuFile->addAction(actionCompare);
    menuFile->addAction(actionEndCompare);
    menuFile->addSeparator();
    menuFile->addAction(actionOpenCaced);
    menuFile->addAction(actionImportLayout);
    menuFile->addAction(actionSnip);
    menuFile->addAction(actionPrint);
    menuFile->addAction(actionExport);
    menuFile->addAction(actionInfo);
    menuFile->addSeparator();
    menuFile->addAction(actionQuit);
    menuHelp->addAction(actionOpenSample);
    menuHelp->addAction(actionAbout);

    mainToolBar = new QToolBar(window);
    mainToolBar->setObjectName(QStringLiteral("mainToolBar"));
    window->addToolBar(Qt::TopToolBarArea, mainToolBar);
    statusBar = new QStatusBar(window);
    statusBar->setObjectName(QStringLiteral("statusBar"));
    window->setStatusBar(statusBar);
}
