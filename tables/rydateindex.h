// A value index whose keys are calendar periods of a date column: "Year", "Quarter", "Week",
// "Month" or "Day"; any other level keys by the cell itself. Cells that are texts are read in
// the date forms the program writes, or else with the date format. Quarters, months and ISO
// weeks carry their year, so that March 2023 and March 2024 are two keys.
#pragma once

#include "tables/ryindex.h"

#include <QString>

class RyDateIndex : public RyIndex
{
public:
    RyDateIndex(QAbstractItemModel *model, int keyColumn, const QString &level,
                const QString &dateFormat = QStringLiteral("dd.MM.yyyy"));

    QVariant key(const QModelIndex &index, int role) const override;
    // Periods with their year ("Q1 2024", "March 2024", "Week 1 2025"; weeks by their ISO
    // week-numbering year), days as "05 March".
    QVariant display(const QVariant &key) const override;
    // Quarters, months and weeks without their year ("March").
    QVariant shortDisplay(const QVariant &key) const override;

    QString level() const { return m_level; }
    QString dateFormat() const { return m_dateFormat; }

    // The period key of a date at a level (an invalid date gives no key): the year as a
    // number, else the first day of the period (a week's Monday), so that keys sort in
    // calendar order.
    static QVariant periodKey(const QDate &date, const QString &level);

private:
    QString m_level;
    QString m_dateFormat;
};
