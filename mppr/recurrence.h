#pragma once

// A recurring calendar exception as stored, and its expansion into occurrence days.

#include <QDate>
#include <QVector>

namespace mppr {

struct Recurrence
{
    // Codes as stored in the exception record.
    enum class Type : quint32 {
        Range = 1, // every day from `from` to `to`, not recurring
        YearlyByDate = 2,
        YearlyByPosition = 3,
        MonthlyByDate = 4,
        MonthlyByPosition = 5,
        Weekly = 6,
        Daily = 7,
    };

    // A hostile count or range must not make expansion run away: no real calendar repeats one
    // exception more often than daily for a century (36,525 days), so this bounds the work per
    // exception and loses nothing a planner entered.
    static constexpr int MaxOccurrences = 40000;

    Type type = Type::Range;
    QDate from;
    QDate to; // the last day an occurrence may fall on
    int count = 0; // occurrences; 0 when only the end date bounds them
    int period = 1; // every n days, weeks, months
    int weekDays = 0; // Weekly: bit 0 Sunday ... bit 6 Saturday
    int dayOfMonth = 1; // MonthlyByDate, YearlyByDate; clamped to the month's length
    int month = 1; // Yearly*: 1-12
    int position = 0; // *ByPosition: 0 first ... 3 fourth, 4 last
    int dayOfWeek = 1; // *ByPosition: Qt's 1 Monday ... 7 Sunday

    // The occurrence days in ascending order, at most MaxOccurrences. A Range gives its first
    // day only; the caller keeps the range whole.
    QVector<QDate> occurrences() const;
};

} // namespace mppr
