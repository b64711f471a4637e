// The fixed widgets and actions of the main window, built in code with their object names.
// Owned by MainWindow; every widget and action is parented to the window.
#pragma once

class QAction;
class QGridLayout;
class QMainWindow;
class QMenu;
class QMenuBar;
class QStackedWidget;
class QStatusBar;
class QToolBar;
class QWidget;

class MainWindowForm
{
public:
    QAction *actionOpen = nullptr;
    QAction *actionAbout = nullptr;
    QAction *actionClose = nullptr;
    QAction *actionColumns = nullptr;
    QAction *actionGroup = nullptr;
    QAction *actionDetail = nullptr;
    QAction *actionStyles = nullptr;
    QAction *actionExport = nullptr;
    QAction *actionOpen_file = nullptr;
    QAction *actionImportLayout = nullptr;
    QAction *actionYear = nullptr;
    QAction *actionQuarter = nullptr;
    QAction *actionMonth = nullptr;
    QAction *actionWeek = nullptr;
    QAction *actionDay = nullptr;
    QAction *actionHour = nullptr;
    QAction *actionMinute = nullptr;
    QAction *actionExpand_All = nullptr;
    QAction *actionCollapse_All = nullptr;
    QAction *actionExpand = nullptr;
    QAction *actionCollapse = nullptr;
    QAction *actionLevel_1 = nullptr;
    QAction *actionLevel_2 = nullptr;
    QAction *actionLevel_3 = nullptr;
    QAction *actionLevel_4 = nullptr;
    QAction *actionLevel_5 = nullptr;
    QAction *actionLevel_6 = nullptr;
    QAction *actionLevel_7 = nullptr;
    QAction *actionSave_file = nullptr;
    QAction *actionOpenCaced = nullptr;
    QAction *actionSnip = nullptr;
    QAction *actionPrint = nullptr;
    QAction *actionGanttChart = nullptr;
    QAction *actionResources = nullptr;
    QAction *actionTrackingGanttChart = nullptr;
    QAction *actionQuit = nullptr;
    QAction *actionFind = nullptr;
    QAction *actionFindNext = nullptr;
    QAction *actionFindPrevious = nullptr;
    QAction *actionZoomIn = nullptr;
    QAction *actionZoomOut = nullptr;
    QAction *actionZoomFit = nullptr;
    QAction *actionCheckSchedule = nullptr;
    QAction *actionCompare = nullptr;
    QAction *actionEndCompare = nullptr;
    QAction *actionInfo = nullptr;
    QAction *actionOpenSample = nullptr;

    QWidget *centralWidget = nullptr;
    QGridLayout *gridLayout = nullptr;
    QStackedWidget *stackedWidget = nullptr;
    QMenuBar *menuBar = nullptr;
    QMenu *menuFile = nullptr;
    QMenu *menuViewMain = nullptr; // the menu bar's View menu; filled by the window
    QMenu *menuLayout = nullptr;
    QMenu *menuHelp = nullptr;
    QToolBar *mainToolBar = nullptr;
    QStatusBar *statusBar = nullptr;

    // Builds the form into `window`: actions, the File/View/Layout/Help menus, the (empty) tool
    // bar, the central stack and the status bar. Tool bar entries are placed by the window.
    void setupUi(QMainWindow *window);

private:
    void setupDesktopActions(QMainWindow *window);
};
