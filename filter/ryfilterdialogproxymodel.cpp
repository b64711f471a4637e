#include "filter/ryfilterdialogproxymodel.h"

#include "models/ryconstants.h"
#include "models/ryvalueorder.h"

#include <utility>

RyFilterDialogProxyModel::RyFilterDialogProxyModel(QObject *parent)
    : QSortFilterProxyModel(parent)
{
}

RyFilterDialogProxyModel::~RyFilterDialogProxyModel() = default;

void RyFilterDialogProxyModel::setValueFilter(int column, const QVariantList &values)
{
    m_valueFilters.insert(column, values);
    m_expressionFilters.erase(column);
    refilter();
}

void RyFilterDialogProxyModel::setExpressionFilter(int column, std::unique_ptr<RyExpression> first)
{
    if (first) {
        m_expressionFilters[column] = std::move(first);
        m_valueFilters.remove(column);
    } else {
        m_expressionFilters.erase(column);
    }
    refilter();
}

void RyFilterDialogProxyModel::clearFilter(int column)
{
    m_valueFilters.remove(column);
    m_expressionFilters.erase(column);
    refilter();
}

void RyFilterDialogProxyModel::clearAllFilters()
{
    m_valueFilters.clear();
    m_expressionFilters.clear();
    refilter();
}

const RyExpression *RyFilterDialogProxyModel::expressionFilter(int column) const
{
    const auto it = m_expressionFilters.find(column);
    return it == m_expressionFilters.end() ? nullptr : it->second.get();
}

bool RyFilterDialogProxyModel::isColumnFiltered(int column) const
{
    return m_valueFilters.contains(column) || m_expressionFilters.count(column) > 0;
}

QVariantMap RyFilterDialogProxyModel::filterSettings() const
{
    QVariantMap patterns;
    for (auto it = m_valueFilters.cbegin(); it != m_valueFilters.cend(); ++it)
        patterns.insert(QString::number(it.key()), it.value());
    QVariantMap expressions;
    for (const auto &entry : m_expressionFilters)
        expressions.insert(QString::number(entry.first), entry.second->toText());
    return { { QStringLiteral("patterns"), patterns },
             { QStringLiteral("expressions"), expressions } };
}

void RyFilterDialogProxyModel::setFilterSettings(const QVariantMap &settings)
{
    m_valueFilters.clear();
    m_expressionFilters.clear();
    // A key that is not a column number would otherwise read as column 0: skip it.
    const QVariantMap patterns = settings.value(QStringLiteral("patterns")).toMap();
    for (auto it = patterns.cbegin(); it != patterns.cend(); ++it) {
        bool ok = false;
        const int column = it.key().toInt(&ok);
        if (ok)
            m_valueFilters.insert(column, it.value().toList());
    }
    const QVariantMap expressions = settings.value(QStringLiteral("expressions")).toMap();
    for (auto it = expressions.cbegin(); it != expressions.cend(); ++it) {
        bool ok = false;
        const int column = it.key().toInt(&ok);
        std::unique_ptr<RyExpression> first = RyExpression::fromText(it.value().toString());
        // Layouts saved before a choice replaced the other may hold both on one column; the
        // list, which was the one in effect then, stays.
        if (ok && first && !m_valueFilters.contains(column))
            m_expressionFilters[column] = std::move(first);
    }
    // One pass instead of one per entry: the rows shown at the end are the same.
    refilter();
}

void RyFilterDialogProxyModel::setSourceModel(QAbstractItemModel *sourceModel)
{
    for (const QMetaObject::Connection &connection : m_headerConnections)
        disconnect(connection);
    // Connected before the base class connects its own handlers, so that the column types are
    // read again before the rows are filtered anew.
    if (sourceModel) {
        const auto reread = [this] { rebuildLookups(); };
        m_headerConnections[0]
            = connect(sourceModel, &QAbstractItemModel::headerDataChanged, this, reread);
        m_headerConnections[1]
            = connect(sourceModel, &QAbstractItemModel::modelReset, this, reread);
        m_headerConnections[2] = connect(
            sourceModel, &QAbstractItemModel::columnsInserted, this,
            [this](const QModelIndex &parent, int first, int last) {
                if (!parent.isValid())
                    moveFilters(first, last - first + 1);
                rebuildLookups();
            });
        m_headerConnections[3] = connect(
            sourceModel, &QAbstractItemModel::columnsRemoved, this,
            [this](const QModelIndex &parent, int first, int last) {
                if (!parent.isValid())
                    m_filterDropped = moveFilters(first, -(last - first + 1));
                rebuildLookups();
            });
    }
    QSortFilterProxyModel::setSourceModel(sourceModel);
    // After the base class has taken the columns out: rows a dropped filter hid come back.
    if (sourceModel)
        m_headerConnections[4]
            = connect(sourceModel, &QAbstractItemModel::columnsRemoved, this, [this] {
                  if (std::exchange(m_filterDropped, false))
                      invalidateFilter();
              });
    refilter();
}

bool RyFilterDialogProxyModel::moveFilters(int first, int count)
{
    // Columns that come and go (a comparison's, the check's findings) must not leave the
    // filters of the columns after them on their neighbours. A filter stored for a column the
    // source did not have (a layout made for more columns) keeps its number.
    const int before = sourceModel() ? sourceModel()->columnCount() - count : 0;
    const auto moved = [&](int column) {
        if (column < first || column >= before)
            return column;
        if (count < 0 && column < first - count)
            return -1; // the filtered column went
        return column + count;
    };
    bool dropped = false;
    QMap<int, QVariantList> values;
    for (auto it = m_valueFilters.cbegin(); it != m_valueFilters.cend(); ++it) {
        const int column = moved(it.key());
        if (column >= 0)
            values.insert(column, it.value());
        dropped |= column < 0;
    }
    m_valueFilters = values;
    ExpressionMap expressions;
    for (auto &entry : m_expressionFilters) {
        const int column = moved(entry.first);
        if (column >= 0)
            expressions[column] = std::move(entry.second);
        dropped |= column < 0;
    }
    m_expressionFilters = std::move(expressions);
    return dropped;
}

void RyFilterDialogProxyModel::refilter()
{
    rebuildLookups();
    invalidateFilter();
}

void RyFilterDialogProxyModel::rebuildLookups()
{
    const QAbstractItemModel *source = sourceModel();
    // A filter on a column the source does not have (a layout made for other columns) has
    // no cells to test; it stays stored and saved but filters nothing.
    const auto exists
        = [source](int column) { return source && column >= 0 && column < source->columnCount(); };
    m_valueLookup.clear();
    for (auto it = m_valueFilters.cbegin(); it != m_valueFilters.cend(); ++it) {
        if (!exists(it.key()))
            continue;
        // Display texts are compared as texts, so a hash of texts answers the same as walking
        // the list with QVariant equality, without a quadratic cost on long lists.
        ValueLookup lookup { it.key(), {}, false };
        lookup.texts.reserve(it.value().size());
        for (const QVariant &value : it.value()) {
            if (value.isNull())
                lookup.blanks = true;
            else
                lookup.texts.insert(value.toString());
        }
        m_valueLookup.append(lookup);
    }
    m_conditions.clear();
    for (const auto &entry : m_expressionFilters) {
        if (!exists(entry.first))
            continue;
        const QString datatype
            = source->headerData(entry.first, Qt::Horizontal, Ry::ColumnDescriptionRole)
                  .toMap()
                  .value(QStringLiteral("datatype"))
                  .toString();
        m_conditions.append({ entry.first, datatype, entry.second.get() });
    }
}

bool RyFilterDialogProxyModel::isBlank(const QVariant &cell)
{
    return cell.isNull() || cell.toString().isEmpty();
}

bool RyFilterDialogProxyModel::filtersRows() const
{
    return !m_valueLookup.isEmpty() || !m_conditions.isEmpty() || !filterRegExp().isEmpty()
        || !filterRegularExpression().pattern().isEmpty();
}

bool RyFilterDialogProxyModel::filterAcceptsRow(int sourceRow,
                                                const QModelIndex &sourceParent) const
{
    if (m_valueLookup.isEmpty() && m_conditions.isEmpty())
        return QSortFilterProxyModel::filterAcceptsRow(sourceRow, sourceParent);
    const QModelIndex keyIndex = sourceModel()->index(sourceRow, filterKeyColumn(), sourceParent);
    if (!keyIndex.isValid())
        return QSortFilterProxyModel::filterAcceptsRow(sourceRow, sourceParent);
    if (anyChildAccepted(keyIndex))
        return true;
    return acceptsOwnCells(sourceRow, sourceParent)
        && QSortFilterProxyModel::filterAcceptsRow(sourceRow, sourceParent);
}

bool RyFilterDialogProxyModel::lessThan(const QModelIndex &left, const QModelIndex &right) const
{
    return RyValueOrder::lessThan(left.data(sortRole()), right.data(sortRole()));
}

bool RyFilterDialogProxyModel::anyChildAccepted(const QModelIndex &sourceIndex) const
{
    const QAbstractItemModel *source = sourceModel();
    const int rows = source->rowCount(sourceIndex);
    for (int child = 0; child < rows; ++child) {
        if (filterAcceptsRow(child, sourceIndex))
            return true;
    }
    return false;
}

bool RyFilterDialogProxyModel::acceptsOwnCells(int sourceRow, const QModelIndex &sourceParent) const
{
    const QAbstractItemModel *source = sourceModel();
    for (const ValueLookup &lookup : m_valueLookup) {
        const QVariant cell
            = source->index(sourceRow, lookup.column, sourceParent).data(Qt::DisplayRole);
        const bool accepted = isBlank(cell) ? lookup.blanks || lookup.texts.contains(QString())
                                            : lookup.texts.contains(cell.toString());
        if (!accepted)
            return false;
    }
    for (const Condition &condition : m_conditions) {
        const QVariant cell
            = source->index(sourceRow, condition.column, sourceParent).data(Qt::DisplayRole);
        const QVariant value = RyExpression::convertCell(cell, condition.datatype);
        if (!RyExpression::evaluate(condition.first, value))
            return false;
    }
    return true;
}
