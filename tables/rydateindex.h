// A value index whose keys are calendar periods of a date column: "Year", "Quarter", "Week",
// "Month" or "Day". Cells that are texts are parsed with the date format.
#pragma once

#include "tables/ryindex.h"

#include <QString>

class RyDateIndex : public RyIndex
{
public:
    RyDateIndex(QAbstractItemModel *model, int keyColumn, const QString &level,
                const QString &dateFormat = QStringLiteral("dd.MM.yyyy"));

    QVariant key(const QModelIndex &index, int role) const override;
    QVariant display(const QVariant &key) const override;

    QString level() const { return m_level; }
    QString dateFormat() const { return m_dateFormat; }

    // The period key of a date at a level (an invalid date gives no key).
    static QVariant periodKey(const QDate &date, const QString &level);

private:
    QString m_level;
    QString m_dateFormat;
};
