#include "gantt/ryganttzoom.h"

#include "gantt/ryganttview.h"
#include "gantt/rytimelineheader.h"
#include "models/ryconstants.h"

#include <QScrollBar>
#include <QWheelEvent>

#include <cmath>

namespace {

// Tier units from finest to coarsest: fitting only ever moves towards the coarse end.
const int TiersFineToCoarse[] = { Ry::Hour, Ry::Day, Ry::Week, Ry::Month, Ry::Quarter, Ry::Year };
constexpr double ZoomFactor = 1.25;
// One notch of a classic mouse wheel.
constexpr int WheelStep = 120;

} // namespace

RyGanttZoom::RyGanttZoom(RyGanttView *view)
    : QObject(view)
    , m_view(view)
{
    view->viewport()->installEventFilter(this);
    view->header()->installEventFilter(this);
}

int RyGanttZoom::widthAfterZoomIn(int width)
{
    return std::max(width + 1, int(std::lround(width * ZoomFactor)));
}

int RyGanttZoom::widthAfterZoomOut(int width)
{
    return std::min(width - 1, int(std::lround(width / ZoomFactor)));
}

quint8 RyGanttZoom::flagsWithLowestTier(quint8 flags, int unit)
{
    quint8 result = flags;
    for (int tier : TiersFineToCoarse) {
        if (tier < unit)
            result &= ~quint8(tier);
    }
    return result | quint8(unit);
}

void RyGanttZoom::zoomIn()
{
    RyTimeLineHeader *header = m_view->header();
    header->zoomTo(widthAfterZoomIn(header->scale().unitWidth()));
}

void RyGanttZoom::zoomOut()
{
    RyTimeLineHeader *header = m_view->header();
    header->zoomTo(widthAfterZoomOut(header->scale().unitWidth()));
}

bool RyGanttZoom::fitsWithLowestTier(int unit, int available)
{
    RyTimeLineHeader *header = m_view->header();
    const quint8 flags = flagsWithLowestTier(header->timelineFlags(), unit);
    if (flags != header->timelineFlags())
        m_view->setTimelineFlags(flags);
    const RyTimeScale &scale = header->scale();
    const int width = scale.unitWidth();
    const int rangeWidth = scale.rangeEndX();
    if (width <= 0 || rangeWidth <= 0)
        return true;
    // The range is close to proportional to the unit width; the loop below corrects rounding.
    // A short project may need units wider than dragging gives, up to the whole chart.
    const double units = double(rangeWidth) / width;
    header->zoomTo(int(available / units), available);
    for (int guard = 0; guard < RyTimeLineHeader::MaximumUnitWidth && scale.rangeEndX() > available
         && scale.unitWidth() > RyTimeLineHeader::MinimumUnitWidth;
         ++guard) {
        header->zoomTo(scale.unitWidth() - 1);
    }
    return scale.rangeEndX() <= available;
}

void RyGanttZoom::fit()
{
    RyTimeLineHeader *header = m_view->header();
    if (header->scale().tiers().isEmpty())
        return;
    const quint8 before = header->timelineFlags();
    const int available = m_view->viewport()->width();
    bool started = false;
    for (int unit : TiersFineToCoarse) {
        started = started || unit == header->scale().lowestTier();
        if (started && fitsWithLowestTier(unit, available))
            break;
    }
    m_view->horizontalScrollBar()->setValue(0);
    if (header->timelineFlags() != before)
        emit timelineFlagsChanged(header->timelineFlags());
}

bool RyGanttZoom::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::Wheel)
        return QObject::eventFilter(watched, event);
    auto *wheel = static_cast<QWheelEvent *>(event);
    if (!(wheel->modifiers() & Qt::ControlModifier))
        return QObject::eventFilter(watched, event);
    // Touchpads send many small deltas: a step is taken per full notch.
    m_wheelRemainder += wheel->angleDelta().y();
    while (m_wheelRemainder >= WheelStep) {
        m_wheelRemainder -= WheelStep;
        zoomIn();
    }
    while (m_wheelRemainder <= -WheelStep) {
        m_wheelRemainder += WheelStep;
        zoomOut();
    }
    wheel->accept();
    return true;
}
