#include "app/comparecontroller.h"

#include "app/mainwindowform.h"
#include "app/projectfiles.h"
#include "app/projectopener.h"
#include "filter/ryfilterdialogproxymodel.h"
#include "gantt/ryganttview.h"
#include "gantt/ryganttviewbarstyle.h"
#include "models/ryconstants.h"
#include "models/ryjoinproxymodel.h"
#include "models/ryvaluetext.h"
#include "tables/mpploader.h"
#include "tables/mppmodel.h"
#include "views/activities.h"
#include "views/rygroupedtreeview.h"
#include "views/rygroupedtreeviewdelegate.h"
#include "views/rysortfilterheader.h"

#include <QAction>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLocale>
#include <QMainWindow>
#include <QSignalBlocker>
#include <QStatusBar>

#include <algorithm>

namespace {

// The Compare columns the activity view gains, in order; the first three are shown at once.
const QList<int> &joinedColumns()
{
    static const QList<int> columns
        = { RyCompareModel::Change,        RyCompareModel::ChangedFields,
            RyCompareModel::FinishDelta,   RyCompareModel::StartDelta,
            RyCompareModel::DurationDelta, RyCompareModel::TotalFloatDelta,
            RyCompareModel::OldStart,      RyCompareModel::OldFinish };
    return columns;
}
constexpr int ShownColumns = 3;

const MPPModel *loaderTable(const ProjectOpener *opener, const char *name)
{
    const MPPLoader *loader = opener ? opener->loader() : nullptr;
    return loader ? qobject_cast<const MPPModel *>(loader->model(QLatin1String(name))) : nullptr;
}

// Shows or hides the "Previous Version" bars, adding the style when the chart has none.
void showPreviousVersion(RyGanttView *gantt, bool shown)
{
    QList<RyGanttViewBarStyle> styles = gantt->barStyles();
    auto it = std::find_if(styles.begin(), styles.end(), [](const RyGanttViewBarStyle &style) {
        return style.styleName == RyGanttViewBarStyle::PreviousVersionName;
    });
    if (it == styles.end()) {
        if (!shown)
            return;
        styles.append(RyGanttViewBarStyle::previousVersionStyle());
        it = styles.end() - 1;
    }
    it->visible = shown;
    gantt->setBarStyles(styles);
}

QString count(int value)
{
    return QLocale::c().toString(value);
}

} // namespace

CompareController::CompareController(QMainWindow *window, const MainWindowForm &form,
                                     Activities *activities, ProjectOpener *current)
    : QObject(window)
    , m_window(window)
    , m_form(form)
    , m_activities(activities)
    , m_current(current)
    , m_old(new ProjectOpener(window))
    , m_summary(new QLabel(window))
{
    m_old->setMessageTitle(QStringLiteral("Compare with"));
    m_summary->setObjectName(QStringLiteral("compareSummaryLabel"));
    m_summary->hide();
    window->statusBar()->addPermanentWidget(m_summary);
    connect(form.actionCompare, &QAction::triggered, this, &CompareController::chooseFile);
    connect(form.actionEndCompare, &QAction::triggered, this, &CompareController::endComparison);
    // The views are about to let go of the project: no need to give them back their rows.
    connect(form.actionClose, &QAction::triggered, this, [this] {
        discard();
        m_form.actionCompare->setEnabled(false);
    });
    connect(current, &ProjectOpener::closing, this, &CompareController::discard);
    connect(current, &ProjectOpener::loadEnded, this, &CompareController::updateActions);
    connect(m_old, &ProjectOpener::loaded, this, &CompareController::onOldLoaded);
    connect(m_old, &ProjectOpener::loadEnded, this, &CompareController::onOldLoadEnded);
    updateActions();
}

CompareController::~CompareController()
{
    m_old->close();
}

bool CompareController::isReading() const
{
    return m_old->isLoading();
}

void CompareController::chooseFile()
{
    const QString folder = QFileInfo(m_window->windowTitle()).absolutePath();
    const QString path = QFileDialog::getOpenFileName(
        m_window, QStringLiteral("Compare with"), folder, QStringLiteral("Project files (*.mpp)"));
    if (!path.isEmpty())
        compareWith(path);
}

void CompareController::compareWith(const QString &path)
{
    if (!m_activities->hasProject() || !m_current->loader() || isReading())
        return;
    const QString file = QFileInfo(path).absoluteFilePath();
    const QString problem = ProjectFiles::problem(file);
    if (!problem.isEmpty()) {
        m_old->reportFailure(file, problem);
        emit comparisonEnded(false);
        return;
    }
    m_readPath = file;
    m_old->open(file);
    updateActions();
}

void CompareController::onOldLoaded()
{
    const MPPLoader *older = m_old->loader();
    const MPPLoader *newer = m_current->loader();
    if (!older || !newer || !m_activities->hasProject())
        return;
    auto model = std::make_unique<RyCompareModel>(
        RyCompareVersion::fromLoader(*older), RyCompareVersion::fromLoader(*newer),
        RyCompareModel::minutesPerDayOf(newer->project()));
    model->setObjectName(QStringLiteral("CompareModel"));
    show(std::move(model), m_readPath);
}

void CompareController::onOldLoadEnded(bool loaded)
{
    // The old version's tables are not needed once the comparison holds what it shows.
    m_old->close();
    updateActions();
    emit comparisonEnded(loaded && isComparing());
}

void CompareController::show(std::unique_ptr<RyCompareModel> model, const QString &oldPath)
{
    auto *join = qobject_cast<RyJoinProxyModel *>(m_activities->activityModel());
    if (!join || !join->sourceModel())
        return;
    endComparison();
    m_model = std::move(model);
    m_oldPath = oldPath;
    m_activities->changeActivityRows([this, join] {
        m_firstColumn = join->columnCount();
        addDeletedRows(*join);
        join->addJoin(m_model.get(), RyCompareModel::RowKey, joinedColumns(), 0);
        // The deleted rows' WBS ids were written after their rows were matched.
        join->resetMappings();
    });
    QHeaderView *header = m_activities->treeView()->header();
    for (int k = 0; k < joinedColumns().size(); ++k)
        header->setSectionHidden(m_firstColumn + k, k >= ShownColumns);
    if (auto *delegate
        = qobject_cast<RyGroupedTreeViewDelegate *>(m_activities->treeView()->itemDelegate())) {
        delegate->setStruckOutRows(m_firstColumn,
                                   RyCompareModel::changeName(RyCompareModel::ChangeKind::Deleted));
    }
    showPreviousVersion(m_activities->ganttView(), true);
    const MPPLoader *newer = m_current->loader();
    m_linkChanges = std::make_unique<RyLinkChangeModel>(
        qobject_cast<QAbstractItemModel *>(newer->model(QStringLiteral("PredecessorModel"))),
        *m_model);
    emit linkChangesChanged(m_linkChanges.get());
    m_summary->setText(summaryText());
    m_summary->show();
    updateActions();
}

// Each deleted activity becomes a row of the record set keyed by its RowKey, so that no task
// row joins it; its task cells are the old version's, its WBS id the new version's node of
// the same id (matched by unique ID) or of the same path, so that grouping by WBS puts it
// under its old WBS node.
void CompareController::addDeletedRows(RyJoinProxyModel &join)
{
    QAbstractItemModel *records = join.sourceModel();
    const MPPModel *oldTasks = loaderTable(m_old, "TASK");
    const MPPModel *newTasks = loaderTable(m_current, "TASK");
    QVector<const RyCompareModel::Activity *> deleted;
    for (const RyCompareModel::Activity &a : m_model->activities()) {
        if (a.change == RyCompareModel::ChangeKind::Deleted)
            deleted.append(&a);
    }
    m_firstDeletedRow = records->rowCount();
    m_deletedRows = deleted.size();
    if (deleted.isEmpty() || !records->insertRows(m_firstDeletedRow, deleted.size())) {
        m_deletedRows = 0;
        return;
    }
    QHash<qint32, int> oldTaskRow;
    const int oldIdColumn = oldTasks ? oldTasks->columnOf(QStringLiteral("task_id")) : -1;
    for (int row = 0; oldIdColumn >= 0 && row < oldTasks->rowCount(); ++row)
        oldTaskRow.insert(oldTasks->index(row, oldIdColumn).data().toInt(), row);
    // The task columns of the activity model and their old-table columns.
    QVector<QPair<int, int>> taskColumns;
    int wbsColumn = -1;
    for (int column = 0; oldTasks && column < m_firstColumn; ++column) {
        if (join.sourceModelForColumn(column) != newTasks)
            continue;
        const QString id = join.headerData(column, Qt::Horizontal, Ry::ColumnIdRole).toString();
        if (id == QLatin1String("wbs_id"))
            wbsColumn = column;
        else if (id != QLatin1String("task_id") && oldTasks->columnOf(id) >= 0)
            taskColumns.append({ column, oldTasks->columnOf(id) });
    }
    const RyCompareVersion &older = m_model->oldVersion();
    const RyCompareVersion &newer = m_model->newVersion();
    QHash<QString, qint32> newWbsOfPath;
    for (auto it = newer.wbsPaths().cbegin(); it != newer.wbsPaths().cend(); ++it)
        newWbsOfPath.insert(it.value(), it.key());
    const bool sameIds = m_model->summary().matching == RyCompareModel::Matching::UniqueId;
    {
        // The keys are matched once all are written (resetMappings), the tree is built after.
        const QSignalBlocker blocker(records);
        for (int k = 0; k < deleted.size(); ++k) {
            records->setData(records->index(m_firstDeletedRow + k, 0),
                             RyCompareModel::deletedKey(deleted.at(k)->uniqueId));
        }
    }
    for (int k = 0; k < deleted.size(); ++k) {
        const int row = m_firstDeletedRow + k;
        const RyCompareModel::Activity &a = *deleted.at(k);
        const int oldRow = oldTaskRow.value(a.uniqueId, -1);
        for (const auto &column : qAsConst(taskColumns)) {
            if (oldRow >= 0)
                join.setData(join.index(row, column.first),
                             oldTasks->index(oldRow, column.second).data());
        }
        const qint32 oldWbs = older.activities().at(a.oldRow).parent;
        const qint32 newWbs = sameIds && newer.wbsPaths().contains(oldWbs)
            ? oldWbs
            : newWbsOfPath.value(older.wbsPath(oldWbs), -1);
        if (wbsColumn >= 0 && newWbs >= 0)
            join.setData(join.index(row, wbsColumn), newWbs);
    }
}

void CompareController::endComparison()
{
    if (!m_model)
        return;
    auto *join = qobject_cast<RyJoinProxyModel *>(m_activities->activityModel());
    const int count = joinedColumns().size();
    if (join && join->joins().size() && m_activities->hasProject()) {
        // Filters and the sort of the columns that go would land on the columns after them.
        RyFilterDialogProxyModel *filter = m_activities->filterProxy();
        RySortFilterHeader *header = m_activities->sortFilterHeader();
        for (int column = m_firstColumn; column < m_firstColumn + count; ++column) {
            if (filter->isColumnFiltered(column)) {
                filter->clearFilter(column);
                header->removeFilteredColumn(column);
            }
        }
        if (filter->sortColumn() >= m_firstColumn && filter->sortColumn() < m_firstColumn + count) {
            filter->sort(-1, Qt::AscendingOrder);
            header->setSort(-1, Qt::AscendingOrder);
        }
        m_activities->changeActivityRows([this, join] {
            join->removeJoin(m_model.get());
            if (m_deletedRows > 0)
                join->sourceModel()->removeRows(m_firstDeletedRow, m_deletedRows);
        });
        emit header->filterSettingsChanged();
    }
    discard();
}

void CompareController::discard()
{
    if (!m_model)
        return;
    if (auto *delegate
        = qobject_cast<RyGroupedTreeViewDelegate *>(m_activities->treeView()->itemDelegate()))
        delegate->setStruckOutRows(-1, QString());
    showPreviousVersion(m_activities->ganttView(), false);
    emit linkChangesChanged(nullptr);
    m_linkChanges.reset();
    m_model.reset();
    m_deletedRows = 0;
    m_firstDeletedRow = m_firstColumn = -1;
    m_summary->clear();
    m_summary->hide();
    updateActions();
}

QString CompareController::summaryText() const
{
    if (!m_model)
        return QString();
    return QStringLiteral("Compared with %1: %2")
        .arg(QFileInfo(m_oldPath).fileName(),
             summaryText(m_model->summary(), m_model->newVersion().activities().size()));
}

QString CompareController::summaryText(const RyCompareModel::Summary &summary, int newActivities)
{
    const QString slip = summary.finishSlipDays == 0
        ? QStringLiteral("finish unchanged")
        : QStringLiteral("finish %1%2 working day%3")
              .arg(summary.finishSlipDays > 0 ? QStringLiteral("+") : QString(),
                   RyValueText::displayText(summary.finishSlipDays),
                   qAbs(summary.finishSlipDays) == 1 ? QString() : QStringLiteral("s"));
    QString matching = QStringLiteral("matched by unique ID");
    if (summary.matching == RyCompareModel::Matching::WbsName) {
        matching = QStringLiteral("few unique IDs in common: %1 of %2 activities matched by WBS "
                                  "path and name")
                       .arg(count(summary.changed + summary.unchanged), count(newActivities));
    }
    return QStringLiteral("%1 added, %2 deleted, %3 changed, %4 unchanged; %5; %6")
        .arg(count(summary.added), count(summary.deleted), count(summary.changed),
             count(summary.unchanged), slip, matching);
}

void CompareController::updateActions()
{
    const bool project = m_activities->hasProject() && m_current->loader();
    m_form.actionCompare->setEnabled(project && !isReading());
    m_form.actionEndCompare->setEnabled(isComparing());
}
