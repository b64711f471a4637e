#include "views/activities.h"

#include "filter/ryfilterdialogproxymodel.h"
#include "filter/rysortfilterwidget.h"
#include "gantt/ryganttlinkmodel.h"
#include "gantt/ryganttview.h"
#include "gantt/rytimelineheader.h"
#include "models/ryconstants.h"
#include "models/ryjoinproxymodel.h"
#include "models/rymodellookup.h"
#include "models/ryparentitemproxymodel.h"
#include "models/ryrecordsetmodel.h"
#include "models/ryrollup.h"
#include "views/ryactivitygrouper.h"
#include "views/rydetaildelegate.h"
#include "views/rygroupdialog.h"
#include "views/ryheaderstate.h"
#include "views/rysortfilterheader.h"
#include "views/viewslogging.h"

#include <QDateTime>
#include <QGridLayout>
#include <QHash>
#include <QHeaderView>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QSplitter>
#include <QTableView>

#include <utility>

namespace {

QString relationshipType(const QString &type)
{
    if (type == QLatin1String("PR_FF"))
        return QStringLiteral("FF");
    if (type == QLatin1String("PR_SF"))
        return QStringLiteral("SF");
    if (type == QLatin1String("PR_SS"))
        return QStringLiteral("SS");
    return QStringLiteral("FS");
}

QString columnDatatype(const QAbstractItemModel *model, int column)
{
    return model->headerData(column, Qt::Horizontal, Ry::ColumnDescriptionRole)
        .toMap()
        .value(QStringLiteral("datatype"))
        .toString();
}

} // namespace

Activities::Activities(QWidget *parent)
    : QWidget(parent)
    , m_levelStyles(defaultLevelStyles())
{
    buildForm();
    m_placeholder = new RyRecordSetModel(this);
    m_placeholder->setRecords(
        { QStringList { "Activity ID", "Activity Name", "Start", "Finish", "WBS" } });

    m_spareTable = new QTableView(m_splitter);
    m_spareTable->hide();
    m_splitter->addWidget(m_spareTable);
    m_ganttView = new RyGanttView(m_splitter);
    m_splitter->addWidget(m_ganttView);
    m_ganttView->setDataDate(QDateTime::currentDateTime());
    m_ganttView->setTimelineFlags(Ry::Month | Ry::Day);

    m_treeView->setUniformRowHeights(true);
    m_treeView->setLevelStyles(m_levelStyles);

    m_header = new RySortFilterHeader(Qt::Horizontal, m_treeView);
    m_header->setObjectName(QStringLiteral("sortFilterHeader"));
    m_treeView->setHeader(m_header);
    connect(m_header, &RySortFilterHeader::filterSettingsChanged, m_header->viewport(),
            QOverload<>::of(&QWidget::update));
    connect(m_header, &RySortFilterHeader::filterSettingsChanged, m_ganttView->viewport(),
            QOverload<>::of(&QWidget::update));
    QMetaObject::invokeMethod(m_treeView, "updateGeometries");

    m_valueDelegate = new RyDetailDelegate(QPixmap(), -1, this);
    m_parentProxy = new RyParentItemProxyModel(this);
    m_filterProxy = new RyFilterDialogProxyModel(this);
    setModels(m_placeholder, nullptr, nullptr, nullptr, nullptr, true);
    // The time scales were set before the header signal was connected; rows of table and
    // chart only line up when both headers are equally high.
    onHeaderSizeChanged();
}

Activities::~Activities()
{
    // The header must not call into the widget while both go down.
    m_header->setSortFilterWidget(nullptr);
}

void Activities::buildForm()
{
    setWindowTitle(QStringLiteral("Form"));
    resize(400, 300);
    m_gridLayout = new QGridLayout(this);
    m_gridLayout->setObjectName(QStringLiteral("gridLayout"));
    m_gridLayout->setContentsMargins(0, 0, 0, 0);
    m_splitter = new QSplitter(Qt::Horizontal, this);
    m_splitter->setObjectName(QStringLiteral("splitter"));
    m_treeView = new RyGroupedTreeView(m_splitter);
    m_treeView->setObjectName(QStringLiteral("treeView"));
    m_treeView->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_splitter->addWidget(m_treeView);
    m_gridLayout->addWidget(m_splitter, 0, 0);
}

QList<RyLevelStyle> Activities::defaultLevelStyles()
{
    // Group rows look alike until a rule gives its level a format.
    QList<RyLevelStyle> styles;
    for (int level = 0; level < 10; ++level)
        styles.append(RyLevelStyle::defaultStyle());
    return styles;
}

Activities::Batch::Batch(Activities *activities)
    : m_activities(activities)
{
    ++m_activities->m_batches;
    m_activities->m_ganttView->holdTimeRange();
}

Activities::Batch::~Batch()
{
    m_activities->endBatch();
}

void Activities::endBatch()
{
    if (--m_batches == 0) {
        // Dates first: the links and the time range read the rolled-up group rows.
        if (std::exchange(m_rollUpPending, false))
            calculateGroupings();
        if (std::exchange(m_linksPending, false))
            updateGanttRelationship();
    }
    m_ganttView->releaseTimeRange();
}

bool Activities::hasProject() const
{
    return m_activityModel && m_activityModel != m_placeholder;
}

void Activities::setModels(QAbstractItemModel *activityModel, QAbstractItemModel *wbsTable,
                           QAbstractItemModel *codeTypeTable, QAbstractItemModel *codeTable,
                           QAbstractItemModel *relationshipTable, bool updateLinks)
{
    // Group rows belong to this view's grouping; they must not become activities of the next
    // count when a grouped model is set again.
    // The tree proxy is handed the new model below: the old one's tree needs no rebuilding.
    if (m_activityModel && m_activityModel->rowCount() > m_baseRowCount)
        RyActivityGrouper::removeGrouping(m_activityModel, m_baseRowCount, m_parentProxy, false);

    m_activityModel = activityModel;
    m_wbsTable = wbsTable;
    m_codeTypeTable = codeTypeTable;
    m_codeTable = codeTable;
    m_relationshipTable = relationshipTable;

    m_parentProxy->setSourceModel(activityModel);
    m_filterProxy->setSourceModel(m_parentProxy);
    m_treeView->setModel(m_filterProxy);
    m_ganttView->setModel(m_filterProxy);
    m_ganttView->setBuddy(m_treeView);

    m_baseRowCount = activityModel ? activityModel->rowCount() : 0;
    m_treeView->setGroupColumn(RyModelLookup::findColumn(activityModel, QStringLiteral("Group")));

    connect(m_ganttView->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &Activities::onGanttSelectionChanged, Qt::UniqueConnection);
    connect(m_treeView->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &Activities::onTreeSelectionChanged, Qt::UniqueConnection);
    connect(m_ganttView, &RyGanttView::headerSizeChanged, this, &Activities::onHeaderSizeChanged,
            Qt::UniqueConnection);

    resetTreeStructure(true);
    numberRows();
    if (updateLinks)
        updateGanttRelationship();
    if (hasProject())
        replaceSortFilterWidget();
}

// Every activity at the top level, the tree taken from the "ID"/"parentID" columns.
void Activities::resetTreeStructure(bool sourceJustSet)
{
    auto *join = qobject_cast<RyJoinProxyModel *>(m_activityModel.data());
    QAbstractItemModel *records = join ? join->sourceModel() : nullptr;
    if (!records)
        return;
    const int idColumn = RyModelLookup::findColumn(records, QStringLiteral("ID"));
    const int parentColumn = RyModelLookup::findColumn(records, QStringLiteral("parentID"));
    const bool cleared = RyActivityGrouper::clearParents(records, parentColumn);
    // The joins only need matching again when keys changed: a project just read has no
    // parents yet, and matching 50,000 rows to every joined table is no small cost.
    if (cleared)
        join->resetMappings();
    // A tree just built from these columns of unchanged cells is current: building it again
    // would reset the filter, the table and the chart over every row once more.
    if (sourceJustSet && !cleared && m_parentProxy->idColumn() == idColumn
        && m_parentProxy->parentColumn() == parentColumn)
        return;
    m_parentProxy->setParentColumns(idColumn, parentColumn);
}

void Activities::replaceSortFilterWidget()
{
    if (m_sortFilterWidget) {
        m_header->setSortFilterWidget(nullptr);
        disconnect(m_header, nullptr, m_sortFilterWidget, nullptr);
        delete m_sortFilterWidget;
    }
    m_sortFilterWidget = new RySortFilterWidget(m_header, m_filterProxy, m_activityModel, this);
    m_sortFilterWidget->hide();
    m_sortFilterWidget->setValueDelegate(m_valueDelegate);
    connect(m_header, &RySortFilterHeader::popUp, m_sortFilterWidget,
            &RySortFilterWidget::onAutoFilterPopUp);
    connect(m_sortFilterWidget, &RySortFilterWidget::filtered, this,
            &Activities::updateGanttRelationship);
    m_header->setSortFilterWidget(m_sortFilterWidget);
}

void Activities::groupBySelection(const QStringList &rules)
{
    // No more levels than the Group dialog offers: each level nests its index inside the
    // last one, so a damaged layout naming a thousand levels would take minutes.
    m_groupRules = rules.mid(0, RyGroupDialog::MaxRules);
    // The look of group rows follows the rules alone: a level whose rule gives no format goes
    // back to the default instead of keeping the format of an earlier grouping.
    m_levelStyles = defaultLevelStyles();
    RyActivityGrouper::Tables tables;
    tables.wbs = m_wbsTable;
    tables.codeTypes = m_codeTypeTable;
    tables.codes = m_codeTable;
    if (m_activityModel) {
        m_baseRowCount = RyActivityGrouper::regroup(m_activityModel, m_baseRowCount, m_parentProxy,
                                                    m_groupRules, tables, &m_levelStyles);
    }
    m_treeView->setLevelStyles(m_levelStyles);
    numberRows();
    calculateGroupings();
    updateGanttRelationship();
}

void Activities::numberRows()
{
    if (m_activityModel)
        RyActivityGrouper::numberRows(m_parentProxy, m_activityModel, m_relationshipTable);
}

void Activities::sortByColumn(const QString &displayName, bool descending)
{
    const int column = RyModelLookup::findColumn(m_filterProxy, displayName);
    if (column < 0)
        return;
    const Qt::SortOrder order = descending ? Qt::DescendingOrder : Qt::AscendingOrder;
    m_filterProxy->sort(column, order);
    m_header->setSort(column, order);
}

void Activities::clearSortAndFilters()
{
    if (m_sortFilterWidget) {
        m_sortFilterWidget->clearAllFilters();
        return;
    }
    // Without a widget (no project shown) the proxy and the header marks still hold the last
    // project's filters, which would apply to the next one.
    m_filterProxy->sort(-1, Qt::AscendingOrder);
    m_filterProxy->clearAllFilters();
    m_header->setSort(-1, Qt::AscendingOrder);
    m_header->clearFilteredColumns();
}

void Activities::filterToActivities(const QVariantList &taskIds)
{
    const int column = taskIdColumn();
    if (m_sortFilterWidget && column >= 0)
        m_sortFilterWidget->setValueFilter(column, taskIds);
}

int Activities::taskIdColumn() const
{
    return RyModelLookup::findColumn(m_filterProxy, QStringLiteral("task_id"));
}

void Activities::goToActivity(const QVariant &taskId)
{
    const int column = taskIdColumn();
    if (column < 0)
        return;
    const QModelIndex index = RyModelLookup::verticalLookup(taskId, m_filterProxy, column, 0);
    if (!index.isValid())
        return;
    const int horizontal = m_treeView->horizontalScrollBar()->value();
    m_treeView->setCurrentIndex(index);
    m_treeView->scrollTo(index);
    m_treeView->horizontalScrollBar()->setValue(horizontal);
}

void Activities::changeActivityRows(const std::function<void()> &change)
{
    if (!hasProject())
        return;
    RyActivityGrouper::removeGrouping(m_activityModel, m_baseRowCount, m_parentProxy);
    change();
    m_baseRowCount = m_activityModel->rowCount();
    if (m_groupRules.isEmpty())
        resetTreeStructure();
    groupBySelection(m_groupRules);
}

void Activities::onCloseProject()
{
    m_ganttView->horizontalScrollBar()->setValue(0);
    m_groupRules.clear();
    setModels(m_placeholder, nullptr, nullptr, nullptr, nullptr, true);
    // Cleared after the models go, so that the roll-ups this sets off run over an empty model
    // instead of the whole closed project; before the widget goes, as it is what clears them.
    clearSortAndFilters();
    if (m_sortFilterWidget) {
        m_header->setSortFilterWidget(nullptr);
        delete m_sortFilterWidget;
        m_sortFilterWidget = nullptr;
    }
}

void Activities::arrangeFirstColumns()
{
    RyHeaderState::applyColumnOrder(
        m_treeView->header(),
        { QStringLiteral("Activity ID"), QStringLiteral("Activity Name"),
          QStringLiteral("Activity Type"), QStringLiteral("Start Date"),
          QStringLiteral("Finish Date"), QStringLiteral("WBS Code"), QStringLiteral("WBS Name") });
    m_treeView->setTreePosition(RyHeaderState::firstVisibleColumn(m_treeView->header()));
    onUpdateMergeColumns();
}

void Activities::onUpdateMergeColumns()
{
    // The merged group cell must not cover a date column: dates are what the user reads first.
    QVector<int> shown;
    for (int visual = 0; visual < m_header->count() && shown.size() < 3; ++visual) {
        const int logical = m_header->logicalIndex(visual);
        if (!m_header->isSectionHidden(logical))
            shown.append(logical);
    }
    auto isDate = [this, &shown](int position) {
        return position < shown.size()
            && columnDatatype(m_filterProxy, shown.at(position)) == QLatin1String("datetime");
    };
    m_treeView->setMergeCount(isDate(1) ? 0 : isDate(2) ? 1 : 2);
}

void Activities::updateGanttRelationship()
{
    if (m_batches > 0) {
        m_linksPending = true;
        return;
    }
    RyGanttLinkModel *linkModel = m_ganttView->linkModel();
    if (!m_relationshipTable) {
        linkModel->clear();
        return;
    }
    const int taskId = taskIdColumn();
    const int typeColumn = RyModelLookup::findColumn(m_relationshipTable, QStringLiteral("Type"));
    if (taskId < 0) {
        linkModel->clear();
        return;
    }
    // One walk over the shown rows instead of a search per relationship end; the first row
    // with a task id wins, as a search from the top would find. Task ids are numbers, so they
    // are hashed as such, without building a text per row.
    QHash<qlonglong, QModelIndex> rowOfTask;
    rowOfTask.reserve(m_activityModel ? m_activityModel->rowCount() : 0);
    RyModelLookup::forEachIndex(m_filterProxy, [&](const QModelIndex &row, int) {
        bool ok = false;
        const qlonglong key = row.data().toLongLong(&ok);
        if (ok && !rowOfTask.contains(key))
            rowOfTask.insert(key, row.sibling(row.row(), taskId));
    });
    auto find = [&rowOfTask](const QVariant &value) {
        bool ok = false;
        const qlonglong key = value.toLongLong(&ok);
        return ok ? rowOfTask.value(key) : QModelIndex();
    };
    const QAbstractItemModel *relationships = m_relationshipTable;
    QVector<RyGanttLinkModel::Link> links;
    links.reserve(relationships->rowCount());
    for (int row = 0; row < relationships->rowCount(); ++row) {
        const QModelIndex successor = find(relationships->index(row, 0).data());
        const QModelIndex predecessor = find(relationships->index(row, 1).data());
        if (!successor.isValid() || !predecessor.isValid())
            continue;
        const QString type
            = typeColumn >= 0 ? relationships->index(row, typeColumn).data().toString() : QString();
        links.append({ successor, predecessor, relationshipType(type) });
    }
    linkModel->setLinks(links);
    m_ganttView->onVisibleItemsChanged();
}

void Activities::onHeaderSizeChanged()
{
    const RyTimeLineHeader *timeline = m_ganttView->header();
    const int height = qBound(timeline->minimumHeight(), timeline->sizeHint().height(),
                              timeline->maximumHeight());
    m_header->setFixedHeight(height);
    QMetaObject::invokeMethod(m_treeView, "updateGeometries", Qt::QueuedConnection);
}

void Activities::onTreeSelectionChanged(const QModelIndex &, const QModelIndex &) { }

void Activities::onGanttSelectionChanged(const QModelIndex &current, const QModelIndex &previous)
{
    if (!current.isValid() || current == previous)
        return;
    const QRect rect = m_ganttView->visualRect(current);
    if (rect.width() == 0)
        return;
    const QModelIndex row = m_treeView->indexAt(QPoint(5, rect.top()));
    if (row.isValid() && row != m_treeView->currentIndex())
        m_treeView->selectionModel()->setCurrentIndex(row, QItemSelectionModel::Current);
}

void Activities::calculateGroupings()
{
    if (m_batches > 0) {
        m_rollUpPending = true;
        return;
    }
    // Without a filter the tree below holds the same rows, and order does not change a roll-up:
    // walking it spares mapping every row through the filter.
    RyRollUp::rollUpDates(m_filterProxy->filtersRows()
                              ? static_cast<QAbstractItemModel *>(m_filterProxy)
                              : m_parentProxy);
    m_treeView->viewport()->update();
    m_ganttView->viewport()->update();
}
