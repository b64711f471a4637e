#pragma once

// The project's calendars and properties as the file defines them: week days with their
// working times, exceptions (recurring ones expanded into their occurrences), the base
// calendar a derived or resource calendar falls back to, and the project-wide time units.

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QVector>

#include <array>
#include <optional>

namespace mppr {

// Working time within one day, in minutes after midnight; `to` is 1440 for midnight.
struct TimeRange
{
    int from = 0;
    int to = 0;
    bool operator==(const TimeRange &other) const { return from == other.from && to == other.to; }
};

struct CalendarWeekDay
{
    // False for a derived calendar's "use base" day and for a base calendar's day left to the
    // authoring tool's default.
    bool defined = false;
    bool working = false;
    QVector<TimeRange> ranges;
};

// One exception day range. A recurring exception becomes one entry per occurrence.
struct CalendarException
{
    QDate from;
    QDate to;
    bool working = false;
    QVector<TimeRange> ranges;
};

struct Calendar
{
    // Index 0 is Sunday.
    static constexpr int DaysPerWeek = 7;

    qint32 uniqueId = 0;
    QString name;
    std::optional<qint32> baseCalendarUniqueId; // absent for a base calendar
    std::optional<qint32> resourceUniqueId; // present for a resource's calendar
    std::array<CalendarWeekDay, DaysPerWeek> weekDays;
    QVector<CalendarException> exceptions; // sorted by `from`

    bool isBase() const { return !baseCalendarUniqueId.has_value(); }
};

// The authoring tool's week where a base calendar leaves a day to the default: Monday to
// Friday 08:00-12:00 and 13:00-17:00, Saturday and Sunday off.
CalendarWeekDay defaultWeekDay(int day);

// Project-wide properties. Text and dates the file does not give stay empty or unset.
struct ProjectProperties
{
    // The authoring tool's defaults, used where the file gives none.
    static constexpr int DefaultMinutesPerDay = 480;
    static constexpr int DefaultMinutesPerWeek = 2400;
    static constexpr int DefaultDaysPerMonth = 20;

    int minutesPerDay = DefaultMinutesPerDay;
    int minutesPerWeek = DefaultMinutesPerWeek;
    int daysPerMonth = DefaultDaysPerMonth;
    std::optional<qint32> calendarUniqueId;
    QDateTime startDate;
    QDateTime finishDate;
    QDateTime statusDate;
    QDateTime currentDate;
    QString author;
    QString title;
    QString company;
};

} // namespace mppr
