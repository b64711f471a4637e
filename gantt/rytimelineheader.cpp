#include "gantt/rytimelineheader.h"

#include "models/ryconstants.h"
#include "models/ryvaluetext.h"

#include <QDebug>
#include <QHash>
#include <QLoggingCategory>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionHeader>

#include <algorithm>
#include <cmath>

namespace {
Q_LOGGING_CATEGORY(lcGantt, "tarvik.gantt", QtWarningMsg)
} // namespace

namespace {

// Loops that walk dates unit by unit stop here, so a far-off date cannot hang the view.
constexpr int MaxSteps = 400000;

const int TierOrder[] = { Ry::Year, Ry::Quarter, Ry::Month, Ry::Week, Ry::Day };

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

// Cumulative x positions of the unit starts of one tier, as dateToX walks them. Walking from the
// start date for every bar would cost a loop per date; the walk is kept and searched instead.
struct Boundaries
{
    QVector<QDate> dates;
    QVector<int> xs;
};

struct RyTimeLineHeader::Private
{
    QList<int> tiers;
    quint8 flags = 0;
    QDate start = QDate::currentDate();
    QDate finish = QDate::currentDate().addMonths(6);
    int unitWidth = 32;
    QMap<int, int> dateFormats {
        { Ry::Day, 0 }, { Ry::Week, 0 }, { Ry::Month, 3 }, { Ry::Quarter, 0 }, { Ry::Year, 0 }
    };
    QMap<int, int> unitWidths {
        { Ry::Day, 32 }, { Ry::Week, 32 }, { Ry::Month, 32 }, { Ry::Quarter, 32 }, { Ry::Year, 32 }
    };
    int dragAnchorWidth = 0;
    int dragAnchorX = 0;
    int scrollPosition = 0;
    QDate dragAnchorDate;
    bool dragging = false;
    QList<QDate> tickDates;
    bool snapshotMode = false;

    mutable QHash<int, Boundaries> boundaries; // key: unit, plus 0x100 for the upper-tier rule

    void invalidate() { boundaries.clear(); }
};

RyTimeLineHeader::RyTimeLineHeader(QWidget *parent)
    : QWidget(parent)
    , d(new Private)
{
    setMouseTracking(true);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

RyTimeLineHeader::~RyTimeLineHeader() = default;

void RyTimeLineHeader::setTimelineFlags(quint8 flags)
{
    d->flags = flags;
    d->tiers.clear();
    for (int unit : TierOrder) {
        if (flags & unit)
            d->tiers.append(unit);
    }
    d->unitWidth = d->unitWidths.value(lowestTier(), 0);
    d->invalidate();
    rebuildTickDates();
    emit geometriesChanged();
    update();
}

quint8 RyTimeLineHeader::timelineFlags() const
{
    return d->flags;
}
QList<int> RyTimeLineHeader::tiers() const
{
    return d->tiers;
}
int RyTimeLineHeader::lowestTier() const
{
    return d->tiers.isEmpty() ? 0 : d->tiers.last();
}

void RyTimeLineHeader::setRange(const QDate &start, const QDate &finish)
{
    if (!start.isValid() || !finish.isValid()) {
        qCWarning(lcGantt) << "Invalid date range";
        return;
    }
    if (finish < start)
        qCWarning(lcGantt) << "Start date i larger than finish date";
    if (start == d->start && finish == d->finish)
        return;
    d->start = start;
    d->finish = finish;
    d->invalidate();
    rebuildTickDates();
    update();
}

QDate RyTimeLineHeader::startDate() const
{
    return d->start;
}
QDate RyTimeLineHeader::finishDate() const
{
    return d->finish;
}
int RyTimeLineHeader::unitWidth() const
{
    return d->unitWidth;
}
QList<QDate> RyTimeLineHeader::tickDates() const
{
    return d->tickDates;
}
QMap<int, int> RyTimeLineHeader::dateFormats() const
{
    return d->dateFormats;
}
int RyTimeLineHeader::scrollPosition() const
{
    return d->scrollPosition;
}
bool RyTimeLineHeader::snapshotMode() const
{
    return d->snapshotMode;
}

void RyTimeLineHeader::setDateFormats(const QMap<int, int> &formats)
{
    d->dateFormats = formats;
    update();
}

void RyTimeLineHeader::setSnapshotMode(bool on)
{
    d->snapshotMode = on;
    update();
}

void RyTimeLineHeader::setUnitWidth(int width)
{
    d->unitWidth = width;
    d->unitWidths[lowestTier()] = width;
    d->invalidate();
    rebuildTickDates();
}

QDate RyTimeLineHeader::next(const QDate &date, int unit, int lowestUnit) const
{
    const int lowest = lowestUnit ? lowestUnit : lowestTier();
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

int RyTimeLineHeader::width(const QDate &from, const QDate &to, int unit) const
{
    const int lowest = lowestTier();
    const int uw = d->unitWidth;
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
        if (from == d->start)
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

float RyTimeLineHeader::dayFraction(int unit) const
{
    const int lowest = lowestTier();
    if (unit >= lowest)
        return 1.0f;
    return 1.0f / float(unitsPerLowest(unit, lowest));
}

int RyTimeLineHeader::dateToX(const QDate &date, bool upperTier) const
{
    if (d->tiers.isEmpty() || !date.isValid() || date == d->start)
        return 0;
    const int uw = d->unitWidth;
    const int lowest = lowestTier();
    if (date < d->start) // outside the range: continue the day scale to the left
        return int(dayFraction(Ry::Day) * float(d->start.daysTo(date)) * float(uw));
    int c = lowest;
    if (upperTier && d->tiers.size() >= 2)
        c = d->tiers.at(d->tiers.size() - 2);
    if (c == Ry::Day)
        return int(d->start.daysTo(date)) * uw;

    const int key = c | (upperTier ? 0x100 : 0);
    Boundaries &b = d->boundaries[key];
    if (b.dates.isEmpty()) {
        b.dates.append(d->start);
        b.xs.append(0);
        if (!upperTier) {
            // The first, partial unit counts as a full unit.
            b.dates.append(next(d->start, c, Ry::Day));
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

QDate RyTimeLineHeader::xToDate(int x) const
{
    if (d->tiers.isEmpty())
        return QDate();
    const int lowest = lowestTier();
    const int uw = d->unitWidth;
    QDate date = d->start;
    if (lowest == Ry::Week)
        date = mondayOnOrBefore(date);
    if (x <= 0 || uw <= 0)
        return date;
    const int steps = (x + uw - 1) / uw;
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

void RyTimeLineHeader::rebuildTickDates()
{
    d->tickDates.clear();
    if (d->tiers.size() < 2)
        return;
    const int c = d->tiers.at(d->tiers.size() - 2);
    const int limit = dateToX(d->finish);
    int sum = 0;
    QDate cursor = d->start;
    for (int steps = 0; sum < limit && steps < MaxSteps; ++steps) {
        if (cursor != d->start)
            d->tickDates.append(cursor);
        const QDate n = next(cursor, c);
        sum += width(cursor, n, c);
        cursor = n;
    }
}

QString RyTimeLineHeader::label(const QDate &date, int unit, int formatIndex)
{
    switch (unit) {
    case Ry::Day:
        switch (formatIndex) {
        case 0:
            return date.toString(QStringLiteral("d"));
        case 1:
            return date.toString(QStringLiteral("dd"));
        case 2:
            return date.toString(QStringLiteral("dd-MM"));
        case 3:
            return QStringLiteral("%1 '%2").arg(date.toString(QStringLiteral("dd MM")),
                                                date.toString(QStringLiteral("yy")));
        case 4:
            return QString::fromLatin1(WeekdayNames[date.dayOfWeek() - 1]).left(1);
        }
        break;
    case Ry::Week:
        switch (formatIndex) {
        case 0:
            return QStringLiteral("W%1").arg(date.weekNumber());
        case 1:
            return QStringLiteral("W%1").arg(date.weekNumber(), 2, 10, QLatin1Char('0'));
        case 2:
            return QStringLiteral("Week %1").arg(date.weekNumber());
        case 3:
            return QStringLiteral("Week %1").arg(date.weekNumber(), 2, 10, QLatin1Char('0'));
        case 4:
            return QStringLiteral("%1 %2 '%3")
                .arg(date.toString(QStringLiteral("dd")), RyValueText::shortMonthName(date.month()),
                     date.toString(QStringLiteral("yy")));
        }
        break;
    case Ry::Month:
        switch (formatIndex) {
        case 0:
            return QString::number(date.month());
        case 1:
            return date.toString(QStringLiteral("MM"));
        case 2:
            return RyValueText::shortMonthName(date.month());
        case 3:
            return RyValueText::monthName(date.month());
        }
        break;
    case Ry::Quarter: {
        const int quarter = RyValueText::quarterOf(date.month());
        switch (formatIndex) {
        case 0:
            return QStringLiteral("Q%1").arg(quarter);
        case 1:
            return QStringLiteral("%1 %2").arg(QString::fromLatin1(QuarterNames[quarter - 1]),
                                               QStringLiteral("Quarter"));
        case 2:
            return QStringLiteral("Q%1 %2").arg(quarter).arg(date.toString(QStringLiteral("yyyy")));
        }
        break;
    }
    case Ry::Year:
        switch (formatIndex) {
        case 0:
            return date.toString(QStringLiteral("yyyy"));
        case 1:
            return date.toString(QStringLiteral("yy"));
        case 2:
            return QStringLiteral("'%1").arg(date.toString(QStringLiteral("yy")));
        }
        break;
    }
    return QString();
}

// The chart ends with the lowest-tier unit that holds the finish date, so that the last day's
// bar and header cell are not cut off at the end of the scroll range.
int RyTimeLineHeader::rangeEndX() const
{
    if (d->tiers.isEmpty())
        return 0;
    return dateToX(next(d->finish, lowestTier()));
}

QSize RyTimeLineHeader::sizeHint() const
{
    return QSize(rangeEndX(), d->tiers.size() * TierHeight);
}

QSize RyTimeLineHeader::minimumSizeHint() const
{
    return QSize(0, d->tiers.size() * TierHeight);
}

void RyTimeLineHeader::onScrollbarChanged(int value)
{
    const int uw = d->unitWidth;
    d->scrollPosition = uw > 0 ? value / uw * uw : value;
    emit scrollbarChanged(d->scrollPosition);
    update();
}

void RyTimeLineHeader::paintEvent(QPaintEvent *event)
{
    if (d->tiers.isEmpty())
        return;
    QPainter painter(this);
    const QDate first = xToDate(d->scrollPosition);
    const int rangeWidth = rangeEndX();
    const int paintWidth = d->snapshotMode ? rangeWidth : std::min(QWidget::width(), rangeWidth);
    for (int row = 0; row < d->tiers.size(); ++row)
        paintTier(painter, row, d->tiers.at(row), first, paintWidth, event->rect());
}

void RyTimeLineHeader::paintTier(QPainter &painter, int row, int unit, const QDate &first,
                                 int paintWidth, const QRect &exposed)
{
    const bool lowest = row == d->tiers.size() - 1;
    const int format = d->dateFormats.value(unit, 0);
    QStyleOptionHeader option;
    option.initFrom(this);
    option.orientation = Qt::Horizontal;
    option.position = QStyleOptionHeader::Middle;
    option.textAlignment = lowest ? Qt::AlignCenter : Qt::AlignLeft | Qt::AlignVCenter;
    QDate date = first;
    int x = 0;
    // In snapshot mode the header spans the whole range; output draws it in many small parts.
    const int end = std::min(paintWidth, exposed.right() + 1);
    for (int section = 0; x < end && section <= paintWidth; ++section) {
        const QDate n = next(date, unit);
        const int w = width(date, n, unit);
        if (x + w > exposed.left()) {
            option.section = section;
            option.rect = QRect(x, row * TierHeight, w, TierHeight);
            option.text = label(date, unit, format);
            style()->drawControl(QStyle::CE_Header, &option, &painter, this);
        }
        x += w;
        date = n;
    }
}

void RyTimeLineHeader::mousePressEvent(QMouseEvent *event)
{
    const int row = event->pos().y() / TierHeight;
    if (event->button() == Qt::LeftButton && !d->tiers.isEmpty() && row == d->tiers.size() - 1) {
        d->dragging = true;
        d->dragAnchorDate = xToDate(d->scrollPosition);
        d->dragAnchorWidth = d->unitWidth;
        d->dragAnchorX = event->pos().x();
    }
    QWidget::mousePressEvent(event);
}

void RyTimeLineHeader::mouseMoveEvent(QMouseEvent *event)
{
    const int row = event->pos().y() / TierHeight;
    const bool overLowest = !d->tiers.isEmpty() && row == d->tiers.size() - 1;
    setCursor(overLowest || d->dragging ? Qt::SizeHorCursor : Qt::ArrowCursor);
    if (!d->dragging || !(event->buttons() & Qt::LeftButton))
        return QWidget::mouseMoveEvent(event);

    resizeUnits(d->dragAnchorWidth + (event->pos().x() - d->dragAnchorX), d->dragAnchorDate);
}

void RyTimeLineHeader::zoomTo(int width)
{
    if (d->tiers.isEmpty())
        return;
    resizeUnits(width, xToDate(d->scrollPosition));
}

void RyTimeLineHeader::resizeUnits(int width, const QDate &leftEdge)
{
    int newWidth = width;
    if (newWidth < MinimumUnitWidth + 1)
        newWidth = MinimumUnitWidth;
    newWidth = std::min(newWidth, int(MaximumUnitWidth));
    if (newWidth == d->unitWidth)
        return;
    setUnitWidth(newWidth);
    // The view's scroll range follows the new width first, so that the left-edge position below
    // is not clamped to the old range.
    emit geometriesChanged();
    emit sectionResized();
    d->scrollPosition = dateToX(leftEdge);
    emit scrollbarChanged(d->scrollPosition);
    update();
}

void RyTimeLineHeader::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        d->dragging = false;
    QWidget::mouseReleaseEvent(event);
}
