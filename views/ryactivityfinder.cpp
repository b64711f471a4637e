#include "views/ryactivityfinder.h"

#include <QAbstractItemModel>

#include <algorithm>

RyActivityFinder::RyActivityFinder(QObject *parent)
    : QObject(parent)
{
}

void RyActivityFinder::setModel(QAbstractItemModel *model)
{
    for (const QMetaObject::Connection &connection : qAsConst(m_connections))
        disconnect(connection);
    m_connections.clear();
    m_model = model;
    invalidateRows();
    if (!model)
        return;
    // Any change may move or hide rows; the cached order and matches are rebuilt on demand.
    auto dropRows = [this] { invalidateRows(); };
    m_connections << connect(model, &QAbstractItemModel::modelReset, this, dropRows)
                  << connect(model, &QAbstractItemModel::layoutChanged, this, dropRows)
                  << connect(model, &QAbstractItemModel::rowsInserted, this, dropRows)
                  << connect(model, &QAbstractItemModel::rowsRemoved, this, dropRows)
                  << connect(model, &QAbstractItemModel::rowsMoved, this, dropRows)
                  << connect(model, &QAbstractItemModel::columnsInserted, this, dropRows)
                  << connect(model, &QAbstractItemModel::columnsRemoved, this, dropRows)
                  << connect(model, &QAbstractItemModel::headerDataChanged, this, dropRows)
                  << connect(model, &QAbstractItemModel::dataChanged, this,
                             [this] { invalidateMatches(); });
}

QAbstractItemModel *RyActivityFinder::model() const
{
    return m_model;
}

void RyActivityFinder::setColumns(const QStringList &headerTexts)
{
    m_headerTexts = headerTexts;
    invalidateRows();
}

void RyActivityFinder::setRowPredicate(const RowPredicate &predicate)
{
    m_predicate = predicate;
    invalidateRows();
}

void RyActivityFinder::setText(const QString &text)
{
    if (text == m_text)
        return;
    m_text = text;
    invalidateMatches();
}

void RyActivityFinder::invalidateRows()
{
    m_rowsValid = false;
    m_matchesValid = false;
}

void RyActivityFinder::ensureRows()
{
    if (m_rowsValid)
        return;
    m_rows.clear();
    m_positions.clear();
    m_columns.clear();
    m_rowsValid = true;
    if (!m_model)
        return;
    for (const QString &headerText : qAsConst(m_headerTexts)) {
        for (int column = 0; column < m_model->columnCount(); ++column) {
            if (m_model->headerData(column, Qt::Horizontal).toString() == headerText) {
                m_columns.append(column);
                break;
            }
        }
    }
    // Iterative pre-order walk: the tree can be deep, and recursion would follow its depth.
    QVector<QModelIndex> pending { QModelIndex() };
    QVector<QModelIndex> children;
    while (!pending.isEmpty()) {
        const QModelIndex parent = pending.takeLast();
        if (parent.isValid() && (!m_predicate || m_predicate(parent))) {
            m_positions.insert(parent, m_rows.size());
            m_rows.append(parent);
        }
        const int count = m_model->rowCount(parent);
        children.clear();
        for (int row = 0; row < count; ++row)
            children.append(m_model->index(row, 0, parent));
        std::reverse(children.begin(), children.end());
        pending += children;
    }
}

bool RyActivityFinder::rowMatches(const QModelIndex &row) const
{
    return matchedColumn(row) >= 0;
}

int RyActivityFinder::matchedColumn(const QModelIndex &row) const
{
    if (m_text.isEmpty() || !row.isValid())
        return -1;
    for (int column : m_columns) {
        const QString cell = row.siblingAtColumn(column).data().toString();
        if (cell.contains(m_text, Qt::CaseInsensitive))
            return column;
    }
    return -1;
}

void RyActivityFinder::ensureMatches()
{
    ensureRows();
    if (m_matchesValid)
        return;
    m_matches.clear();
    m_matchesValid = true;
    if (m_text.isEmpty())
        return;
    for (int position = 0; position < m_rows.size(); ++position) {
        if (rowMatches(m_rows.at(position)))
            m_matches.append(position);
    }
}

int RyActivityFinder::matchCount()
{
    ensureMatches();
    return m_matches.size();
}

int RyActivityFinder::positionOf(const QModelIndex &index) const
{
    if (!index.isValid() || index.model() != m_model)
        return -1;
    return m_positions.value(index.siblingAtColumn(0), -1);
}

QModelIndex RyActivityFinder::step(const QModelIndex &from, int direction, bool includeFrom)
{
    ensureMatches();
    if (m_matches.isEmpty())
        return QModelIndex();
    const int position = positionOf(from);
    int found = -1;
    if (position < 0) {
        found = direction > 0 ? 0 : m_matches.size() - 1;
    } else if (direction > 0) {
        const auto it = includeFrom
            ? std::lower_bound(m_matches.cbegin(), m_matches.cend(), position)
            : std::upper_bound(m_matches.cbegin(), m_matches.cend(), position);
        found = it == m_matches.cend() ? 0 : int(it - m_matches.cbegin());
    } else {
        const auto it = std::lower_bound(m_matches.cbegin(), m_matches.cend(), position);
        found = it == m_matches.cbegin() ? m_matches.size() - 1 : int(it - m_matches.cbegin()) - 1;
    }
    return m_rows.at(m_matches.at(found));
}

QModelIndex RyActivityFinder::next(const QModelIndex &from)
{
    return step(from, 1, false);
}

QModelIndex RyActivityFinder::previous(const QModelIndex &from)
{
    return step(from, -1, false);
}

QModelIndex RyActivityFinder::nearest(const QModelIndex &from)
{
    return step(from, 1, true);
}
