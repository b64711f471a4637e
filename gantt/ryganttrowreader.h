// Reads what the Gantt chart draws for a row: its dates, type and total float, through the
// item roles of models/ryconstants.h. For a model that does not answer a role (a plain item
// model, or rows the grouping adds) the cell of the column named as the role's field is read,
// the column found once and kept until the columns change.
#pragma once

#include "models/ryconstants.h"

#include <QDateTime>
#include <QHash>
#include <QModelIndex>
#include <QPointer>
#include <QStringList>

class RyGanttRowController;

class RyGanttRowReader
{
public:
    void setModel(const QAbstractItemModel *model);
    // The columns changed: names are looked up again.
    void forgetColumns();
    void setActivityTypeColumn(int column) { m_activityTypeColumn = column; }
    int activityTypeColumn() const { return m_activityTypeColumn; }

    // The value of `role` for the row of `index`, or the cell of column `field` in that row.
    QVariant value(const QModelIndex &index, int role, const QString &field) const;
    // A date field of the row: by its role when the field is one of the chart's own, else by
    // the column of that name (a bar style may name any date column).
    QDateTime date(const QModelIndex &index, const QString &field) const;
    int column(const QString &field) const;

    bool isCritical(const QModelIndex &index) const;
    Ry::RowType rowType(const QModelIndex &index) const;

    // Earliest and latest date of every row of `rows`, shown or not, in the start and finish
    // fields and in `moreFields` (the dates other bars draw), compared as wall-clock fields;
    // invalid dates when no row has one.
    struct Range
    {
        QDate start;
        QDate finish;
    };
    Range range(const RyGanttRowController &rows, const QStringList &moreFields = {}) const;

    static const QString StartField;
    static const QString FinishField;

private:
    QPointer<const QAbstractItemModel> m_model;
    int m_activityTypeColumn = -1;
    mutable QHash<QString, int> m_columns;
};
