// Turns a flat table into a tree without copying it: every source row is one tree item, placed
// by an id and a parent-id column of the row, or by a children map given from outside. Only
// column-0 items have children; data, flags and writes pass straight through to the source.
#pragma once

#include "models/ryabstractproxymodel.h"

#include <QList>
#include <QMap>
#include <QPersistentModelIndex>
#include <QVector>

class RyParentItemProxyModel : public RyAbstractProxyModel
{
    Q_OBJECT

public:
    // Parent source row (-1: the root) -> its child source rows in display order.
    using ChildMap = QMap<int, QList<int>>;

    explicit RyParentItemProxyModel(QObject *parent = nullptr);

    void setParentColumns(int idColumn, int parentColumn);
    void setChildMap(const ChildMap &children);
    ChildMap childMap() const;
    int idColumn() const { return m_idColumn; }
    int parentColumn() const { return m_parentColumn; }

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QModelIndex index(int row, int column,
                      const QModelIndex &parent = QModelIndex()) const override;
    QModelIndex parent(const QModelIndex &child) const override;
    QModelIndex mapToSource(const QModelIndex &proxyIndex) const override;
    QModelIndex mapFromSource(const QModelIndex &sourceIndex) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    // Reorders every sibling list by the column, stably; no row changes parent.
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

public slots:
    // Rebuilds the tree from the id and parent columns. Emits nothing: callers wrap it in a reset.
    void resetParentStructure();
    void _q_sourceDataChanged(const QModelIndex &topLeft, const QModelIndex &bottomRight,
                              const QVector<int> &roles);
    void _q_sourceRowsAboutToBeInserted(const QModelIndex &parent, int first, int last);
    void _q_sourceRowsInserted(const QModelIndex &parent, int first, int last);
    void _q_sourceRowsAboutToBeRemoved(const QModelIndex &parent, int first, int last);
    void _q_sourceRowsRemoved(const QModelIndex &parent, int first, int last);
    void _q_sourceColumnsAboutToBeInserted(const QModelIndex &parent, int first, int last);
    void _q_sourceColumnsInserted(const QModelIndex &parent, int first, int last);
    void _q_sourceColumnsAboutToBeRemoved(const QModelIndex &parent, int first, int last);
    void _q_sourceColumnsRemoved(const QModelIndex &parent, int first, int last);
    void _q_sourceAboutToBeReset();
    void _q_sourceReset();
    void _q_sourceRowsAboutToBeMoved(const QModelIndex &sourceParent, int sourceStart,
                                     int sourceEnd, const QModelIndex &destinationParent,
                                     int destinationRow);
    void _q_sourceRowsMoved(const QModelIndex &sourceParent, int sourceStart, int sourceEnd,
                            const QModelIndex &destinationParent, int destinationRow);
    void _q_sourceColumnsAboutToBeMoved(const QModelIndex &sourceParent, int sourceStart,
                                        int sourceEnd, const QModelIndex &destinationParent,
                                        int destinationColumn);
    void _q_sourceColumnsMoved(const QModelIndex &sourceParent, int sourceStart, int sourceEnd,
                               const QModelIndex &destinationParent, int destinationColumn);

private:
    const QList<int> &childList(int parentRow) const;
    int parentRowOf(const QModelIndex &proxyIndex) const;
    QModelIndex indexForSourceRow(int sourceRow, int column) const;
    // Records, for every row the map covers, its parent row and its position among its siblings.
    void indexStructure();
    void setStructure(const ChildMap &children);
    void rebuildInReset();
    void connectSource(QAbstractItemModel *model,
                       QVector<QMetaObject::Connection> &connections) override;
    void resetSourceState() override;
    void sourceLayoutAboutToBeChanged() override;
    void sourceLayoutChanged() override;
    void beginRowsLayoutChange();
    void endRowsLayoutChange();

    // Child lists by parent source row + 1 (slot 0 is the root): a lookup per rowCount() and
    // index() call must not search.
    QVector<QList<int>> m_children;
    QVector<int> m_parentOf; // source row -> parent source row, -1 for the root
    QVector<int> m_positionOf; // source row -> position in its parent's list, -1 when absent
    int m_idColumn = -1;
    int m_parentColumn = -1;
    bool m_fromColumns = true; // false while a given children map is shown
    bool m_writing = false; // set while a write is forwarded to the source
};
