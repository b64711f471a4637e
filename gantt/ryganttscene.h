// What the Gantt chart shows, apart from scrolling and selection: the rows of its row
// controller, read by the row reader and laid out by the bar layout, with the links of its link
// model; and the painting of one exposed band of rows (background, links, bars). The chart view
// owns it; the header, the delegates and the link model are the view's children.
#pragma once

#include "gantt/ryganttbarlayout.h"
#include "gantt/ryganttrowreader.h"
#include "gantt/rygantttreeviewrowcontroller.h"

#include <QBrush>
#include <QDateTime>
#include <QObject>
#include <QPen>
#include <QPointer>
#include <QStyleOptionViewItem>

class QPainter;
class RyGanttLinkModel;
class RyGanttViewDelegate;
class RyTimeLineHeader;
class RyTrackingGanttViewDelegate;
class RyWorkingTime;

class RyGanttScene : public QObject
{
    Q_OBJECT
public:
    // One paint of shown rows `first` to `last`, content moved by `offset`.
    struct Paint
    {
        int first;
        int last;
        QPoint offset;
        int width; // of the painted area
        int height; // down to which lines are drawn
        int viewportWidth;
        bool snapshot; // the whole range is drawn
        bool alternatingRows;
        QBrush alternate;
        bool links;
        bool grid;
        bool tracking;
        QDateTime dataDate;
        QStyleOptionViewItem item;
        QModelIndex selected; // framed
        const RyWorkingTime *workingTime; // shaded where it is not working time
    };

    RyGanttScene(const RyTimeLineHeader *header, RyGanttViewDelegate *barDelegate,
                 RyTrackingGanttViewDelegate *trackingDelegate, RyGanttLinkModel *links);

    RyGanttTreeViewRowController treeRows;
    RyGanttRowReader reader;

    // The model of the rows, the reader and the links. Rows coming or going lay the rows out
    // again; columns found by name are kept until the model's columns change.
    void setModel(QAbstractItemModel *model);

    void setRowController(RyGanttRowController *controller);
    RyGanttRowController *rows() const { return m_rows; }
    const RyGanttBarLayout &bars() const { return m_bars; }
    // The shown rows changed: rows, link ends and the links' row index are found again.
    void invalidateRows();
    // Dates or the scale changed: only the link ends are found again.
    void invalidateBars();

    void paint(QPainter &painter, const Paint &paint) const;

private:
    void paintBackground(QPainter &painter, const Paint &paint) const;
    void paintLinks(QPainter &painter, const Paint &paint) const;
    void paintRow(QPainter &painter, const Paint &paint, int row) const;
    void paintSelection(QPainter &painter, const Paint &paint) const;

    const RyTimeLineHeader *m_header;
    RyGanttViewDelegate *m_barDelegate;
    RyTrackingGanttViewDelegate *m_trackingDelegate;
    RyGanttLinkModel *m_links;
    RyGanttRowController *m_rows = &treeRows;
    RyGanttBarLayout m_bars;
    QPen m_dataDatePen { QColor(255, 165, 0) };
    QPointer<QAbstractItemModel> m_model;
    QVector<QMetaObject::Connection> m_modelConnections;
};
