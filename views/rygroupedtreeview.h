// The activity table: a tree view over the grouped activity model that paints group rows as one
// merged cell in the font and colours of their level, stripes rows by their position among the
// rows shown, keeps the list of shown rows, and lays itself out at full size for snapshots
// (print, snip).
#pragma once

#include <QBrush>
#include <QColor>
#include <QFont>
#include <QHash>
#include <QTreeView>
#include <QVariantMap>

// Look of the group rows of one outline level.
struct RyLevelStyle
{
    QFont font;
    QColor textColor;
    QBrush background;

    // Used for a level without an entry: bold "MS Shell Dlg 2", black text, no brush (the row's
    // base colour shows).
    static RyLevelStyle defaultStyle();
};

class RyGroupedTreeView : public QTreeView
{
    Q_OBJECT
public:
    explicit RyGroupedTreeView(QWidget *parent = nullptr);

    void setModel(QAbstractItemModel *model) override;
    void setRootIndex(const QModelIndex &index) override;
    void reset() override;
    void doItemsLayout() override;
    // A cell of a hidden column (the key column 0 sits hidden past the shown ones) scrolls the
    // view to its row only: the chart's current cell is in that column, and clicking a bar
    // must leave the tree's columns where they are. Other cells scroll sideways only as far as
    // they need.
    void scrollTo(const QModelIndex &index, ScrollHint hint = EnsureVisible) override;

    void setLevelStyles(const QList<RyLevelStyle> &styles);
    QList<RyLevelStyle> levelStyles() const { return m_levelStyles; }
    // The style of group rows at `depth` (the default record when there is no entry).
    RyLevelStyle levelStyle(int depth) const;

    // Columns merged into a group row's first cell after the tree column: 0, 1 or 2.
    void setMergeCount(int count);
    int mergeCount() const { return m_mergeCount; }

    // The column whose display value marks a group row and gives its text. Ignored when
    // outside the model or when the item delegate is not a RyGroupedTreeViewDelegate.
    void setGroupColumn(int column);
    int groupColumn() const { return m_groupColumn; }
    bool isGroupRow(const QModelIndex &index) const;

    // Every shown row (column 0) in display order: pre-order, children only of expanded rows.
    QModelIndexList visibleRows() const;
    // Position of the row of `index` in visibleRows(), -1 when it is not shown.
    int visibleRowPosition(const QModelIndex &index) const;

    // Widens the tree column, up to `maximum` pixels, so that the deepest rows' indentation and
    // cell text fit; a wider column stays as it is.
    void fitTreeColumn(int maximum);

    // Lays the whole table out at full size and returns what restoreSnapshot needs to undo it.
    QVariantMap prepareSnapshot();
    void restoreSnapshot(const QVariantMap &state);

protected:
    void paintEvent(QPaintEvent *event) override;
    void drawRow(QPainter *painter, const QStyleOptionViewItem &option,
                 const QModelIndex &index) const override;
    bool viewportEvent(QEvent *event) override;
    void rowsInserted(const QModelIndex &parent, int start, int end) override;
    void rowsAboutToBeRemoved(const QModelIndex &parent, int start, int end) override;
    void updateGeometries() override;

private:
    struct CellColumn
    {
        int logical;
        QStyleOptionViewItem::ViewItemPosition position;
    };

    void invalidateVisibleRows();
    void rebuildVisibleRows() const;
    QVector<CellColumn> shownColumns() const;
    QVector<int> mergedColumns() const;
    int treeColumn() const;
    int itemIndentation(const QModelIndex &index) const;
    QBrush rowBrush(const QStyleOptionViewItem &option, bool oddRow) const;
    void applyGroupLook(QStyleOptionViewItem &option, const QModelIndex &index) const;
    // A group row's cell background: its level's brush, else the row's stripe brush.
    QBrush groupBrush(const QModelIndex &index, const QBrush &rowBrush) const;
    // The part of `cell` the delegate paints in: cut at the viewport's edge for leading text.
    QRect visiblePart(const QRect &cell, const QModelIndex &index) const;
    void drawFocusRow(QPainter *painter, const QStyleOptionViewItem &option,
                      const QModelIndex &index) const;

    QList<RyLevelStyle> m_levelStyles;
    int m_mergeCount = 2;
    int m_groupColumn = -1;

    // The shown rows are rebuilt lazily, only after the model, the expansion or the layout
    // changed, so that scrolling and repainting stay cheap on large trees.
    mutable QModelIndexList m_visibleRows;
    mutable QHash<QModelIndex, int> m_rowPositions;
    mutable bool m_visibleRowsValid = false;

    QPersistentModelIndex m_hoverIndex;
};
