#include "app/viewcommands.h"

#include "app/mainwindowform.h"
#include "gantt/ryganttview.h"
#include "models/ryconstants.h"
#include "models/ryvaluetext.h"
#include "mppr/project.h"
#include "tables/mppworkingtime.h"
#include "views/activities.h"
#include "views/resources.h"
#include "views/rygroupedtreeview.h"
#include "views/rysortfilterheader.h"

#include <QAction>
#include <QActionGroup>
#include <QHeaderView>
#include <QIcon>
#include <QMenu>
#include <QSignalBlocker>
#include <QStackedWidget>
#include <QTableView>

ViewCommands::ViewCommands(MainWindowForm &form, Activities *activities, Resources *resources,
                           QWidget *window)
    : QObject(window)
    , ui(form)
    , m_activities(activities)
    , m_resources(resources)
{
    createMenus(window);
    connectCommands();
}

void ViewCommands::createMenus(QWidget *window)
{
    m_outlineMenu = new QMenu(QStringLiteral("Outline"), window);
    m_outlineMenu->setObjectName(QStringLiteral("menuOutline"));
    m_outlineMenu->setIcon(QIcon(QStringLiteral(":/images/outline_32.png")));
    const QList<QAction *> outline = outlineCommands();
    for (int i = 0; i < outline.size(); ++i) {
        // The single-row commands stand apart from those that reshape the whole tree.
        if (outline.at(i) == ui.actionExpand_All)
            m_outlineMenu->addSeparator();
        m_outlineMenu->addAction(outline.at(i));
    }

    m_viewMenu = new QMenu(QStringLiteral("View"), window);
    m_viewMenu->setObjectName(QStringLiteral("menuView"));
    m_viewMenu->setIcon(QIcon(QStringLiteral(":/images/table_stack.png")));
    m_viewGroup = new QActionGroup(window);
    m_viewGroup->setExclusive(true);
    for (QAction *view : { ui.actionGanttChart, ui.actionTrackingGanttChart, ui.actionResources }) {
        m_viewGroup->addAction(view);
        m_viewMenu->addAction(view);
    }

    m_timeMenu = new QMenu(QStringLiteral("Time"), window);
    m_timeMenu->setObjectName(QStringLiteral("menuTime"));
    m_timeMenu->setIcon(QIcon(QStringLiteral(":/images/time_f_32.png")));
    m_timeMenu->setToolTip(QStringLiteral("Time Scales"));
    m_timeMenu->menuAction()->setToolTip(QStringLiteral("Time Scales"));
    const QList<QPair<QAction *, quint8>> scales = timeScales();
    // Widest scale first.
    for (auto it = scales.crbegin(); it != scales.crend(); ++it)
        m_timeMenu->addAction(it->first);

    m_unitsMenu = new QMenu(QStringLiteral("Units"), window);
    m_unitsMenu->setObjectName(QStringLiteral("menuUnits"));
    m_unitsGroup = new QActionGroup(window);
    m_unitsGroup->setExclusive(true);
    const RyValueText::DurationUnit current = RyValueText::durationFormat().unit;
    for (const auto unit : { RyValueText::DurationUnit::Hours, RyValueText::DurationUnit::Days,
                             RyValueText::DurationUnit::Weeks }) {
        const QString name = RyValueText::durationUnitName(unit);
        QAction *action = m_unitsMenu->addAction(name);
        action->setObjectName(QStringLiteral("actionUnits") + name);
        action->setCheckable(true);
        action->setChecked(unit == current);
        action->setData(name);
        m_unitsGroup->addAction(action);
    }
}

QString ViewCommands::durationUnitName() const
{
    return RyValueText::durationUnitName(RyValueText::durationFormat().unit);
}

void ViewCommands::setDurationUnitName(const QString &name)
{
    for (QAction *unit : m_unitsGroup->actions()) {
        if (unit->data().toString() == name) {
            unit->setChecked(true);
            applyDurationUnit(unit);
        }
    }
}

void ViewCommands::applyDurationUnit(QAction *unit)
{
    RyValueText::DurationFormat format = RyValueText::durationFormat();
    format.unit = RyValueText::durationUnitFromName(unit->data().toString(), format.unit);
    RyValueText::setDurationFormat(format);
    // Every view shows the texts anew; the models' values stay as they are.
    m_activities->treeView()->viewport()->update();
    m_activities->ganttView()->viewport()->update();
    m_resources->update();
}

void ViewCommands::showProjectTime(const mppr::Project &project)
{
    const mppr::ProjectProperties &p = project.properties();
    RyValueText::DurationFormat format = RyValueText::durationFormat();
    format.minutesPerDay = p.minutesPerDay;
    format.minutesPerWeek = p.minutesPerWeek;
    RyValueText::setDurationFormat(format);
    RyGanttView *gantt = m_activities->ganttView();
    gantt->setWorkingTime(MPPWorkingTime::ofProject(project));
    gantt->setDataDate(mppr::isUnset(p.statusDate) ? QDateTime::currentDateTime() : p.statusDate);
}

void ViewCommands::connectCommands()
{
    const QList<QPair<QAction *, quint8>> scales = timeScales();
    for (auto it = scales.crbegin(); it != scales.crend(); ++it) {
        QAction *scale = it->first;
        connect(scale, &QAction::triggered, this, [this, scale] { applyTimeScales(scale); });
    }
    for (QAction *command : outlineCommands())
        connect(command, &QAction::triggered, this, [this, command] { runOutline(command); });
    connect(m_viewGroup, &QActionGroup::triggered, this, &ViewCommands::setView);
    connect(m_unitsGroup, &QActionGroup::triggered, this, &ViewCommands::applyDurationUnit);
    connect(m_outlineMenu->menuAction(), &QAction::triggered, this, &ViewCommands::toggleOutline);
    connect(m_viewMenu->menuAction(), &QAction::triggered, this, &ViewCommands::showDefaultView);
}

// In the order of Outline after None.
QList<QAction *> ViewCommands::outlineCommands() const
{
    return { ui.actionExpand,  ui.actionCollapse, ui.actionExpand_All, ui.actionCollapse_All,
             ui.actionLevel_1, ui.actionLevel_2,  ui.actionLevel_3,    ui.actionLevel_4,
             ui.actionLevel_5, ui.actionLevel_6,  ui.actionLevel_7 };
}

QList<QPair<QAction *, quint8>> ViewCommands::timeScales() const
{
    return { { ui.actionHour, Ry::Hour },       { ui.actionDay, Ry::Day },
             { ui.actionWeek, Ry::Week },       { ui.actionMonth, Ry::Month },
             { ui.actionQuarter, Ry::Quarter }, { ui.actionYear, Ry::Year } };
}

QString ViewCommands::outlineText() const
{
    if (m_outline == Outline::None)
        return QString();
    return outlineCommands().at(static_cast<int>(m_outline) - 1)->text();
}

void ViewCommands::runOutlineCommand(const QString &text)
{
    // Only outline commands: a layout entry named like one ("Expand All") would otherwise be
    // triggered too and apply itself again, without end.
    for (QAction *command : outlineCommands()) {
        if (command->text() == text)
            command->trigger();
    }
}

void ViewCommands::runOutline(QAction *command)
{
    const int index = outlineCommands().indexOf(command);
    if (index < 0)
        return;
    const auto outline = static_cast<Outline>(index + 1);
    QTreeView *tree = m_activities->treeView();
    {
        const QSignalBlocker blocker(tree);
        switch (outline) {
        case Outline::None:
            break;
        case Outline::Expand:
            tree->expand(tree->currentIndex());
            break;
        case Outline::Collapse:
            tree->collapse(tree->currentIndex());
            break;
        case Outline::ExpandAll:
            tree->expandAll();
            break;
        case Outline::CollapseAll:
            tree->collapseAll();
            break;
        default:
            tree->expandToDepth(static_cast<int>(outline) - static_cast<int>(Outline::Level1));
            break;
        }
        m_outline = outline;
    }
    // The chart follows expanded/collapsed signals, which were blocked above.
    m_activities->ganttView()->onVisibleItemsChanged();
}

void ViewCommands::toggleOutline()
{
    QTreeView *tree = m_activities->treeView();
    const QAbstractItemModel *model = tree->model();
    if (!model || model->rowCount() == 0)
        return;
    // Recorded as the menu command that gives the same tree, so that a layout restores it.
    if (tree->isExpanded(model->index(0, 0))) {
        tree->collapseAll();
        m_outline = Outline::CollapseAll;
    } else {
        tree->expandAll();
        m_outline = Outline::ExpandAll;
    }
    m_activities->ganttView()->onVisibleItemsChanged();
}

void ViewCommands::setView(QAction *action)
{
    if (action == ui.actionGanttChart || action == ui.actionTrackingGanttChart) {
        ui.stackedWidget->setCurrentIndex(0);
        ui.actionDetail->setVisible(true);
        m_activities->ganttView()->setTrackingMode(action == ui.actionTrackingGanttChart);
    } else if (action == ui.actionResources) {
        ui.stackedWidget->setCurrentIndex(1);
        ui.actionDetail->setVisible(false);
        m_activities->ganttView()->setTrackingMode(false);
    } else {
        return;
    }
    updateColumnsIcon();
}

void ViewCommands::showDefaultView()
{
    ui.actionGanttChart->setChecked(true);
    setView(ui.actionGanttChart);
}

QString ViewCommands::checkedViewName() const
{
    const QAction *view = m_viewGroup->checkedAction();
    return view ? view->objectName() : QString();
}

void ViewCommands::showNamedView(const QString &name)
{
    for (QAction *view : m_viewGroup->actions()) {
        if (!name.isEmpty() && view->objectName() == name) {
            view->setChecked(true);
            setView(view);
        }
    }
}

void ViewCommands::setMenusEnabled(bool enabled)
{
    for (QMenu *menu : { m_outlineMenu, m_timeMenu, m_viewMenu }) {
        menu->setEnabled(enabled);
        menu->menuAction()->setEnabled(enabled);
    }
}

RySortFilterHeader *ViewCommands::currentHeader() const
{
    if (ui.stackedWidget->currentIndex() == 0)
        return qobject_cast<RySortFilterHeader *>(m_activities->treeView()->header());
    if (ui.stackedWidget->currentIndex() == 1)
        return qobject_cast<RySortFilterHeader *>(m_resources->tableView()->horizontalHeader());
    return nullptr;
}

void ViewCommands::updateColumnsIcon()
{
    const RySortFilterHeader *header = currentHeader();
    if (!header)
        return;
    ui.actionColumns->setIcon(QIcon(header->hasFilteredColumns()
                                        ? QStringLiteral(":/images/table_column_filter_32.png")
                                        : QStringLiteral(":/images/table_column_f_32.png")));
}

void ViewCommands::updateTimeChecks()
{
    const quint8 flags = m_activities->ganttView()->timelineFlags();
    const QList<QPair<QAction *, quint8>> scales = timeScales();
    for (const auto &scale : scales)
        scale.first->setChecked(flags & scale.second);
}

void ViewCommands::applyTimeScales(QAction *changed)
{
    RyGanttView *gantt = m_activities->ganttView();
    quint8 flags = gantt->timelineFlags();
    const QList<QPair<QAction *, quint8>> scales = timeScales();
    for (const auto &scale : scales) {
        if (scale.first->isChecked())
            flags |= scale.second;
        else
            flags &= ~scale.second;
    }
    // At least one scale always remains: the one just unchecked comes back.
    if (flags)
        gantt->setTimelineFlags(flags);
    else
        changed->setChecked(true);
}
