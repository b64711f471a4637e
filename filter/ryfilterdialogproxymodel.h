// The filtering layer of a table: per source column either a list of accepted display texts or a
// condition (RyExpression). Rows failing them are hidden, rows with a passing descendant stay.
// While any value list exists the conditions stay stored but are not applied. The proxy owns
// its conditions. Column numbers refer to the source's column order when they were set.
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

    // {"patterns": {"<column>": [values]}, "expressions": {"<column>": "op;value[;LINK;op;value]"}}
    QVariantMap filterSettings() const;
    void setFilterSettings(const QVariantMap &settings);

    void setSourceModel(QAbstractItemModel *sourceModel) override;

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex &sourceParent) const override;

private:
    bool acceptsByValues(int sourceRow, const QModelIndex &sourceParent) const;
    bool acceptsByConditions(int sourceRow, const QModelIndex &sourceParent) const;
    bool anyChildAccepted(const QModelIndex &sourceIndex) const;
    void rebuildLookups();
    void refilter();

    QMap<int, QVariantList> m_valueFilters;
    ExpressionMap m_expressionFilters;

    // Derived from the maps for speed: the accepted texts per column as hash sets, and the
    // datatype of every conditioned column, read once per change instead of once per row.
    QVector<QPair<int, QSet<QString>>> m_valueLookup;
    struct Condition
    {
        int column;
        QString datatype;
        const RyExpression *first;
    };
    QVector<Condition> m_conditions;
    QMetaObject::Connection m_headerConnections[4];
};
