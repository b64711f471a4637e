// The fourteen checks of a RyScheduleCheck as a flat table for the check window: number, name,
// count, population, ratio, threshold and result, one row per check. Holds its own copy of the
// check; the note of a check is the tooltip of its row.
#pragma once

#include "tables/ryschedulecheck.h"

#include <QAbstractTableModel>

class RyScheduleCheckModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column { Number, Name, Count, Population, Ratio, Threshold, Result, ColumnCount };

    explicit RyScheduleCheckModel(QObject *parent = nullptr);

    void setCheck(const RyScheduleCheck &check);
    const RyScheduleCheck &check() const { return m_check; }

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    // The ratio as the table shows it: a percentage, an index for checks 13 and 14.
    static QString ratioText(const RyScheduleCheck::Check &check);

private:
    RyScheduleCheck m_check;
};
