#include "gantt/ryganttview.h"

#include "gantt/ganttlogging.h"
#include "gantt/ryganttbackgroundpainter.h"
#include "gantt/ryganttlinkmodel.h"
#include "gantt/ryganttlinkpainter.h"
#include "gantt/ryganttrowreader.h"
#include "gantt/rygantttreeviewrowcontroller.h"
#include "gantt/ryganttviewdelegate.h"
#include "gantt/rytimelineheader.h"
#include "gantt/rytrackingganttviewdelegate.h"
#include "models/ryutils.h"

#include <QPaintEvent>
#include <QPainter>
#include <QPointer>
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

} // namespace

struct RyGanttView::Private
{
    QPointer<QTreeView> buddy;
    int buddyExtent = -1;
    RyGanttTreeViewRowController treeRows;
    RyGanttRowController *rows = &treeRows;
    RyGanttRowReader reader;
    RyTimeLineHeader *header = nullptr;
    RyGanttLinkModel *links = nullptr;
    mutable QHash<QModelIndex, QRect> linkRectCache; // content coordinates
    bool geometryGuard = false;
    bool scrollGuard = false;
    bool showLinks = true;
    bool showVerticalLines = true;
    QDateTime dataDate;
    QPen dataDatePen { QColor(255, 165, 0) };
    RyGanttViewDelegate *barDelegate = nullptr;
    RyTrackingGanttViewDelegate *trackingDelegate = nullptr;
    bool trackingMode = false;
    bool snapshotMode = false;
    QVector<QMetaObject::Connection> modelConnections;

    const QVector<QModelIndex> &shown() const { return rows->visibleRows(); }
    int rowHeight() const { return rows->rowHeight(); }
};

RyGanttView::RyGanttView(QWidget *parent)
    : QAbstractItemView(parent)
    , d(new Private)
{
    d->barDelegate = new RyGanttViewDelegate(this);
    d->barDelegate->setBarStyles(RyGanttViewBarStyle::defaultStyles());
    setItemDelegate(d->barDelegate);
    d->trackingDelegate = new RyTrackingGanttViewDelegate(this);
    d->links = new RyGanttLinkModel(this);
    connect(d->links, &RyGanttLinkModel::linksChanged, viewport(),
            QOverload<>::of(&QWidget::update));

    setSelectionBehavior(SelectRows);
    setEditTriggers(NoEditTriggers);
    // Without a buddy the vertical range is in pixels; a buddy hands over its own scroll mode.
    setVerticalScrollMode(ScrollPerPixel);
    setHorizontalScrollMode(ScrollPerPixel);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    horizontalScrollBar()->setRange(0, 0);
    verticalScrollBar()->setRange(0, 0);

    d->header = new RyTimeLineHeader(this);
    connect(d->header, &RyTimeLineHeader::geometriesChanged, this, &RyGanttView::updateGeometries);
    connect(d->header, &RyTimeLineHeader::sectionResized, this, &RyGanttView::sectionResized);
    connect(d->header, &RyTimeLineHeader::scrollbarChanged, horizontalScrollBar(),
            &QScrollBar::setValue);
    connect(horizontalScrollBar(), &QScrollBar::valueChanged, d->header,
            &RyTimeLineHeader::onScrollbarChanged);
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this,
            &RyGanttView::onVerticalScrollChanged);
    d->header->setRange(QDate::currentDate(), QDate::currentDate().addMonths(6));
}

RyGanttView::~RyGanttView() = default;

// --- Set-up ---------------------------------------------------------------------------------

void RyGanttView::setBuddy(QTreeView *treeView)
{
    if (!treeView || treeView == d->buddy)
        return;
    if (d->buddy) {
        d->buddy->verticalScrollBar()->disconnect(this);
        d->buddy->disconnect(this);
    }
    d->buddy = treeView;
    d->treeRows.setTreeView(treeView);
    setVerticalScrollMode(treeView->verticalScrollMode());
    QScrollBar *buddyBar = treeView->verticalScrollBar();
    connect(buddyBar, &QScrollBar::valueChanged, this, &RyGanttView::onBuddyVerticalScrollChanged);
    // Expanding rows in the tree changes its range without moving its value. expandAll() and
    // collapseAll() emit no expanded/collapsed signals: a changed extent (range plus page) of the
    // tree is taken as a sign that its shown rows changed.
    connect(buddyBar, &QScrollBar::rangeChanged, this, [this, buddyBar] {
        const int extent = buddyBar->maximum() + buddyBar->pageStep();
        if (extent != d->buddyExtent) {
            d->buddyExtent = extent;
            invalidateRows();
            viewport()->update();
        }
        updateGeometries();
    });
    adoptBuddySelectionModel();
    connect(treeView, &QTreeView::collapsed, this, &RyGanttView::onVisibleItemsChanged);
    connect(treeView, &QTreeView::expanded, this, &RyGanttView::onVisibleItemsChanged);
    invalidateRows();
    updateGeometries();
}

QTreeView *RyGanttView::buddy() const
{
    return d->buddy;
}

void RyGanttView::setRowController(RyGanttRowController *controller)
{
    d->rows = controller ? controller : &d->treeRows;
    invalidateRows();
    updateGeometries();
}

RyGanttRowController *RyGanttView::rowController() const
{
    return d->rows;
}

// Both views share one selection model; it can only be shared while they show the same model.
void RyGanttView::adoptBuddySelectionModel()
{
    if (!d->buddy || !model() || d->buddy->model() != model())
        return;
    QItemSelectionModel *shared = d->buddy->selectionModel();
    if (shared && shared != selectionModel())
        setSelectionModel(shared);
    if (shared)
        connect(shared, &QItemSelectionModel::currentRowChanged, this,
                &RyGanttView::onBuddySelectionChanged, Qt::UniqueConnection);
}

void RyGanttView::setModel(QAbstractItemModel *newModel)
{
    // Only this class's own connections: the base class keeps its own to the same model.
    for (const QMetaObject::Connection &connection : qAsConst(d->modelConnections))
        disconnect(connection);
    d->modelConnections.clear();
    d->links->setModel(newModel);
    d->reader.setModel(newModel);
    d->treeRows.setModel(newModel);
    d->trackingDelegate->setProgressColumn(
        RyUtils::findColumn(newModel, QStringLiteral("Progress")));
    QAbstractItemView::setModel(newModel);
    if (newModel) {
        using M = QAbstractItemModel;
        auto &c = d->modelConnections;
        c << connect(newModel, &M::layoutChanged, this, &RyGanttView::onModelChanged);
        c << connect(newModel, &M::modelReset, this, &RyGanttView::onModelChanged);
        // Columns found by name are kept until the columns change.
        auto forgetColumns = [this] { d->reader.forgetColumns(); };
        c << connect(newModel, &M::headerDataChanged, this, forgetColumns);
        c << connect(newModel, &M::columnsInserted, this, forgetColumns);
        c << connect(newModel, &M::columnsRemoved, this, forgetColumns);
        c << connect(newModel, &M::columnsMoved, this, forgetColumns);
    }
    adoptBuddySelectionModel();
    invalidateRows();
    updateTimeRange();
}

RyTimeLineHeader *RyGanttView::header() const
{
    return d->header;
}
RyGanttViewDelegate *RyGanttView::barDelegate() const
{
    return d->barDelegate;
}
RyTrackingGanttViewDelegate *RyGanttView::trackingDelegate() const
{
    return d->trackingDelegate;
}
RyGanttLinkModel *RyGanttView::linkModel() const
{
    return d->links;
}

void RyGanttView::setActivityTypeColumn(int column)
{
    d->reader.setActivityTypeColumn(column);
    d->barDelegate->setActivityTypeColumn(column);
    viewport()->update();
}
int RyGanttView::activityTypeColumn() const
{
    return d->reader.activityTypeColumn();
}

void RyGanttView::setShowLinks(bool show)
{
    d->showLinks = show;
    viewport()->update();
}
bool RyGanttView::showLinks() const
{
    return d->showLinks;
}

void RyGanttView::setShowVerticalLines(bool show)
{
    d->showVerticalLines = show;
    viewport()->update();
}
bool RyGanttView::showVerticalLines() const
{
    return d->showVerticalLines;
}

void RyGanttView::setDataDate(const QDateTime &dateTime)
{
    d->dataDate = dateTime;
}
QDateTime RyGanttView::dataDate() const
{
    return d->dataDate;
}

void RyGanttView::setTrackingMode(bool on)
{
    d->trackingMode = on;
    setItemDelegate(on ? static_cast<QAbstractItemDelegate *>(d->trackingDelegate)
                       : d->barDelegate);
    viewport()->update();
}
bool RyGanttView::trackingMode() const
{
    return d->trackingMode;
}

void RyGanttView::setTimelineFlags(quint8 flags)
{
    d->header->setTimelineFlags(flags);
    horizontalScrollBar()->setValue(0);
    d->linkRectCache.clear();
    emit headerSizeChanged();
    viewport()->update();
}
quint8 RyGanttView::timelineFlags() const
{
    return d->header->timelineFlags();
}

void RyGanttView::setBarStyles(const QList<RyGanttViewBarStyle> &styles)
{
    if (styles.isEmpty() || styles == d->barDelegate->barStyles())
        return;
    d->barDelegate->setBarStyles(styles);
    d->linkRectCache.clear();
    updateTimeRange();
    viewport()->update();
}
QList<RyGanttViewBarStyle> RyGanttView::barStyles() const
{
    return d->barDelegate->barStyles();
}
int RyGanttView::rowHeight() const
{
    return d->rowHeight();
}

void RyGanttView::addRelationship(const QModelIndex &successor, const QModelIndex &predecessor,
                                  const QString &type)
{
    d->links->addLink(successor, predecessor, type);
}
void RyGanttView::clearRelationships()
{
    d->links->clear();
}
int RyGanttView::relationshipCount() const
{
    return d->links->count();
}

QVariant RyGanttView::saveState() const
{
    return QVariantMap { { TimelineFlagsKey, int(d->header->timelineFlags()) } };
}

void RyGanttView::restoreState(const QVariant &state)
{
    setTimelineFlags(quint8(state.toMap().value(TimelineFlagsKey).toUInt()));
}

// --- Rows -----------------------------------------------------------------------------------

void RyGanttView::invalidateRows()
{
    d->rows->invalidate();
    d->linkRectCache.clear();
    d->links->invalidateRowIndex();
}

QModelIndexList RyGanttView::visibleItems() const
{
    return QModelIndexList(d->shown().cbegin(), d->shown().cend());
}

void RyGanttView::onModelChanged()
{
    d->reader.forgetColumns();
    invalidateRows();
    viewport()->update();
}

void RyGanttView::onVisibleItemsChanged()
{
    invalidateRows(); // the rows and the link rectangles are refilled on demand
    viewport()->update();
}

void RyGanttView::sectionResized()
{
    invalidateRows();
    viewport()->update();
}

void RyGanttView::doItemsLayout()
{
    invalidateRows();
    QAbstractItemView::doItemsLayout();
    viewport()->update();
}

void RyGanttView::reset()
{
    if (d->links->count() > 0)
        d->links->clear();
    invalidateRows();
    QAbstractItemView::reset();
}

void RyGanttView::rowsInserted(const QModelIndex &parent, int start, int end)
{
    invalidateRows();
    QAbstractItemView::rowsInserted(parent, start, end);
}

void RyGanttView::rowsAboutToBeRemoved(const QModelIndex &parent, int start, int end)
{
    invalidateRows();
    QAbstractItemView::rowsAboutToBeRemoved(parent, start, end);
}

// Cell edits are not shown one by one; dates that move only need the link ends recomputed.
void RyGanttView::dataChanged(const QModelIndex &, const QModelIndex &, const QVector<int> &)
{
    d->linkRectCache.clear();
    viewport()->update();
}

void RyGanttView::selectAll() { }

bool RyGanttView::isCritical(const QModelIndex &index) const
{
    return model() && d->reader.isCritical(index);
}

RyGanttView::RowType RyGanttView::rowType(const QModelIndex &index) const
{
    return model() ? RowType(d->reader.rowType(index)) : NoRowType;
}

// --- Geometry -------------------------------------------------------------------------------

QPoint RyGanttView::offsets() const
{
    return d->snapshotMode ? QPoint() : QPoint(horizontalOffset(), verticalOffset());
}

QRect RyGanttView::contentBarRect(int position, int barKind) const
{
    if (position < 0 || position >= d->rows->rowCount())
        return QRect();
    QString startField = RyGanttRowReader::StartField;
    QString finishField = RyGanttRowReader::FinishField;
    if (barKind >= 0) {
        const QList<RyGanttViewBarStyle> &styles = d->barDelegate->barStyles();
        if (barKind >= styles.size())
            return QRect();
        startField = styles.at(barKind).startDate;
        finishField = styles.at(barKind).finishDate;
        if (startField.isEmpty() || finishField.isEmpty()) // a style without date fields
            return QRect();
    }
    const QModelIndex index = d->shown().at(position);
    const QDateTime start = d->reader.date(index, startField);
    const QDateTime finish = d->reader.date(index, finishField);
    if (!start.isValid() || !finish.isValid())
        return QRect();
    const RyTimeScale &scale = d->header->scale();
    const int x1 = scale.dateToX(start.date());
    const int x2 = scale.dateToX(finish.date());
    // The finish day is covered in full. Zoomed out, a day is less than a pixel: a bar keeps
    // one pixel, so that it, its end markers and its links stay drawn.
    const int width = qMax(1, int(float(x2) + scale.dayWidth()) - x1);
    return QRect(x1, d->rows->rowY(position), width, d->rowHeight());
}

int RyGanttView::dateTimeToX(const QDateTime &dateTime) const
{
    return d->header->scale().dateTimeToX(dateTime);
}

QRect RyGanttView::barRect(const QModelIndex &index, int barKind) const
{
    if (!index.isValid())
        return QRect();
    const QRect rect = contentBarRect(d->rows->rowOf(index), barKind);
    return rect.isNull() ? rect : rect.translated(-offsets());
}

// Links attach to the bars of the first style, the tasks' bars.
QRect RyGanttView::linkRect(int position) const
{
    const QModelIndex index = d->shown().at(position);
    auto it = d->linkRectCache.constFind(index);
    if (it != d->linkRectCache.constEnd())
        return it.value();
    const QRect rect = contentBarRect(position, 0);
    d->linkRectCache.insert(index, rect);
    return rect;
}

QRect RyGanttView::visualRect(const QModelIndex &index) const
{
    if (!index.isValid() || index.column() != 0)
        return QRect();
    const int position = d->rows->rowOf(index);
    if (position < 0)
        return QRect();
    return QRect(0, d->rows->rowY(position) - offsets().y(), viewport()->width(), d->rowHeight());
}

QModelIndex RyGanttView::indexAt(const QPoint &point) const
{
    return d->rows->indexAtY(verticalOffset() + point.y());
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
    const int count = d->rows->rowCount();
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
    QRect bar = barRect(index, -1);
    const QRect view = viewport()->rect();
    if (!bar.isEmpty()) {
        if (bar.left() < view.left())
            horizontalScrollBar()->setValue(horizontalOffset() + bar.left() - view.left());
        else if (bar.right() > view.right())
            horizontalScrollBar()->setValue(
                horizontalOffset()
                + std::min(bar.right() - view.right(), bar.left() - view.left()));
    } else {
        bar = visualRect(index.sibling(index.row(), 0)); // no dates: only bring the row into view
    }
    int dy = 0;
    if (!bar.isNull() && bar.top() < view.top())
        dy = bar.top() - view.top();
    else if (!bar.isNull() && bar.bottom() > view.bottom())
        dy = std::min(bar.bottom() - view.bottom(), bar.top() - view.top());
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
    if (d->geometryGuard || !d->header) // the base class calls in while the view is built
        return;
    const QScopedValueRollback<bool> guard(d->geometryGuard, true);
    const int h = d->header->isHidden()
        ? 0
        : qBound(d->header->minimumHeight(), d->header->sizeHint().height(),
                 d->header->maximumHeight());
    setViewportMargins(0, h, 0, 0);
    const QRect vg = viewport()->geometry();
    d->header->setGeometry(vg.left(), vg.top() - h, vg.width(), h);

    QScrollBar *hbar = horizontalScrollBar();
    hbar->setSingleStep(std::max(1, d->header->unitWidth()));
    hbar->setPageStep(viewport()->width());
    // Scroll values stop on unit boundaries (rounded down), so the maximum is rounded up to one:
    // otherwise the end of the chart could not be reached.
    const int unit = std::max(1, d->header->unitWidth());
    const int overflow = std::max(0, d->header->sizeHint().width() - viewport()->width());
    hbar->setRange(0, (overflow + unit - 1) / unit * unit);

    QScrollBar *vbar = verticalScrollBar();
    if (d->buddy) {
        const QScrollBar *other = d->buddy->verticalScrollBar();
        vbar->setSingleStep(other->singleStep());
        vbar->setPageStep(other->pageStep());
        vbar->setRange(other->minimum(), other->maximum());
    } else {
        vbar->setSingleStep(d->rowHeight());
        vbar->setPageStep(viewport()->height());
        vbar->setRange(0, std::max(0, d->rows->totalHeight() - viewport()->height()));
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

// --- Scrolling mirrored with the buddy ------------------------------------------------------

void RyGanttView::onBuddyVerticalScrollChanged(int step)
{
    if (d->scrollGuard)
        return;
    const QScopedValueRollback<bool> guard(d->scrollGuard, true);
    if (verticalScrollBar()->maximum() < step)
        updateGeometries();
    verticalScrollBar()->setValue(step);
    viewport()->update();
}

void RyGanttView::onVerticalScrollChanged(int value)
{
    if (d->scrollGuard)
        return;
    const QScopedValueRollback<bool> guard(d->scrollGuard, true);
    if (d->buddy)
        d->buddy->verticalScrollBar()->setValue(value);
    viewport()->update();
}

void RyGanttView::onBuddySelectionChanged(const QModelIndex &, const QModelIndex &)
{
    viewport()->update();
}

void RyGanttView::updateTimeRange()
{
    if (!model())
        return;
    const RyGanttRowReader::Range range = d->reader.range(d->treeRows);
    invalidateRows();
    if (range.start.isValid() && range.finish.isValid()) {
        d->header->setRange(range.start, range.finish);
        updateGeometries();
    } else {
        // A schedule without dates (or the empty placeholder) is normal.
        qCDebug(lcGantt) << "No start/finish date set";
    }
}

// --- Snapshot -------------------------------------------------------------------------------

QVariantMap RyGanttView::prepareSnapshot()
{
    d->header->setSnapshotMode(true);
    d->snapshotMode = true;
    invalidateRows();
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
    resize(d->header->sizeHint().width() + frame,
           d->header->sizeHint().height() + d->rows->totalHeight() + frame);
    updateGeometries();
    return state;
}

void RyGanttView::restoreSnapshot(const QVariantMap &state)
{
    d->header->setSnapshotMode(false);
    d->snapshotMode = false;
    resize(state.value(WidthKey).toInt(), state.value(HeightKey, height()).toInt());
    invalidateRows();
    updateGeometries();
    // Values go back once the ranges are restored. The chart's own vertical bar stays hidden.
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    horizontalScrollBar()->setValue(state.value(HorizontalScrollKey).toInt());
    verticalScrollBar()->setValue(state.value(VerticalScrollKey).toInt());
    verticalScrollBar()->blockSignals(false);
    viewport()->update();
}

// --- Painting -------------------------------------------------------------------------------

void RyGanttView::paintEvent(QPaintEvent *event)
{
    QPainter painter(viewport());
    const int count = d->rows->rowCount();
    const int fullHeight = d->snapshotMode ? d->rows->totalHeight() : viewport()->height();
    const int top = offsets().y();
    // Only the rows inside the exposed area; in snapshot mode that may be every row.
    const int first = std::max(0, (top + event->rect().top()) / d->rowHeight());
    const int last = std::min(count - 1, (top + event->rect().bottom()) / d->rowHeight());
    paintBackground(painter, first, last, fullHeight);
    if (count == 0 || first > last)
        return;
    if (d->showLinks)
        paintLinks(painter, first, last);
    QStyleOptionViewItem option = viewOptions();
    for (int position = first; position <= last; ++position)
        paintRow(painter, option, position);

    if (selectionModel() && selectionModel()->hasSelection()) {
        const QItemSelectionRange range = selectionModel()->selection().first();
        const QModelIndex selected = range.topLeft().sibling(range.top(), 0);
        const QRect rect = visualRect(selected).adjusted(-1, 0, 1, 0);
        if (!rect.isEmpty()) {
            painter.setPen(Qt::gray);
            painter.setBrush(Qt::NoBrush);
            painter.drawRect(rect.adjusted(0, 0, -1, -1));
        }
    }
}

void RyGanttView::paintBackground(QPainter &painter, int first, int last, int fullHeight)
{
    using Background = RyGanttBackgroundPainter;
    const QPoint offset = offsets();
    const Background::Area area { first,     last, d->rowHeight(), offset, painter.window().width(),
                                  fullHeight };
    const QBrush alternate = palette().brush(QPalette::Active, QPalette::AlternateBase);
    if (alternatingRowColors())
        Background::paintAlternateRows(painter, area, alternate);
    const RyTimeScale &scale = d->header->scale();
    if (scale.lowestTier() == Ry::Day) {
        const QDate from = d->snapshotMode ? scale.startDate() : scale.xToDate(offset.x());
        const QDate to = d->snapshotMode ? scale.finishDate()
                                         : scale.xToDate(offset.x() + viewport()->width());
        Background::paintNonWorkingTime(painter, area, scale, from, to, alternate);
    }
    if (d->showVerticalLines)
        Background::paintGrid(painter, area, scale, d->header->tickDates());
    Background::paintDataDate(painter, area, scale, d->dataDate, d->dataDatePen);
}

void RyGanttView::paintLinks(QPainter &painter, int first, int last)
{
    const QPoint offset = offsets();
    const QVector<RyGanttLinkModel::RowLink> links = d->links->linksInRows(first, last, *d->rows);
    for (const RyGanttLinkModel::RowLink &link : links) {
        const QRect p = linkRect(link.predecessorRow);
        const QRect s = linkRect(link.successorRow);
        if (p.isEmpty() || s.isEmpty())
            continue;
        const QColor color
            = isCritical(link.link->predecessor) ? QColor(Qt::red) : QColor(Qt::black);
        RyGanttLinkPainter::paint(painter, p.translated(-offset), s.translated(-offset),
                                  link.link->type, color);
    }
}

void RyGanttView::paintRow(QPainter &painter, QStyleOptionViewItem option, int position)
{
    const QModelIndex index = d->shown().at(position);
    const QPoint offset = offsets();
    const QList<RyGanttViewBarStyle> &styles = d->barDelegate->barStyles();
    auto paintBar = [&](int barKind, bool byStyle) {
        if (barKind >= 0 && (barKind >= styles.size() || !styles.at(barKind).visible))
            return;
        const QRect rect = contentBarRect(position, barKind);
        if (rect.isEmpty())
            return;
        option.rect = rect.translated(-offset);
        painter.save();
        if (byStyle)
            d->barDelegate->paintBar(&painter, option, index, barKind);
        else
            d->trackingDelegate->paintBar(&painter, option, index, barKind);
        painter.restore();
    };
    // Baseline bars go first, so that the plan's bars lie over them wherever the two meet;
    // they stay with critical activities and in tracking mode.
    const RowType type = rowType(index);
    const int baselineKind = type == TaskRow ? BaselineTaskStyle
        : type == MilestoneRow               ? BaselineMilestoneStyle
                                             : -1;
    if (baselineKind >= 0)
        paintBar(baselineKind, true);
    if (d->trackingMode || isCritical(index)) {
        paintBar(-1, !d->trackingMode);
        return;
    }
    static const QVector<int> taskStyles { 0, 3 };
    static const QVector<int> milestoneStyles { 1, 4 };
    static const QVector<int> summaryStyles { 2 };
    const QVector<int> &kinds = type == TaskRow ? taskStyles
        : type == MilestoneRow                  ? milestoneStyles
        : type == SummaryRow                    ? summaryStyles
                                                : QVector<int>();
    for (int kind : kinds)
        paintBar(kind, true);
}
