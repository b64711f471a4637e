#include "views/rygroupedtreeview.h"

#include "models/ryconstants.h"
#include "models/rymodellookup.h"
#include "models/ryvaluetext.h"
#include "views/rygroupedtreeviewdelegate.h"
#include "views/viewslogging.h"

#include <QApplication>
#include <QDebug>
#include <QHash>
#include <QHeaderView>
#include <QHoverEvent>
#include <QLoggingCategory>
#include <QPainter>
#include <QScrollBar>
#include <QStack>

#include <algorithm>

namespace {

// Text widths from cached per-character advances: shaping each of a large schedule's IDs would
// take a good part of the open. Kerning only narrows such texts, so the sum does not fall short;
// texts with marks, surrogates or right-to-left characters are measured whole.
class RyTextWidths
{
public:
    explicit RyTextWidths(const QFont &font)
        : m_metrics(font)
    {
    }

    int width(const QString &text)
    {
        int sum = 0;
        for (const QChar c : text) {
            if (c.isSurrogate() || c.isMark() || c.direction() == QChar::DirR
                || c.direction() == QChar::DirAL)
                return m_metrics.horizontalAdvance(text);
            auto it = m_advances.constFind(c);
            if (it == m_advances.cend())
                it = m_advances.insert(c, m_metrics.horizontalAdvance(c));
            sum += *it;
        }
        return sum;
    }

    int exactWidth(const QString &text) const { return m_metrics.horizontalAdvance(text); }

private:
    QFontMetrics m_metrics;
    QHash<QChar, int> m_advances;
};
} // namespace

RyLevelStyle RyLevelStyle::defaultStyle()
{
    RyLevelStyle style;
    style.font = QFont(QStringLiteral("MS Shell Dlg 2"));
    style.font.setWeight(QFont::Bold);
    // Black on the row's own base colour: a record without colours must stay readable.
    style.textColor = Qt::black;
    return style;
}

RyGroupedTreeView::RyGroupedTreeView(QWidget *parent)
    : QTreeView(parent)
{
    setIndentation(Ry::TreeIndentation);
    setItemDelegate(new RyGroupedTreeViewDelegate(this));
    connect(this, &QTreeView::expanded, this, &RyGroupedTreeView::invalidateVisibleRows);
    connect(this, &QTreeView::collapsed, this, &RyGroupedTreeView::invalidateVisibleRows);
}

void RyGroupedTreeView::setModel(QAbstractItemModel *newModel)
{
    // Setting the same model again is a no-op in QTreeView; disconnecting it below would also
    // cut the view's own connections to it and leave the rows stale.
    if (newModel == model()) {
        invalidateVisibleRows();
        return;
    }
    if (model())
        disconnect(model(), nullptr, this, nullptr);
    QTreeView::setModel(newModel);
    if (newModel) {
        // Layout changes (sorting, regrouping) move rows without inserting or removing them.
        connect(newModel, &QAbstractItemModel::layoutChanged, this,
                &RyGroupedTreeView::invalidateVisibleRows);
        connect(newModel, &QAbstractItemModel::rowsMoved, this,
                &RyGroupedTreeView::invalidateVisibleRows);
        connect(newModel, &QAbstractItemModel::modelReset, this,
                &RyGroupedTreeView::invalidateVisibleRows);
        // Also after the removal: a list rebuilt while rows were going would keep them.
        connect(newModel, &QAbstractItemModel::rowsRemoved, this,
                &RyGroupedTreeView::invalidateVisibleRows);
    }
    invalidateVisibleRows();
}

void RyGroupedTreeView::setRootIndex(const QModelIndex &index)
{
    QTreeView::setRootIndex(index);
    invalidateVisibleRows();
}

void RyGroupedTreeView::reset()
{
    QTreeView::reset();
    invalidateVisibleRows();
}

void RyGroupedTreeView::doItemsLayout()
{
    invalidateVisibleRows();
    QTreeView::doItemsLayout();
}

void RyGroupedTreeView::rowsInserted(const QModelIndex &parent, int start, int end)
{
    invalidateVisibleRows();
    QTreeView::rowsInserted(parent, start, end);
}

void RyGroupedTreeView::rowsAboutToBeRemoved(const QModelIndex &parent, int start, int end)
{
    invalidateVisibleRows();
    QTreeView::rowsAboutToBeRemoved(parent, start, end);
}

void RyGroupedTreeView::updateGeometries()
{
    // expandAll(), expandToDepth() and collapseAll() re-layout without emitting expanded()
    // or collapsed(); they all end here.
    invalidateVisibleRows();
    QTreeView::updateGeometries();
}

void RyGroupedTreeView::setLevelStyles(const QList<RyLevelStyle> &styles)
{
    m_levelStyles = styles;
    viewport()->update();
}

RyLevelStyle RyGroupedTreeView::levelStyle(int depth) const
{
    if (depth >= 0 && depth < m_levelStyles.size())
        return m_levelStyles.at(depth);
    return RyLevelStyle::defaultStyle();
}

void RyGroupedTreeView::setMergeCount(int count)
{
    if (count > 2)
        return;
    m_mergeCount = count;
    viewport()->update();
}

void RyGroupedTreeView::setGroupColumn(int column)
{
    if (!model() || column >= model()->columnCount(rootIndex()))
        return;
    auto *delegate = qobject_cast<RyGroupedTreeViewDelegate *>(itemDelegate());
    if (!delegate)
        return;
    m_groupColumn = column;
    delegate->setGroupColumn(column);
    viewport()->update();
}

bool RyGroupedTreeView::isGroupRow(const QModelIndex &index) const
{
    if (m_groupColumn < 0 || !index.isValid())
        return false;
    return !index.sibling(index.row(), m_groupColumn).data().isNull();
}

void RyGroupedTreeView::invalidateVisibleRows()
{
    m_visibleRowsValid = false;
}

void RyGroupedTreeView::rebuildVisibleRows() const
{
    m_visibleRows.clear();
    m_rowPositions.clear();
    m_visibleRowsValid = true;
    const QAbstractItemModel *m = model();
    if (!m)
        return;
    // Pre-order walk with an explicit stack: (parent, next child row).
    QStack<QPair<QModelIndex, int>> stack;
    stack.push({ rootIndex(), 0 });
    while (!stack.isEmpty()) {
        auto &top = stack.top();
        if (top.second >= m->rowCount(top.first)) {
            stack.pop();
            continue;
        }
        const QModelIndex child = m->index(top.second++, 0, top.first);
        m_rowPositions.insert(child, m_visibleRows.size());
        m_visibleRows.append(child);
        if (isExpanded(child) && m->hasChildren(child))
            stack.push({ child, 0 });
    }
}

QModelIndexList RyGroupedTreeView::visibleRows() const
{
    if (!m_visibleRowsValid)
        rebuildVisibleRows();
    return m_visibleRows;
}

void RyGroupedTreeView::scrollTo(const QModelIndex &index, ScrollHint hint)
{
    if (!index.isValid() || !header()->isSectionHidden(index.column()))
        return QTreeView::scrollTo(index, hint);
    const int horizontal = horizontalScrollBar()->value();
    QTreeView::scrollTo(index, hint);
    horizontalScrollBar()->setValue(horizontal);
}

int RyGroupedTreeView::visibleRowPosition(const QModelIndex &index) const
{
    if (!m_visibleRowsValid)
        rebuildVisibleRows();
    const QModelIndex first = index.column() == 0 ? index : index.sibling(index.row(), 0);
    return m_rowPositions.value(first, -1);
}

void RyGroupedTreeView::paintEvent(QPaintEvent *event)
{
    if (!model())
        return;
    if (!m_visibleRowsValid)
        rebuildVisibleRows();
    QTreeView::paintEvent(event);
}

bool RyGroupedTreeView::viewportEvent(QEvent *event)
{
    switch (event->type()) {
    case QEvent::HoverEnter:
    case QEvent::HoverMove:
        m_hoverIndex = indexAt(static_cast<QHoverEvent *>(event)->pos());
        break;
    case QEvent::HoverLeave:
    case QEvent::Leave:
        m_hoverIndex = QModelIndex();
        break;
    default:
        break;
    }
    return QTreeView::viewportEvent(event);
}

int RyGroupedTreeView::treeColumn() const
{
    return treePosition() >= 0 ? treePosition() : header()->logicalIndex(0);
}

QVector<int> RyGroupedTreeView::mergedColumns() const
{
    QVector<int> columns;
    const QHeaderView *hdr = header();
    const int first = hdr->visualIndex(treeColumn());
    for (int visual = first; visual >= 0 && visual <= first + m_mergeCount; ++visual) {
        if (visual < hdr->count())
            columns.append(hdr->logicalIndex(visual));
    }
    return columns;
}

// The shown, non-hidden sections that intersect the viewport, in visual order.
QVector<RyGroupedTreeView::CellColumn> RyGroupedTreeView::shownColumns() const
{
    const QHeaderView *hdr = header();
    int left = hdr->visualIndexAt(0);
    int right = hdr->visualIndexAt(viewport()->width() - 1);
    if (isRightToLeft())
        std::swap(left, right);
    if (left < 0)
        left = 0;
    if (right < 0)
        right = hdr->count() - 1;
    QVector<CellColumn> columns;
    for (int visual = left; visual <= right; ++visual) {
        const int logical = hdr->logicalIndex(visual);
        if (!hdr->isSectionHidden(logical))
            columns.append({ logical, QStyleOptionViewItem::Middle });
    }
    if (columns.size() == 1) {
        columns.first().position = QStyleOptionViewItem::OnlyOne;
    } else if (!columns.isEmpty()) {
        columns.first().position = QStyleOptionViewItem::Beginning;
        columns.last().position = QStyleOptionViewItem::End;
    }
    return columns;
}

int RyGroupedTreeView::itemIndentation(const QModelIndex &index) const
{
    int depth = rootIsDecorated() ? 1 : 0;
    for (QModelIndex p = index.parent(); p.isValid() && p != rootIndex(); p = p.parent())
        ++depth;
    return depth * indentation();
}

// Stripes follow the rows shown, not the model rows; a row missing from the list counts as odd.
QBrush RyGroupedTreeView::rowBrush(const QStyleOptionViewItem &option, bool oddRow) const
{
    const QPalette::ColorGroup group = option.palette.currentColorGroup();
    if (alternatingRowColors() && oddRow)
        return option.palette.brush(group, QPalette::AlternateBase);
    return option.palette.brush(group, QPalette::Base);
}

void RyGroupedTreeView::applyGroupLook(QStyleOptionViewItem &option, const QModelIndex &index) const
{
    int depth = 0;
    for (QModelIndex p = index.parent(); p.isValid(); p = p.parent())
        ++depth;
    const RyLevelStyle style = levelStyle(depth);
    QFont font = style.font;
    font.setWeight(QFont::Bold);
    const qreal pointSize = QApplication::font().pointSizeF();
    if (pointSize > 0)
        font.setPointSizeF(pointSize);
    option.font = font;
    option.palette.setBrush(QPalette::Text,
                            QBrush(style.textColor.isValid() ? style.textColor : Qt::black));
}

QBrush RyGroupedTreeView::groupBrush(const QModelIndex &index, const QBrush &rowBrush) const
{
    const QBrush &background = levelStyle(RyModelLookup::indexDepth(index)).background;
    return background.style() == Qt::NoBrush ? rowBrush : background;
}

void RyGroupedTreeView::drawRow(QPainter *painter, const QStyleOptionViewItem &option,
                                const QModelIndex &index) const
{
    const QAbstractItemModel *m = model();
    const QHeaderView *hdr = header();
    const QModelIndex parent = index.parent();
    const QModelIndex current = currentIndex();
    const bool reverse = isRightToLeft();
    const bool enabled = option.state & QStyle::State_Enabled;
    const bool widgetHasFocus = hasFocus();
    const int y = option.rect.y();
    const int height = option.rect.height();
    const bool hoverRow = selectionBehavior() == QAbstractItemView::SelectRows
        && m_hoverIndex.isValid() && index.row() == m_hoverIndex.row()
        && parent == m_hoverIndex.parent();
    const bool groupRow = isGroupRow(index);
    const int tree = treeColumn();
    const QVector<int> merged = groupRow ? mergedColumns() : QVector<int>();
    const int rowPosition = visibleRowPosition(index);
    const bool oddRow = rowPosition < 0 || (rowPosition & 1);
    bool mergedDone = false;
    bool currentRowHasFocus = false;

    QStyleOptionViewItem opt = option;
    opt.showDecorationSelected
        = selectionBehavior() & QAbstractItemView::SelectRows || option.showDecorationSelected;

    const QVector<CellColumn> columns = shownColumns();
    const QVector<int> positions = [&] {
        QVector<int> list;
        list.reserve(columns.size());
        for (const CellColumn &column : columns)
            list.append(columnViewportPosition(column.logical));
        return list;
    }();

    for (int walked = 0; walked < columns.size(); ++walked) {
        if (walked >= positions.size()) {
            qCWarning(lcViews) << "GroupedTreeView: Error at 137";
            break;
        }
        const int section = columns.at(walked).logical;
        int position = positions.at(walked);
        int width = hdr->sectionSize(section);
        const bool isMerged = merged.contains(section);
        if (isMerged) {
            if (mergedDone)
                continue;
            mergedDone = true;
            position = columnViewportPosition(tree);
            width = 0;
            for (int column : merged)
                width += hdr->isSectionHidden(column) ? 0 : hdr->sectionSize(column);
            if (reverse)
                position = position + hdr->sectionSize(tree) - width;
        }

        const QModelIndex modelIndex = m->index(index.row(), section, parent);
        if (!modelIndex.isValid())
            continue;
        opt.state = option.state;
        opt.viewItemPosition = columns.at(walked).position;
        if (selectionModel()->isSelected(modelIndex))
            opt.state |= QStyle::State_Selected;
        if (widgetHasFocus && current == modelIndex) {
            if (allColumnsShowFocus())
                currentRowHasFocus = true;
            else
                opt.state |= QStyle::State_HasFocus;
        }
        opt.state.setFlag(QStyle::State_MouseOver, hoverRow || modelIndex == m_hoverIndex);
        if (enabled) {
            QPalette::ColorGroup group = QPalette::Inactive;
            if (!(m->flags(modelIndex) & Qt::ItemIsEnabled)) {
                opt.state &= ~QStyle::State_Enabled;
                group = QPalette::Disabled;
            } else if (opt.state & QStyle::State_Active) {
                group = QPalette::Active;
            }
            opt.palette.setCurrentColorGroup(group);
        }
        // The background is ours; the style must not add its own stripes.
        opt.features &= ~QStyleOptionViewItem::Alternate;
        const QBrush background = rowBrush(opt, oddRow);

        QRect cell(position, y, width, height);
        if (section == tree || (isMerged && !hdr->isSectionHidden(tree))) {
            const int indent = itemIndentation(index);
            const int treeX = columnViewportPosition(tree);
            const QRect branches(reverse ? treeX + hdr->sectionSize(tree) - indent : treeX, y,
                                 indent, height);
            painter->save();
            painter->setClipRect(cell);
            painter->fillRect(branches, background);
            opt.rect = branches;
            if (style()->styleHint(QStyle::SH_ItemView_ShowDecorationSelected, &opt, this))
                style()->drawPrimitive(QStyle::PE_PanelItemViewRow, &opt, painter, this);
            if (indentation() != 0)
                drawBranches(painter, branches, index);
            painter->restore();
            cell = reverse ? QRect(position, y, width - indent, height)
                           : QRect(position + indent, y, width - indent, height);
        }
        painter->fillRect(cell, background);
        opt.rect = visiblePart(cell, modelIndex);
        opt.version = QStyleOptionViewItem::Version;
        if (groupRow) {
            painter->fillRect(cell, groupBrush(index, background));
            applyGroupLook(opt, index);
            if (isMerged)
                opt.version = RyGroupedTreeViewDelegate::MergedCellMarker;
        } else {
            opt.font = option.font;
            opt.palette.setBrush(QPalette::Text, option.palette.brush(QPalette::Text));
        }
        itemDelegate(modelIndex)->paint(painter, opt, modelIndex);
    }

    if (currentRowHasFocus)
        drawFocusRow(painter, option, index);
}

// A cell cut by the viewport's trailing edge has its text elided there, when the text starts at
// the cell's leading side: a column starting just before the edge otherwise showed a sliver of
// its first letter on every row (the bar of the "T" of "TT_Task" looked like a dash). Text
// aligned elsewhere keeps its place in the whole cell.
QRect RyGroupedTreeView::visiblePart(const QRect &cell, const QModelIndex &index) const
{
    const QVariant stated = index.data(Qt::TextAlignmentRole);
    const Qt::Alignment alignment = stated.isValid()
        ? Qt::Alignment(stated.toInt()) & Qt::AlignHorizontal_Mask
        : Qt::Alignment(Qt::AlignLeft);
    const Qt::Alignment shown = QStyle::visualAlignment(layoutDirection(), alignment);
    QRect part = cell;
    const int edge = viewport()->width();
    if (!isRightToLeft() && (shown & Qt::AlignLeft) && cell.right() >= edge)
        part.setRight(edge - 1);
    else if (isRightToLeft() && (shown & Qt::AlignRight) && cell.left() < 0)
        part.setLeft(0);
    return part;
}

void RyGroupedTreeView::drawFocusRow(QPainter *painter, const QStyleOptionViewItem &option,
                                     const QModelIndex &index) const
{
    const QHeaderView *hdr = header();
    QStyleOptionFocusRect focus;
    focus.QStyleOption::operator=(option);
    focus.state |= QStyle::State_KeyboardFocusChange;
    const QPalette::ColorGroup group
        = (option.state & QStyle::State_Enabled) ? QPalette::Normal : QPalette::Disabled;
    focus.backgroundColor = option.palette.color(
        group, selectionModel()->isSelected(index) ? QPalette::Highlight : QPalette::Window);
    int x = 0;
    if (!option.showDecorationSelected)
        x = hdr->sectionPosition(treeColumn()) + itemIndentation(index);
    const QRect row(x - hdr->offset(), option.rect.y(), hdr->length() - x, option.rect.height());
    focus.rect = style()->visualRect(layoutDirection(), viewport()->rect(), row);
    style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, painter);
}

void RyGroupedTreeView::fitTreeColumn(int maximum)
{
    const QAbstractItemModel *viewModel = model();
    const int column = treeColumn();
    if (!viewModel || column < 0)
        return;
    // One walk that measures the texts of the deepest rows only, a deeper row starting the
    // measure afresh; no list of the rows is made, and the column description is read once, as
    // a large schedule has hundreds of thousands of such rows.
    const QVariantMap description
        = viewModel->headerData(column, Qt::Horizontal, Ry::ColumnDescriptionRole).toMap();
    RyTextWidths widths(font());
    int deepest = -1;
    int widest = -1;
    QString widestText;
    RyModelLookup::forEachIndex(
        viewModel,
        [&](const QModelIndex &row, int depth) {
            if (depth < deepest)
                return;
            if (depth > deepest) {
                deepest = depth;
                widest = -1;
                widestText.clear();
            }
            if (isGroupRow(row))
                return;
            const QString text
                = RyValueText::displayText(row.sibling(row.row(), column).data(), description);
            const int width = widths.width(text);
            if (width > widest) {
                widest = width;
                widestText = text;
            }
        },
        rootIndex());
    if (widest < 0)
        return;
    widest = qMax(widest, widths.exactWidth(widestText));
    // The item delegate's margins around the text, as QStyledItemDelegate lays a cell out.
    const int margin = style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1;
    const int indent = (deepest + (rootIsDecorated() ? 1 : 0)) * indentation();
    const int needed = qMin(indent + widest + 2 * margin + 1, maximum);
    if (needed > header()->sectionSize(column))
        header()->resizeSection(column, needed);
}

QVariantMap RyGroupedTreeView::prepareSnapshot()
{
    clearSelection();
    QHeaderView *hdr = header();
    int fullWidth = 0;
    for (int visual = 0; visual < hdr->count(); ++visual) {
        const int logical = hdr->logicalIndex(visual);
        if (!hdr->isSectionHidden(logical))
            fullWidth += hdr->sectionSize(logical);
    }
    const QModelIndexList rows = visibleRows();
    const int rowHeightPx = rows.isEmpty() ? 0 : rowHeight(rows.first());

    // The scroll positions are taken before resizing: the larger view shrinks the scroll
    // ranges and would clamp them.
    QVariantMap state;
    state.insert(QStringLiteral("ver_scroll_val"), verticalScrollBar()->value());
    state.insert(QStringLiteral("hor_scroll_val"), horizontalScrollBar()->value());
    state.insert(QStringLiteral("width"), hdr->width());
    // The view's own size is kept as well so that it returns to its place in the splitter.
    state.insert(QStringLiteral("view_size"), size());
    // The frame is added so that the viewport, and with it the header, gets the full width;
    // resizing the view lays the header out again, so the header is sized last.
    const int frame = 2 * frameWidth();
    resize(fullWidth + frame, hdr->height() + rows.size() * rowHeightPx + frame);
    hdr->resize(fullWidth, hdr->height());

    verticalScrollBar()->setValue(0);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    horizontalScrollBar()->setValue(0);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    return state;
}

void RyGroupedTreeView::restoreSnapshot(const QVariantMap &state)
{
    QHeaderView *hdr = header();
    const int width = state.value(QStringLiteral("width")).toInt();
    const QSize viewSize
        = state.value(QStringLiteral("view_size"), QSize(width, height())).toSize();
    resize(viewSize);
    hdr->resize(width, hdr->height());
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    verticalScrollBar()->setValue(state.value(QStringLiteral("ver_scroll_val")).toInt());
    horizontalScrollBar()->setValue(state.value(QStringLiteral("hor_scroll_val")).toInt());
}
