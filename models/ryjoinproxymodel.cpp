#include "models/ryjoinproxymodel.h"

#include "models/modelslogging.h"
#include "models/rykeylookup.h"

#include <QSize>

bool RyJoinMapping::operator==(const RyJoinMapping &other) const
{
    return joinedKeyColumn == other.joinedKeyColumn && sourceKeyColumn == other.sourceKeyColumn
        && model == other.model && columns == other.columns;
}

RyJoinProxyModel::RyJoinProxyModel(QObject *parent)
    : RyAbstractProxyModel(parent)
{
    qRegisterMetaType<RyJoinMapping>();
}

void RyJoinProxyModel::resetSourceState()
{
    invalidateColumns();
    m_joins.clear();
    m_rowMaps.clear();
    m_overrides.clear();
}

void RyJoinProxyModel::connectSource(QAbstractItemModel *model, QVector<QMetaObject::Connection> &c)
{
    c << connect(model, &QAbstractItemModel::dataChanged, this,
                 &RyJoinProxyModel::_q_sourceDataChanged);
    c << connect(model, &QAbstractItemModel::modelAboutToBeReset, this,
                 &RyJoinProxyModel::_q_sourceAboutToBeReset);
    c << connect(model, &QAbstractItemModel::modelReset, this, &RyJoinProxyModel::_q_sourceReset);
    // Every proxy row is a source row, so the source's row changes must reach the views; column
    // changes shift the joined columns and moves reorder every map: both become a reset.
    c << connect(model, &QAbstractItemModel::rowsAboutToBeInserted, this,
                 &RyJoinProxyModel::onSourceRowsAboutToBeInserted);
    c << connect(model, &QAbstractItemModel::rowsInserted, this,
                 &RyJoinProxyModel::onSourceRowsInserted);
    c << connect(model, &QAbstractItemModel::rowsAboutToBeRemoved, this,
                 &RyJoinProxyModel::onSourceRowsAboutToBeRemoved);
    c << connect(model, &QAbstractItemModel::rowsRemoved, this,
                 &RyJoinProxyModel::onSourceRowsRemoved);
    for (auto about : { &QAbstractItemModel::columnsAboutToBeInserted,
                        &QAbstractItemModel::columnsAboutToBeRemoved })
        c << connect(model, about, this, &RyJoinProxyModel::_q_sourceAboutToBeReset);
    for (auto done : { &QAbstractItemModel::columnsInserted, &QAbstractItemModel::columnsRemoved })
        c << connect(model, done, this, &RyJoinProxyModel::_q_sourceReset);
    c << connect(model, &QAbstractItemModel::rowsAboutToBeMoved, this,
                 &RyJoinProxyModel::_q_sourceAboutToBeReset);
    c << connect(model, &QAbstractItemModel::rowsMoved, this, &RyJoinProxyModel::_q_sourceReset);
    c << connect(model, &QAbstractItemModel::columnsAboutToBeMoved, this,
                 &RyJoinProxyModel::_q_sourceAboutToBeReset);
    c << connect(model, &QAbstractItemModel::columnsMoved, this, &RyJoinProxyModel::_q_sourceReset);
}

bool RyJoinProxyModel::addJoin(QAbstractItemModel *joined, int joinedKeyColumn,
                               const QList<int> &columns, int sourceKeyColumn)
{
    if (!joined)
        return false;
    RyJoinMapping join;
    join.joinedKeyColumn = joinedKeyColumn;
    join.sourceKeyColumn = sourceKeyColumn;
    join.model = joined;
    join.columns = columns;
    // The new columns are announced like any column insertion; the map is built before they
    // become visible so that views never see a join without its rows.
    const int first = columnCount();
    const bool announce = sourceModel() && !columns.isEmpty();
    if (announce)
        beginInsertColumns(QModelIndex(), first, first + columns.size() - 1);
    m_joins.append(join);
    invalidateColumns();
    m_rowMaps.append(QVector<int>());
    m_rowMaps.last() = buildRowMap(m_joins.size() - 1);
    if (announce)
        endInsertColumns();
    return true;
}

bool RyJoinProxyModel::addJoinAll(QAbstractItemModel *joined, int joinedKeyColumn,
                                  int sourceKeyColumn)
{
    QList<int> columns;
    const int count = joined ? joined->columnCount() : 0;
    for (int c = 0; c < count; ++c)
        columns << c;
    return addJoin(joined, joinedKeyColumn, columns, sourceKeyColumn);
}

bool RyJoinProxyModel::removeJoin(const QAbstractItemModel *joined)
{
    bool removed = false;
    // From the last join back, so that the first columns of the earlier ones stay put.
    int offset = columnCount();
    for (int j = m_joins.size() - 1; j >= 0; --j) {
        offset -= m_joins.at(j).columns.size();
        if (m_joins.at(j).model.data() != joined)
            continue;
        removeJoinAt(j, offset);
        removed = true;
    }
    return removed;
}

void RyJoinProxyModel::removeJoinAt(int join, int first)
{
    const int count = m_joins.at(join).columns.size();
    const int end = first + count;
    const bool announce = sourceModel() && count > 0;
    if (announce)
        beginRemoveColumns(QModelIndex(), first, end - 1);
    m_joins.remove(join);
    invalidateColumns();
    m_rowMaps.remove(join);
    QHash<QPair<int, int>, QVariant> overrides;
    for (auto it = m_overrides.cbegin(); it != m_overrides.cend(); ++it) {
        const int column = it.key().second;
        if (column < first)
            overrides.insert(it.key(), it.value());
        else if (column >= end)
            overrides.insert({ it.key().first, column - count }, it.value());
    }
    m_overrides = overrides;
    QVector<int> unkeyed;
    for (int j = join; j < m_joins.size(); ++j) {
        int &key = m_joins[j].sourceKeyColumn;
        if (key >= end) {
            key -= count;
        } else if (key >= first) {
            key = -1;
            m_rowMaps[j].fill(-1);
            unkeyed << j;
        }
    }
    if (announce)
        endRemoveColumns();
    // The cells of a join that lost its key read empty now.
    int offset = sourceColumnCount();
    for (int j = 0; j < m_joins.size() && !unkeyed.isEmpty(); ++j) {
        const int size = m_joins.at(j).columns.size();
        if (unkeyed.contains(j) && size > 0 && rowCount() > 0)
            emit dataChanged(index(0, offset), index(rowCount() - 1, offset + size - 1));
        offset += size;
    }
}

QVector<int> RyJoinProxyModel::buildRowMap(int join) const
{
    const RyJoinMapping &mapping = m_joins.at(join);
    const QAbstractItemModel *joined = mapping.model;
    const int rows = rowCount();
    QVector<int> map(rows, -1);
    if (!sourceModel() || !joined || mapping.joinedKeyColumn < 0 || mapping.sourceKeyColumn < 0)
        return map;
    // Each joined key is read once; the hash keeps the first row of every key value.
    RyKeyLookup keys;
    const int joinedRows = joined->rowCount();
    keys.reserve(joinedRows);
    for (int n = 0; n < joinedRows; ++n)
        keys.insert(n, joined->index(n, mapping.joinedKeyColumn).data(Qt::DisplayRole));
    for (int r = 0; r < rows; ++r) {
        // Read through this proxy: the key may be a column brought in by an earlier join.
        const QVariant key = data(index(r, mapping.sourceKeyColumn), Qt::DisplayRole);
        map[r] = keys.firstMatch(key);
    }
    return map;
}

void RyJoinProxyModel::rebuildAllMaps()
{
    m_rowMaps.resize(m_joins.size());
    for (int j = 0; j < m_joins.size(); ++j)
        m_rowMaps[j] = buildRowMap(j);
}

void RyJoinProxyModel::resetMappings()
{
    // One layout change for all joins: every change makes the views above rebuild their rows.
    const bool notify = sourceModel() && !isInSourceLayoutChange() && !m_joins.isEmpty();
    if (notify)
        emit layoutAboutToBeChanged();
    for (int j = 0; j < m_joins.size(); ++j)
        m_rowMaps[j] = buildRowMap(j);
    if (notify)
        emit layoutChanged();
}

void RyJoinProxyModel::resetMapping(const RyJoinMapping &join)
{
    const int j = m_joins.indexOf(join);
    if (j < 0)
        return;
    if (!sourceModel() || isInSourceLayoutChange()) {
        m_rowMaps[j] = buildRowMap(j);
        return;
    }
    emit layoutAboutToBeChanged();
    m_rowMaps[j] = buildRowMap(j);
    emit layoutChanged();
}

void RyJoinProxyModel::_q_clearMapping()
{
    // Dropping the joins drops their columns.
    beginResetModel();
    m_joins.clear();
    invalidateColumns();
    m_rowMaps.clear();
    m_overrides.clear();
    endResetModel();
}

void RyJoinProxyModel::buildColumns() const
{
    m_sourceColumns = sourceModel() ? sourceModel()->columnCount() : 0;
    m_columns.clear();
    for (int j = 0; j < m_joins.size(); ++j) {
        for (int column : m_joins.at(j).columns)
            m_columns.append({ j, column });
    }
    m_columnsBuilt = true;
}

int RyJoinProxyModel::sourceColumnCount() const
{
    if (!m_columnsBuilt)
        buildColumns();
    return sourceModel() ? m_sourceColumns : 0;
}

int RyJoinProxyModel::joinedColumnCount() const
{
    if (!m_columnsBuilt)
        buildColumns();
    return m_columns.size();
}

RyJoinProxyModel::Resolved RyJoinProxyModel::resolve(int column) const
{
    Resolved resolved;
    QAbstractItemModel *source = sourceModel();
    if (column < 0 || !source)
        return resolved;
    if (!m_columnsBuilt)
        buildColumns();
    const int sourceColumns = m_sourceColumns;
    if (column < sourceColumns) {
        resolved.model = source;
        resolved.column = column;
        return resolved;
    }
    const int joined = column - sourceColumns;
    if (joined >= m_columns.size())
        return resolved;
    const QPair<int, int> &at = m_columns.at(joined);
    // A joined model that is gone leaves its columns without cells.
    resolved.model = m_joins.at(at.first).model;
    if (resolved.model) {
        resolved.column = at.second;
        resolved.join = at.first;
    }
    return resolved;
}

QAbstractItemModel *RyJoinProxyModel::sourceModelForColumn(int column) const
{
    return resolve(column).model;
}

int RyJoinProxyModel::rowCount(const QModelIndex &parent) const
{
    Q_ASSERT(!parent.isValid() || parent.model() == this);
    if (!sourceModel() || parent.isValid())
        return 0;
    const int rows = sourceModel()->rowCount();
    // An empty table is normal (a schedule without resources), so this is no warning.
    if (rows == 0)
        qCDebug(lcModels) << "RyJoinProxyModel::rowCount returning zero row count";
    return rows;
}

int RyJoinProxyModel::columnCount(const QModelIndex &parent) const
{
    Q_ASSERT(!parent.isValid() || parent.model() == this);
    if (!sourceModel() || parent.isValid())
        return 0;
    return sourceColumnCount() + joinedColumnCount();
}

bool RyJoinProxyModel::hasChildren(const QModelIndex &parent) const
{
    Q_ASSERT(!parent.isValid() || parent.model() == this);
    return !parent.isValid() && sourceModel() && sourceModel()->rowCount() > 0 && columnCount() > 0;
}

QModelIndex RyJoinProxyModel::index(int row, int column, const QModelIndex &parent) const
{
    Q_ASSERT(!parent.isValid() || parent.model() == this);
    // Bounded, unlike a bare createIndex: views and testers rely on out-of-range being invalid.
    // The source asked for once: every cell read passes here.
    const QAbstractItemModel *source = sourceModel();
    if (row < 0 || column < 0 || parent.isValid() || !source || row >= source->rowCount())
        return QModelIndex();
    if (!m_columnsBuilt)
        buildColumns();
    if (column >= m_sourceColumns + m_columns.size())
        return QModelIndex();
    return createIndex(row, column, quintptr(row) + 1);
}

QModelIndex RyJoinProxyModel::parent(const QModelIndex &child) const
{
    Q_ASSERT(!child.isValid() || child.model() == this);
    return QModelIndex();
}

QModelIndex RyJoinProxyModel::mapToSource(const QModelIndex &proxyIndex) const
{
    if (!proxyIndex.isValid())
        return QModelIndex();
    Q_ASSERT(proxyIndex.model() == this);
    return cellSource(proxyIndex.row(), proxyIndex.column());
}

QModelIndex RyJoinProxyModel::cellSource(int row, int column) const
{
    const Resolved resolved = resolve(column);
    if (!resolved.model || row < 0)
        return QModelIndex();
    if (resolved.join < 0)
        return resolved.model->index(row, resolved.column);
    const QVector<int> &map = m_rowMaps.at(resolved.join);
    if (row >= map.size() || map.at(row) < 0)
        return QModelIndex();
    return resolved.model->index(map.at(row), resolved.column);
}

QModelIndex RyJoinProxyModel::mapFromSource(const QModelIndex &sourceIndex) const
{
    // Only the source's own indexes map back; a joined row may stand behind many proxy rows.
    if (!sourceModel() || !sourceIndex.isValid() || sourceIndex.model() != sourceModel())
        return QModelIndex();
    return index(sourceIndex.row(), sourceIndex.column());
}

QVariant RyJoinProxyModel::data(const QModelIndex &index, int role) const
{
    Q_ASSERT(!index.isValid() || index.model() == this);
    const QModelIndex source = mapToSource(index);
    if (source.isValid())
        return source.data(role);
    if (index.isValid() && (role == Qt::DisplayRole || role == Qt::EditRole))
        return m_overrides.value({ index.row(), index.column() });
    return QVariant();
}

QMap<int, QVariant> RyJoinProxyModel::itemData(const QModelIndex &index) const
{
    Q_ASSERT(!index.isValid() || index.model() == this);
    const QModelIndex source = mapToSource(index);
    if (source.isValid())
        return source.model()->itemData(source);
    return QAbstractItemModel::itemData(index);
}

bool RyJoinProxyModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    Q_ASSERT(!index.isValid() || index.model() == this);
    const QModelIndex source = mapToSource(index);
    if (source.isValid())
        return const_cast<QAbstractItemModel *>(source.model())->setData(source, value, role);
    // A cell without a model cell behind it keeps what is written to it (an unmatched join).
    if (!index.isValid() || index.row() >= rowCount()
        || (role != Qt::DisplayRole && role != Qt::EditRole))
        return false;
    m_overrides.insert({ index.row(), index.column() }, value);
    return true;
}

bool RyJoinProxyModel::setItemData(const QModelIndex &index, const QMap<int, QVariant> &roles)
{
    return QAbstractItemModel::setItemData(index, roles);
}

QVariant RyJoinProxyModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (!sourceModel())
        return QVariant();
    if (orientation == Qt::Vertical)
        return sourceModel()->headerData(section, orientation, role);
    const Resolved resolved = resolve(section);
    return resolved.model ? resolved.model->headerData(resolved.column, orientation, role)
                          : QVariant();
}

bool RyJoinProxyModel::setHeaderData(int section, Qt::Orientation orientation,
                                     const QVariant &value, int role)
{
    if (!sourceModel())
        return false;
    if (orientation == Qt::Vertical)
        return sourceModel()->setHeaderData(section, orientation, value, role);
    const Resolved resolved = resolve(section);
    return resolved.model
        && resolved.model->setHeaderData(resolved.column, orientation, value, role);
}

Qt::ItemFlags RyJoinProxyModel::flags(const QModelIndex &index) const
{
    Q_ASSERT(!index.isValid() || index.model() == this);
    const QModelIndex source = mapToSource(index);
    if (source.isValid())
        return source.flags();
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

QSize RyJoinProxyModel::span(const QModelIndex &index) const
{
    Q_ASSERT(!index.isValid() || index.model() == this);
    return QSize(1, 1);
}

QMimeData *RyJoinProxyModel::mimeData(const QModelIndexList &indexes) const
{
    // The indexes map to several models; encode this model's own cells.
    return QAbstractItemModel::mimeData(indexes);
}

void RyJoinProxyModel::sort(int column, Qt::SortOrder order)
{
    // Only the source can reorder rows; its layout change rebuilds the maps.
    if (sourceModel() && column >= 0 && column < sourceColumnCount())
        sourceModel()->sort(column, order);
}

bool RyJoinProxyModel::insertRows(int row, int count, const QModelIndex &parent)
{
    if (row < 0 || count < 1 || parent.isValid() || !sourceModel())
        return false;
    if (!sourceModel()->insertRows(row, count))
        return false;
    for (const RyJoinMapping &join : qAsConst(m_joins)) {
        if (join.model)
            join.model->insertRows(row, count);
    }
    return true;
}

void RyJoinProxyModel::_q_sourceDataChanged(const QModelIndex &topLeft,
                                            const QModelIndex &bottomRight,
                                            const QVector<int> &roles)
{
    if (topLeft.isValid() && bottomRight.isValid())
        emit dataChanged(mapFromSource(topLeft), mapFromSource(bottomRight), roles);
}

void RyJoinProxyModel::sourceLayoutAboutToBeChanged()
{
    // Proxy row r is source row r, so every persistent index and override follows its source row.
    beginSourceLayoutChange([this](const QModelIndexList &persistent) {
        QVector<int> rows;
        rows.reserve(persistent.size() + m_overrides.size());
        for (const QModelIndex &index : persistent)
            rows << index.row();
        for (auto it = m_overrides.cbegin(); it != m_overrides.cend(); ++it)
            rows << it.key().first;
        return rows;
    });
}

void RyJoinProxyModel::sourceLayoutChanged()
{
    QHash<QPair<int, int>, QVariant> overrides;
    for (auto it = m_overrides.cbegin(); it != m_overrides.cend(); ++it) {
        const int row = movedSourceRow(it.key().first);
        if (row >= 0)
            overrides.insert({ row, it.key().second }, it.value());
    }
    m_overrides = overrides;
    rebuildAllMaps();
    endSourceLayoutChange([this](const QModelIndex &old) {
        const int row = movedSourceRow(old.row());
        return row >= 0 ? index(row, old.column()) : QModelIndex();
    });
}

void RyJoinProxyModel::_q_sourceAboutToBeReset()
{
    beginResetModel();
}

void RyJoinProxyModel::_q_sourceReset()
{
    invalidateColumns();
    m_overrides.clear();
    rebuildAllMaps();
    endResetModel();
}

void RyJoinProxyModel::shiftRows(int first, int delta)
{
    // delta > 0: rows from `first` on move down; delta < 0: rows first .. first - delta - 1 go.
    const int removedEnd = delta < 0 ? first - delta : first;
    QHash<QPair<int, int>, QVariant> overrides;
    for (auto it = m_overrides.cbegin(); it != m_overrides.cend(); ++it) {
        const int row = it.key().first;
        if (row < first)
            overrides.insert(it.key(), it.value());
        else if (row >= removedEnd)
            overrides.insert({ row + delta, it.key().second }, it.value());
    }
    m_overrides = overrides;
}

void RyJoinProxyModel::onSourceRowsAboutToBeInserted(const QModelIndex &parent, int first, int last)
{
    if (!parent.isValid())
        beginInsertRows(QModelIndex(), first, last);
}

void RyJoinProxyModel::onSourceRowsInserted(const QModelIndex &parent, int first, int last)
{
    if (parent.isValid())
        return;
    // New rows start unmatched: their keys are usually written after the insertion, and
    // resetMappings() matches them like any other change of keys.
    const int count = last - first + 1;
    for (QVector<int> &map : m_rowMaps) {
        if (first <= map.size())
            map.insert(first, count, -1);
    }
    shiftRows(first, count);
    endInsertRows();
}

void RyJoinProxyModel::onSourceRowsAboutToBeRemoved(const QModelIndex &parent, int first, int last)
{
    if (!parent.isValid())
        beginRemoveRows(QModelIndex(), first, last);
}

void RyJoinProxyModel::onSourceRowsRemoved(const QModelIndex &parent, int first, int last)
{
    if (parent.isValid())
        return;
    const int count = last - first + 1;
    for (QVector<int> &map : m_rowMaps) {
        if (first < map.size())
            map.remove(first, qMin(count, map.size() - first));
    }
    shiftRows(first, -count);
    endRemoveRows();
}
