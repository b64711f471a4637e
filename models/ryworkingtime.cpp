#include "models/ryworkingtime.h"

#include <algorithm>

RyWorkingTime::RyWorkingTime()
{
    const Day weekday { true, { { 8 * 60, 12 * 60 }, { 13 * 60, 17 * 60 } } };
    for (int d = 0; d < 5; ++d)
        m_week[size_t(d)] = weekday;
}

void RyWorkingTime::setWeekDay(int dayOfWeek, const Day &day)
{
    if (dayOfWeek >= 0 && dayOfWeek < 7)
        m_week[size_t(dayOfWeek)] = day;
}

void RyWorkingTime::addException(const QDate &from, const QDate &to, const Day &day)
{
    if (!from.isValid() || !to.isValid())
        return;
    for (QDate d = from; d <= to && m_exceptions.size() < MaxExceptionDays; d = d.addDays(1))
        m_exceptions.insert(d, day);
}

const RyWorkingTime::Day &RyWorkingTime::day(const QDate &date) const
{
    const auto it = m_exceptions.constFind(date);
    if (it != m_exceptions.cend())
        return *it;
    return m_week[size_t(std::clamp(date.dayOfWeek(), 1, 7) - 1)];
}

QVector<RyWorkingTime::Range> RyWorkingTime::nonWorkingRanges(const QDate &date) const
{
    const Day &d = day(date);
    if (!d.working)
        return { { 0, 24 * 60 } };
    QVector<Range> working = d.ranges;
    std::sort(working.begin(), working.end());
    QVector<Range> gaps;
    int at = 0;
    for (const Range &r : qAsConst(working)) {
        if (r.first > at)
            gaps.append({ at, r.first });
        at = std::max(at, r.second);
    }
    if (at < 24 * 60)
        gaps.append({ at, 24 * 60 });
    return gaps;
}

qint64 RyWorkingTime::workingMinutes(const QDateTime &from, const QDateTime &to) const
{
    if (!from.isValid() || !to.isValid() || to <= from)
        return 0;
    const QDate last = to.date();
    const int lastMinute = to.time().hour() * 60 + to.time().minute();
    int startMinute = from.time().hour() * 60 + from.time().minute();
    qint64 minutes = 0;
    int days = 0;
    for (QDate d = from.date(); d <= last && days < MaxSpanDays; d = d.addDays(1), ++days) {
        const Day &today = day(d);
        const int endMinute = d == last ? lastMinute : 24 * 60;
        if (today.working) {
            for (const Range &r : today.ranges)
                minutes += std::max(0, std::min(r.second, endMinute) - std::max(r.first, startMinute));
        }
        startMinute = 0;
    }
    return minutes;
}
