#include "gantt/rytimescale.h"

#include "models/ryconstants.h"
#include "models/ryvaluetext.h"

#include <QDateTime>

#include <algorithm>

namespace {

// Loops that walk dates unit by unit stop here, so a far-off date cannot hang the view.
constexpr int MaxSteps = 400000;

const int TierOrder[] = { Ry::Year, Ry::Quarter, Ry::Month, Ry::Week, Ry::Day, Ry::Hour };

const char *const WeekdayNames[]
    = { "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday", "Sunday" };
const char *const QuarterNames[] = { "First", "Second", "Third", "Fourth" };

QDate firstOfNextMonth(const QDate &date)
{
    return QDate(date.year(), date.month(), 1).addMonths(1);
}
QDate mondayOnOrAfter(const QDate &date)
{
    return date.addDays((8 - date.dayOfWeek()) % 7);
}
QDate mondayOnOrBefore(const QDate &date)
{
    return date.addDays(1 - date.dayOfWeek());
}

// How many units `a` make one unit `lowest`, for `a` finer than `lowest`. A day counts as 12
// hours, a month as 30 days or 4 weeks, a quarter as 90 days, a year as 365 days or 52 weeks.
int unitsPerLowest(int a, int lowest)
{
    const int lowestIndex = lowest == Ry::Day ? 0
        : lowest == Ry::Week                  ? 1
        : lowest == Ry::Month                 ? 2
        : lowest == Ry::Quarter               ? 3
        : lowest == Ry::Year                  ? 4
                                              : -1;
    static const int table[6][5] = {
        // day, week, month, quarter, year
        { 720, 5040, 21600, 64800, 262800 }, // minute
        { 12, 84, 360, 1080, 4380 }, // hour
        { 1, 7, 30, 90, 365 }, // day
        { 1, 1, 4, 12, 52 }, // week
        { 1, 1, 1, 3, 12 }, // month
        { 1, 1, 1, 1, 4 }, // quarter
    };
    const int row = a == Ry::Minute ? 0
        : a == Ry::Hour             ? 1
        : a == Ry::Day              ? 2
        : a == Ry::Week             ? 3
        : a == Ry::Month            ? 4
        : a == Ry::Quarter          ? 5
                                    : -1;
    if (row < 0 || lowestIndex < 0)
        return 1;
    return table[row][lowestIndex];
}

} // namespace

const QVector<RyTimeScale::TierFormats> &RyTimeScale::labelFormats()
{
    using D = const QDate &;
    static const QVector<TierFormats> formats {
        { Ry::Year,
          "Year",
          { { "2017", [](D d) { return d.toString(QStringLiteral("yyyy")); } },
            { "17", [](D d) { return d.toString(QStringLiteral("yy")); } },
            { "'17",
              [](D d) { return QStringLiteral("'%1").arg(d.toString(QStringLiteral("yy"))); } } } },
        { Ry::Quarter,
          "Quarter",
          { { "Q1",
              [](D d) { return QStringLiteral("Q%1").arg(RyValueText::quarterOf(d.month())); } },
            { "First Quarter",
              [](D d) {
                  return QStringLiteral("%1 %2").arg(
                      QString::fromLatin1(QuarterNames[RyValueText::quarterOf(d.month()) - 1]),
                      QStringLiteral("Quarter"));
              } },
            { "Q1 2017",
              [](D d) {
                  return QStringLiteral("Q%1 %2")
                      .arg(RyValueText::quarterOf(d.month()))
                      .arg(d.toString(QStringLiteral("yyyy")));
              } } } },
        { Ry::Month,
          "Month",
          { { "1", [](D d) { return QString::number(d.month()); } },
            { "01", [](D d) { return d.toString(QStringLiteral("MM")); } },
            { "Jan", [](D d) { return RyValueText::shortMonthName(d.month()); } },
            { "January", [](D d) { return RyValueText::monthName(d.month()); } } } },
        { Ry::Week,
          "Week",
          { { "W1", [](D d) { return QStringLiteral("W%1").arg(d.weekNumber()); } },
            { "W01",
              [](D d) {
                  return QStringLiteral("W%1").arg(d.weekNumber(), 2, 10, QLatin1Char('0'));
              } },
            { "Week 1", [](D d) { return QStringLiteral("Week %1").arg(d.weekNumber()); } },
            { "Week 01",
              [](D d) {
                  return QStringLiteral("Week %1").arg(d.weekNumber(), 2, 10, QLatin1Char('0'));
              } },
            { "01 Jan '17",
              [](D d) {
                  return QStringLiteral("%1 %2 '%3")
                      .arg(d.toString(QStringLiteral("dd")), RyValueText::shortMonthName(d.month()),
                           d.toString(QStringLiteral("yy")));
              } } } },
        { Ry::Day,
          "Day",
          { { "1", [](D d) { return d.toString(QStringLiteral("d")); } },
            { "01", [](D d) { return d.toString(QStringLiteral("dd")); } },
            { "01-01", [](D d) { return d.toString(QStringLiteral("dd-MM")); } },
            { "01 01 '17",
              [](D d) {
                  return QStringLiteral("%1 '%2").arg(d.toString(QStringLiteral("dd MM")),
                                                      d.toString(QStringLiteral("yy")));
              } },
            { "M",
              [](D d) {
                  return QString::fromLatin1(WeekdayNames[d.dayOfWeek() - 1]).left(1);
              } } } },
        // The header labels hour cells by hourLabel(); a date alone is its first hour.
        { Ry::Hour,
          "Hour",
          { { "8", [](D) { return hourLabel(0, 0); } },
            { "08:00", [](D) { return hourLabel(0, 1); } } } },
    };
    return formats;
}

QString RyTimeScale::hourLabel(int hour, int formatIndex)
{
    return formatIndex == 1 ? QStringLiteral("%1:00").arg(hour, 2, 10, QLatin1Char('0'))
                            : QString::number(hour);
}

QString RyTimeScale::label(const QDate &date, int unit, int formatIndex)
{
    for (const TierFormats &tier : labelFormats()) {
        if (tier.unit == unit)
            return formatIndex >= 0 && formatIndex < tier.formats.size()
                ? tier.formats.at(formatIndex).label(date)
                : QString();
    }
    return QString();
}

void RyTimeScale::setTimelineFlags(quint8 flags)
{
    m_flags = flags;
    m_tiers.clear();
    for (int unit : TierOrder) {
        if (flags & unit)
            m_tiers.append(unit);
    }
    if (m_first.isValid())
        m_start = unitBefore(m_first);
    m_boundaries.clear();
}

void RyTimeScale::setRange(const QDate &start, const QDate &finish)
{
    m_start = start;
    m_finish = finish;
    m_first = QDate();
    m_home = QDate();
    m_boundaries.clear();
}

void RyTimeScale::setContent(const QDate &first, const QDate &last, const QDate &home)
{
    m_first = first;
    m_home = home;
    m_start = unitBefore(first);
    m_finish = last;
    m_boundaries.clear();
}

int RyTimeScale::positionTier() const
{
    const int lowest = lowestTier();
    return lowest == Ry::Hour ? Ry::Day : lowest;
}

int RyTimeScale::positionUnitWidth() const
{
    return lowestTier() == Ry::Hour ? m_unitWidth * HoursPerDay : m_unitWidth;
}

int RyTimeScale::homeX() const
{
    return m_home.isValid() ? dateToX(unitBefore(m_home)) : 0;
}

QDate RyTimeScale::unitBefore(const QDate &date) const
{
    switch (positionTier()) {
    case Ry::Week:
        return mondayOnOrBefore(date).addDays(-7);
    case Ry::Month:
        return QDate(date.year(), date.month(), 1).addMonths(-1);
    case Ry::Quarter:
        return RyValueText::quarterStart(date).addMonths(-3);
    case Ry::Year:
        return QDate(date.year() - 1, 1, 1);
    default:
        return date.addDays(-1);
    }
}

void RyTimeScale::setUnitWidth(int width)
{
    m_unitWidth = width;
    m_boundaries.clear();
}

QDate RyTimeScale::next(const QDate &date, int unit, int lowestUnit) const
{
    const int lowest = lowestUnit ? lowestUnit : positionTier();
    switch (unit) {
    case Ry::Day:
        return date.addDays(1);
    case Ry::Week:
        return lowest == Ry::Day ? date.addDays(8 - date.dayOfWeek()) : date.addDays(7);
    case Ry::Month:
        return firstOfNextMonth(date);
    case Ry::Quarter:
        return RyValueText::quarterStart(date).addMonths(3);
    case Ry::Year:
        return QDate(date.year() + 1, 1, 1);
    default:
        return date.addDays(1);
    }
}

int RyTimeScale::width(const QDate &from, const QDate &to, int unit) const
{
    const int lowest = positionTier();
    const int uw = positionUnitWidth();
    if (unit == Ry::Hour)
        return m_unitWidth;
    if (unit == lowest)
        return uw;
    if (lowest == Ry::Day)
        return int(from.daysTo(to)) * uw;
    if (lowest == Ry::Month) {
        int months = 0;
        QDate cursor = from;
        while ((cursor.month() != to.month() || cursor.year() != to.year()) && months < MaxSteps) {
            cursor = cursor.addMonths(1);
            ++months;
        }
        return months * uw;
    }
    if (unit == Ry::Month && lowest == Ry::Week) {
        if (from == m_start)
            return int((from.dayOfWeek() + from.daysTo(to) - 1) / 7.0 * uw);
        // Weeks rarely start on the 1st: the partial weeks at both ends are added as shares.
        const QDate m1 = mondayOnOrAfter(from);
        const QDate m2 = mondayOnOrBefore(to);
        const int a = qRound(from.daysTo(m1) / 7.0 * uw);
        const int b = qRound(m2.daysTo(to) / 7.0 * uw);
        return int(a + m1.daysTo(m2) / 7.0 * uw + b);
    }
    if (unit > Ry::Month && unit > lowest) {
        const int sub = lowest == Ry::Week ? Ry::Month : Ry::Quarter;
        int sum = 0;
        QDate cursor = from;
        for (int steps = 0; cursor < to && steps < MaxSteps; ++steps) {
            const QDate n = std::min(next(cursor, sub), to);
            sum += width(cursor, n, sub);
            cursor = n;
        }
        return sum;
    }
    return 0;
}

float RyTimeScale::dayFraction(int unit) const
{
    const int lowest = positionTier();
    if (unit >= lowest)
        return 1.0f;
    return 1.0f / float(unitsPerLowest(unit, lowest));
}

float RyTimeScale::dayWidth() const
{
    return float(positionUnitWidth()) * dayFraction(Ry::Day);
}

int RyTimeScale::dateToX(const QDate &date, bool upperTier) const
{
    if (m_tiers.isEmpty() || !date.isValid() || date == m_start)
        return 0;
    const int uw = positionUnitWidth();
    const int lowest = positionTier();
    if (date < m_start) // outside the range: continue the day scale to the left
        return int(dayFraction(Ry::Day) * float(m_start.daysTo(date)) * float(uw));
    int c = lowest;
    if (upperTier && m_tiers.size() >= 2)
        c = m_tiers.at(m_tiers.size() - 2);
    if (c == Ry::Day)
        return int(m_start.daysTo(date)) * uw;

    const int key = c | (upperTier ? 0x100 : 0);
    Boundaries &b = m_boundaries[key];
    if (b.dates.isEmpty()) {
        b.dates.append(m_start);
        b.xs.append(0);
        if (!upperTier) {
            // The first, partial unit counts as a full unit.
            b.dates.append(next(m_start, c, Ry::Day));
            b.xs.append(uw);
        }
    }
    while (b.dates.last() < date && b.dates.size() < MaxSteps) {
        const QDate cursor = b.dates.last();
        const QDate n = next(cursor, c);
        b.xs.append(b.xs.last() + width(cursor, n, c));
        b.dates.append(n);
    }
    auto it = std::lower_bound(b.dates.cbegin() + 1, b.dates.cend(), date);
    if (it == b.dates.cend())
        --it;
    const int i = int(it - b.dates.cbegin());
    const int x = b.xs.at(i);
    if (upperTier)
        return x;
    // End of the lowest-tier unit holding the date, minus the days from the date to that end.
    const QDate cursor = b.dates.at(i);
    return int(float(x) + dayFraction(Ry::Day) * float(cursor.daysTo(date)) * float(uw));
}

int RyTimeScale::dateTimeToX(const QDateTime &dateTime) const
{
    const float share = float(dateTime.time().msecsSinceStartOfDay()) / float(24 * 3600 * 1000);
    return int(float(dateToX(dateTime.date())) + share * dayWidth());
}

QDate RyTimeScale::xToDate(int x) const
{
    if (m_tiers.isEmpty())
        return QDate();
    const int lowest = positionTier();
    const int uw = positionUnitWidth();
    QDate date = m_start;
    if (lowest == Ry::Week)
        date = mondayOnOrBefore(date);
    if (x <= 0 || uw <= 0)
        return date;
    // Hours step within a day: the date is the day holding x.
    const int steps = lowestTier() == Ry::Hour ? x / uw : (x + uw - 1) / uw;
    // Closed forms of `steps` calls of next(); the first step aligns to a unit start.
    switch (lowest) {
    case Ry::Day:
        return date.addDays(steps);
    case Ry::Week:
        return date.addDays(7 * qint64(steps));
    case Ry::Month:
        return QDate(date.year(), date.month(), 1).addMonths(steps);
    case Ry::Quarter:
        return RyValueText::quarterStart(date).addMonths(3 * steps);
    case Ry::Year:
        return QDate(date.year(), 1, 1).addYears(steps);
    default:
        return date;
    }
}

// The chart ends with the lowest-tier unit that holds the finish date, so that the last day's
// bar and header cell are not cut off at the end of the scroll range.
int RyTimeScale::rangeEndX() const
{
    if (m_tiers.isEmpty())
        return 0;
    return dateToX(next(m_finish, positionTier()));
}

QList<QDate> RyTimeScale::tickDates(int minimumX) const
{
    QList<QDate> ticks;
    if (m_tiers.size() < 2)
        return ticks;
    const int c = m_tiers.at(m_tiers.size() - 2);
    const int limit = std::max(dateToX(m_finish), minimumX);
    int sum = 0;
    QDate cursor = m_start;
    for (int steps = 0; sum < limit && steps < MaxSteps; ++steps) {
        if (cursor != m_start)
            ticks.append(cursor);
        const QDate n = next(cursor, c);
        sum += width(cursor, n, c);
        cursor = n;
    }
    return ticks;
}
