// The text forms of cell values, in one place: the date and decimal texts the tables, filters and
// layouts read, the text the table views show for a value, and the names of calendar periods
// (month, quarter, ISO week, each with its year) that grouping and the timeline show.
#pragma once

#include <QDate>
#include <QModelIndex>
#include <QString>
#include <QVariant>
#include <QVariantMap>

namespace RyValueText {

// --- Reading texts ---

// The date of a text in one of the forms the program writes or shows: ISO ("2024-03-05", also
// with a time, read by its first ten characters), "dd-MM-yyyy" and "dd.MM.yyyy". Invalid for
// anything else.
QDate dateFromText(const QString &text);
// The date a value holds: a QDate, a QDateTime's date, or dateFromText of its text.
QDate dateOf(const QVariant &value);
// A decimal written with either separator ("2.5", "2,5"); `ok` tells whether the text was one.
double decimalFromText(const QString &text, bool *ok = nullptr);

// --- Showing values ---

// The cell text of the table views: dates as "dd-MM-yyyy", decimals with at most two decimals
// and no trailing zeros ("0.33", "2.5"), P6 codes without their type prefix ("PR_FS" as "FS",
// "TT_Task" as "Task"), anything else as its text; empty for no value. A number of a column whose
// description has "format": "percent" is followed by "%" ("45%"); one with "format": "duration"
// (hours as stored) is shown by durationText.
QString displayText(const QVariant &value, const QVariantMap &columnDescription = QVariantMap());
// The text exactly as the tables show the cell: its display value, with the column description
// its model gives under Ry::ColumnDescriptionRole.
QString displayText(const QModelIndex &index);
// A decimal with at most two decimals, trailing zeros dropped ("0.33", "2.5", "3").
QString decimalText(double value);
// `text` without a leading P6 code prefix ("TT_", "PR_", "RT_", "TK_", "CS_"), a constraint code
// as its name ("CS_MSOA" is "Start No Earlier Than"); other texts as they are.
QString stripCodePrefix(const QString &text);

// --- Durations ---

enum class DurationUnit { Hours, Days, Weeks };

// How durations, float and lags are shown: the unit and the project's working minutes per day
// and per week that a day and a week stand for.
struct DurationFormat
{
    DurationUnit unit = DurationUnit::Days;
    int minutesPerDay = 480;
    int minutesPerWeek = 2400;
};

// The format every view shows durations in; the window sets it from the open project and the
// View > Units choice (GUI thread only).
DurationFormat durationFormat();
void setDurationFormat(const DurationFormat &format);
// Hours in the format's unit, at most two decimals, with the unit: "5d", "2.5d", "-3d", "40h",
// "1.5w".
QString durationText(double hours, const DurationFormat &format);
QString durationText(double hours);
// "Hours", "Days", "Weeks", as the Units menu and the layouts name them; an unknown name reads
// as `fallback`.
QString durationUnitName(DurationUnit unit);
DurationUnit durationUnitFromName(const QString &name, DurationUnit fallback);

// --- Calendar periods (English names, whatever the locale) ---

QString monthName(int month); // "March"; empty outside 1..12
QString shortMonthName(int month); // "Mar"; empty outside 1..12
int quarterOf(int month); // 1..4; 0 outside 1..12
QDate quarterStart(const QDate &date); // the first day of the date's quarter
QString quarterText(int quarter); // "Q3"
QString weekText(int week); // "Week 12"
QString dayMonthText(const QVariant &value); // "05 March"; empty without a date

// The name of the period holding `date`, with its year; empty for an invalid date.
QString yearName(const QDate &date); // "2024"
QString quarterYearName(const QDate &date); // "Q1 2024"
QString monthYearName(const QDate &date); // "March 2024"
QString isoWeekYearName(const QDate &date); // "Week 1 2025" for 30 December 2024 (ISO week year)
QString dayName(const QDate &date); // "05 March", as dayMonthText

} // namespace RyValueText
