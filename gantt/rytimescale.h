// The time axis of the Gantt chart as a value: the shown tiers, the date range and the unit
// width, mapping dates to x and back and stepping a tier cell by cell. The timeline header, the
// chart and the zoom share one; it keeps a cache of unit boundaries, so copies are cheap to read
// but each fills its own cache.
#pragma once

#include <QDate>
#include <QHash>
#include <QList>
#include <QStringList>
#include <QVector>

class QDateTime;

class RyTimeScale
{
public:
    // One label format of a tier: the sample shown in the bar styles dialog and the function
    // that writes the label of the cell starting at a date.
    struct LabelFormat
    {
        const char *sample;
        QString (*label)(const QDate &date);
    };
    // The formats of one tier unit; a format index is a position in `formats`.
    struct TierFormats
    {
        int unit;
        const char *name;
        QVector<LabelFormat> formats;
    };
    // Every tier unit with its formats, coarsest first: the timeline header writes its labels
    // with them and the bar styles dialog lists their samples.
    static const QVector<TierFormats> &labelFormats();
    // The hour tier splits each day into its hours: positions still step by days.
    static constexpr int HoursPerDay = 24;
    // Label of an hour cell: "8" (format 0) or "08:00" (format 1).
    static QString hourLabel(int hour, int formatIndex);
    // Label of the `unit` cell starting at `date`; empty for an unknown unit or format.
    static QString label(const QDate &date, int unit, int formatIndex);

    void setTimelineFlags(quint8 flags);
    quint8 timelineFlags() const { return m_flags; }
    // Shown tiers from the top row down, coarsest first; the last entry is the lowest tier.
    QList<int> tiers() const { return m_tiers; }
    int lowestTier() const { return m_tiers.isEmpty() ? 0 : m_tiers.last(); }

    // A range from `start` to `finish` as given, with no margin.
    void setRange(const QDate &start, const QDate &finish);
    // The dates the chart draws, `first` to `last`, and the plan's start it opens at: the range
    // runs from one lowest-tier unit before `first` to `last`, and the margin follows the tiers
    // when they change (until setRange is called).
    void setContent(const QDate &first, const QDate &last, const QDate &home);
    QDate homeDate() const { return m_home; }
    // Where the chart opens: one lowest-tier unit before the home date (0 without content).
    int homeX() const;
    // Start of the lowest-tier unit before the one holding `date`.
    QDate unitBefore(const QDate &date) const;
    QDate startDate() const { return m_start; }
    QDate finishDate() const { return m_finish; }
    // Width of one lowest-tier cell: an hour at the hour tier, which splits the days above it.
    void setUnitWidth(int width);
    int unitWidth() const { return m_unitWidth; }
    // The tier positions step by: the lowest, but the day for the hour tier.
    int positionTier() const;
    // Width of one positionTier() unit.
    int positionUnitWidth() const;

    // Start of the `unit` cell after the one holding `date`. `lowestUnit` 0 means the lowest tier.
    QDate next(const QDate &date, int unit, int lowestUnit = 0) const;
    // Pixel width of the `unit` cell running from `from` to `to`.
    int width(const QDate &from, const QDate &to, int unit) const;
    // Share of one lowest-tier unit covered by one `unit`.
    float dayFraction(int unit) const;
    int dateToX(const QDate &date, bool upperTier = false) const;
    // As bars place their dates (the day's position), plus the share of that day already gone;
    // the wall-clock fields count.
    int dateTimeToX(const QDateTime &dateTime) const;
    // Pixel width of one day on this scale.
    float dayWidth() const;
    QDate xToDate(int x) const;
    // Width of the whole range: up to the end of the lowest-tier unit holding the finish date.
    int rangeEndX() const;
    // Starts of the cells of the tier above the lowest, inside the range and up to `minimumX`
    // at least (the right edge of a view wider than the range): the chart's grid lines.
    QList<QDate> tickDates(int minimumX = 0) const;

private:
    // Cumulative x positions of the unit starts of one tier, as dateToX walks them. Walking
    // from the start date for every bar would cost a loop per date; the walk is kept instead.
    struct Boundaries
    {
        QVector<QDate> dates;
        QVector<int> xs;
    };

    QList<int> m_tiers;
    quint8 m_flags = 0;
    QDate m_start = QDate::currentDate();
    QDate m_finish = QDate::currentDate().addMonths(6);
    QDate m_first; // of the content; invalid for a range set without margin
    QDate m_home;
    int m_unitWidth = 32;
    mutable QHash<int, Boundaries> m_boundaries; // key: unit, plus 0x100 for the upper-tier rule
};
