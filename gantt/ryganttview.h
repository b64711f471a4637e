// The Gantt chart: an item view that draws one bar row per row its row controller shows (by
// default the rows shown in its buddy tree view), placed on the time scale of the timeline
// header it owns, with the links of its link model, the background and the selection frame.
// It never edits. The buddy tree and the model are not owned; the header, the link model and
// both delegates are children.
#pragma once

#include "gantt/ryganttbarlayout.h"
#include "gantt/ryganttlinkmodel.h"
#include "gantt/ryganttviewbarstyle.h"
#include "models/ryconstants.h"

#include <QAbstractItemView>
#include <QDateTime>

#include <memory>

class QTreeView;
class RyGanttRowController;
class RyTimeLineHeader;
class RyGanttViewDelegate;
class RyTrackingGanttViewDelegate;
class RyWorkingTime;

class RyGanttView : public QAbstractItemView
{
    Q_OBJECT
public:
    enum RowType {
        NoRowType = Ry::NoRowType,
        TaskRow = Ry::TaskRow,
        MilestoneRow = Ry::MilestoneRow,
        SummaryRow = Ry::SummaryRow
    };
    // Indexes of the baseline styles in the bar style list (task rows, milestone rows).
    enum BaselineStyle {
        BaselineTaskStyle = RyGanttBarLayout::BaselineTaskStyle,
        BaselineMilestoneStyle = RyGanttBarLayout::BaselineMilestoneStyle
    };

    explicit RyGanttView(QWidget *parent = nullptr);
    ~RyGanttView() override;

    void setBuddy(QTreeView *treeView);
    QTreeView *buddy() const;
    void setModel(QAbstractItemModel *model) override;
    RyTimeLineHeader *header() const { return m_header; }
    RyGanttViewDelegate *barDelegate() const { return m_barDelegate; }
    RyTrackingGanttViewDelegate *trackingDelegate() const { return m_trackingDelegate; }
    RyGanttLinkModel *linkModel() const { return m_links; }
    // The rows shown and where; null goes back to the buddy's. Not owned.
    void setRowController(RyGanttRowController *controller);
    RyGanttRowController *rowController() const;

    void setShowLinks(bool show);
    bool showLinks() const { return m_showLinks; }
    void setShowVerticalLines(bool show);
    bool showVerticalLines() const { return m_showVerticalLines; }
    void setDataDate(const QDateTime &dateTime) { m_dataDate = dateTime; }
    // The working time whose gaps the chart shades; the fallback week until set.
    void setWorkingTime(const RyWorkingTime &workingTime);
    const RyWorkingTime &workingTime() const;
    QDateTime dataDate() const { return m_dataDate; }
    void setTrackingMode(bool on);
    bool trackingMode() const { return m_trackingMode; }
    void setTimelineFlags(quint8 flags);
    quint8 timelineFlags() const;
    void setBarStyles(const QList<RyGanttViewBarStyle> &styles);
    QList<RyGanttViewBarStyle> barStyles() const;
    // While held, time range updates (a new model, new bar styles) wait for the last release,
    // which makes one of them: changes that come together (a project opened with its layout)
    // read every row once. Holds nest.
    void holdTimeRange();
    void releaseTimeRange();
    int rowHeight() const;

    // Forwarded to the link model; several links per successor are allowed.
    void addRelationship(const QModelIndex &successor, const QModelIndex &predecessor,
                         const QString &type = QStringLiteral("FS"))
    {
        m_links->addLink(successor, predecessor, type);
    }
    void clearRelationships() { m_links->clear(); }
    int relationshipCount() const { return m_links->count(); }

    // {"timelineFlags": flags}, stored by layouts under "bars".
    QVariant saveState() const;
    void restoreState(const QVariant &state);

    bool isCritical(const QModelIndex &index) const;
    RowType rowType(const QModelIndex &index) const;
    // Rows shown in the buddy, in display order (column 0); row r of the chart is entry r.
    QModelIndexList visibleItems() const;
    // The bar of bar style `barKind` (-1: the plain "Start Date"/"Finish Date" bar) of a row,
    // in viewport coordinates; empty when the row is not shown or lacks a date.
    QRect barRect(const QModelIndex &index, int barKind) const;
    // Chart x of a date-time in content coordinates, placed as bar dates are, time of day
    // included.
    int dateTimeToX(const QDateTime &dateTime) const;

    // Lays the chart out at full size for printing or snipping; restoreSnapshot puts it back.
    QVariantMap prepareSnapshot();
    void restoreSnapshot(const QVariantMap &state);

    QRect visualRect(const QModelIndex &index) const override;
    void scrollTo(const QModelIndex &index, ScrollHint hint = EnsureVisible) override;
    QModelIndex indexAt(const QPoint &point) const override;
    void doItemsLayout() override;
    void reset() override;
    void selectAll() override;

signals:
    void headerSizeChanged();

public slots:
    // The rows shown changed (expanded, collapsed, filtered): laid out again on next use.
    void onVisibleItemsChanged();
    void updateTimeRange();

protected:
    QModelIndex moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers) override;
    int horizontalOffset() const override;
    int verticalOffset() const override;
    bool isIndexHidden(const QModelIndex &index) const override;
    void setSelection(const QRect &rect, QItemSelectionModel::SelectionFlags flags) override;
    QRegion visualRegionForSelection(const QItemSelection &selection) const override;
    void scrollContentsBy(int dx, int dy) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;

protected slots:
    void updateGeometries() override;
    void dataChanged(const QModelIndex &topLeft, const QModelIndex &bottomRight,
                     const QVector<int> &roles = QVector<int>()) override;

private:
    friend class RyGanttTreeCoupling; // calls updateGeometries()
    RyGanttViewDelegate *m_barDelegate;
    RyTrackingGanttViewDelegate *m_trackingDelegate;
    RyTimeLineHeader *m_header;
    RyGanttLinkModel *m_links;
    bool m_showLinks = true;
    bool m_showVerticalLines = true;
    bool m_trackingMode = false;
    QDateTime m_dataDate;
    // The scene (rows, reader, bar layout) and the tree coupling.
    struct Private;
    std::unique_ptr<Private> d;

    QPoint offsets() const;
};
