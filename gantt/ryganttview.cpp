#include "gantt/ryganttview.h"

#include "gantt/ganttlogging.h"
#include "gantt/ryganttlinkmodel.h"
#include "gantt/ryganttscene.h"
#include "gantt/rygantttreecoupling.h"
#include "gantt/ryganttviewdelegate.h"
#include "gantt/rytimelineheader.h"
#include "gantt/rytrackingganttviewdelegate.h"
#include "models/rymodellookup.h"
#include "models/ryworkingtime.h"

#include <QPaintEvent>
#include <QPainter>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QTreeView>

#include <algorithm>

namespace {

// The keys of the chart's state: saveState's go into layouts, the snapshot's are held while
// the chart is laid out at full size.
const QString TimelineFlagsKey = QStringLiteral("timelineFlags");
const QString WidthKey = QStringLiteral("width");
const QString HeightKey = QStringLiteral("height");
const QString VerticalScrollKey = QStringLiteral("ver_scroll_val");
const QString HorizontalScrollKey = QStringLiteral("hor_scroll_val");

// How far to scroll so that the span from `first` to `last` comes into the view's span: its
// start first when it is longer than the view.
int distanceIntoView(int first, int last, int viewFirst, int viewLast)
{
    if (first < viewFirst)
        return first - viewFirst;
    return last > viewLast ? std::min(last - viewLast, first - viewFirst) : 0;
}

} // namespace

struct RyGanttView::Private
{
    explicit Private(RyGanttView *view)
        : scene(view->m_header, view->m_barDelegate, view->m_trackingDelegate, view->m_links)
    {
    }

    RyGanttScene scene;
    RyGanttTreeCoupling *tree = nullptr;
    // The base class calls updateGeometries() while the view is set up: it waits until the
    // header and the tree coupling are in place.
    bool geometryGuard = true;
    bool snapshotMode = false;
    RyWorkingTime workingTime;
    int timeRangeHolds = 0;
    bool timeRangePending = false;

    RyGanttRowController *rows() const { return scene.rows(); }
    const QVector<QModelIndex> &shown() const { return scene.rows()->visibleRows(); }
    int rowHeight() const { return scene.rows()->rowHeight(); }
};

void RyGanttView::setWorkingTime(const RyWorkingTime &workingTime)
{
    d->workingTime = workingTime;
    viewport()->update();
}

const RyWorkingTime &RyGanttView::workingTime() const
{
    return d->workingTime;
}

RyGanttView::RyGanttView(QWidget *parent)
    : QAbstractItemView(parent)
    , m_barDelegate(new RyGanttViewDelegate(this))
    , m_trackingDelegate(new RyTrackingGanttViewDelegate(this))
    , m_header(new RyTimeLineHeader(this))
    , m_links(new RyGanttLinkModel(this))
    , d(new Private(this))
{
    m_barDelegate->setBarStyles(RyGanttViewBarStyle::defaultStyles());
    setItemDelegate(m_barDelegate);
    connect(m_links, &RyGanttLinkModel::linksChanged, viewport(),
            QOverload<>::of(&QWidget::update));

    setSelectionBehavior(SelectRows);
    setEditTriggers(NoEditTriggers);
    // Without a buddy the vertical range is in pixels; a buddy hands over its own scroll mode.
    setVerticalScrollMode(ScrollPerPixel);
    setHorizontalScrollMode(ScrollPerPixel);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    horizontalScrollBar()->setRange(0, 0);
    verticalScrollBar()->setRange(0, 0);

    d->tree = new RyGanttTreeCoupling(this);
    d->geometryGuard = false;
    connect(m_header, &RyTimeLineHeader::geometriesChanged, this, &RyGanttView::updateGeometries);
    connect(m_header, &RyTimeLineHeader::sectionResized, this, &RyGanttView::onVisibleItemsChanged);
    connect(m_header, &RyTimeLineHeader::scrollbarChanged, horizontalScrollBar(),
            &QScrollBar::setValue);
    connect(horizontalScrollBar(), &QScrollBar::valueChanged, m_header,
            &RyTimeLineHeader::onScrollbarChanged);
    m_header->setRange(QDate::currentDate(), QDate::currentDate().addMonths(6));
}

RyGanttView::~RyGanttView() = default;

void RyGanttView::setBuddy(QTreeView *treeView)
{
    if (!treeView || treeView == d->tree->tree())
        return;
    d->scene.treeRows.setTreeView(treeView);
    setVerticalScrollMode(treeView->verticalScrollMode());
    d->tree->setTree(treeView);
    d->scene.invalidateRows();
    updateGeometries();
}

QTreeView *RyGanttView::buddy() const
{
    return d->tree->tree();
}

void RyGanttView::setRowController(RyGanttRowController *controller)
{
    d->scene.setRowController(controller);
    updateGeometries();
}

RyGanttRowController *RyGanttView::rowController() const
{
    return d->rows();
}

void RyGanttView::setModel(QAbstractItemModel *newModel)
{
    using M = QAbstractItemModel;
    // Only this class's own connections: the base class keeps its own to the same model.
    if (model()) {
        disconnect(model(), &M::layoutChanged, this, &RyGanttView::onVisibleItemsChanged);
        disconnect(model(), &M::modelReset, this, &RyGanttView::onVisibleItemsChanged);
    }
    if (newModel) {
        connect(newModel, &M::layoutChanged, this, &RyGanttView::onVisibleItemsChanged);
        connect(newModel, &M::modelReset, this, &RyGanttView::onVisibleItemsChanged);
    }
    d->scene.setModel(newModel);
    m_trackingDelegate->setProgressColumn(
        RyModelLookup::findColumn(newModel, QStringLiteral("Progress")));
    QAbstractItemView::setModel(newModel);
    d->tree->adoptSelectionModel();
    d->scene.invalidateRows();
    updateTimeRange();
}

void RyGanttView::setShowLinks(bool show)
{
    m_showLinks = show;
    viewport()->update();
}
void RyGanttView::setShowVerticalLines(bool show)
{
    m_showVerticalLines = show;
    viewport()->update();
}
void RyGanttView::setTrackingMode(bool on)
{
    m_trackingMode = on;
    setItemDelegate(on ? static_cast<QAbstractItemDelegate *>(m_trackingDelegate) : m_barDelegate);
    viewport()->update();
}
void RyGanttView::setTimelineFlags(quint8 flags)
{
    m_header->setTimelineFlags(flags);
    horizontalScrollBar()->setValue(m_header->scale().homeX());
    d->scene.invalidateBars();
    emit headerSizeChanged();
    viewport()->update();
}
quint8 RyGanttView::timelineFlags() const
{
    return m_header->timelineFlags();
}

void RyGanttView::setBarStyles(const QList<RyGanttViewBarStyle> &styles)
{
    if (styles.isEmpty() || styles == m_barDelegate->barStyles())
        return;
    m_barDelegate->setBarStyles(styles);
    d->scene.invalidateBars();
    updateTimeRange();
    viewport()->update();
}
QList<RyGanttViewBarStyle> RyGanttView::barStyles() const
{
    return m_barDelegate->barStyles();
}
int RyGanttView::rowHeight() const
{
    return d->rowHeight();
}

QVariant RyGanttView::saveState() const
{
    return QVariantMap { { TimelineFlagsKey, int(m_header->timelineFlags()) } };
}

void RyGanttView::restoreState(const QVariant &state)
{
    setTimelineFlags(quint8(state.toMap().value(TimelineFlagsKey).toUInt()));
}

QModelIndexList RyGanttView::visibleItems() const
{
    return QModelIndexList(d->shown().cbegin(), d->shown().cend());
}

void RyGanttView::onVisibleItemsChanged()
{
    d->scene.invalidateRows(); // the rows and the link rectangles are refilled on demand
    viewport()->update();
}

void RyGanttView::doItemsLayout()
{
    d->scene.invalidateRows();
    QAbstractItemView::doItemsLayout();
    viewport()->update();
}

void RyGanttView::reset()
{
    if (m_links->count() > 0)
        m_links->clear();
    d->scene.invalidateRows();
    QAbstractItemView::reset();
}

// Cell edits are not shown one by one; dates that move only need the link ends recomputed.
void RyGanttView::dataChanged(const QModelIndex &, const QModelIndex &, const QVector<int> &)
{
    d->scene.invalidateBars();
    viewport()->update();
}

void RyGanttView::selectAll() { }

bool RyGanttView::isCritical(const QModelIndex &index) const
{
    return model() && d->scene.reader.isCritical(index);
}

RyGanttView::RowType RyGanttView::rowType(const QModelIndex &index) const
{
    return model() ? RowType(d->scene.reader.rowType(index)) : NoRowType;
}

QPoint RyGanttView::offsets() const
{
    return d->snapshotMode ? QPoint() : QPoint(horizontalOffset(), verticalOffset());
}

int RyGanttView::dateTimeToX(const QDateTime &dateTime) const
{
    return m_header->scale().dateTimeToX(dateTime);
}

QRect RyGanttView::barRect(const QModelIndex &index, int barKind) const
{
    if (!index.isValid())
        return QRect();
    const QRect rect = d->scene.bars().barRect(d->rows()->rowOf(index), barKind);
    return rect.isNull() ? rect : rect.translated(-offsets());
}

QRect RyGanttView::visualRect(const QModelIndex &index) const
{
    if (!index.isValid() || index.column() != 0)
        return QRect();
    const int position = d->rows()->rowOf(index);
    if (position < 0)
        return QRect();
    return QRect(0, d->rows()->rowY(position) - offsets().y(), viewport()->width(), d->rowHeight());
}

QModelIndex RyGanttView::indexAt(const QPoint &point) const
{
    return d->rows()->indexAtY(verticalOffset() + point.y());
}

int RyGanttView::horizontalOffset() const
{
    return horizontalScrollBar()->value();
}

int RyGanttView::verticalOffset() const
{
    const int value = verticalScrollBar()->value();
    return verticalScrollMode() == ScrollPerPixel ? value : value * d->rowHeight();
}

bool RyGanttView::isIndexHidden(const QModelIndex &) const
{
    return false;
}

QModelIndex RyGanttView::moveCursor(CursorAction, Qt::KeyboardModifiers)
{
    viewport()->update();
    const QModelIndex current = currentIndex();
    return current.isValid() ? current.sibling(current.row(), 0) : current;
}

void RyGanttView::setSelection(const QRect &rect, QItemSelectionModel::SelectionFlags flags)
{
    if (!selectionModel())
        return;
    const int first = (verticalOffset() + rect.top()) / d->rowHeight();
    const int last = (verticalOffset() + rect.bottom()) / d->rowHeight();
    const int count = d->rows()->rowCount();
    if (first < 0 || first >= count || last < 0 || last >= count)
        return;
    QItemSelection selection;
    for (int position = first; position <= last; ++position) {
        const QModelIndex index = d->shown().at(position);
        const int lastColumn = model()->columnCount(index.parent()) - 1;
        selection.select(index, index.sibling(index.row(), std::max(0, lastColumn)));
    }
    if (selection.isEmpty())
        selectionModel()->select(QItemSelection(), flags);
    else
        selectionModel()->select(selection, flags | QItemSelectionModel::Rows);
}

QRegion RyGanttView::visualRegionForSelection(const QItemSelection &selection) const
{
    QRegion region;
    const QRect view = viewport()->rect();
    for (const QItemSelectionRange &range : selection) {
        for (int row = range.top(); row <= range.bottom(); ++row) {
            const QRect rect = visualRect(range.model()->index(row, 0, range.parent()));
            if (rect.intersects(view))
                region += rect;
        }
    }
    return region;
}

void RyGanttView::scrollTo(const QModelIndex &index, ScrollHint)
{
    if (!index.isValid())
        return;
    const QRect view = viewport()->rect();
    QRect bar = barRect(index, -1);
    if (bar.isEmpty()) // no dates: only bring the row into view
        bar = visualRect(index.sibling(index.row(), 0));
    else if (const int dx = distanceIntoView(bar.left(), bar.right(), view.left(), view.right()))
        horizontalScrollBar()->setValue(horizontalOffset() + dx);
    const int dy
        = bar.isNull() ? 0 : distanceIntoView(bar.top(), bar.bottom(), view.top(), view.bottom());
    if (dy != 0) {
        QScrollBar *vbar = verticalScrollBar();
        const int h = d->rowHeight();
        if (verticalScrollMode() == ScrollPerPixel)
            vbar->setValue(vbar->value() + dy);
        else
            vbar->setValue(vbar->value() + (dy > 0 ? (dy + h - 1) / h : -((-dy + h - 1) / h)));
    }
    viewport()->update();
}

void RyGanttView::updateGeometries()
{
    if (d->geometryGuard)
        return;
    const QScopedValueRollback<bool> guard(d->geometryGuard, true);
    const int h = m_header->isHidden()
        ? 0
        : qBound(m_header->minimumHeight(), m_header->sizeHint().height(),
                 m_header->maximumHeight());
    setViewportMargins(0, h, 0, 0);
    const QRect vg = viewport()->geometry();
    m_header->setGeometry(vg.left(), vg.top() - h, vg.width(), h);

    QScrollBar *hbar = horizontalScrollBar();
    const int unit = std::max(1, m_header->unitWidth());
    hbar->setSingleStep(unit);
    hbar->setPageStep(viewport()->width());
    // Scroll values stop on unit boundaries (rounded down), so the maximum is rounded up to one:
    // otherwise the end of the chart could not be reached.
    const int overflow = std::max(0, m_header->sizeHint().width() - viewport()->width());
    hbar->setRange(0, (overflow + unit - 1) / unit * unit);

    QScrollBar *vbar = verticalScrollBar();
    if (!d->tree->copyScrollRange(vbar)) {
        vbar->setSingleStep(d->rowHeight());
        vbar->setPageStep(viewport()->height());
        vbar->setRange(0, std::max(0, d->rows()->totalHeight() - viewport()->height()));
    }
    QAbstractItemView::updateGeometries();
}

void RyGanttView::resizeEvent(QResizeEvent *event)
{
    QAbstractItemView::resizeEvent(event);
    updateGeometries();
}

void RyGanttView::wheelEvent(QWheelEvent *event)
{
    updateGeometries();
    QAbstractScrollArea::wheelEvent(event);
}

void RyGanttView::scrollContentsBy(int dx, int dy)
{
    if (d->snapshotMode)
        return viewport()->update();
    const int pixelsY = verticalScrollMode() == ScrollPerPixel ? dy : dy * d->rowHeight();
    viewport()->scroll(dx, pixelsY);
}

void RyGanttView::holdTimeRange()
{
    ++d->timeRangeHolds;
}

void RyGanttView::releaseTimeRange()
{
    if (d->timeRangeHolds == 0 || --d->timeRangeHolds > 0 || !d->timeRangePending)
        return;
    d->timeRangePending = false;
    updateTimeRange();
}

void RyGanttView::updateTimeRange()
{
    if (d->timeRangeHolds > 0) {
        d->timeRangePending = true;
        return;
    }
    if (!model())
        return;
    // Every date a shown bar draws is in range; the chart opens at the plan's start.
    const RyGanttRowReader::Range range = d->scene.reader.range(
        *d->rows(), RyGanttViewBarStyle::shownDateFields(m_barDelegate->barStyles()));
    d->scene.invalidateRows();
    if (range.start.isValid() && range.finish.isValid())
        m_header->setContent(range.first, range.last, range.start); // lays the view out
    else // a schedule without dates (or the empty placeholder) is normal
        qCDebug(lcGantt) << "No start/finish date set";
}

QVariantMap RyGanttView::prepareSnapshot()
{
    m_header->setSnapshotMode(true);
    d->snapshotMode = true;
    d->scene.invalidateRows();
    viewport()->update();
    if (selectionModel())
        selectionModel()->clearSelection();
    // Scroll values are read before the resize, which shrinks the scroll ranges to nothing.
    const QVariantMap state { { WidthKey, width() },
                              { HeightKey, height() },
                              { VerticalScrollKey, verticalScrollBar()->value() },
                              { HorizontalScrollKey, horizontalScrollBar()->value() } };
    // The buddy lays itself out separately: the mirrored vertical scrolling stays silent.
    verticalScrollBar()->blockSignals(true);
    verticalScrollBar()->setValue(0);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    horizontalScrollBar()->setValue(0);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // The frame comes on top, so that the viewport holds the whole chart.
    const int frame = 2 * frameWidth();
    resize(m_header->sizeHint().width() + frame,
           m_header->sizeHint().height() + d->rows()->totalHeight() + frame);
    updateGeometries();
    return state;
}

void RyGanttView::restoreSnapshot(const QVariantMap &state)
{
    m_header->setSnapshotMode(false);
    d->snapshotMode = false;
    resize(state.value(WidthKey).toInt(), state.value(HeightKey, height()).toInt());
    d->scene.invalidateRows();
    updateGeometries();
    // Values go back once the ranges are restored. The chart's own vertical bar stays hidden.
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    horizontalScrollBar()->setValue(state.value(HorizontalScrollKey).toInt());
    verticalScrollBar()->setValue(state.value(VerticalScrollKey).toInt());
    verticalScrollBar()->blockSignals(false);
    viewport()->update();
}

void RyGanttView::paintEvent(QPaintEvent *event)
{
    QPainter painter(viewport());
    const QPoint offset = offsets();
    // Only the rows inside the exposed area; in snapshot mode that may be every row.
    const int first = std::max(0, (offset.y() + event->rect().top()) / d->rowHeight());
    const int last = std::min(d->rows()->rowCount() - 1,
                              (offset.y() + event->rect().bottom()) / d->rowHeight());
    const int height = d->snapshotMode ? d->rows()->totalHeight() : viewport()->height();
    const bool selected = selectionModel() && selectionModel()->hasSelection();
    const QItemSelectionRange range
        = selected ? selectionModel()->selection().first() : QItemSelectionRange();
    d->scene.paint(painter,
                   { first, last, offset, painter.window().width(), height, viewport()->width(),
                     d->snapshotMode, alternatingRowColors(),
                     palette().brush(QPalette::Active, QPalette::AlternateBase), m_showLinks,
                     m_showVerticalLines, m_trackingMode, m_dataDate, viewOptions(),
                     range.topLeft().sibling(range.top(), 0), &d->workingTime });
}
