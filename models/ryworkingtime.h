// When a project works: a week of working-time ranges and exception days over it, as the
// project calendar defines them. The chart shades what is not working time. A default
// RyWorkingTime is the fallback week, Monday to Friday 08:00-17:00, Saturday and Sunday off.
#pragma once

#include <QDate>
#include <QDateTime>
#include <QMap>
#include <QPair>
#include <QVector>

#include <array>

class RyWorkingTime
{
public:
    // Minutes after midnight, [from, to); `to` is 1440 for midnight.
    using Range = QPair<int, int>;
    struct Day
    {
        bool working = false;
        QVector<Range> ranges;
    };

    RyWorkingTime();

    // Index 0 is Monday, as QDate::dayOfWeek() - 1.
    void setWeekDay(int dayOfWeek, const Day &day);
    // Every day from `from` to `to` becomes `day`; at most MaxExceptionDays days in all.
    void addException(const QDate &from, const QDate &to, const Day &day);
    // Whether the project's calendar was read (false for the fallback week).
    bool isFromCalendar() const { return m_fromCalendar; }
    void setFromCalendar(bool read) { m_fromCalendar = read; }

    const Day &day(const QDate &date) const;
    bool isWorkingDay(const QDate &date) const { return day(date).working; }
    // The non-working parts of the date's 24 hours, ascending.
    QVector<Range> nonWorkingRanges(const QDate &date) const;
    // The working minutes from `from` to `to` (wall-clock values); 0 when `to` is not later.
    // Counts at most MaxSpanDays days.
    qint64 workingMinutes(const QDateTime &from, const QDateTime &to) const;

    // Bounds the exception days a damaged or hostile file can make the chart hold.
    static constexpr int MaxExceptionDays = 100000;
    static constexpr int MaxSpanDays = 100000;

private:
    std::array<Day, 7> m_week;
    QMap<QDate, Day> m_exceptions;
    bool m_fromCalendar = false;
};
