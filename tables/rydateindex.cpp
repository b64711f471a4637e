#include "tables/rydateindex.h"

#include "models/ryvaluetext.h"

#include <QAbstractItemModel>
#include <QDate>
#include <QDateTime>

#include <cmath>

RyDateIndex::RyDateIndex(QAbstractItemModel *model, int keyColumn, const QString &level,
                         const QString &dateFormat)
    : RyIndex(model, keyColumn)
    , m_level(level)
    , m_dateFormat(dateFormat)
{
}

QVariant RyDateIndex::periodKey(const QDate &date, const QString &level)
{
    if (!date.isValid())
        return QVariant();
    if (level == QLatin1String("Year"))
        return uint(date.year());
    if (level == QLatin1String("Quarter"))
        return uint(std::lround(date.month() / 3.0 + 0.25));
    if (level == QLatin1String("Week"))
        return uint(date.weekNumber());
    // Numbers for every month: keys of one kind keep the months in calendar order.
    if (level == QLatin1String("Month"))
        return uint(date.month());
    if (level == QLatin1String("Day"))
        return date;
    return QVariant();
}

QVariant RyDateIndex::key(const QModelIndex &index, int role) const
{
    const QVariant cell = index.data(role);
    QDate date = cell.toDate();
    if (!date.isValid())
        date = QDate::fromString(cell.toString(), m_dateFormat);
    if (!date.isValid())
        return QVariant();
    static const QStringList levels { "Year", "Quarter", "Week", "Month", "Day" };
    if (!levels.contains(m_level))
        return cell;
    return periodKey(date, m_level);
}

QVariant RyDateIndex::display(const QVariant &key) const
{
    if (!key.isValid())
        return QVariant();
    if (m_level == QLatin1String("Quarter"))
        return RyValueText::quarterText(key.toInt());
    if (m_level == QLatin1String("Week"))
        return RyValueText::weekText(key.toInt());
    if (m_level == QLatin1String("Month"))
        return RyValueText::monthName(key.toInt());
    if (m_level == QLatin1String("Day"))
        return RyValueText::dayMonthText(key);
    return key;
}
