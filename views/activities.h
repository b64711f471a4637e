// The activity view: the grouped activity table and the Gantt chart side by side, both showing
// one filtering proxy over the parent item proxy of the activity model, so that row r of the
// chart is the r-th shown row of the table. It groups activities by rules, numbers rows, rolls
// dates up into group rows, feeds the relationship links to the chart and keeps both views'
// current rows in step. The models it is given are not owned; the proxies and views are.
#pragma once

#include "views/rygroupedtreeview.h"

#include <QPointer>
#include <QStringList>
#include <QVariantList>
#include <QWidget>

#include <functional>

class QAbstractItemModel;
class QGridLayout;
class QSplitter;
class QTableView;
class RyFilterDialogProxyModel;
class RyGanttView;
class RyDetailDelegate;
class RyParentItemProxyModel;
class RyRecordSetModel;
class RySortFilterHeader;
class RySortFilterWidget;

class Activities : public QWidget
{
    Q_OBJECT
public:
    explicit Activities(QWidget *parent = nullptr);
    ~Activities() override;

    void setModels(QAbstractItemModel *activityModel, QAbstractItemModel *wbsTable,
                   QAbstractItemModel *codeTypeTable, QAbstractItemModel *codeTable,
                   QAbstractItemModel *relationshipTable, bool updateLinks = true);
    // Applies group rules (form "column;rule;font;text colour;background"); none ungroups.
    void groupBySelection(const QStringList &rules);
    // Sorts by the column headed `displayName`; nothing when no column has that header.
    void sortByColumn(const QString &displayName, bool descending);
    // Removes the sort and every filter (nothing while no project is open).
    void clearSortAndFilters();
    // Shows only the activities with these task ids: a value filter on the task id column that
    // the header marks and the user clears as any other (nothing while no project is open).
    void filterToActivities(const QVariantList &taskIds);
    // Makes the activity with this task id current in the table, keeping the table's
    // horizontal scroll position.
    void goToActivity(const QVariant &taskId);
    // Runs `change`, which may add or remove rows at the end of the activity model's own rows
    // (no group rows are there meanwhile), then counts them as activities and groups again.
    void changeActivityRows(const std::function<void()> &change);

    RyGroupedTreeView *treeView() const { return m_treeView; }
    RySortFilterHeader *sortFilterHeader() const { return m_header; }
    RyGanttView *ganttView() const { return m_ganttView; }
    RyFilterDialogProxyModel *filterProxy() const { return m_filterProxy; }
    RyParentItemProxyModel *parentProxy() const { return m_parentProxy; }
    RySortFilterWidget *sortFilterWidget() const { return m_sortFilterWidget; }
    QAbstractItemModel *activityModel() const { return m_activityModel; }
    bool hasProject() const;
    QStringList groupRules() const { return m_groupRules; }
    QList<RyLevelStyle> levelStyles() const { return m_levelStyles; }
    int baseRowCount() const { return m_baseRowCount; }

    // The ten built-in group row styles, one per outline level, all the default record.
    static QList<RyLevelStyle> defaultLevelStyles();

    // While a batch lasts, the updates that read every shown row (the chart's links, the
    // dates rolled up into group rows, the chart's time range) wait, and the end of the last
    // batch makes each once: opening a project sets models, sorts, filters and groups in a row.
    class Batch
    {
    public:
        explicit Batch(Activities *activities);
        ~Batch();
        Batch(const Batch &) = delete;
        Batch &operator=(const Batch &) = delete;

    private:
        Activities *m_activities;
    };

public slots:
    void onCloseProject();
    void onUpdateMergeColumns();
    // The opened project's first look: ID, name, type, dates and WBS lead the columns, with
    // the tree drawn in the first shown one.
    void arrangeFirstColumns();
    void updateGanttRelationship();
    void onHeaderSizeChanged();
    void onTreeSelectionChanged(const QModelIndex &current, const QModelIndex &previous);
    void onGanttSelectionChanged(const QModelIndex &current, const QModelIndex &previous);
    void calculateGroupings();

private:
    void buildForm();
    void numberRows();
    // `sourceJustSet`: the tree proxy was handed its model a moment ago and built its tree from
    // it then.
    void resetTreeStructure(bool sourceJustSet = false);
    void replaceSortFilterWidget();
    int taskIdColumn() const;
    void endBatch();

    QGridLayout *m_gridLayout = nullptr;
    QSplitter *m_splitter = nullptr;
    RyGroupedTreeView *m_treeView = nullptr;
    RyRecordSetModel *m_placeholder = nullptr;
    QPointer<QAbstractItemModel> m_activityModel;
    QPointer<QAbstractItemModel> m_wbsTable;
    QPointer<QAbstractItemModel> m_codeTypeTable;
    QPointer<QAbstractItemModel> m_codeTable;
    QPointer<QAbstractItemModel> m_relationshipTable;
    RyParentItemProxyModel *m_parentProxy = nullptr;
    RyFilterDialogProxyModel *m_filterProxy = nullptr;
    QTableView *m_spareTable = nullptr;
    RyGanttView *m_ganttView = nullptr;
    RySortFilterHeader *m_header = nullptr;
    int m_baseRowCount = 0;
    QStringList m_groupRules;
    QList<RyLevelStyle> m_levelStyles;
    RySortFilterWidget *m_sortFilterWidget = nullptr;
    // Shows the values of the filter pop-ups as the table shows them.
    RyDetailDelegate *m_valueDelegate = nullptr;
    int m_batches = 0;
    bool m_linksPending = false;
    bool m_rollUpPending = false;
};
