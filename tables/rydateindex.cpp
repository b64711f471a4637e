#include "tables/rydateindex.h"

#include "models/ryvaluetext.h"

#include <QAbstractItemModel>
#include <QDate>
#include <QDateTime>

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
        return RyValueText::quarterStart(date);
    if (level == QLatin1String("Week"))
        return date.addDays(1 - date.dayOfWeek());
    if (level == QLatin1String("Month"))
        return QDate(date.year(), date.month(), 1);
    if (level == QLatin1String("Day"))
        return date;
    return QVariant();
}

QVariant RyDateIndex::key(const QModelIndex &index, int role) const
{
    const QVariant cell = index.data(role);
    // Blank cells hold no date; parsing their empty text would cost most of a large index,
    // since each date format parse looks up the time zone.
    if (cell.isNull())
        return QVariant();
    QDate date = RyValueText::dateOf(cell);
    if (!date.isValid() && !m_dateFormat.isEmpty())
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
    // Period keys are first days; a week's Monday names its ISO week and week-year.
    if (m_level == QLatin1String("Quarter"))
        return RyValueText::quarterYearName(key.toDate());
    if (m_level == QLatin1String("Week"))
        return RyValueText::isoWeekYearName(key.toDate());
    if (m_level == QLatin1String("Month"))
        return RyValueText::monthYearName(key.toDate());
    if (m_level == QLatin1String("Day"))
        return RyValueText::dayMonthText(key);
    return key;
}

QVariant RyDateIndex::shortDisplay(const QVariant &key) const
{
    const QDate first = key.toDate();
    if (m_level == QLatin1String("Quarter"))
        return RyValueText::quarterText(RyValueText::quarterOf(first.month()));
    if (m_level == QLatin1String("Week"))
        return RyValueText::weekText(first.weekNumber());
    if (m_level == QLatin1String("Month"))
        return RyValueText::monthName(first.month());
    return displayValue(key);
}
