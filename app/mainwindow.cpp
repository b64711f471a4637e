#include "app/mainwindow.h"

#include "app/assignmenttable.h"
#include "app/dialogcommands.h"
#include "app/keyboardaccess.h"
#include "app/mainwindowform.h"
#include "app/projectfiles.h"
#include "app/sampleschedule.h"
#include "app/schedulecheckcontroller.h"
#include "app/windowsettings.h"
#include "gantt/ryganttzoom.h"
#include "models/rytextfile.h"
#include "tables/mpploader.h"
#include "views/activities.h"
#include "views/activitydetails.h"
#include "views/resources.h"
#include "views/ryactivitystatus.h"
#include "views/ryfindbar.h"
#include "views/rygroupedtreeview.h"
#include "views/rysortfilterheader.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QIcon>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QSplitter>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTableView>
#include <QToolBar>
#include <QToolButton>

MainWindow::MainWindow(QWidget *parent)
    : QMainWindow(parent)
    , ui(new MainWindowForm)
{
    ui->setupUi(this);
    createPages();
    createControllers();
    createToolBar();
    connectActions();

    const QIcon icon(QStringLiteral(":/images/green_pyramid.png"));
    setWindowIcon(icon);
    QApplication::setWindowIcon(icon);
    updateToolBarActions();

    details->setVisible(ui->actionDetail->isChecked());
    reloadLayoutMenu(QStringLiteral("default"));

    for (QAction *unused : { ui->actionOpen, ui->actionSave_file, ui->actionOpenCaced })
        unused->setVisible(false);

    m_recentFiles->load();
    createDesktopCommands();
    restoreSettings();
}

MainWindow::~MainWindow()
{
    // The views let go of the loader's models (closing()) before the loader goes.
    m_opener->close();
}

void MainWindow::createPages()
{
    splitter = new QSplitter(Qt::Vertical, this);
    splitter->setObjectName(QStringLiteral("splitter"));
    activities = new Activities(splitter);
    details = new ActivityDetails(activities, splitter);
    splitter->addWidget(activities);
    splitter->addWidget(details);
    resources = new Resources(this);
    ui->stackedWidget->addWidget(splitter);
    ui->stackedWidget->addWidget(resources);
    ui->stackedWidget->setCurrentIndex(0);
}

void MainWindow::createControllers()
{
    m_viewCommands = new ViewCommands(*ui, activities, resources, this);
    m_layoutDocument.reset(new LayoutDocument(activities, m_viewCommands));
    m_layoutMenu = new LayoutMenu(ui->menuLayout, m_layoutDocument.get(), this);
    m_opener = new ProjectOpener(this);
    m_compare = new CompareController(this, *ui, activities, m_opener);
    connect(m_compare, &CompareController::linkChangesChanged, details,
            &ActivityDetails::setLinkChanges);
    m_dialogs = new DialogCommands(this, activities, resources, m_viewCommands, m_opener);
    m_recentFiles = new RecentFilesMenu(ui->menuFile, this);
    new SampleSchedule(ui->actionOpenSample, this);
}

namespace {

QToolButton *menuButton(QMenu *menu, QToolButton::ToolButtonPopupMode mode, QWidget *parent)
{
    auto *button = new QToolButton(parent);
    button->setObjectName(menu->objectName() + QStringLiteral("Button"));
    // The default action brings its menu along; setMenu() with that same action would drop it.
    button->setDefaultAction(menu->menuAction());
    button->setPopupMode(mode);
    return button;
}

} // namespace

void MainWindow::createToolBar()
{
    QToolBar *bar = ui->mainToolBar;
    bar->addAction(ui->actionOpen);
    // Pressing the View and Outline buttons themselves runs a command; the arrow opens the menu.
    bar->addWidget(menuButton(viewMenu(), QToolButton::MenuButtonPopup, bar));
    bar->addAction(ui->actionColumns);
    bar->addAction(ui->actionGroup);
    bar->addAction(ui->actionDetail);
    bar->addAction(ui->actionExport);
    bar->addWidget(menuButton(outlineMenu(), QToolButton::MenuButtonPopup, bar));
    auto *spacer = new QWidget(bar);
    spacer->setObjectName(QStringLiteral("toolBarSpacer"));
    spacer->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    bar->addWidget(spacer);
    bar->addWidget(menuButton(timeMenu(), QToolButton::InstantPopup, bar));
    bar->addAction(ui->actionStyles);
}

void MainWindow::connectActions()
{
    connect(ui->actionColumns, &QAction::triggered, m_dialogs, &DialogCommands::chooseColumns);
    connect(ui->actionGroup, &QAction::triggered, m_dialogs, &DialogCommands::chooseGroups);
    connect(ui->actionDetail, &QAction::triggered, this, &MainWindow::onDetailAction);
    connect(ui->actionStyles, &QAction::triggered, m_dialogs, &DialogCommands::chooseBarStyles);
    connect(ui->actionExport, &QAction::triggered, m_dialogs, &DialogCommands::exportActivities);
    connect(ui->actionAbout, &QAction::triggered, m_dialogs, &DialogCommands::showAbout);
    connect(ui->actionInfo, &QAction::triggered, m_dialogs, &DialogCommands::showProjectInfo);
    connect(ui->actionSnip, &QAction::triggered, m_dialogs, &DialogCommands::snip);
    connect(ui->actionPrint, &QAction::triggered, m_dialogs, &DialogCommands::print);
    connect(ui->actionOpen_file, &QAction::triggered, this, &MainWindow::onOpenFileAction);
    connect(ui->actionClose, &QAction::triggered, this, &MainWindow::onCloseAction);
    connect(ui->actionImportLayout, &QAction::triggered, m_layoutMenu,
            &LayoutMenu::chooseImportFile);

    connect(m_opener, &ProjectOpener::closing, this, &MainWindow::closeProjectViews);
    connect(m_opener, &ProjectOpener::loaded, this, &MainWindow::showLoadedProject);
    connect(m_opener, &ProjectOpener::readFailed, this, &MainWindow::onReadFailed);
    connect(m_opener, &ProjectOpener::loadEnded, this, &MainWindow::projectLoadEnded);
    connect(m_recentFiles, &RecentFilesMenu::openRequested, this, &MainWindow::openProject);

    auto *activityHeader = qobject_cast<RySortFilterHeader *>(activities->treeView()->header());
    if (activityHeader) {
        connect(activityHeader, &RySortFilterHeader::filterSettingsChanged, activities,
                &Activities::calculateGroupings);
        connect(activityHeader, &RySortFilterHeader::filterSettingsChanged, m_viewCommands,
                &ViewCommands::updateColumnsIcon);
    }
    auto *resourceHeader
        = qobject_cast<RySortFilterHeader *>(resources->tableView()->horizontalHeader());
    if (resourceHeader) {
        connect(resourceHeader, &RySortFilterHeader::filterSettingsChanged, m_viewCommands,
                &ViewCommands::updateColumnsIcon);
        connect(resourceHeader, &RySortFilterHeader::filterSettingsChanged, this,
                &MainWindow::updateStatusText);
    }
    connect(ui->stackedWidget, &QStackedWidget::currentChanged, this,
            &MainWindow::updateStatusText);
}

QString MainWindow::loadFailureReason(int status)
{
    return ProjectOpener::failureReason(static_cast<mppr::Status>(status));
}

void MainWindow::onMRUClick()
{
    m_recentFiles->choose(qobject_cast<QAction *>(sender()));
}

// ---------------------------------------------------------------------------------------------
// Opening and closing projects

void MainWindow::onOpenFileAction()
{
    const QString path
        = QFileDialog::getOpenFileName(this, QStringLiteral("Select files to open"), m_lastFolder,
                                       QStringLiteral("Project files (*.mpp)"));
    if (path.isEmpty() || QFileInfo(path).suffix().toLower() == QLatin1String("xer"))
        return;
    if (path.endsWith(QStringLiteral(".mpp"), Qt::CaseInsensitive))
        openProject(path);
}

void MainWindow::openProject(const QString &path)
{
    m_opener->open(path);
    m_lastFolder = QFileInfo(path).absolutePath();
    m_settings->setLastFolder(m_lastFolder);
    m_recentFiles->add(path);

    connect(activities->treeView()->selectionModel(), &QItemSelectionModel::currentRowChanged,
            details, &ActivityDetails::onRowChanged, Qt::UniqueConnection);
    // The title uses our own copy of the path, written the system's way (C:\plan.mpp).
    setWindowTitle(QDir::toNativeSeparators(path));
}

void MainWindow::openProjectFile(const QString &path)
{
    const QString file = QFileInfo(path).absoluteFilePath();
    const QString problem = ProjectFiles::problem(file);
    if (problem.isEmpty())
        openProject(file);
    else
        m_opener->reportFailure(file, problem);
}

void MainWindow::showLoadedProject()
{
    const MPPLoader *loader = m_opener->loader();
    auto table = [loader](const char *name) {
        return qobject_cast<QAbstractItemModel *>(loader->model(QLatin1String(name)));
    };
    QAbstractItemModel *activityModel = table("ActivityModel");
    {
        // The layout below sorts, filters and groups: links, roll-ups and time range wait
        // for it.
        const Activities::Batch batch(activities);
        activities->setModels(activityModel, table("PROJWBS"), table("ACTVTYPE"), table("ACTVCODE"),
                              table("TASKPRED"), true);

        QAbstractItemModel *resourceModel = table("ResourceModel");
        details->setActivityModel(activityModel);
        details->setResourceModel(resourceModel);
        details->setPredecessorModel(table("PredecessorModel"));
        details->setCodeModel(table("CodeModel"));
        m_viewCommands->showProjectTime(*loader->project());
        AssignmentTable::setUp(details->resourceTable());
        resources->setModel(resourceModel);
        AssignmentTable::setUp(resources->tableView(), AssignmentTable::ActivityColumns::First);

        updateToolBarActions();

        activities->arrangeFirstColumns();

        applyLayout(RyTextFile::readTextFile(QStringLiteral(":/files/mpp_style.json")));
    }
    // A first look that shows what was opened: IDs readable, headers whole.
    activities->treeView()->fitTreeColumn(400);
    resources->fitColumns(300);
    restorePendingView();
    updateStatusText();
}

void MainWindow::onReadFailed()
{
    setWindowTitle(QStringLiteral("Tarvik"));
    updateToolBarActions();
    updateStatusText();
}

void MainWindow::closeProjectViews()
{
    activities->onCloseProject();
    details->clear();
}

void MainWindow::onCloseAction()
{
    closeProjectViews();
    updateStatusText();
    m_opener->clear();
    updateOutputActions();
}

// ---------------------------------------------------------------------------------------------
// Command states

void MainWindow::onDetailAction()
{
    details->setVisible(ui->actionDetail->isChecked());
}

void MainWindow::updateToolBarActions()
{
    const QAbstractItemModel *model = activities->treeView()->model();
    const bool available = model && model->rowCount() > 0;
    for (QAction *command :
         { ui->actionColumns, ui->actionGroup, ui->actionDetail, ui->actionExport, ui->actionStyles,
           ui->actionFind, ui->actionFindNext, ui->actionFindPrevious, ui->actionZoomIn,
           ui->actionZoomOut, ui->actionZoomFit })
        command->setEnabled(available);
    updateOutputActions();
    m_viewCommands->setMenusEnabled(available);
    m_viewCommands->updateTimeChecks();
    activities->onHeaderSizeChanged();
}

// Export, Print, Snip and Project Information have nothing to work on without a shown project.
void MainWindow::updateOutputActions()
{
    const bool shown = activities->hasProject();
    for (QAction *command : { ui->actionExport, ui->actionPrint, ui->actionSnip, ui->actionInfo })
        command->setEnabled(shown);
}

void MainWindow::updateStatusText()
{
    // The Resources page counts its assignments, one a row; the other pages the activities.
    const bool assignments
        = ui->stackedWidget->currentWidget() == resources && activities->hasProject();
    m_activityCount->setText(assignments ? RyActivityStatus::text(*resources)
                                         : RyActivityStatus::text(*activities));
}

// ---------------------------------------------------------------------------------------------
// Desktop integration: opening from outside, find, zoom, keyboard access, remembered settings

void MainWindow::createDesktopCommands()
{
    setAcceptDrops(true);
    KeyboardAccess::assignShortcuts(*ui);
    connect(ui->actionQuit, &QAction::triggered, this, &QWidget::close);

    m_findBar = new RyFindBar(activities, this);
    addToolBarBreak(Qt::TopToolBarArea);
    addToolBar(Qt::TopToolBarArea, m_findBar);
    m_findBar->hide();
    connect(ui->actionFind, &QAction::triggered, m_findBar, &RyFindBar::activate);
    connect(ui->actionFindNext, &QAction::triggered, m_findBar, &RyFindBar::findNext);
    connect(ui->actionFindPrevious, &QAction::triggered, m_findBar, &RyFindBar::findPrevious);

    m_zoom = new RyGanttZoom(activities->ganttView());
    connect(ui->actionZoomIn, &QAction::triggered, m_zoom, &RyGanttZoom::zoomIn);
    connect(ui->actionZoomOut, &QAction::triggered, m_zoom, &RyGanttZoom::zoomOut);
    connect(ui->actionZoomFit, &QAction::triggered, m_zoom, &RyGanttZoom::fit);
    connect(m_zoom, &RyGanttZoom::timelineFlagsChanged, m_viewCommands,
            &ViewCommands::updateTimeChecks);

    QMenu *view = ui->menuViewMain;
    view->addMenu(viewMenu());
    view->addMenu(outlineMenu());
    view->addMenu(timeMenu());
    view->addMenu(m_viewCommands->unitsMenu());
    view->addSeparator();
    view->addActions({ ui->actionColumns, ui->actionGroup, ui->actionStyles, ui->actionDetail });
    view->addSeparator();
    view->addActions({ ui->actionFind, ui->actionFindNext, ui->actionFindPrevious });
    view->addSeparator();
    view->addActions({ ui->actionZoomIn, ui->actionZoomOut, ui->actionZoomFit });
    new ScheduleCheckController(ui->actionCheckSchedule, view, this, activities, m_opener);
    KeyboardAccess::setToolTips(ui->mainToolBar);

    // A widget rather than a message: status tips of menus and buttons would wipe a message.
    m_activityCount = new QLabel(this);
    m_activityCount->setObjectName(QStringLiteral("activityCountLabel"));
    statusBar()->addWidget(m_activityCount);
    if (auto *header = qobject_cast<RySortFilterHeader *>(activities->treeView()->header()))
        connect(header, &RySortFilterHeader::filterSettingsChanged, this,
                &MainWindow::updateStatusText);
    updateToolBarActions();
}

void MainWindow::dragEnterEvent(QDragEnterEvent *event)
{
    if (event->mimeData()->hasUrls()
        && !ProjectFiles::firstProjectFile(event->mimeData()->urls()).isEmpty())
        event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent *event)
{
    const QString file = ProjectFiles::firstProjectFile(event->mimeData()->urls());
    if (file.isEmpty())
        return;
    event->acceptProposedAction();
    openProjectFile(file);
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    m_recentFiles->save();
    m_settings->save(m_viewCommands->checkedViewName());
    event->accept();
}

void MainWindow::restoreSettings()
{
    m_settings.reset(new WindowSettings(this, splitter, details, ui->actionDetail));
    m_settings->restore();
    m_findBar->hide();
    m_pendingView = m_settings->view();
    m_lastFolder = m_settings->lastFolder();
}

void MainWindow::restorePendingView()
{
    const QString name = m_pendingView;
    m_pendingView.clear();
    m_viewCommands->showNamedView(name);
}
