#include "models/rykeyfilterproxymodel.h"

RyKeyFilterProxyModel::RyKeyFilterProxyModel(QObject *parent)
    : QSortFilterProxyModel(parent)
{
}

void RyKeyFilterProxyModel::setKey(const QString &key)
{
    const QString folded = key.toCaseFolded();
    if (m_hasKey && !m_noRows && folded == m_key)
        return;
    m_key = folded;
    m_hasKey = true;
    m_noRows = false;
    invalidateFilter();
}

void RyKeyFilterProxyModel::showNoRows()
{
    if (m_noRows)
        return;
    m_noRows = true;
    invalidateFilter();
}

void RyKeyFilterProxyModel::setSourceModel(QAbstractItemModel *model)
{
    for (const QMetaObject::Connection &connection : qAsConst(m_connections))
        disconnect(connection);
    m_connections.clear();
    forgetKeys();
    // Connected before the base class connects its own, so that the kept keys are up to date
    // when it filters changed or new rows.
    if (model) {
        using M = QAbstractItemModel;
        m_connections << connect(model, &M::dataChanged, this,
                                 &RyKeyFilterProxyModel::onSourceDataChanged);
        for (auto change : { &M::rowsAboutToBeInserted, &M::rowsAboutToBeRemoved })
            m_connections << connect(model, change, this, [this] { forgetKeys(); });
        m_connections << connect(model, &M::rowsAboutToBeMoved, this, [this] { forgetKeys(); })
                      << connect(model, &M::layoutAboutToBeChanged, this, [this] { forgetKeys(); })
                      << connect(model, &M::modelAboutToBeReset, this, [this] { forgetKeys(); });
    }
    QSortFilterProxyModel::setSourceModel(model);
}

QString RyKeyFilterProxyModel::keyOf(int sourceRow, const QModelIndex &sourceParent) const
{
    const int column = qMax(0, filterKeyColumn());
    return sourceModel()
        ->index(sourceRow, column, sourceParent)
        .data(filterRole())
        .toString()
        .toCaseFolded();
}

void RyKeyFilterProxyModel::onSourceDataChanged(const QModelIndex &topLeft,
                                                const QModelIndex &bottomRight)
{
    if (!m_keysValid || topLeft.parent().isValid())
        return;
    const int column = qMax(0, filterKeyColumn());
    if (column < topLeft.column() || column > bottomRight.column())
        return;
    for (int row = topLeft.row(); row <= bottomRight.row() && row < m_keys.size(); ++row)
        m_keys[row] = keyOf(row, QModelIndex());
}

bool RyKeyFilterProxyModel::filterAcceptsRow(int sourceRow, const QModelIndex &sourceParent) const
{
    if (m_noRows)
        return false;
    if (!m_hasKey)
        return QSortFilterProxyModel::filterAcceptsRow(sourceRow, sourceParent);
    if (sourceParent.isValid())
        return keyOf(sourceRow, sourceParent) == m_key;
    if (!m_keysValid) {
        const int rows = sourceModel()->rowCount();
        m_keys.resize(rows);
        for (int row = 0; row < rows; ++row)
            m_keys[row] = keyOf(row, QModelIndex());
        m_keysValid = true;
    }
    return sourceRow < m_keys.size() ? m_keys.at(sourceRow) == m_key
                                     : keyOf(sourceRow, sourceParent) == m_key;
}
