#include "models/ryparentitemproxymodel.h"

#include "models/modelslogging.h"
#include "models/rykeylookup.h"
#include "models/ryvalueorder.h"

#include <QHash>
#include <QScopedValueRollback>

#include <algorithm>

namespace {

int columnAfterInsert(int column, int first, int last)
{
    return column >= first ? column + (last - first + 1) : column;
}

int columnAfterRemove(int column, int first, int last)
{
    if (column < first)
        return column;
    return column <= last ? -1 : column - (last - first + 1);
}

int columnAfterMove(int column, int start, int end, int destination)
{
    const int count = end - start + 1;
    if (column >= start && column <= end)
        return destination > end ? column - start + destination - count
                                 : destination + column - start;
    if (destination > end && column > end && column < destination)
        return column - count;
    if (destination < start && column >= destination && column < start)
        return column + count;
    return column;
}

// A parent chain that comes back to a row would hide the whole cycle from the tree; the row
// at which the cycle closes goes to the top level instead, so every row stays reachable.
void cutCycles(QVector<int> &parentOf)
{
    enum : char { Unseen, OnPath, Done };
    QVector<char> state(parentOf.size(), Unseen);
    QVector<int> path;
    for (int start = 0; start < parentOf.size(); ++start) {
        int row = start;
        while (row >= 0 && state.at(row) == Unseen) {
            state[row] = OnPath;
            path.append(row);
            row = parentOf.at(row);
        }
        if (row >= 0 && state.at(row) == OnPath)
            parentOf[row] = -1;
        for (int visited : qAsConst(path))
            state[visited] = Done;
        path.clear();
    }
}

} // namespace

RyParentItemProxyModel::RyParentItemProxyModel(QObject *parent)
    : RyAbstractProxyModel(parent)
{
}

void RyParentItemProxyModel::resetSourceState()
{
    resetParentStructure();
}

void RyParentItemProxyModel::connectSource(QAbstractItemModel *model,
                                           QVector<QMetaObject::Connection> &c)
{
    using M = QAbstractItemModel;
    using P = RyParentItemProxyModel;
    c << connect(model, &M::dataChanged, this, &P::_q_sourceDataChanged);
    c << connect(model, &M::rowsAboutToBeInserted, this, &P::_q_sourceRowsAboutToBeInserted);
    c << connect(model, &M::rowsInserted, this, &P::_q_sourceRowsInserted);
    c << connect(model, &M::rowsAboutToBeRemoved, this, &P::_q_sourceRowsAboutToBeRemoved);
    c << connect(model, &M::rowsRemoved, this, &P::_q_sourceRowsRemoved);
    c << connect(model, &M::rowsMoved, this, &P::_q_sourceRowsMoved);
    c << connect(model, &M::columnsAboutToBeInserted, this, &P::_q_sourceColumnsAboutToBeInserted);
    c << connect(model, &M::columnsInserted, this, &P::_q_sourceColumnsInserted);
    c << connect(model, &M::columnsAboutToBeRemoved, this, &P::_q_sourceColumnsAboutToBeRemoved);
    c << connect(model, &M::columnsRemoved, this, &P::_q_sourceColumnsRemoved);
    c << connect(model, &M::rowsAboutToBeMoved, this, &P::_q_sourceRowsAboutToBeMoved);
    c << connect(model, &M::columnsAboutToBeMoved, this, &P::_q_sourceColumnsAboutToBeMoved);
    c << connect(model, &M::columnsMoved, this, &P::_q_sourceColumnsMoved);
    c << connect(model, &M::modelAboutToBeReset, this, &P::_q_sourceAboutToBeReset);
    c << connect(model, &M::modelReset, this, &P::_q_sourceReset);
}

void RyParentItemProxyModel::setParentColumns(int idColumn, int parentColumn)
{
    beginResetModel();
    m_idColumn = idColumn;
    m_parentColumn = parentColumn;
    resetParentStructure();
    endResetModel();
}

void RyParentItemProxyModel::setChildMap(const ChildMap &children)
{
    beginResetModel();
    setStructure(children);
    m_fromColumns = false;
    endResetModel();
}

RyParentItemProxyModel::ChildMap RyParentItemProxyModel::childMap() const
{
    ChildMap children;
    for (int slot = 0; slot < m_children.size(); ++slot) {
        if (!m_children.at(slot).isEmpty())
            children.insert(slot - 1, m_children.at(slot));
    }
    return children;
}

void RyParentItemProxyModel::resetParentStructure()
{
    m_children.clear();
    m_fromColumns = true;
    const QAbstractItemModel *source = sourceModel();
    if (!source) {
        indexStructure();
        return;
    }
    const int rows = source->rowCount();
    // The first row with an id wins, as a search from the top would find it, but in hashed time.
    RyKeyLookup ids;
    ids.reserve(rows);
    uint recorded = 0;
    for (int i = 0; i < rows; ++i) {
        const QModelIndex cell = source->index(i, m_idColumn);
        QVariant id = cell.data(Qt::DisplayRole);
        if (id.isNull()) // a generated id, so that rows without ids never parent each other
            id = QVariant(~recorded);
        if (cell.isValid()) {
            ids.insert(i, id);
            ++recorded;
        }
    }
    QVector<int> parentOf(rows);
    for (int j = 0; j < rows; ++j)
        parentOf[j] = ids.firstMatch(source->index(j, m_parentColumn).data(Qt::DisplayRole));
    cutCycles(parentOf);

    m_children.resize(rows + 1);
    for (int j = 0; j < rows; ++j)
        m_children[parentOf.at(j) + 1].append(j);
    indexStructure();
}

void RyParentItemProxyModel::setStructure(const ChildMap &children)
{
    // Only rows of the source, each once, and only lists hanging from the root: anything else
    // would give rows two parents or parents the tree cannot reach.
    const int rows = sourceModel() ? sourceModel()->rowCount() : 0;
    QVector<bool> listed(rows, false);
    ChildMap clean;
    for (auto it = children.cbegin(); it != children.cend(); ++it) {
        if (it.key() < -1 || it.key() >= rows)
            continue;
        QList<int> list;
        for (int row : it.value()) {
            if (row >= 0 && row < rows && !listed.at(row)) {
                listed[row] = true;
                list.append(row);
            }
        }
        if (!list.isEmpty())
            clean.insert(it.key(), list);
    }
    m_children.clear();
    m_children.resize(rows + 1);
    QList<int> pending { -1 };
    while (!pending.isEmpty()) {
        const int parentRow = pending.takeLast();
        const auto list = clean.constFind(parentRow);
        if (list == clean.cend())
            continue;
        m_children[parentRow + 1] = *list;
        pending.append(*list);
    }
    indexStructure();
}

void RyParentItemProxyModel::indexStructure()
{
    const int rows = sourceModel() ? sourceModel()->rowCount() : 0;
    m_parentOf.fill(-1, rows);
    m_positionOf.fill(-1, rows);
    for (int slot = 0; slot < m_children.size(); ++slot) {
        const QList<int> &list = m_children.at(slot);
        for (int k = 0; k < list.size(); ++k) {
            const int row = list.at(k);
            if (row < 0 || row >= rows)
                continue;
            m_parentOf[row] = slot - 1;
            m_positionOf[row] = k;
        }
    }
}

void RyParentItemProxyModel::rebuildInReset()
{
    beginResetModel();
    resetParentStructure();
    endResetModel();
}

const QList<int> &RyParentItemProxyModel::childList(int parentRow) const
{
    static const QList<int> none;
    const int slot = parentRow + 1;
    return slot >= 0 && slot < m_children.size() ? m_children.at(slot) : none;
}

int RyParentItemProxyModel::parentRowOf(const QModelIndex &proxyIndex) const
{
    return proxyIndex.isValid() ? int(proxyIndex.internalId()) : -1;
}

QModelIndex RyParentItemProxyModel::indexForSourceRow(int sourceRow, int column) const
{
    if (sourceRow < 0 || sourceRow >= m_positionOf.size() || m_positionOf.at(sourceRow) < 0)
        return QModelIndex();
    return createIndex(m_positionOf.at(sourceRow), column, quintptr(sourceRow));
}

int RyParentItemProxyModel::rowCount(const QModelIndex &parent) const
{
    Q_ASSERT(!parent.isValid() || parent.model() == this);
    if (!sourceModel() || (parent.isValid() && parent.column() != 0))
        return 0;
    return childList(parentRowOf(parent)).size();
}

QModelIndex RyParentItemProxyModel::index(int row, int column, const QModelIndex &parent) const
{
    Q_ASSERT(!parent.isValid() || parent.model() == this);
    const QAbstractItemModel *source = sourceModel();
    if (row < 0 || column < 0 || !source || column >= source->columnCount()
        || (parent.isValid() && parent.column() != 0))
        return QModelIndex();
    const QList<int> &list = childList(parentRowOf(parent));
    if (row >= list.size())
        return QModelIndex();
    return createIndex(row, column, quintptr(list.at(row)));
}

QModelIndex RyParentItemProxyModel::parent(const QModelIndex &child) const
{
    Q_ASSERT(!child.isValid() || child.model() == this);
    if (!child.isValid())
        return QModelIndex();
    const quintptr row = child.internalId();
    if (row >= quintptr(m_parentOf.size()))
        return QModelIndex();
    return indexForSourceRow(m_parentOf.at(int(row)), 0);
}

QModelIndex RyParentItemProxyModel::mapToSource(const QModelIndex &proxyIndex) const
{
    // The source asked for once: every cell read passes here.
    const QAbstractItemModel *source = proxyIndex.isValid() ? sourceModel() : nullptr;
    if (!source)
        return QModelIndex();
    if (proxyIndex.model() != this) {
        qCWarning(lcModels)
            << "RyParentItemProxyModel: index from wrong model passed to mapToSource";
        return QModelIndex();
    }
    const quintptr row = proxyIndex.internalId();
    if (row == quintptr(-1) || row >= quintptr(source->rowCount())) {
        qCWarning(lcModels) << "RyParentItemProxyModel::mapToSource invalid source row";
        return QModelIndex();
    }
    return source->index(int(row), proxyIndex.column());
}

QModelIndex RyParentItemProxyModel::mapFromSource(const QModelIndex &sourceIndex) const
{
    if (!sourceIndex.isValid())
        return QModelIndex();
    Q_ASSERT(sourceIndex.model() == sourceModel());
    if (sourceIndex.parent().isValid()) // only a flat source's rows are items here
        return QModelIndex();
    return indexForSourceRow(sourceIndex.row(), sourceIndex.column());
}

bool RyParentItemProxyModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    Q_ASSERT(!index.isValid() || index.model() == this);
    if (!sourceModel())
        return false;
    // The writer already knows what it wrote; skipping the echo keeps bulk writes (numbering,
    // roll-ups) from reaching every proxy and view above once per cell.
    const QScopedValueRollback<bool> writing(m_writing, true);
    return sourceModel()->setData(mapToSource(index), value, role);
}

Qt::ItemFlags RyParentItemProxyModel::flags(const QModelIndex &index) const
{
    Q_ASSERT(!index.isValid() || index.model() == this);
    if (!sourceModel())
        return Qt::NoItemFlags;
    Qt::ItemFlags itemFlags = mapToSource(index).flags();
    // Flat sources mark every row as a leaf, but here a row may carry children; views would
    // otherwise refuse to expand it.
    if (hasChildren(index))
        itemFlags &= ~Qt::ItemNeverHasChildren;
    return itemFlags;
}

void RyParentItemProxyModel::sort(int column, Qt::SortOrder order)
{
    const QAbstractItemModel *source = sourceModel();
    if (!source || column < 0 || column >= columnCount())
        return;
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const QModelIndexList from = persistentIndexList();
    for (QList<int> &list : m_children) {
        if (list.size() < 2)
            continue;
        QVector<QPair<QVariant, int>> keyed;
        keyed.reserve(list.size());
        for (int row : qAsConst(list))
            keyed.append({ source->index(row, column).data(Qt::DisplayRole), row });
        using Entry = QPair<QVariant, int>;
        if (order == Qt::AscendingOrder)
            std::stable_sort(keyed.begin(), keyed.end(), [](const Entry &a, const Entry &b) {
                return RyValueOrder::lessThan(a.first, b.first);
            });
        else
            std::stable_sort(keyed.begin(), keyed.end(), [](const Entry &a, const Entry &b) {
                return RyValueOrder::lessThan(b.first, a.first);
            });
        for (int k = 0; k < keyed.size(); ++k)
            list[k] = keyed.at(k).second;
    }
    indexStructure();
    QModelIndexList to;
    to.reserve(from.size());
    for (const QModelIndex &index : from)
        to << indexForSourceRow(int(index.internalId()), index.column());
    changePersistentIndexList(from, to);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

void RyParentItemProxyModel::_q_sourceDataChanged(const QModelIndex &topLeft,
                                                  const QModelIndex &bottomRight,
                                                  const QVector<int> &roles)
{
    if (m_writing || !topLeft.isValid() || !bottomRight.isValid() || topLeft.parent().isValid())
        return;
    const int left = topLeft.column();
    const int right = bottomRight.column();
    const auto covers = [left, right](int column) { return column >= left && column <= right; };
    // Ids and parent ids shape the tree only when it was built from them.
    if (m_fromColumns && (covers(m_idColumn) || covers(m_parentColumn))) {
        rebuildInReset();
        return;
    }
    // The changed source rows may sit under different parents: one notification per parent.
    QHash<int, QPair<int, int>> spans;
    for (int row = topLeft.row(); row <= bottomRight.row() && row < m_positionOf.size(); ++row) {
        const int position = m_positionOf.at(row);
        if (position < 0)
            continue;
        auto span = spans.find(m_parentOf.at(row));
        if (span == spans.end())
            spans.insert(m_parentOf.at(row), { position, position });
        else
            *span = { qMin(span->first, position), qMax(span->second, position) };
    }
    for (auto it = spans.cbegin(); it != spans.cend(); ++it) {
        const QList<int> &list = childList(it.key());
        const int first = it.value().first;
        const int last = it.value().second;
        emit dataChanged(createIndex(first, left, quintptr(list.at(first))),
                         createIndex(last, right, quintptr(list.at(last))), roles);
    }
}

void RyParentItemProxyModel::beginRowsLayoutChange()
{
    beginSourceLayoutChange([this](const QModelIndexList &) {
        QVector<int> rows(m_positionOf.size());
        for (int row = 0; row < rows.size(); ++row)
            rows[row] = row;
        return rows;
    });
}

void RyParentItemProxyModel::endRowsLayoutChange()
{
    // Source rows have new numbers: follow them, keeping the tree as it was.
    if (m_fromColumns) {
        resetParentStructure();
    } else {
        ChildMap children;
        for (int slot = 0; slot < m_children.size(); ++slot) {
            if (m_children.at(slot).isEmpty())
                continue;
            QList<int> list;
            for (int row : m_children.at(slot))
                list.append(movedSourceRow(row));
            children.insert(slot == 0 ? -1 : movedSourceRow(slot - 1), list);
        }
        setStructure(children);
    }
    endSourceLayoutChange([this](const QModelIndex &index) {
        return indexForSourceRow(movedSourceRow(int(index.internalId())), index.column());
    });
}

void RyParentItemProxyModel::sourceLayoutAboutToBeChanged()
{
    beginRowsLayoutChange();
}

void RyParentItemProxyModel::sourceLayoutChanged()
{
    endRowsLayoutChange();
}

// Inserted or removed source rows renumber the rows behind every item; a reset is the only
// notification that keeps the tree's counts consistent for the views.
void RyParentItemProxyModel::_q_sourceRowsAboutToBeInserted(const QModelIndex &parent, int, int)
{
    if (!parent.isValid())
        beginResetModel();
}

void RyParentItemProxyModel::_q_sourceRowsInserted(const QModelIndex &parent, int, int)
{
    if (parent.isValid())
        return;
    qCDebug(lcModels) << "_q_sourceRowsInserted called by " << sender();
    resetParentStructure();
    endResetModel();
}

void RyParentItemProxyModel::_q_sourceRowsAboutToBeRemoved(const QModelIndex &parent, int, int)
{
    if (!parent.isValid())
        beginResetModel();
}

void RyParentItemProxyModel::_q_sourceRowsRemoved(const QModelIndex &parent, int, int)
{
    if (parent.isValid())
        return;
    resetParentStructure();
    endResetModel();
}

// Column changes reach every level of the tree, so they are passed on as a reset too; the id and
// parent columns follow their columns.
void RyParentItemProxyModel::_q_sourceColumnsAboutToBeInserted(const QModelIndex &parent, int, int)
{
    if (!parent.isValid())
        beginResetModel();
}

void RyParentItemProxyModel::_q_sourceColumnsInserted(const QModelIndex &parent, int first,
                                                      int last)
{
    if (parent.isValid())
        return;
    m_idColumn = m_idColumn < 0 ? m_idColumn : columnAfterInsert(m_idColumn, first, last);
    m_parentColumn
        = m_parentColumn < 0 ? m_parentColumn : columnAfterInsert(m_parentColumn, first, last);
    if (m_fromColumns)
        resetParentStructure();
    endResetModel();
}

void RyParentItemProxyModel::_q_sourceColumnsAboutToBeRemoved(const QModelIndex &parent, int, int)
{
    if (!parent.isValid())
        beginResetModel();
}

void RyParentItemProxyModel::_q_sourceColumnsRemoved(const QModelIndex &parent, int first, int last)
{
    if (parent.isValid())
        return;
    m_idColumn = m_idColumn < 0 ? m_idColumn : columnAfterRemove(m_idColumn, first, last);
    m_parentColumn
        = m_parentColumn < 0 ? m_parentColumn : columnAfterRemove(m_parentColumn, first, last);
    if (m_fromColumns)
        resetParentStructure();
    endResetModel();
}

void RyParentItemProxyModel::_q_sourceAboutToBeReset()
{
    beginResetModel();
}

void RyParentItemProxyModel::_q_sourceReset()
{
    resetParentStructure();
    endResetModel();
}

void RyParentItemProxyModel::_q_sourceRowsAboutToBeMoved(const QModelIndex &, int, int,
                                                         const QModelIndex &, int)
{
    qCDebug(lcModels) << "_q_sourceRowsAboutToBeMoved called";
    beginRowsLayoutChange();
}

void RyParentItemProxyModel::_q_sourceRowsMoved(const QModelIndex &, int, int, const QModelIndex &,
                                                int)
{
    qCDebug(lcModels) << "_q_sourceRowsMoved called";
    endRowsLayoutChange();
}

void RyParentItemProxyModel::_q_sourceColumnsAboutToBeMoved(const QModelIndex &sourceParent, int,
                                                            int, const QModelIndex &, int)
{
    if (!sourceParent.isValid())
        beginResetModel();
}

void RyParentItemProxyModel::_q_sourceColumnsMoved(const QModelIndex &sourceParent, int start,
                                                   int end, const QModelIndex &, int destination)
{
    if (sourceParent.isValid())
        return;
    if (m_idColumn >= 0)
        m_idColumn = columnAfterMove(m_idColumn, start, end, destination);
    if (m_parentColumn >= 0)
        m_parentColumn = columnAfterMove(m_parentColumn, start, end, destination);
    if (m_fromColumns)
        resetParentStructure();
    endResetModel();
}
