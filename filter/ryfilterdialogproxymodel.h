// The filtering and sorting layer of a table: per source column either a list of accepted
// values or a condition (RyExpression); setting one replaces the other. A row shows when it
// passes the filters of every column, or when a descendant does. A null entry in a value list
// accepts the cells without a value. Sorting follows RyValueOrder. The proxy owns its
// conditions. Column numbers refer to the source's column order when they were set, and follow
// the columns the source inserts or removes.
#pragma once

#include "filter/ryexpression.h"

#include <QHash>
#include <QMap>
#include <QSet>
#include <QSortFilterProxyModel>
#include <QVariantList>
#include <QVector>

#include <map>
#include <memory>

class RyFilterDialogProxyModel : public QSortFilterProxyModel
{
    Q_OBJECT

public:
    using ExpressionMap = std::map<int, std::unique_ptr<RyExpression>>;

    explicit RyFilterDialogProxyModel(QObject *parent = nullptr);
    ~RyFilterDialogProxyModel() override;

    void setValueFilter(int column, const QVariantList &values);
    // Takes the condition over; a null node removes the column's condition.
    void setExpressionFilter(int column, std::unique_ptr<RyExpression> first);
    void clearFilter(int column);
    void clearAllFilters();

    const QMap<int, QVariantList> &valueFilters() const { return m_valueFilters; }
    const ExpressionMap &expressionFilters() const { return m_expressionFilters; }
    const RyExpression *expressionFilter(int column) const;
    bool isColumnFiltered(int column) const;
    // False when no filter of any kind is set: every source row shows, in some order.
    bool filtersRows() const;

    // {"patterns": {"<column>": [values]}, "expressions": {"<column>": "op;value[;LINK;op;value]"}}
    QVariantMap filterSettings() const;
    void setFilterSettings(const QVariantMap &settings);

    void setSourceModel(QAbstractItemModel *sourceModel) override;

    // Whether a cell counts as empty for the "(Blanks)" entry of a value list.
    static bool isBlank(const QVariant &cell);

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex &sourceParent) const override;
    bool lessThan(const QModelIndex &left, const QModelIndex &right) const override;

private:
    bool acceptsOwnCells(int sourceRow, const QModelIndex &sourceParent) const;
    bool anyChildAccepted(const QModelIndex &sourceIndex) const;
    void rebuildLookups();
    void refilter();
    // Renumbers the filters after `count` source columns were inserted at `first` (removed
    // there, for a negative count); true when a filter went with its column.
    bool moveFilters(int first, int count);

    QMap<int, QVariantList> m_valueFilters;
    ExpressionMap m_expressionFilters;

    // Derived from the maps for speed: the accepted texts per column as hash sets, and the
    // datatype of every conditioned column, read once per change instead of once per row.
    struct ValueLookup
    {
        int column;
        QSet<QString> texts;
        bool blanks; // the list holds the null entry
    };
    QVector<ValueLookup> m_valueLookup;
    struct Condition
    {
        int column;
        QString datatype;
        const RyExpression *first;
    };
    QVector<Condition> m_conditions;
    QMetaObject::Connection m_headerConnections[5];
    bool m_filterDropped = false;
};
