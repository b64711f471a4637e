#include "mppr/recurrence.h"

#include <algorithm>

namespace mppr {

namespace {

// The `position`-th (4 = last) `dayOfWeek` of a month.
QDate nthWeekDay(int year, int month, int position, int dayOfWeek)
{
    const QDate first(year, month, 1);
    if (!first.isValid())
        return QDate();
    if (position >= 4) {
        QDate day(year, month, first.daysInMonth());
        return day.addDays(-((day.dayOfWeek() - dayOfWeek + 7) % 7));
    }
    const QDate day = first.addDays((dayOfWeek - first.dayOfWeek() + 7) % 7);
    return day.addDays(7 * std::max(position, 0));
}

QDate clampedDate(int year, int month, int day)
{
    const QDate first(year, month, 1);
    if (!first.isValid())
        return QDate();
    return QDate(year, month, std::clamp(day, 1, first.daysInMonth()));
}

// Collects days within [from, to] until the count or the bound is reached.
class Collector
{
public:
    explicit Collector(const Recurrence &r)
        : m_r(r)
        , m_limit(r.count > 0 ? std::min(r.count, int(Recurrence::MaxOccurrences))
                              : int(Recurrence::MaxOccurrences))
    {
    }
    // False once no later day can be taken.
    bool offer(const QDate &day)
    {
        if (!day.isValid() || day > m_r.to)
            return false;
        if (day >= m_r.from)
            m_days.append(day);
        return m_days.size() < m_limit;
    }
    QVector<QDate> days() const { return m_days; }

private:
    const Recurrence &m_r;
    const int m_limit;
    QVector<QDate> m_days;
};

} // namespace

QVector<QDate> Recurrence::occurrences() const
{
    if (!from.isValid() || !to.isValid() || to < from)
        return {};
    if (type == Type::Range)
        return { from };
    Collector c(*this);
    const int step = std::max(period, 1);
    // Each loop steps forward at least one day per turn and stops at `to` or the limit;
    // MaxOccurrences turns more than cover any span that yields occurrences.
    switch (type) {
    case Type::Daily:
        for (int k = 0; k < MaxOccurrences && c.offer(from.addDays(qint64(k) * step)); ++k) { }
        break;
    case Type::Weekly: {
        // Weeks run from Sunday; the week holding `from` is the first.
        const QDate weekStart = from.addDays(-(from.dayOfWeek() % 7));
        bool more = true;
        for (int k = 0; more && k < MaxOccurrences; ++k) {
            const QDate week = weekStart.addDays(qint64(7) * k * step);
            if (week > to)
                break;
            for (int d = 0; more && d < 7; ++d) {
                const QDate day = week.addDays(d);
                if ((weekDays & (1 << d)) && day >= from)
                    more = c.offer(day);
            }
        }
        break;
    }
    case Type::MonthlyByDate:
    case Type::MonthlyByPosition:
        for (int k = 0; k < MaxOccurrences; ++k) {
            const int months = from.month() - 1 + k * step;
            const int year = from.year() + months / 12;
            const int monthOfYear = months % 12 + 1;
            const QDate day = type == Type::MonthlyByDate
                ? clampedDate(year, monthOfYear, dayOfMonth)
                : nthWeekDay(year, monthOfYear, position, dayOfWeek);
            if (!c.offer(day))
                break;
        }
        break;
    case Type::YearlyByDate:
    case Type::YearlyByPosition:
        for (int k = 0; k < MaxOccurrences; ++k) {
            const QDate day = type == Type::YearlyByDate
                ? clampedDate(from.year() + k, month, dayOfMonth)
                : nthWeekDay(from.year() + k, month, position, dayOfWeek);
            if (!c.offer(day))
                break;
        }
        break;
    case Type::Range:
        break;
    }
    return c.days();
}

} // namespace mppr
