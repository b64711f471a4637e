// Reads what the Gantt chart draws for a row: its dates, type and total float, through the
// item roles of models/ryconstants.h. A row that does not answer a role itself (a table row,
// or a row the grouping adds) is read from the cell of the column whose Ry::ColumnItemRole
// header names the role, found once and kept until the columns change. Only a bar style naming
// a date column that has no role (say "Late Start Date") reads that column by its title.
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
    // The value of `role` for the row of `index`: its own, else its cell in the role's column.
    QVariant value(const QModelIndex &index, int role) const;
    // The column whose header names `role`, or -1.
    int roleColumn(int role) const;
    // A date field of the row: by its role when the field is one of the chart's own, else by
    // the column of that name (a bar style may name any date column).
    QDateTime date(const QModelIndex &index, const QString &field) const;
    int column(const QString &field) const;

    // A split task's parts as stored (Ry::SegmentsRole): the row's own, else its start cell's.
    QVariantList segments(const QModelIndex &index) const;

    bool isCritical(const QModelIndex &index) const;
    Ry::RowType rowType(const QModelIndex &index) const;

    // Earliest start and latest finish of every row of `rows`, shown or not, compared as
    // wall-clock fields, and the earliest and latest day of those and of `moreFields` (the
    // dates other shown bars draw: baselines, actual dates); invalid dates when no row has one.
    struct Range
    {
        QDate start;
        QDate finish;
        QDate first;
        QDate last;
    };
    Range range(const RyGanttRowController &rows, const QStringList &moreFields = {}) const;

    static const QString StartField;
    static const QString FinishField;

private:
    QPointer<const QAbstractItemModel> m_model;
    mutable QHash<QString, int> m_columns;
    mutable QHash<int, int> m_roleColumns;
};
