#include "gantt/ryganttview.h"

#include "gantt/ryganttviewdelegate.h"
#include "gantt/rytimelineheader.h"
#include "gantt/rytrackingganttviewdelegate.h"
#include "models/ryconstants.h"
#include "models/rymodellookup.h"

#include <QDebug>
#include <QHash>
#include <QLoggingCategory>
#include <QPaintEvent>
#include <QPainter>
#include <QPointer>
#include <QScrollBar>
#include <QTreeView>

#include <algorithm>

namespace {
Q_LOGGING_CATEGORY(lcGantt, "tarvik.gantt", QtWarningMsg)
} // namespace

namespace {

// Links are looked up by the blocks of rows they cross, so a paint touches only the links of
// the rows in view, not every link of the project.
constexpr int LinkBlockRows = 32;

// Plain indexes: persistent ones would be walked by the model on every batch of removed rows,
// which makes filtering a 50,000-row project with as many links crawl. Links are dropped when
// rows come or go (the activity view adds them again) and carried over layout changes.
struct Link
{
    QModelIndex successor;
    QModelIndex predecessor;
    QString type;
};

// A link whose two rows are shown, with their positions in the visible rows.
struct VisibleLink
{
    int successorRow;
    int predecessorRow;
    const Link *link;
};

// Sets a flag for the lifetime of the object; re-entrant calls see it set and return.
class GuardScope
{
public:
    explicit GuardScope(bool &flag)
        : m_flag(flag)
    {
        m_flag = true;
    }
    ~GuardScope() { m_flag = false; }

private:
    bool &m_flag;
};

} // namespace

struct RyGanttView::Private
{
    QPointer<QTreeView> buddy;
    int buddyExtent = -1;
    mutable bool visibleRowsDirty = true;
    mutable QVector<QModelIndex> allRows;
    mutable QVector<QModelIndex> m_visibleItems;
    mutable QHash<QModelIndex, int> visiblePositions;
    int rowHeight = Ry::RowHeight;
    RyTimeLineHeader *header = nullptr;
    QMultiHash<QModelIndex, Link> links;
    QVector<QPair<QPersistentModelIndex, QPersistentModelIndex>> linksDuringLayout;
    QStringList linkTypesDuringLayout;
    int linkBarStyle = 0;
    mutable QHash<QModelIndex, QRect> linkRectCache; // content coordinates
    bool geometryGuard = false;
    bool scrollGuard = false;
    bool selectionGuard = false;
    int activityTypeColumn = -1;
    bool showLinks = true;
    bool showVerticalLines = true;
    QDateTime dataDate;
    QPen dataDatePen { QColor(255, 165, 0) };
    RyGanttViewDelegate *barDelegate = nullptr;
    RyTrackingGanttViewDelegate *trackingDelegate = nullptr;
    bool trackingMode = false;
    bool snapshotMode = false;

    mutable QHash<QString, int> columnCache;
    mutable bool visibleLinksDirty = true;
    mutable QVector<VisibleLink> visibleLinks;
    mutable QVector<QVector<int>> linkBlocks;
    QVector<QMetaObject::Connection> modelConnections;
};

RyGanttView::RyGanttView(QWidget *parent)
    : QAbstractItemView(parent)
    , d(new Private)
{
    d->barDelegate = new RyGanttViewDelegate(this);
    d->barDelegate->setBarStyles(RyGanttViewBarStyle::defaultStyles());
    setItemDelegate(d->barDelegate);
    d->trackingDelegate = new RyTrackingGanttViewDelegate(this);

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
    if (newModel != model())
        d->links.clear();
    d->columnCache.clear();
    d->trackingDelegate->setProgressColumn(
        RyModelLookup::findColumn(newModel, QStringLiteral("Progress")));
    QAbstractItemView::setModel(newModel);
    if (newModel) {
        using M = QAbstractItemModel;
        auto &c = d->modelConnections;
        c << connect(newModel, &M::layoutAboutToBeChanged, this,
                     &RyGanttView::holdLinksDuringLayout);
        c << connect(newModel, &M::layoutChanged, this, &RyGanttView::restoreLinksAfterLayout);
        c << connect(newModel, &M::layoutChanged, this, &RyGanttView::onModelChanged);
        c << connect(newModel, &M::modelReset, this, &RyGanttView::onModelChanged);
        c << connect(newModel, &M::modelAboutToBeReset, this, &RyGanttView::dropLinks);
        c << connect(newModel, &M::rowsAboutToBeMoved, this, &RyGanttView::dropLinks);
        c << connect(newModel, &M::columnsAboutToBeInserted, this, &RyGanttView::dropLinks);
        c << connect(newModel, &M::columnsAboutToBeRemoved, this, &RyGanttView::dropLinks);
        c << connect(newModel, &M::columnsAboutToBeMoved, this, &RyGanttView::dropLinks);
        // Column lookups by header text are cached until the columns change.
        auto forgetColumns = [this] { d->columnCache.clear(); };
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

void RyGanttView::setActivityTypeColumn(int column)
{
    d->activityTypeColumn = column;
    d->barDelegate->setActivityTypeColumn(column);
    viewport()->update();
}

int RyGanttView::activityTypeColumn() const
{
    return d->activityTypeColumn;
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
    return d->rowHeight;
}

void RyGanttView::addRelationship(const QModelIndex &successor, const QModelIndex &predecessor,
                                  const QString &type)
{
    if (!successor.isValid() || !predecessor.isValid() || successor == predecessor
        || successor.model() != predecessor.model())
        return;
    d->links.insert(successor, Link { successor, predecessor, type });
    d->visibleLinksDirty = true;
    viewport()->update();
}

void RyGanttView::clearRelationships()
{
    d->links = QMultiHash<QModelIndex, Link>();
    d->visibleLinksDirty = true;
    viewport()->update();
}

int RyGanttView::relationshipCount() const
{
    return d->links.size();
}

void RyGanttView::dropLinks()
{
    if (d->links.isEmpty())
        return;
    d->links.clear();
    d->visibleLinksDirty = true;
}

void RyGanttView::holdLinksDuringLayout()
{
    d->linksDuringLayout.clear();
    d->linkTypesDuringLayout.clear();
    for (const Link &link : qAsConst(d->links)) {
        d->linksDuringLayout.append({ link.successor, link.predecessor });
        d->linkTypesDuringLayout.append(link.type);
    }
    d->links.clear();
}

void RyGanttView::restoreLinksAfterLayout()
{
    for (int i = 0; i < d->linksDuringLayout.size(); ++i) {
        const QModelIndex successor = d->linksDuringLayout.at(i).first;
        const QModelIndex predecessor = d->linksDuringLayout.at(i).second;
        if (successor.isValid() && predecessor.isValid())
            d->links.insert(successor,
                            Link { successor, predecessor, d->linkTypesDuringLayout.at(i) });
    }
    d->linksDuringLayout.clear();
    d->linkTypesDuringLayout.clear();
    d->visibleLinksDirty = true;
}

QVariant RyGanttView::saveState() const
{
    return QVariantMap { { QStringLiteral("timelineFlags"), int(d->header->timelineFlags()) } };
}

void RyGanttView::restoreState(const QVariant &state)
{
    const quint8 flags = quint8(state.toMap().value(QStringLiteral("timelineFlags")).toUInt());
    setTimelineFlags(flags);
}

// --- Rows -----------------------------------------------------------------------------------

void RyGanttView::invalidateRows()
{
    d->visibleRowsDirty = true;
    d->m_visibleItems.clear();
    d->visiblePositions.clear();
    d->linkRectCache.clear();
    d->visibleLinksDirty = true;
}

void RyGanttView::ensureRows() const
{
    if (d->visibleRowsDirty) {
        rebuildRows();
    }
}

void RyGanttView::rebuildAllRows(const RowVisitor &visit) const
{
    d->allRows.clear();
    const QAbstractItemModel *m = model();
    if (!m)
        return;
    // Pre-order walk without recursion; each level keeps its row count. The visitor sees each
    // row while the model's data for it is still close at hand.
    struct Level
    {
        QModelIndex parent;
        int next;
        int count;
    };
    QVector<Level> stack { { QModelIndex(), 0, m->rowCount() } };
    while (!stack.isEmpty()) {
        Level &top = stack.last();
        if (top.next >= top.count) {
            stack.removeLast();
            continue;
        }
        const int row = top.next++;
        const QModelIndex parent = top.parent; // `top` moves when the stack grows
        const QModelIndex index = m->index(row, 0, parent);
        d->allRows.append(index);
        if (visit)
            visit(parent, row);
        // Asking a sorting proxy for the row count of a leaf builds a mapping for it;
        // hasChildren answers from the source first.
        const int children = m->hasChildren(index) ? m->rowCount(index) : 0;
        if (children > 0)
            stack.append({ index, 0, children });
    }
}

// One walk fills both lists: every row goes to the all rows list, and a row is shown when no
// ancestor is collapsed in the buddy.
void RyGanttView::rebuildRows() const
{
    d->allRows.clear();
    d->m_visibleItems.clear();
    d->visiblePositions.clear();
    d->linkRectCache.clear();
    d->visibleLinksDirty = true;
    d->visibleRowsDirty = false;
    const QAbstractItemModel *m = model();
    if (!m)
        return;
    const QTreeView *tree = d->buddy;
    const bool sameModel = tree && tree->model() == m;
    struct Level
    {
        QModelIndex parent;
        int next;
        int count;
        bool shown;
    };
    QVector<Level> stack { { QModelIndex(), 0, m->rowCount(), true } };
    while (!stack.isEmpty()) {
        Level &top = stack.last();
        if (top.next >= top.count) {
            stack.removeLast();
            continue;
        }
        const bool shown = top.shown;
        const QModelIndex index = m->index(top.next++, 0, top.parent);
        d->allRows.append(index);
        if (shown) {
            d->visiblePositions.insert(index, d->m_visibleItems.size());
            d->m_visibleItems.append(index);
        }
        const int children = m->hasChildren(index) ? m->rowCount(index) : 0;
        // Without a buddy every row counts as expanded.
        if (children > 0)
            stack.append({ index, 0, children, shown && (!sameModel || tree->isExpanded(index)) });
    }
}

QModelIndexList RyGanttView::visibleItems() const
{
    ensureRows();
    return QModelIndexList(d->m_visibleItems.cbegin(), d->m_visibleItems.cend());
}

void RyGanttView::onModelChanged()
{
    d->columnCache.clear();
    rebuildAllRows();
    invalidateRows();
    viewport()->update();
}

void RyGanttView::onVisibleItemsChanged()
{
    rebuildRows(); // also drops the link rectangles, refilled on demand
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
    dropLinks();
    invalidateRows();
    QAbstractItemView::reset();
}

void RyGanttView::rowsInserted(const QModelIndex &parent, int start, int end)
{
    dropLinks();
    invalidateRows();
    QAbstractItemView::rowsInserted(parent, start, end);
}

void RyGanttView::rowsAboutToBeRemoved(const QModelIndex &parent, int start, int end)
{
    dropLinks();
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

int RyGanttView::columnOf(const QString &headerText) const
{
    auto it = d->columnCache.constFind(headerText);
    if (it != d->columnCache.constEnd())
        return it.value();
    const int column = RyModelLookup::findColumn(model(), headerText);
    d->columnCache.insert(headerText, column);
    return column;
}

bool RyGanttView::isCritical(const QModelIndex &index) const
{
    if (!index.isValid() || !model())
        return false;
    const int column = columnOf(QStringLiteral("Total float"));
    if (column < 0)
        return false;
    const QVariant value = index.sibling(index.row(), column).data(Qt::DisplayRole);
    if (value.isNull())
        return false;
    bool ok = false;
    const double totalFloat = value.toDouble(&ok);
    return ok && totalFloat <= 0;
}

RyGanttView::RowType RyGanttView::rowType(const QModelIndex &index) const
{
    if (!model() || !index.isValid())
        return NoRowType;
    const QModelIndex row = index.sibling(index.row(), 0);
    if (model()->hasChildren(row))
        return SummaryRow;
    if (d->activityTypeColumn < 0)
        return NoRowType;
    const QString type = index.sibling(index.row(), d->activityTypeColumn).data().toString();
    if (type.contains(QLatin1String("task"), Qt::CaseInsensitive)
        || type.contains(QLatin1String("level"), Qt::CaseInsensitive))
        return TaskRow;
    if (type.contains(QLatin1String("mile"), Qt::CaseInsensitive))
        return MilestoneRow;
    return NoRowType;
}

// --- Geometry -------------------------------------------------------------------------------

QPoint RyGanttView::offsets() const
{
    return d->snapshotMode ? QPoint() : QPoint(horizontalOffset(), verticalOffset());
}

QRect RyGanttView::contentBarRect(int position, int barKind) const
{
    if (position < 0 || position >= d->m_visibleItems.size())
        return QRect();
    QString startName = QStringLiteral("Start Date");
    QString finishName = QStringLiteral("Finish Date");
    if (barKind >= 0) {
        const QList<RyGanttViewBarStyle> &styles = d->barDelegate->barStyles();
        if (barKind >= styles.size())
            return QRect();
        startName = styles.at(barKind).startDate;
        finishName = styles.at(barKind).finishDate;
        if (startName.isEmpty() || finishName.isEmpty()) // a style without date fields
            return QRect();
    }
    const int startColumn = columnOf(startName);
    const int finishColumn = columnOf(finishName);
    if (startColumn < 0 || finishColumn < 0)
        return QRect();
    const QModelIndex index = d->m_visibleItems.at(position);
    const QDateTime start = index.sibling(index.row(), startColumn).data().toDateTime();
    const QDateTime finish = index.sibling(index.row(), finishColumn).data().toDateTime();
    if (!start.isValid() || !finish.isValid())
        return QRect();
    const int x1 = d->header->dateToX(start.date());
    const int x2 = d->header->dateToX(finish.date());
    // The finish day is covered in full. Zoomed out, a day is less than a pixel: a bar keeps
    // one pixel, so that it, its end markers and its links stay drawn.
    const float day = float(d->header->unitWidth()) * d->header->dayFraction(Ry::Day);
    const int width = qMax(1, int(float(x2) + day) - x1);
    return QRect(x1, position * d->rowHeight, width, d->rowHeight);
}

int RyGanttView::dateTimeToX(const QDateTime &dateTime) const
{
    // Placed as bars are (their day's position), plus the share of that day already gone; the
    // wall-clock fields count, as for the bars' dates.
    const float day = float(d->header->unitWidth()) * d->header->dayFraction(Ry::Day);
    const float share = float(dateTime.time().msecsSinceStartOfDay()) / float(24 * 3600 * 1000);
    return int(float(d->header->dateToX(dateTime.date())) + share * day);
}

QRect RyGanttView::barRect(const QModelIndex &index, int barKind) const
{
    ensureRows();
    if (!index.isValid())
        return QRect();
    const int position = d->visiblePositions.value(index.sibling(index.row(), 0), -1);
    const QRect rect = contentBarRect(position, barKind);
    return rect.isNull() ? rect : rect.translated(-offsets());
}

QRect RyGanttView::linkRect(int position) const
{
    const QModelIndex index = d->m_visibleItems.at(position);
    auto it = d->linkRectCache.constFind(index);
    if (it != d->linkRectCache.constEnd())
        return it.value();
    const QRect rect = contentBarRect(position, d->linkBarStyle);
    d->linkRectCache.insert(index, rect);
    return rect;
}

QRect RyGanttView::visualRect(const QModelIndex &index) const
{
    ensureRows();
    if (!index.isValid() || index.column() != 0)
        return QRect();
    const int position = d->visiblePositions.value(index, -1);
    if (position < 0)
        return QRect();
    return QRect(0, position * d->rowHeight - offsets().y(), viewport()->width(), d->rowHeight);
}

QModelIndex RyGanttView::indexAt(const QPoint &point) const
{
    ensureRows();
    const int y = verticalOffset() + point.y();
    if (y < 0)
        return QModelIndex();
    const int position = y / d->rowHeight;
    return position < d->m_visibleItems.size() ? d->m_visibleItems.at(position) : QModelIndex();
}

int RyGanttView::horizontalOffset() const
{
    return horizontalScrollBar()->value();
}

int RyGanttView::verticalOffset() const
{
    const int value = verticalScrollBar()->value();
    return verticalScrollMode() == ScrollPerPixel ? value : value * d->rowHeight;
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
    ensureRows();
    if (!selectionModel())
        return;
    const int first = (verticalOffset() + rect.top()) / d->rowHeight;
    const int last = (verticalOffset() + rect.bottom()) / d->rowHeight;
    const int count = d->m_visibleItems.size();
    if (first < 0 || first >= count || last < 0 || last >= count)
        return;
    QItemSelection selection;
    for (int position = first; position <= last; ++position) {
        const QModelIndex index = d->m_visibleItems.at(position);
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
    const QRect row = visualRect(index.sibling(index.row(), 0));
    const QRect view = viewport()->rect();
    if (!bar.isEmpty()) {
        if (bar.left() < view.left())
            horizontalScrollBar()->setValue(horizontalOffset() + bar.left() - view.left());
        else if (bar.right() > view.right())
            horizontalScrollBar()->setValue(
                horizontalOffset()
                + std::min(bar.right() - view.right(), bar.left() - view.left()));
    } else {
        bar = row; // no dates: only bring the row into view
    }
    if (!bar.isNull()) {
        int dy = 0;
        if (bar.top() < view.top())
            dy = bar.top() - view.top();
        else if (bar.bottom() > view.bottom())
            dy = std::min(bar.bottom() - view.bottom(), bar.top() - view.top());
        if (dy != 0) {
            QScrollBar *bar = verticalScrollBar();
            if (verticalScrollMode() == ScrollPerPixel)
                bar->setValue(bar->value() + dy);
            else
                bar->setValue(bar->value()
                              + (dy > 0 ? (dy + d->rowHeight - 1) / d->rowHeight
                                        : -((-dy + d->rowHeight - 1) / d->rowHeight)));
        }
    }
    viewport()->update();
}

void RyGanttView::updateGeometries()
{
    if (d->geometryGuard || !d->header) // the base class calls in while the view is built
        return;
    GuardScope guard(d->geometryGuard);
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
        ensureRows();
        vbar->setSingleStep(d->rowHeight);
        vbar->setPageStep(viewport()->height());
        vbar->setRange(0,
                       std::max(0, d->m_visibleItems.size() * d->rowHeight - viewport()->height()));
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
    const int pixelsY = verticalScrollMode() == ScrollPerPixel ? dy : dy * d->rowHeight;
    viewport()->scroll(dx, pixelsY);
}

// --- Scrolling and selection mirrored with the buddy ---------------------------------------

void RyGanttView::onBuddyVerticalScrollChanged(int step)
{
    if (d->scrollGuard)
        return;
    GuardScope guard(d->scrollGuard);
    if (verticalScrollBar()->maximum() < step)
        updateGeometries();
    verticalScrollBar()->setValue(step);
    viewport()->update();
}

void RyGanttView::onVerticalScrollChanged(int value)
{
    if (d->scrollGuard)
        return;
    GuardScope guard(d->scrollGuard);
    if (d->buddy)
        d->buddy->verticalScrollBar()->setValue(value);
    viewport()->update();
}

void RyGanttView::onBuddySelectionChanged(const QModelIndex &, const QModelIndex &)
{
    if (d->selectionGuard)
        return;
    GuardScope guard(d->selectionGuard);
    viewport()->update();
}

// --- Time range -----------------------------------------------------------------------------

void RyGanttView::updateTimeRange()
{
    if (!model())
        return;
    const int startColumn = columnOf(QStringLiteral("Start Date"));
    const int finishColumn = columnOf(QStringLiteral("Finish Date"));
    // Local date and time compared field by field: ordering local date-times as instants would
    // cost a time-zone conversion per row.
    QDate earliestDate, latestDate;
    QTime earliestTime, latestTime;
    const QAbstractItemModel *m = model();
    auto scan = [&](const QModelIndex &parent, int row) {
        const QDateTime start = m->index(row, startColumn, parent).data().toDateTime();
        if (start.isValid()) {
            const QDate date = start.date();
            if (!earliestDate.isValid() || date < earliestDate
                || (date == earliestDate && start.time() < earliestTime)) {
                earliestDate = date;
                earliestTime = start.time();
            }
        }
        const QDateTime finish = m->index(row, finishColumn, parent).data().toDateTime();
        if (finish.isValid()) {
            const QDate date = finish.date();
            if (!latestDate.isValid() || date > latestDate
                || (date == latestDate && finish.time() > latestTime)) {
                latestDate = date;
                latestTime = finish.time();
            }
        }
    };
    if (startColumn >= 0 && finishColumn >= 0)
        rebuildAllRows(scan);
    else
        rebuildAllRows();
    invalidateRows();
    if (earliestDate.isValid() && latestDate.isValid()) {
        d->header->setRange(earliestDate, latestDate);
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
    ensureRows();
    viewport()->update();
    if (selectionModel())
        selectionModel()->clearSelection();
    // Scroll values are read before the resize, which shrinks the scroll ranges to nothing.
    QVariantMap state;
    state.insert(QStringLiteral("width"), width());
    state.insert(QStringLiteral("height"), height());
    state.insert(QStringLiteral("ver_scroll_val"), verticalScrollBar()->value());
    state.insert(QStringLiteral("hor_scroll_val"), horizontalScrollBar()->value());
    // The buddy lays itself out separately: the mirrored vertical scrolling stays silent.
    verticalScrollBar()->blockSignals(true);
    verticalScrollBar()->setValue(0);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    horizontalScrollBar()->setValue(0);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // The frame comes on top, so that the viewport holds the whole chart.
    const int frame = 2 * frameWidth();
    resize(d->header->sizeHint().width() + frame,
           d->header->sizeHint().height() + d->m_visibleItems.size() * d->rowHeight + frame);
    updateGeometries();
    return state;
}

void RyGanttView::restoreSnapshot(const QVariantMap &state)
{
    d->header->setSnapshotMode(false);
    d->snapshotMode = false;
    resize(state.value(QStringLiteral("width")).toInt(),
           state.value(QStringLiteral("height"), height()).toInt());
    invalidateRows();
    updateGeometries();
    // Values go back once the ranges are restored. The chart's own vertical bar stays hidden.
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    horizontalScrollBar()->setValue(state.value(QStringLiteral("hor_scroll_val")).toInt());
    verticalScrollBar()->setValue(state.value(QStringLiteral("ver_scroll_val")).toInt());
    verticalScrollBar()->blockSignals(false);
    viewport()->update();
}

// --- Painting -------------------------------------------------------------------------------

void RyGanttView::paintEvent(QPaintEvent *event)
{
    ensureRows();
    QPainter painter(viewport());
    const int count = d->m_visibleItems.size();
    const int fullHeight = d->snapshotMode ? count * d->rowHeight : viewport()->height();
    const int top = offsets().y();
    // Only the rows inside the exposed area; in snapshot mode that may be every row.
    const int first = std::max(0, (top + event->rect().top()) / d->rowHeight);
    const int last = std::min(count - 1, (top + event->rect().bottom()) / d->rowHeight);
    paintBackground(painter, first, last, fullHeight);
    if (count == 0)
        return;
    if (first > last) {
        if (first < count)
            qCWarning(lcGantt) << "RyGanttView::viewportIndexes error";
        return;
    }
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
    const QPoint offset = offsets();
    const QBrush alternate = palette().brush(QPalette::Active, QPalette::AlternateBase);
    if (alternatingRowColors()) {
        const int windowWidth = painter.window().width();
        for (int position = first; position <= last; ++position) {
            if (position % 2 == 1)
                painter.fillRect(
                    QRect(-1, position * d->rowHeight - offset.y(), windowWidth + 2, d->rowHeight),
                    alternate);
        }
    }
    RyTimeLineHeader *header = d->header;
    if (header->lowestTier() == Ry::Day) {
        const QDate firstDate = d->snapshotMode ? header->startDate() : header->xToDate(offset.x());
        const QDate lastDate = d->snapshotMode ? header->finishDate()
                                               : header->xToDate(offset.x() + viewport()->width());
        const int weekendWidth = 2 * header->unitWidth();
        for (QDate saturday = firstDate.addDays(6 - firstDate.dayOfWeek()); saturday < lastDate;
             saturday = saturday.addDays(7))
            painter.fillRect(
                QRect(header->dateToX(saturday) - offset.x(), 0, weekendWidth, fullHeight),
                alternate);
    }
    if (d->showVerticalLines) {
        painter.setPen(Qt::gray);
        const QList<QDate> ticks = header->tickDates();
        for (const QDate &tick : ticks) {
            const int x = header->dateToX(tick, true) - offset.x();
            painter.drawLine(x, 0, x, fullHeight);
        }
    }
    if (d->dataDate.isValid()) {
        painter.setPen(d->dataDatePen);
        const int x = dateTimeToX(d->dataDate) - offset.x();
        painter.drawLine(x, 0, x, fullHeight);
    }
}

void RyGanttView::paintLinks(QPainter &painter, int first, int last)
{
    if (d->visibleLinksDirty) {
        d->visibleLinks.clear();
        const int count = d->m_visibleItems.size();
        d->linkBlocks = QVector<QVector<int>>(count / LinkBlockRows + 1);
        for (const Link &link : qAsConst(d->links)) {
            const int s
                = d->visiblePositions.value(link.successor.sibling(link.successor.row(), 0), -1);
            const int p = d->visiblePositions.value(
                link.predecessor.sibling(link.predecessor.row(), 0), -1);
            if (s < 0 || p < 0)
                continue; // a hidden end has no bar to attach to
            const int id = d->visibleLinks.size();
            d->visibleLinks.append({ s, p, &link });
            for (int block = std::min(s, p) / LinkBlockRows;
                 block <= std::max(s, p) / LinkBlockRows; ++block)
                d->linkBlocks[block].append(id);
        }
        d->visibleLinksDirty = false;
    }
    const QPoint offset = offsets();
    int previousId = -1;
    QVector<int> ids;
    for (int block = first / LinkBlockRows;
         block <= last / LinkBlockRows && block < d->linkBlocks.size(); ++block)
        ids += d->linkBlocks.at(block);
    std::sort(ids.begin(), ids.end());
    for (int id : qAsConst(ids)) {
        if (id == previousId)
            continue; // a link crossing several blocks is listed in each
        previousId = id;
        const VisibleLink &visible = d->visibleLinks.at(id);
        const QRect p = linkRect(visible.predecessorRow);
        const QRect s = linkRect(visible.successorRow);
        if (p.isEmpty() || s.isEmpty())
            continue;
        const QColor color
            = isCritical(visible.link->predecessor) ? QColor(Qt::red) : QColor(Qt::black);
        paintLink(painter, p.translated(-offset), s.translated(-offset), visible.link->type, color);
    }
}

void RyGanttView::paintLink(QPainter &painter, const QRect &p, const QRect &s, const QString &type,
                            const QColor &color)
{
    const bool below = s.top() >= p.top();
    const bool fromFinish = type == QLatin1String("FS") || type == QLatin1String("FF");
    const bool toStart = type == QLatin1String("FS") || type == QLatin1String("SS");
    const QPoint start(fromFinish ? p.right() : p.left(), p.center().y() + 1);
    const QPoint end(toStart ? s.left() : s.right(), below ? s.top() : s.bottom());

    QVector<QPoint> path { start };
    // A successor starting before the predecessor's end: leave the predecessor's row first.
    if (s.left() < p.right())
        path.append(QPoint(start.x(), below ? p.bottom() + 1 : p.top()));
    path.append(QPoint(end.x(), path.last().y()));
    path.append(end);
    painter.setPen(QPen(color, 1));
    painter.drawPolyline(path.constData(), path.size());

    const QPoint tip = below ? end + QPoint(0, 5) : end - QPoint(0, 4);
    painter.drawPoint(tip);
    for (int k = 1; k <= 4; ++k) {
        const int y = below ? tip.y() - k : tip.y() + k;
        painter.drawLine(tip.x() - k, y, tip.x() + k, y);
    }
}

void RyGanttView::paintRow(QPainter &painter, QStyleOptionViewItem option, int position)
{
    if (d->m_visibleItems.isEmpty()) {
        qCWarning(lcGantt) << "RyGanttView::paintRow m_visibleItems is empty";
        return;
    }
    const QModelIndex index = d->m_visibleItems.at(position);
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
