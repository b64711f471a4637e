#include "views/ryactivityfinder.h"

#include "models/rymodellookup.h"

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
                  << connect(model, &QAbstractItemModel::dataChanged, this, [this] {
                         m_textsValid = false;
                         invalidateMatches();
                     });
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
    m_textsValid = false;
    m_matchesValid = false;
}

void RyActivityFinder::ensureRows()
{
    if (m_rowsValid)
        return;
    m_rows.clear();
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
        if (parent.isValid() && (!m_predicate || m_predicate(parent)))
            m_rows.append(parent);
        // Asked first: a filtering proxy counts a row's children only after mapping them, and
        // mapping every activity (which has none) costs more than the walk itself.
        if (parent.isValid() && !m_model->hasChildren(parent))
            continue;
        const int count = m_model->rowCount(parent);
        children.clear();
        for (int row = 0; row < count; ++row)
            children.append(m_model->index(row, 0, parent));
        std::reverse(children.begin(), children.end());
        pending += children;
    }
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

void RyActivityFinder::ensureTexts()
{
    if (m_textsValid)
        return;
    m_textsValid = true;
    m_texts.clear();
    m_texts.reserve(m_rows.size() * m_columns.size());
    for (const QModelIndex &row : qAsConst(m_rows)) {
        // Each row mapped once through the proxies, not once a column.
        const QModelIndex source = RyModelLookup::columnPreservingSource(row);
        for (int column : qAsConst(m_columns))
            m_texts.append(source.siblingAtColumn(column).data().toString());
    }
}

void RyActivityFinder::ensureMatches()
{
    ensureRows();
    if (m_matchesValid)
        return;
    m_matches.clear();
    m_matchesValid = true;
    if (m_text.isEmpty() || m_columns.isEmpty())
        return;
    ensureTexts();
    const int columns = m_columns.size();
    for (int position = 0; position < m_rows.size(); ++position) {
        for (int k = 0; k < columns; ++k) {
            if (m_texts.at(position * columns + k).contains(m_text, Qt::CaseInsensitive)) {
                m_matches.append(position);
                break;
            }
        }
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
    // Looked up once a step: a search through the rows costs less than hashing them all each
    // time they change.
    const auto found = std::find(m_rows.cbegin(), m_rows.cend(), index.siblingAtColumn(0));
    return found == m_rows.cend() ? -1 : int(found - m_rows.cbegin());
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
