#include "gantt/rytimelineheader.h"

#include "gantt/ganttlogging.h"
#include "models/ryconstants.h"
#include "models/ryvaluetext.h"

#include <QDebug>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionHeader>

#include <algorithm>
#include <cmath>

struct RyTimeLineHeader::Private
{
    RyTimeScale scale;
    QMap<int, int> dateFormats { { Ry::Hour, 0 },  { Ry::Day, 0 },     { Ry::Week, 0 },
                                 { Ry::Month, 3 }, { Ry::Quarter, 0 }, { Ry::Year, 0 } };
    QMap<int, int> unitWidths { { Ry::Hour, 24 },  { Ry::Day, 32 },     { Ry::Week, 32 },
                                { Ry::Month, 32 }, { Ry::Quarter, 32 }, { Ry::Year, 32 } };
    int dragAnchorWidth = 0;
    int dragAnchorX = 0;
    int scrollPosition = 0;
    QDate dragAnchorDate;
    bool dragging = false;
    QList<QDate> tickDates;
    bool snapshotMode = false;
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
    d->scale.setTimelineFlags(flags);
    d->scale.setUnitWidth(d->unitWidths.value(lowestTier(), 0));
    rebuildTickDates();
    emit geometriesChanged();
    update();
}

quint8 RyTimeLineHeader::timelineFlags() const
{
    return d->scale.timelineFlags();
}
QList<int> RyTimeLineHeader::tiers() const
{
    return d->scale.tiers();
}
int RyTimeLineHeader::lowestTier() const
{
    return d->scale.lowestTier();
}

void RyTimeLineHeader::setRange(const QDate &start, const QDate &finish)
{
    if (!start.isValid() || !finish.isValid()) {
        qCWarning(lcGantt) << "Invalid date range";
        return;
    }
    if (finish < start)
        qCWarning(lcGantt) << "Start date i larger than finish date";
    if (start == d->scale.startDate() && finish == d->scale.finishDate())
        return;
    d->scale.setRange(start, finish);
    rebuildTickDates();
    update();
}

void RyTimeLineHeader::setContent(const QDate &first, const QDate &last, const QDate &home)
{
    if (!first.isValid() || !last.isValid() || !home.isValid()) {
        qCWarning(lcGantt) << "Invalid date range";
        return;
    }
    const bool newHome = home != d->scale.homeDate();
    const QDate leftEdge = xToDate(d->scrollPosition);
    d->scale.setContent(first, last, home);
    rebuildTickDates();
    emit geometriesChanged();
    d->scrollPosition = newHome ? d->scale.homeX() : dateToX(leftEdge);
    emit scrollbarChanged(d->scrollPosition);
    update();
}

const RyTimeScale &RyTimeLineHeader::scale() const
{
    return d->scale;
}
QDate RyTimeLineHeader::startDate() const
{
    return d->scale.startDate();
}
QDate RyTimeLineHeader::finishDate() const
{
    return d->scale.finishDate();
}
int RyTimeLineHeader::unitWidth() const
{
    return d->scale.unitWidth();
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
    d->scale.setUnitWidth(width);
    d->unitWidths[lowestTier()] = width;
    rebuildTickDates();
}

QDate RyTimeLineHeader::next(const QDate &date, int unit, int lowestUnit) const
{
    return d->scale.next(date, unit, lowestUnit);
}
int RyTimeLineHeader::width(const QDate &from, const QDate &to, int unit) const
{
    return d->scale.width(from, to, unit);
}
float RyTimeLineHeader::dayFraction(int unit) const
{
    return d->scale.dayFraction(unit);
}
int RyTimeLineHeader::dateToX(const QDate &date, bool upperTier) const
{
    return d->scale.dateToX(date, upperTier);
}
QDate RyTimeLineHeader::xToDate(int x) const
{
    return d->scale.xToDate(x);
}
int RyTimeLineHeader::rangeEndX() const
{
    return d->scale.rangeEndX();
}
QString RyTimeLineHeader::label(const QDate &date, int unit, int formatIndex)
{
    return RyTimeScale::label(date, unit, formatIndex);
}

void RyTimeLineHeader::rebuildTickDates()
{
    // The grid runs on to the right edge of a view wider than the range, however scrolled
    // (scroll values round up to a unit at the end).
    d->tickDates = d->scale.tickDates(sizeHint().width() + unitWidth());
}

QSize RyTimeLineHeader::sizeHint() const
{
    // Scrolled to the plan's start, the view is still full when later dates end sooner.
    const bool opened = !d->snapshotMode && d->scale.homeDate().isValid() && !tiers().isEmpty();
    const int width
        = opened ? std::max(rangeEndX(), d->scale.homeX() + QWidget::width()) : rangeEndX();
    return QSize(width, d->scale.tiers().size() * TierHeight);
}

QSize RyTimeLineHeader::minimumSizeHint() const
{
    return QSize(0, d->scale.tiers().size() * TierHeight);
}

void RyTimeLineHeader::onScrollbarChanged(int value)
{
    const int uw = d->scale.unitWidth();
    d->scrollPosition = uw > 0 ? value / uw * uw : value;
    emit scrollbarChanged(d->scrollPosition);
    update();
}

void RyTimeLineHeader::paintEvent(QPaintEvent *event)
{
    if (d->scale.tiers().isEmpty())
        return;
    QPainter painter(this);
    const QDate first = xToDate(d->scrollPosition);
    const int rangeWidth = rangeEndX();
    // The tiers run on to the right edge when the range is narrower than the view.
    const int paintWidth = d->snapshotMode ? rangeWidth : QWidget::width();
    for (int row = 0; row < d->scale.tiers().size(); ++row)
        paintTier(painter, row, d->scale.tiers().at(row), first, paintWidth, event->rect());
}

void RyTimeLineHeader::paintTier(QPainter &painter, int row, int unit, const QDate &first,
                                 int paintWidth, const QRect &exposed)
{
    const bool lowest = row == d->scale.tiers().size() - 1;
    const int format = d->dateFormats.value(unit, 0);
    QStyleOptionHeader option;
    option.initFrom(this);
    option.orientation = Qt::Horizontal;
    option.position = QStyleOptionHeader::Middle;
    option.textAlignment = lowest ? Qt::AlignCenter : Qt::AlignLeft | Qt::AlignVCenter;
    QDate date = first;
    // Hours scroll within a day: the day holding the left edge may start left of it.
    const bool hours = d->scale.lowestTier() == Ry::Hour;
    int x = hours ? dateToX(first) - d->scrollPosition : 0;
    // In snapshot mode the header spans the whole range; output draws it in many small parts.
    const int end = std::min(paintWidth, exposed.right() + 1);
    const int hourWidth = d->scale.unitWidth();
    for (int section = 0; x < end && section <= paintWidth; ++section) {
        const bool hour = unit == Ry::Hour;
        const QDate n = hour && section % RyTimeScale::HoursPerDay != RyTimeScale::HoursPerDay - 1
            ? date
            : next(date, unit);
        const int w = hour ? hourWidth : width(date, n, unit);
        if (x + w > exposed.left()) {
            option.section = section;
            option.rect = QRect(x, row * TierHeight, w, TierHeight);
            option.text = hour ? RyTimeScale::hourLabel(section % RyTimeScale::HoursPerDay, format)
                               : label(date, unit, format);
            style()->drawControl(QStyle::CE_Header, &option, &painter, this);
        }
        x += w;
        date = n;
    }
}

void RyTimeLineHeader::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    rebuildTickDates();
}

void RyTimeLineHeader::mousePressEvent(QMouseEvent *event)
{
    const int row = event->pos().y() / TierHeight;
    if (event->button() == Qt::LeftButton && !d->scale.tiers().isEmpty()
        && row == d->scale.tiers().size() - 1) {
        d->dragging = true;
        d->dragAnchorDate = xToDate(d->scrollPosition);
        d->dragAnchorWidth = d->scale.unitWidth();
        d->dragAnchorX = event->pos().x();
    }
    QWidget::mousePressEvent(event);
}

void RyTimeLineHeader::mouseMoveEvent(QMouseEvent *event)
{
    const int row = event->pos().y() / TierHeight;
    const bool overLowest = !d->scale.tiers().isEmpty() && row == d->scale.tiers().size() - 1;
    setCursor(overLowest || d->dragging ? Qt::SizeHorCursor : Qt::ArrowCursor);
    if (!d->dragging || !(event->buttons() & Qt::LeftButton))
        return QWidget::mouseMoveEvent(event);

    resizeUnits(d->dragAnchorWidth + (event->pos().x() - d->dragAnchorX), d->dragAnchorDate,
                std::max(int(MaximumUnitWidth), d->dragAnchorWidth));
}

void RyTimeLineHeader::zoomTo(int width, int ceiling)
{
    if (d->scale.tiers().isEmpty())
        return;
    // A fit may have gone past the maximum: zooming from there does not jump back to it.
    const int limit = ceiling > 0 ? ceiling : std::max(int(MaximumUnitWidth), unitWidth());
    resizeUnits(width, xToDate(d->scrollPosition), limit);
}

void RyTimeLineHeader::resizeUnits(int width, const QDate &leftEdge, int ceiling)
{
    int newWidth = width;
    if (newWidth < MinimumUnitWidth + 1)
        newWidth = MinimumUnitWidth;
    newWidth = std::min(newWidth, std::max(int(MinimumUnitWidth), ceiling));
    if (newWidth == d->scale.unitWidth())
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
