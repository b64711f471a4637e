#include "app/mainwindow.h"

#include "app/appconfig.h"
#include "app/csvexport.h"
#include "app/keyboardaccess.h"
#include "app/layoutstore.h"
#include "app/mainwindowform.h"
#include "app/projectfiles.h"
#include "app/settingsstore.h"
#include "app/windowplacement.h"
#include "filter/ryfilterdialogproxymodel.h"
#include "filter/rysortfilterwidget.h"
#include "gantt/ryganttchartstylesdialog.h"
#include "gantt/ryganttview.h"
#include "gantt/ryganttviewbarstyle.h"
#include "gantt/ryganttzoom.h"
#include "gantt/rytimelineheader.h"
#include "models/ryconstants.h"
#include "models/rytextfile.h"
#include "output/rypagecontent.h"
#include "output/ryprintdialog.h"
#include "output/rysnipdialog.h"
#include "output/ryviewsnapshot.h"
#include "tables/mpploader.h"
#include "views/activities.h"
#include "views/activitydetails.h"
#include "views/resources.h"
#include "views/ryactivitystatus.h"
#include "views/rydetaildelegate.h"
#include "views/ryfindbar.h"
#include "views/rygroupdialog.h"
#include "views/rygroupedcolumndialog.h"
#include "views/rygroupedtreeview.h"
#include "views/ryheaderstate.h"
#include "views/rysortfilterheader.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QDebug>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QIcon>
#include <QJsonDocument>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QProgressDialog>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSplitter>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTableView>
#include <QToolBar>
#include <QToolButton>
#include <QTreeView>
#include <QVariantMap>
#include <QWidgetAction>
#include <QtConcurrent>

namespace {

const QString IsMruKey = QStringLiteral("isMRU");
// Properties of the Layout menu entries: the name they apply and whether it is a stored row.
const char *const LayoutNameProperty = "layoutName";
const char *const StoredLayoutProperty = "storedLayout";
const QString DefaultLayout = QStringLiteral("default");
// Entries follow the name/Save widget and the separator.
constexpr int FirstLayoutEntry = 2;

bool isRecentFileAction(const QAction *action)
{
    return action->data().toMap().value(IsMruKey).toBool();
}

bool hasSuffix(const QString &path, const QString &suffix)
{
    return QFileInfo(path).suffix().toLower() == suffix;
}

} // namespace

MainWindow::MainWindow(QWidget *parent)
    : QMainWindow(parent)
    , ui(new MainWindowForm)
    , layouts(new LayoutStore)
{
    ui->setupUi(this);
    createPages();
    createMenus();
    createToolBar();
    openDatabase();
    connectActions();

    const QIcon icon(QStringLiteral(":/images/green_pyramid.png"));
    setWindowIcon(icon);
    QApplication::setWindowIcon(icon);
    updateToolBarActions();

    details->setVisible(ui->actionDetail->isChecked());
    reloadLayoutMenu(QStringLiteral("default"));

    ui->actionOpen->setVisible(false);
    ui->actionSave_file->setVisible(false);
    ui->actionOpenCaced->setVisible(false);

    readRecentFiles();
    createDesktopCommands();
    restoreSettings();
}

MainWindow::~MainWindow()
{
    // Views first: they hold pointers into the loader's models.
    closeProjectViews();
    deleteLoader();
    delete progressDialog.data();
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

void MainWindow::createMenus()
{
    menuOutline = new QMenu(QStringLiteral("Outline"), this);
    menuOutline->setObjectName(QStringLiteral("menuOutline"));
    menuOutline->setIcon(QIcon(QStringLiteral(":/images/outline_32.png")));
    menuOutline->addAction(ui->actionExpand);
    menuOutline->addAction(ui->actionCollapse);
    menuOutline->addSeparator();
    menuOutline->addAction(ui->actionExpand_All);
    menuOutline->addAction(ui->actionCollapse_All);
    for (QAction *level : levelActions())
        menuOutline->addAction(level);

    menuView = new QMenu(QStringLiteral("View"), this);
    menuView->setObjectName(QStringLiteral("menuView"));
    menuView->setIcon(QIcon(QStringLiteral(":/images/table_stack.png")));
    viewGroup = new QActionGroup(this);
    viewGroup->setExclusive(true);
    for (QAction *view :
         { ui->actionGanttChart, ui->actionTrackingGanttChart, ui->actionResources }) {
        viewGroup->addAction(view);
        menuView->addAction(view);
    }

    menuTime = new QMenu(QStringLiteral("Time"), this);
    menuTime->setObjectName(QStringLiteral("menuTime"));
    menuTime->setIcon(QIcon(QStringLiteral(":/images/time_f_32.png")));
    menuTime->setToolTip(QStringLiteral("Time Scales"));
    menuTime->menuAction()->setToolTip(QStringLiteral("Time Scales"));
    for (QAction *scale : timeActions())
        menuTime->addAction(scale);

    // The name/Save widget heads the Layout menu; stored layouts follow the separator.
    auto *box = new QWidget(this);
    auto *boxLayout = new QHBoxLayout(box);
    leLayoutName = new QLineEdit(box);
    leLayoutName->setObjectName(QStringLiteral("leLayoutName"));
    leLayoutName->setPlaceholderText(QStringLiteral("Layout name"));
    pbSaveLayout = new QPushButton(QStringLiteral("Save"), box);
    pbSaveLayout->setObjectName(QStringLiteral("pbSaveLayout"));
    pbSaveLayout->setEnabled(false);
    boxLayout->addWidget(leLayoutName);
    boxLayout->addWidget(pbSaveLayout);
    auto *nameAction = new QWidgetAction(this);
    nameAction->setDefaultWidget(box);
    ui->menuLayout->addAction(nameAction);
    ui->menuLayout->addSeparator();
    // Kept below the entries, away from them; reloadLayoutMenu() puts it back after each rebuild.
    actionDeleteLayout = new QAction(QStringLiteral("Delete layout"), this);
    actionDeleteLayout->setObjectName(QStringLiteral("actionDeleteLayout"));

    connect(ui->actionClose, &QAction::triggered, this, &MainWindow::onCloseAction);
    connect(ui->actionPrint, &QAction::triggered, this, &MainWindow::onPrintMenu);
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
    bar->addWidget(menuButton(menuView, QToolButton::MenuButtonPopup, bar));
    bar->addAction(ui->actionColumns);
    bar->addAction(ui->actionGroup);
    bar->addAction(ui->actionDetail);
    bar->addAction(ui->actionExport);
    bar->addWidget(menuButton(menuOutline, QToolButton::MenuButtonPopup, bar));
    auto *spacer = new QWidget(bar);
    spacer->setObjectName(QStringLiteral("toolBarSpacer"));
    spacer->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    bar->addWidget(spacer);
    bar->addWidget(menuButton(menuTime, QToolButton::InstantPopup, bar));
    bar->addAction(ui->actionStyles);
}

void MainWindow::openDatabase()
{
    layouts->open(AppConfig::directory());
}

void MainWindow::connectActions()
{
    connect(ui->actionColumns, &QAction::triggered, this, &MainWindow::onColumnsAction);
    connect(ui->actionGroup, &QAction::triggered, this, &MainWindow::onGroupAction);
    connect(ui->actionDetail, &QAction::triggered, this, &MainWindow::onDetailAction);
    connect(ui->actionStyles, &QAction::triggered, this, &MainWindow::onBarStyles);
    connect(ui->actionExport, &QAction::triggered, this, &MainWindow::onExportAction);
    connect(ui->actionAbout, &QAction::triggered, this, &MainWindow::onAbout);
    connect(ui->actionSnip, &QAction::triggered, this, &MainWindow::onSnip);
    connect(ui->actionOpen_file, &QAction::triggered, this, &MainWindow::onOpenFileAction);
    connect(ui->actionImportLayout, &QAction::triggered, this, &MainWindow::onImportLayout);
    for (QAction *scale : timeActions())
        connect(scale, &QAction::triggered, this, &MainWindow::setGanttTimelime);
    const QList<QAction *> outlineActions = QList<QAction *> {
        ui->actionExpand, ui->actionCollapse, ui->actionExpand_All, ui->actionCollapse_All
    } + levelActions();
    for (QAction *command : outlineActions)
        connect(command, &QAction::triggered, this, &MainWindow::onOutlineChanged);
    connect(pbSaveLayout, &QPushButton::clicked, this, &MainWindow::saveLayoutClicked);
    connect(leLayoutName, &QLineEdit::returnPressed, this, &MainWindow::saveLayoutClicked);
    connect(actionDeleteLayout, &QAction::triggered, this, &MainWindow::deleteLayoutClicked);
    connect(leLayoutName, &QLineEdit::textEdited, this, &MainWindow::layoutNameEdited);
    connect(viewGroup, &QActionGroup::triggered, this, &MainWindow::setView);
    connect(menuOutline->menuAction(), &QAction::triggered, this,
            &MainWindow::onExpandCollapseClicked);
    connect(menuView->menuAction(), &QAction::triggered, this, &MainWindow::onDefaultViewClicked);

    auto *activityHeader = qobject_cast<RySortFilterHeader *>(activityTree()->header());
    if (activityHeader) {
        connect(activityHeader, &RySortFilterHeader::filterSettingsChanged, activities,
                &Activities::calculateGroupings);
        connect(activityHeader, &RySortFilterHeader::filterSettingsChanged, this,
                &MainWindow::updateColumnsIcon);
    }
    auto *resourceHeader
        = qobject_cast<RySortFilterHeader *>(resources->tableView()->horizontalHeader());
    if (resourceHeader) {
        connect(resourceHeader, &RySortFilterHeader::filterSettingsChanged, this,
                &MainWindow::updateColumnsIcon);
    }
}

QList<QAction *> MainWindow::timeActions() const
{
    return { ui->actionYear, ui->actionQuarter, ui->actionMonth, ui->actionWeek, ui->actionDay };
}

QList<QAction *> MainWindow::levelActions() const
{
    return { ui->actionLevel_1, ui->actionLevel_2, ui->actionLevel_3, ui->actionLevel_4,
             ui->actionLevel_5, ui->actionLevel_6, ui->actionLevel_7 };
}

// ---------------------------------------------------------------------------------------------
// Recent files

QString MainWindow::recentFilesPath() const
{
    return RecentFiles::defaultPath();
}

void MainWindow::readRecentFiles()
{
    recentFiles.load(recentFilesPath());
    rebuildRecentMenu();
}

void MainWindow::rebuildRecentMenu()
{
    QMenu *file = ui->menuFile;
    const QList<QAction *> current = file->actions();
    for (QAction *action : current) {
        if (isRecentFileAction(action)) {
            file->removeAction(action);
            action->deleteLater();
        }
    }
    QAction *last = file->actions().isEmpty() ? nullptr : file->actions().constLast();
    if (!recentFiles.isEmpty() && !(last && last->isSeparator()))
        file->addSeparator();
    else if (recentFiles.isEmpty() && last && last->isSeparator())
        file->removeAction(last);

    for (const RecentEntry &entry : recentFiles.entries()) {
        if (hasSuffix(entry.file, QStringLiteral("xer")))
            continue;
        QAction *action = file->addAction(entry.file);
        action->setData(QVariantMap { { IsMruKey, true },
                                      { QStringLiteral("fileName"), entry.file },
                                      { QStringLiteral("type"), entry.type } });
        connect(action, &QAction::triggered, this, &MainWindow::onMRUClick);
    }
}

void MainWindow::onMRUClick()
{
    auto *action = qobject_cast<QAction *>(sender());
    if (!action || !isRecentFileAction(action))
        return;
    const QString fileName = action->data().toMap().value(QStringLiteral("fileName")).toString();
    if (fileName.isEmpty())
        return;
    if (QFileInfo::exists(fileName)) {
        if (hasSuffix(fileName, QStringLiteral("mpp")))
            openProject(fileName);
        return;
    }
    QMessageBox::critical(this, QStringLiteral("File doesn't exist"),
                          QStringLiteral("File was deleted"), QMessageBox::Ok);
    recentFiles.removeFile(fileName);
    rebuildRecentMenu();
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    recentFiles.save(recentFilesPath());
    saveSettings();
    event->accept();
}

// ---------------------------------------------------------------------------------------------
// Layout store

void MainWindow::reloadLayoutMenu(const QString &selectedName)
{
    layoutTable.clear();
    QMenu *menu = ui->menuLayout;
    const QList<QAction *> entries = menu->actions();
    for (int i = FirstLayoutEntry; i < entries.size(); ++i) {
        menu->removeAction(entries.at(i));
        if (entries.at(i) != actionDeleteLayout)
            delete entries.at(i);
    }

    for (const auto &layout : layouts->layouts()) {
        layoutTable.insert(layout.first, layout.second);
        addLayoutEntry(layout.first, layout.second, true, selectedName);
    }

    QString templateDocument = layoutTable.value(DefaultLayout);
    if (templateDocument.isEmpty())
        templateDocument = layouts->defaultTemplate();
    for (const P6Layout &imported : importedLayouts) {
        QVariantMap document
            = QJsonDocument::fromJson(templateDocument.toUtf8()).toVariant().toMap();
        QStringList columns;
        for (const P6Layout::Column &column : imported.columns)
            columns << QStringLiteral("%1:%2").arg(column.display).arg(column.width);
        document.insert(QStringLiteral("columns"), columns);
        document.insert(QStringLiteral("group"), imported.groups);
        document.insert(QStringLiteral("sortby"), imported.sorts);
        addLayoutEntry(
            QStringLiteral("[P6] ") + imported.name,
            QString::fromUtf8(QJsonDocument::fromVariant(document).toJson(QJsonDocument::Compact)),
            false, selectedName);
    }

    if (layoutTable.isEmpty()) {
        QAction *none = menu->addAction(QStringLiteral("layouts not found"));
        none->setEnabled(false);
    }
    menu->addSeparator();
    menu->addAction(actionDeleteLayout);
    updateDeleteLayoutAction();
}

void MainWindow::addLayoutEntry(const QString &name, const QString &document, bool stored,
                                const QString &selectedName)
{
    // A name such as "R&D" would otherwise lose its "&" to a keyboard mnemonic.
    QString text = name;
    text.replace(QLatin1Char('&'), QStringLiteral("&&"));
    QAction *action = ui->menuLayout->addAction(text);
    action->setCheckable(true);
    action->setData(document);
    action->setProperty(LayoutNameProperty, name);
    action->setProperty(StoredLayoutProperty, stored);
    action->setChecked(name == selectedName);
    connect(action, &QAction::triggered, this, &MainWindow::applayLayoutClicked);
}

QAction *MainWindow::checkedLayoutEntry() const
{
    const QList<QAction *> entries = ui->menuLayout->actions();
    for (int i = FirstLayoutEntry; i < entries.size(); ++i) {
        if (entries.at(i)->isChecked() && entries.at(i)->property(LayoutNameProperty).isValid())
            return entries.at(i);
    }
    return nullptr;
}

QString MainWindow::deletableLayoutName() const
{
    const QAction *entry = checkedLayoutEntry();
    if (!entry || !entry->property(StoredLayoutProperty).toBool())
        return QString();
    const QString name = entry->property(LayoutNameProperty).toString();
    return name == DefaultLayout ? QString() : name;
}

void MainWindow::updateDeleteLayoutAction()
{
    QString name = deletableLayoutName();
    actionDeleteLayout->setEnabled(!name.isEmpty());
    name.replace(QLatin1Char('&'), QStringLiteral("&&"));
    actionDeleteLayout->setText(name.isEmpty() ? QStringLiteral("Delete layout")
                                               : QStringLiteral("Delete layout \"%1\"").arg(name));
}

void MainWindow::setImportedLayouts(const QList<P6Layout> &layouts)
{
    importedLayouts = layouts;
    reloadLayoutMenu(DefaultLayout);
}

void MainWindow::applayLayoutClicked()
{
    auto *action = qobject_cast<QAction *>(sender());
    if (!action)
        return;
    if (!applyLayout(action->data().toString())) {
        // The click toggled the entry; a layout that was not applied must not look applied.
        action->setChecked(!action->isChecked());
        QMessageBox::warning(this, QStringLiteral("Layout"),
                             QStringLiteral("The layout \"%1\" could not be read.")
                                 .arg(action->property(LayoutNameProperty).toString()));
        return;
    }
    const QList<QAction *> entries = ui->menuLayout->actions();
    for (QAction *entry : entries) {
        if (entry->isChecked())
            entry->setChecked(false);
    }
    action->setChecked(true);
    updateDeleteLayoutAction();
}

bool MainWindow::storeLayout(const QString &document, const QString &name, bool overwrite)
{
    bool stored = false;
    if (!layouts->contains(name)) {
        stored = layouts->insert(name, document);
    } else {
        if (!overwrite) {
            const auto answer = QMessageBox::question(
                this, QStringLiteral("Overwrite layout"),
                QStringLiteral("Layout with same name already exists. Overwrite it?"),
                QMessageBox::Yes | QMessageBox::No);
            if (answer != QMessageBox::Yes)
                return true;
        }
        stored = layouts->overwrite(name, document);
    }
    if (!stored) {
        QMessageBox::warning(this, QStringLiteral("Layout"),
                             QStringLiteral("The layout \"%1\" could not be saved: the layout "
                                            "database %2 is read-only, locked or missing.")
                                 .arg(name, QDir::toNativeSeparators(layouts->fileName())));
    }
    return stored;
}

void MainWindow::saveLayoutClicked()
{
    if (!sender())
        return;
    const QString name = leLayoutName->text();
    if (name.isEmpty())
        return;
    // After a failed write the menu keeps what it lists: a locked database would list nothing.
    if (storeLayout(layoutDocument(), name, false))
        reloadLayoutMenu(name);
}

void MainWindow::deleteLayoutClicked()
{
    const QString name = deletableLayoutName();
    if (name.isEmpty())
        return;
    const auto answer = QMessageBox::question(
        this, QStringLiteral("Delete layout"),
        QStringLiteral("Delete the layout \"%1\"? This cannot be undone.").arg(name),
        QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
    if (answer != QMessageBox::Yes)
        return;
    if (!layouts->remove(name)) {
        QMessageBox::warning(this, QStringLiteral("Layout"),
                             QStringLiteral("The layout \"%1\" could not be deleted: the layout "
                                            "database %2 is read-only, locked or missing.")
                                 .arg(name, QDir::toNativeSeparators(layouts->fileName())));
        return;
    }
    // The view keeps the deleted layout's look, so no other entry is marked as applied.
    reloadLayoutMenu(QString());
}

void MainWindow::layoutNameEdited(QString text)
{
    pbSaveLayout->setEnabled(!text.isEmpty());
}

bool MainWindow::applyLayout(const QString &document)
{
    if (document.isEmpty())
        return true;
    QTreeView *tree = activities->treeView();
    auto *header = qobject_cast<RySortFilterHeader *>(tree->header());
    if (!header)
        return true;
    QJsonParseError error;
    const QJsonDocument json = QJsonDocument::fromJson(document.toUtf8(), &error);
    // Read as an empty map, a damaged document would wipe the bar styles and the chart's bars.
    if (error.error != QJsonParseError::NoError || !json.isObject())
        return false;
    const QVariantMap layout = json.toVariant().toMap();

    RyHeaderState::restoreHeaderState(header, layout.value(QStringLiteral("columns")).toStringList());

    const QStringList sortBy = layout.value(QStringLiteral("sortby")).toStringList();
    if (sortBy.isEmpty()) {
        activities->clearSortAndFilters();
    } else {
        const QStringList parts = sortBy.first().split(QLatin1Char(';'));
        const QString column = parts.value(0);
        activities->sortByColumn(column, parts.value(1) != QLatin1String("A"));
    }

    const QVariantMap filters = layout.value(QStringLiteral("filters")).toMap();
    activities->filterProxy()->setFilterSettings(filters);
    header->clearFilteredColumns();
    for (const char *kind : { "patterns", "expressions" }) {
        const QVariantMap columns = filters.value(QLatin1String(kind)).toMap();
        for (auto it = columns.cbegin(); it != columns.cend(); ++it) {
            bool ok = false;
            const int column = it.key().toInt(&ok, 10);
            if (ok)
                header->addFilteredColumn(column);
        }
    }

    activities->groupBySelection(layout.value(QStringLiteral("group")).toStringList());

    const QString outlineCommand = layout.value(QStringLiteral("outline")).toString();
    if (!outlineCommand.isEmpty()) {
        // Only outline commands: a layout entry named like one ("Expand All") would otherwise
        // be triggered too and apply itself again, without end.
        const QList<QAction *> commands = menuOutline->actions();
        for (QAction *command : commands) {
            if (!command->isSeparator() && command->text() == outlineCommand)
                command->trigger();
        }
    }

    RyGanttView *gantt = activities->ganttView();
    gantt->restoreState(layout.value(QStringLiteral("bars")));
    gantt->setBarStyles(
        RyGanttViewBarStyle::fromVariantList(layout.value(QStringLiteral("barStyles")).toList()));

    tree->setTreePosition(RyHeaderState::firstVisibleColumn(header));
    activities->onUpdateMergeColumns();
    updateTimeChecks();
    return true;
}

QString MainWindow::layoutDocument() const
{
    QTreeView *tree = activities->treeView();
    const QHeaderView *header = tree->header();
    QVariantMap document;
    document.insert(QStringLiteral("columns"), RyHeaderState::saveHeaderState(header));

    QString sortName;
    if (auto *sortHeader = qobject_cast<const RySortFilterHeader *>(header)) {
        const int column = sortHeader->sortColumn();
        if (column >= 0 && tree->model()) {
            sortName = tree->model()
                           ->headerData(column, Qt::Horizontal, Ry::ColumnDescriptionRole)
                           .toMap()
                           .value(QStringLiteral("display"))
                           .toString();
        }
        const bool descending = column >= 0 && sortHeader->sortOrder() == Qt::DescendingOrder;
        document.insert(QStringLiteral("sortby"),
                        sortName + QLatin1Char(';')
                            + (descending ? QLatin1Char('D') : QLatin1Char('A')));
    } else {
        document.insert(QStringLiteral("sortby"), QStringLiteral(";A"));
    }

    document.insert(QStringLiteral("filters"), activities->filterProxy()->filterSettings());
    document.insert(QStringLiteral("group"), activities->groupRules());
    document.insert(QStringLiteral("outline"), outline);
    const RyGanttView *gantt = activities->ganttView();
    document.insert(QStringLiteral("bars"), gantt->saveState());
    document.insert(QStringLiteral("barStyles"),
                    RyGanttViewBarStyle::toVariantList(gantt->barStyles()));
    return QString::fromUtf8(QJsonDocument::fromVariant(document).toJson(QJsonDocument::Compact));
}

// ---------------------------------------------------------------------------------------------
// Commands

void MainWindow::onColumnsAction()
{
    RySortFilterHeader *header = currentHeader();
    if (!header || !header->model())
        return;
    const bool activityPage = header == activityTree()->header();
    RyFilterDialogProxyModel *proxy
        = activityPage ? activities->filterProxy() : resources->filterProxy();
    QAbstractItemModel *model
        = activityPage ? activities->activityModel() : resources->sourceModel();
    const RySortFilterWidget *viewWidget
        = activityPage ? activities->sortFilterWidget() : resources->sortFilterWidget();

    RyGroupedColumnDialog dialog(header, this);
    auto *widget = new RySortFilterWidget(header, proxy, model, &dialog);
    widget->hide();
    if (viewWidget)
        widget->setValueDelegate(viewWidget->valueDelegate());
    if (activityPage) {
        connect(widget, &RySortFilterWidget::filtered, activities,
                &Activities::updateGanttRelationship);
    }
    connect(&dialog, &RyGroupedColumnDialog::popUp, widget, &RySortFilterWidget::onAutoFilterPopUp);
    dialog.setSortFilterWidget(widget);
    dialog.setGroupHidden(QStringLiteral("system"), true);
    if (dialog.exec() != QDialog::Accepted)
        return;

    RyHeaderState::applyColumnOrder(header, dialog.chosenColumns());
    if (activityPage) {
        activityTree()->setTreePosition(RyHeaderState::firstVisibleColumn(header));
        activities->onUpdateMergeColumns();
    }
}

void MainWindow::onGroupAction()
{
    QAbstractItemModel *model = activities->activityModel();
    if (!activities->hasProject() || !model)
        return;
    RyGroupDialog dialog(this);
    dialog.setModel(model);
    dialog.setLevelStyles(activities->levelStyles());
    for (int column = 0; column < model->columnCount(); ++column) {
        const QVariantMap description
            = model->headerData(column, Qt::Horizontal, Ry::ColumnDescriptionRole).toMap();
        if (description.value(QStringLiteral("structure")).toBool())
            dialog.setStructured(column);
        if (description.value(QStringLiteral("group")).toString() == QLatin1String("system"))
            dialog.setColumnHidden(column, true);
    }
    dialog.setGroups(activities->groupRules());
    if (dialog.exec() == QDialog::Accepted)
        activities->groupBySelection(dialog.groups());
}

void MainWindow::onDetailAction()
{
    details->setVisible(ui->actionDetail->isChecked());
}

void MainWindow::onBarStyles()
{
    const QAbstractItemModel *model = activities->activityModel();
    if (!activities->hasProject() || !model)
        return;
    QStringList columnNames;
    QStringList dateColumnNames;
    for (int column = 0; column < model->columnCount(); ++column) {
        const QVariantMap description
            = model->headerData(column, Qt::Horizontal, Ry::ColumnDescriptionRole).toMap();
        if (description.value(QStringLiteral("group")).toString() == QLatin1String("system"))
            continue;
        const QString name = model->headerData(column, Qt::Horizontal).toString();
        columnNames.append(name);
        if (description.value(QStringLiteral("datatype")).toString() == QLatin1String("datetime"))
            dateColumnNames.append(name);
    }

    RyGanttView *gantt = activities->ganttView();
    RyTimeLineHeader *timeline = gantt->header();
    RyGanttChartStylesDialog dialog(dateColumnNames, this);
    dialog.setStyles(gantt->barStyles());
    dialog.setColumnNames(columnNames);
    dialog.setDateFormats(timeline->dateFormats());
    dialog.setAlternatingRowColors(gantt->alternatingRowColors());
    dialog.setShowLinks(gantt->showLinks());
    dialog.setShowVerticalLines(gantt->showVerticalLines());
    if (dialog.exec() != QDialog::Accepted)
        return;

    gantt->setBarStyles(dialog.styles());
    gantt->setShowLinks(dialog.showLinks());
    gantt->setShowVerticalLines(dialog.showVerticalLines());
    // Units the dialog does not offer keep their formats.
    QMap<int, int> formats = timeline->dateFormats();
    const QMap<int, int> chosen = dialog.dateFormats();
    for (auto it = chosen.cbegin(); it != chosen.cend(); ++it)
        formats.insert(it.key(), it.value());
    timeline->setDateFormats(formats);
    gantt->setAlternatingRowColors(dialog.alternatingRowColors());
    activities->treeView()->setAlternatingRowColors(dialog.alternatingRowColors());
    gantt->viewport()->update();
}

void MainWindow::onExportAction()
{
    const QString path = QFileDialog::getSaveFileName(
        this, tr("Export activities"), QStringLiteral("Export.csv"), tr("CSV Files (*.csv)"));
    if (path.isEmpty())
        return;
    QString error;
    if (!CsvExport::exportTree(activityTree(), path, &error)) {
        QMessageBox::warning(this, tr("Export activities"), error);
        return;
    }
    statusBar()->showMessage(tr("File saved successfully."), 3000);
}

void MainWindow::onAbout()
{
    QString body
        = QStringLiteral(
              "<!DOCTYPE html><html><body><h1>About Tarvik</h1><p>This is version 0.0.0.0</p>"
              "<p>A read-only viewer for Microsoft Project schedules.</p>"
              "<p>Built with Qt %1, running on Qt %2.</p>"
              "<p>Released under the MIT License.</p></body></html>")
              .arg(QStringLiteral(QT_VERSION_STR), QString::fromLatin1(qVersion()));
    body.replace(QStringLiteral("0.0.0.0"), QApplication::applicationVersion());
    QMessageBox::about(this, QStringLiteral("About Tarvik"), body);
}

bool MainWindow::hasShownProject() const
{
    return activities->hasProject();
}

void MainWindow::onSnip()
{
    if (!hasShownProject())
        return;
    RyViewSnapshot snapshot(nullptr, activities->ganttView());
    RyPageContent content = RyPageContent::fromChart(activities->ganttView());
    content.setBeforePaint([&snapshot] { snapshot.hold(); });
    RySnipDialog dialog(&content, this);
    dialog.exec();
}

void MainWindow::onPrintMenu()
{
    if (!hasShownProject())
        return;
    RyViewSnapshot snapshot(activities->treeView(), activities->ganttView());
    RyPageContent content
        = RyPageContent::fromViews(activities->treeView(), activities->ganttView());
    content.setBeforePaint([&snapshot] { snapshot.hold(); });
    RyPrintDialog dialog(&content, this);
    dialog.exec();
}

void MainWindow::onImportLayout()
{
    const QString path
        = QFileDialog::getOpenFileName(this, QStringLiteral("Select files to open"), QString(),
                                       QStringLiteral("Layout files (*.plf)"));
    if (!path.isEmpty())
        importP6Layout(path);
}

bool MainWindow::importP6Layout(const QString &path)
{
    QString text;
    P6LayoutImporter::Status status = P6LayoutImporter::readFile(path, &text);
    if (status == P6LayoutImporter::Status::Ok) {
        status = importP6Views({ QVariantMap { { QStringLiteral("VIEW_ID"), 0 },
                                               { QStringLiteral("VIEW_NAME"), path },
                                               { QStringLiteral("VIEW_DATA"), text } } });
    }
    if (status == P6LayoutImporter::Status::Ok)
        return true;
    QMessageBox::warning(
        this, QStringLiteral("Import layout"),
        QStringLiteral("The layout file could not be imported:\n%1\n\n%2")
            .arg(QDir::toNativeSeparators(path), P6LayoutImporter::reason(status)));
    return false;
}

P6LayoutImporter::Status MainWindow::importP6Views(const QList<QVariantMap> &views)
{
    const P6LayoutImporter importer;
    QList<P6Layout> imported;
    P6LayoutImporter::Status status = P6LayoutImporter::Status::NoColumns;
    for (const QVariantMap &view : views) {
        P6Layout layout;
        status = importer.importView(view, &layout);
        if (status == P6LayoutImporter::Status::Ok)
            imported.append(layout);
    }
    // A file that gives nothing must not cost the user the layouts imported before.
    if (imported.isEmpty())
        return status;
    setImportedLayouts(imported);
    return P6LayoutImporter::Status::Ok;
}

void MainWindow::onOpenFileAction()
{
    const QString path = QFileDialog::getOpenFileName(
        this, QStringLiteral("Select files to open"), m_lastFolder,
        QStringLiteral("Project files (") + QStringLiteral("*.mpp") + QStringLiteral(")"));
    if (path.isEmpty() || hasSuffix(path, QStringLiteral("xer")))
        return;
    if (path.endsWith(QStringLiteral(".mpp"), Qt::CaseInsensitive))
        openProject(path);
}

void MainWindow::closeProjectViews()
{
    activities->onCloseProject();
    details->clear();
}

void MainWindow::deleteLoader()
{
    if (!loader)
        return;
    // The worker may still be returning from load() after its last signal.
    loadFuture.waitForFinished();
    loader->clear();
    loader.reset();
}

void MainWindow::openProject(const QString &path)
{
    closeProjectViews();
    deleteLoader();

    loader.reset(new MPPLoader);
    const QString schema = RyTextFile::readTextFile(QStringLiteral(":/files/mppr.json"));
    loader->setSchema(QJsonDocument::fromJson(schema.toUtf8()));
    connect(loader.get(), &ProjectLoader::started, this, &MainWindow::showProgress);
    connect(loader.get(), &ProjectLoader::progress, this, &MainWindow::setProgress,
            Qt::QueuedConnection);
    connect(loader.get(), &ProjectLoader::finished, this, &MainWindow::onMppLoadDone);
    connect(loader.get(), &MPPLoader::failed, this, &MainWindow::onMppLoadFailed);

    MPPLoader *worker = loader.get();
    const QString file = path;
    loadFuture
        = QtConcurrent::run(QThreadPool::globalInstance(), [worker, file] { worker->load(file); });

    m_lastFolder = QFileInfo(path).absolutePath();
    m_settings->setValue(SettingsStore::LastFolderKey, m_lastFolder);

    RecentEntry entry;
    entry.file = path;
    entry.name = path;
    entry.type = 0;
    recentFiles.add(entry);
    rebuildRecentMenu();

    connect(activities->treeView()->selectionModel(), &QItemSelectionModel::currentRowChanged,
            details, &ActivityDetails::onRowChanged, Qt::UniqueConnection);
    // The loader learns the path on the worker thread; the title uses our own copy.
    setWindowTitle(path);
}

bool MainWindow::isLoading() const
{
    return loader && !loadFuture.isFinished();
}

bool MainWindow::isCurrentLoader(const QObject *object) const
{
    // Signals of a loader that was replaced meanwhile may still be queued.
    return loader && (!object || object == loader.get());
}

void MainWindow::onMppLoadDone()
{
    if (!isCurrentLoader(sender()))
        return;
    // The worker emits finished() just before it returns from load(): wait for that return, so
    // the load counts as ended (isLoading()) and the worker is done with the loader before the
    // window takes over its models. The wait is short as no work is left on the worker.
    loadFuture.waitForFinished();
    auto table = [this](const char *name) {
        return qobject_cast<QAbstractItemModel *>(loader->model(QLatin1String(name)));
    };
    QAbstractItemModel *activityModel = table("ActivityModel");
    activities->setModels(activityModel, table("PROJWBS"), table("ACTVTYPE"), table("ACTVCODE"),
                          table("TASKPRED"), true);

    QAbstractItemModel *resourceModel = table("ResourceModel");
    details->setActivityModel(activityModel);
    details->setResourceModel(resourceModel);
    details->setPredecessorModel(table("PredecessorModel"));
    details->setCodeModel(table("CodeModel"));
    setupAssignmentTable(details->resourceTable());
    resources->setModel(resourceModel);
    setupAssignmentTable(resources->tableView());

    updateToolBarActions();

    QTreeView *tree = activities->treeView();
    RyHeaderState::applyColumnOrder(tree->header(),
                              { QStringLiteral("Activity ID"), QStringLiteral("Activity Name"),
                                QStringLiteral("Activity Type"), QStringLiteral("Start Date"),
                                QStringLiteral("Finish Date"), QStringLiteral("WBS Code"),
                                QStringLiteral("WBS Name") });
    tree->setTreePosition(RyHeaderState::firstVisibleColumn(tree->header()));
    activities->onUpdateMergeColumns();

    applyLayout(RyTextFile::readTextFile(QStringLiteral(":/files/mpp_style.json")));
    // A first look that shows what was opened: IDs readable, headers whole.
    activities->treeView()->fitTreeColumn(400);
    resources->fitColumns(300);
    restorePendingView();
    updateStatusText();

    setProgress(100, QStringLiteral("Done"));
    hideProgress();
    emit projectLoadEnded(true);
}

QString MainWindow::loadFailureReason(int status)
{
    switch (status) {
    case 1:
        return QStringLiteral("It is not a file that Tarvik can read: it is no compound file, "
                              "or it is damaged.");
    case 3:
        return QStringLiteral("It is not a supported Microsoft Project file version.");
    case 5:
        return QStringLiteral("The file is damaged: records it needs are missing or unreadable.");
    case 6:
        return QStringLiteral("A required field is missing from the file. The file may be "
                              "password-protected.");
    default:
        return QStringLiteral("The file could not be read (status %1).").arg(status);
    }
}

void MainWindow::onMppLoadFailed(int status, QString path)
{
    if (!isCurrentLoader(sender()))
        return;
    const QString file = path.isEmpty() ? windowTitle() : path;
    hideProgress();
    closeProjectViews();
    deleteLoader();
    setWindowTitle(QStringLiteral("Tarvik"));
    updateToolBarActions();
    updateStatusText();
    QMessageBox::warning(this, QStringLiteral("Open file"),
                         QStringLiteral("The file could not be opened:\n%1\n\n%2")
                             .arg(QDir::toNativeSeparators(file), loadFailureReason(status)));
    emit projectLoadEnded(false);
}

void MainWindow::showProgress()
{
    if (!progressDialog) {
        progressDialog = new QProgressDialog;
        progressDialog->setFixedWidth(250);
        progressDialog->setAutoReset(false);
        progressDialog->setAutoClose(false);
        progressDialog->setLabelText(QStringLiteral("Project load"));
        progressDialog->setCancelButton(nullptr);
        progressDialog->setWindowModality(Qt::ApplicationModal);
    }
    progressDialog->show();
}

void MainWindow::setProgress(int value, QString text)
{
    if (!progressDialog)
        return;
    progressDialog->setValue(value);
    // setValue() may have delivered the load's end, which hides the dialog.
    if (progressDialog)
        progressDialog->setLabelText(text);
}

void MainWindow::hideProgress()
{
    if (!progressDialog)
        return;
    QProgressDialog *dialog = progressDialog;
    progressDialog = nullptr;
    dialog->hide();
    // Deferred: this may run inside the dialog's own setValue().
    dialog->deleteLater();
}

void MainWindow::setupAssignmentTable(QTableView *tableView)
{
    if (!tableView || !tableView->model())
        return;
    QHeaderView *header = tableView->horizontalHeader();
    for (int column = 0; column <= 5; ++column)
        tableView->hideColumn(column);
    const int type = RyHeaderState::findSection(header, QStringLiteral("rsrc_type"), Ry::ColumnIdRole);
    if (type >= 0)
        header->swapSections(header->visualIndex(type), 6);
    const int name = RyHeaderState::findSection(header, QStringLiteral("rsrc_name"), Ry::ColumnIdRole);
    if (name >= 0)
        header->swapSections(header->visualIndex(name), 7);
    for (const char *id :
         { "act_reg_qty", "cost_per_qty", "target_cost", "act_start_date", "act_end_date" }) {
        const int column = RyHeaderState::findSection(header, QLatin1String(id), Ry::ColumnIdRole);
        if (column >= 0)
            tableView->hideColumn(column);
    }
    RyHeaderState::setFixedSectionSize(tableView->verticalHeader(), Ry::RowHeight);
    tableView->setItemDelegate(new RyDetailDelegate(
        QPixmap(QStringLiteral(":/images/resource_human-task.png")), type, tableView));
}

QTreeView *MainWindow::activityTree() const
{
    return activities->treeView();
}

void MainWindow::updateTimeChecks()
{
    const quint8 flags = activities->ganttView()->timelineFlags();
    const QList<QPair<QAction *, quint8>> scales = timeScales();
    for (const auto &scale : scales)
        scale.first->setChecked(flags & scale.second);
}

QList<QPair<QAction *, quint8>> MainWindow::timeScales() const
{
    return { { ui->actionDay, Ry::Day },
             { ui->actionWeek, Ry::Week },
             { ui->actionMonth, Ry::Month },
             { ui->actionQuarter, Ry::Quarter },
             { ui->actionYear, Ry::Year } };
}

void MainWindow::updateToolBarActions()
{
    const QAbstractItemModel *model = activityTree()->model();
    const bool available = model && model->rowCount() > 0;
    for (QAction *command : { ui->actionColumns, ui->actionGroup, ui->actionDetail,
                              ui->actionExport, ui->actionStyles }) {
        command->setEnabled(available);
    }
    for (QAction *command : { ui->actionFind, ui->actionFindNext, ui->actionFindPrevious,
                              ui->actionZoomIn, ui->actionZoomOut, ui->actionZoomFit }) {
        command->setEnabled(available);
    }
    updateOutputActions();
    for (QMenu *menu : { menuOutline, menuTime, menuView }) {
        menu->setEnabled(available);
        menu->menuAction()->setEnabled(available);
    }
    updateTimeChecks();
    activities->onHeaderSizeChanged();
}

void MainWindow::setGanttTimelime()
{
    RyGanttView *gantt = activities->ganttView();
    quint8 flags = gantt->timelineFlags();
    const QList<QPair<QAction *, quint8>> scales = timeScales();
    for (const auto &scale : scales) {
        if (scale.first->isChecked())
            flags |= scale.second;
        else
            flags &= ~scale.second;
    }
    // At least one scale always remains: the one just unchecked comes back.
    if (flags) {
        gantt->setTimelineFlags(flags);
    } else if (auto *action = qobject_cast<QAction *>(sender())) {
        action->setChecked(true);
    }
}

void MainWindow::onOutlineChanged()
{
    auto *action = qobject_cast<QAction *>(sender());
    if (!action)
        return;
    QTreeView *tree = activityTree();
    {
        const QSignalBlocker blocker(tree);
        if (action == ui->actionExpand) {
            tree->expand(tree->currentIndex());
        } else if (action == ui->actionCollapse) {
            tree->collapse(tree->currentIndex());
        } else if (action == ui->actionExpand_All) {
            tree->expandAll();
        } else if (action == ui->actionCollapse_All) {
            tree->collapseAll();
        } else {
            const int level = levelActions().indexOf(action) + 1;
            if (level > 0)
                tree->expandToDepth(level - 1);
        }
        outline = action->text();
    }
    // The chart follows expanded/collapsed signals, which were blocked above.
    activities->ganttView()->onVisibleItemsChanged();
}

void MainWindow::onExpandCollapseClicked()
{
    QTreeView *tree = activityTree();
    const QAbstractItemModel *model = tree->model();
    if (!model || model->rowCount() == 0)
        return;
    if (tree->isExpanded(model->index(0, 0))) {
        tree->collapseAll();
        outline = QStringLiteral("Level 0");
    } else {
        tree->expandAll();
        outline = QStringLiteral("Level 7");
    }
    activities->ganttView()->onVisibleItemsChanged();
}

void MainWindow::setView(QAction *action)
{
    if (action == ui->actionGanttChart || action == ui->actionTrackingGanttChart) {
        ui->stackedWidget->setCurrentIndex(0);
        ui->actionDetail->setVisible(true);
        activities->ganttView()->setTrackingMode(action == ui->actionTrackingGanttChart);
    } else if (action == ui->actionResources) {
        ui->stackedWidget->setCurrentIndex(1);
        ui->actionDetail->setVisible(false);
        activities->ganttView()->setTrackingMode(false);
    } else {
        return;
    }
    updateColumnsIcon();
}

void MainWindow::onDefaultViewClicked()
{
    ui->actionGanttChart->setChecked(true);
    setView(ui->actionGanttChart);
}

RySortFilterHeader *MainWindow::currentHeader() const
{
    if (ui->stackedWidget->currentIndex() == 0)
        return qobject_cast<RySortFilterHeader *>(activityTree()->header());
    if (ui->stackedWidget->currentIndex() == 1)
        return qobject_cast<RySortFilterHeader *>(resources->tableView()->horizontalHeader());
    return nullptr;
}

void MainWindow::updateColumnsIcon()
{
    const RySortFilterHeader *header = currentHeader();
    if (!header)
        return;
    ui->actionColumns->setIcon(QIcon(header->hasFilteredColumns()
                                         ? QStringLiteral(":/images/table_column_filter_32.png")
                                         : QStringLiteral(":/images/table_column_f_32.png")));
}

void MainWindow::onCloseAction()
{
    closeProjectViews();
    updateStatusText();
    if (loader) {
        loadFuture.waitForFinished();
        loader->clear();
    }
    updateOutputActions();
}

// Export, Print and Snip have nothing to work on without a shown project.
void MainWindow::updateOutputActions()
{
    const bool shown = hasShownProject();
    for (QAction *command : { ui->actionExport, ui->actionPrint, ui->actionSnip })
        command->setEnabled(shown);
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
    connect(m_zoom, &RyGanttZoom::timelineFlagsChanged, this, &MainWindow::updateTimeChecks);

    QMenu *view = ui->menuViewMain;
    view->addMenu(menuView);
    view->addMenu(menuOutline);
    view->addMenu(menuTime);
    view->addSeparator();
    view->addActions({ ui->actionColumns, ui->actionGroup, ui->actionStyles, ui->actionDetail });
    view->addSeparator();
    view->addActions({ ui->actionFind, ui->actionFindNext, ui->actionFindPrevious });
    view->addSeparator();
    view->addActions({ ui->actionZoomIn, ui->actionZoomOut, ui->actionZoomFit });
    KeyboardAccess::setToolTips(ui->mainToolBar);

    // A widget rather than a message: status tips of menus and buttons would wipe a message.
    m_activityCount = new QLabel(this);
    m_activityCount->setObjectName(QStringLiteral("activityCountLabel"));
    statusBar()->addWidget(m_activityCount);
    if (auto *header = qobject_cast<RySortFilterHeader *>(activityTree()->header()))
        connect(header, &RySortFilterHeader::filterSettingsChanged, this,
                &MainWindow::updateStatusText);
    updateToolBarActions();
}

void MainWindow::openProjectFile(const QString &path)
{
    const QString file = QFileInfo(path).absoluteFilePath();
    const QString problem = ProjectFiles::problem(file);
    if (problem.isEmpty()) {
        openProject(file);
        return;
    }
    QMessageBox::warning(this, QStringLiteral("Open file"),
                         QStringLiteral("The file could not be opened:\n%1\n\n%2")
                             .arg(QDir::toNativeSeparators(file), problem));
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

namespace {

// Flags are stored as 0 or 1; anything else counts as damaged and is ignored.
bool readFlag(const QVariant &stored, bool *flag)
{
    bool ok = false;
    const int value = stored.toInt(&ok);
    if (!ok || (value != 0 && value != 1))
        return false;
    *flag = value == 1;
    return true;
}

} // namespace

void MainWindow::restoreSettings()
{
    m_settings.reset(new SettingsStore(LayoutStore::ConnectionName));
    // Qt's restore functions reject damaged data and then leave everything unchanged.
    if (restoreGeometry(m_settings->value(SettingsStore::WindowGeometryKey).toByteArray()))
        WindowPlacement::keepOnScreen(this);
    restoreState(m_settings->value(SettingsStore::WindowStateKey).toByteArray());
    m_findBar->hide();
    bool detail = false;
    if (readFlag(m_settings->value(SettingsStore::DetailKey), &detail)) {
        ui->actionDetail->setChecked(detail);
        onDetailAction();
    }
    // After the details form is shown: a hidden pane's stored size would be dropped.
    splitter->restoreState(m_settings->value(SettingsStore::SplitterKey).toByteArray());
    m_pendingView = m_settings->value(SettingsStore::ViewKey).toString();
    const QString folder = m_settings->value(SettingsStore::LastFolderKey).toString();
    if (QFileInfo(folder).isDir())
        m_lastFolder = folder;
}

void MainWindow::saveSettings()
{
    m_settings->setValue(SettingsStore::WindowGeometryKey, saveGeometry());
    m_settings->setValue(SettingsStore::WindowStateKey, saveState());
    // A hidden details form has no size of its own: keep the last arrangement that had one.
    if (ui->actionDetail->isChecked())
        m_settings->setValue(SettingsStore::SplitterKey, splitter->saveState());
    m_settings->setValue(SettingsStore::DetailKey, ui->actionDetail->isChecked() ? 1 : 0);
    if (QAction *view = viewGroup->checkedAction())
        m_settings->setValue(SettingsStore::ViewKey, view->objectName());
}

void MainWindow::restorePendingView()
{
    const QString name = m_pendingView;
    m_pendingView.clear();
    for (QAction *view : viewGroup->actions()) {
        if (!name.isEmpty() && view->objectName() == name) {
            view->setChecked(true);
            setView(view);
        }
    }
}

void MainWindow::updateStatusText()
{
    m_activityCount->setText(RyActivityStatus::text(*activities));
}
