#include "models/ryabstractproxymodel.h"

RyAbstractProxyModel::RyAbstractProxyModel(QObject *parent)
    : QAbstractProxyModel(parent)
{
}

void RyAbstractProxyModel::setSourceModel(QAbstractItemModel *model)
{
    beginResetModel();
    for (const QMetaObject::Connection &connection : qAsConst(m_sourceConnections))
        disconnect(connection);
    m_sourceConnections.clear();
    QAbstractProxyModel::setSourceModel(model);
    if (model) {
        // Columns are the source's (or added after them), so header changes pass as they come.
        m_sourceConnections << connect(model, &QAbstractItemModel::headerDataChanged, this,
                                       &QAbstractItemModel::headerDataChanged);
        m_sourceConnections << connect(model, &QAbstractItemModel::layoutAboutToBeChanged, this,
                                       [this] { sourceLayoutAboutToBeChanged(); });
        m_sourceConnections << connect(model, &QAbstractItemModel::layoutChanged, this,
                                       [this] { sourceLayoutChanged(); });
        connectSource(model, m_sourceConnections);
    }
    resetSourceState();
    endResetModel();
}

void RyAbstractProxyModel::beginSourceLayoutChange(
    const std::function<QVector<int>(const QModelIndexList &)> &rowsToFollow)
{
    emit layoutAboutToBeChanged();
    m_inSourceLayoutChange = true;
    m_layoutProxyIndexes = persistentIndexList();
    m_layoutSourceRows.clear();
    const QAbstractItemModel *source = sourceModel();
    if (!source)
        return;
    const QVector<int> rows = rowsToFollow(m_layoutProxyIndexes);
    m_layoutSourceRows.reserve(rows.size());
    for (int row : rows)
        m_layoutSourceRows.insert(row, QPersistentModelIndex(source->index(row, 0)));
}

int RyAbstractProxyModel::movedSourceRow(int oldRow) const
{
    const auto found = m_layoutSourceRows.constFind(oldRow);
    return found != m_layoutSourceRows.cend() && found->isValid() ? found->row() : -1;
}

void RyAbstractProxyModel::endSourceLayoutChange(
    const std::function<QModelIndex(const QModelIndex &)> &moveIndex)
{
    QModelIndexList to;
    to.reserve(m_layoutProxyIndexes.size());
    for (const QModelIndex &index : qAsConst(m_layoutProxyIndexes))
        to << moveIndex(index);
    changePersistentIndexList(m_layoutProxyIndexes, to);
    m_layoutProxyIndexes.clear();
    m_layoutSourceRows.clear();
    m_inSourceLayoutChange = false;
    emit layoutChanged();
}

QModelIndex RyAbstractProxyModel::sibling(int row, int column, const QModelIndex &idx) const
{
    Q_ASSERT(!idx.isValid() || idx.model() == this);
    if (idx.isValid() && row == idx.row() && column == idx.column())
        return idx;
    return index(row, column, parent(idx));
}

QModelIndex RyAbstractProxyModel::buddy(const QModelIndex &index) const
{
    Q_ASSERT(!index.isValid() || index.model() == this);
    return index;
}

bool RyAbstractProxyModel::hasChildren(const QModelIndex &parent) const
{
    return rowCount(parent) > 0;
}

int RyAbstractProxyModel::columnCount(const QModelIndex &parent) const
{
    Q_ASSERT(!parent.isValid() || parent.model() == this);
    return sourceModel() ? sourceModel()->columnCount() : 0;
}

QVariant RyAbstractProxyModel::headerData(int section, Qt::Orientation orientation,
                                          int role) const
{
    return sourceModel() ? sourceModel()->headerData(section, orientation, role) : QVariant();
}

bool RyAbstractProxyModel::setHeaderData(int section, Qt::Orientation orientation,
                                         const QVariant &value, int role)
{
    return sourceModel() && sourceModel()->setHeaderData(section, orientation, value, role);
}
