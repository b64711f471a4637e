#include "gantt/ryganttscene.h"

#include "gantt/ryganttbackgroundpainter.h"
#include "gantt/ryganttlinkmodel.h"
#include "gantt/ryganttlinkpainter.h"
#include "gantt/ryganttviewdelegate.h"
#include "gantt/rytimelineheader.h"
#include "gantt/rytrackingganttviewdelegate.h"

#include <QPainter>

RyGanttScene::RyGanttScene(const RyTimeLineHeader *header, RyGanttViewDelegate *barDelegate,
                           RyTrackingGanttViewDelegate *trackingDelegate, RyGanttLinkModel *links)
    : m_header(header)
    , m_barDelegate(barDelegate)
    , m_trackingDelegate(trackingDelegate)
    , m_links(links)
    , m_bars(reader, header->scale(), *barDelegate)
{
    m_bars.setRows(m_rows);
}

void RyGanttScene::setModel(QAbstractItemModel *model)
{
    m_links->setModel(model);
    reader.setModel(model);
    treeRows.setModel(model);
    if (model == m_model)
        return;
    for (const QMetaObject::Connection &connection : qAsConst(m_modelConnections))
        disconnect(connection);
    m_modelConnections.clear();
    m_model = model;
    if (!model)
        return;
    using M = QAbstractItemModel;
    auto forgetColumns = [this] { reader.forgetColumns(); };
    auto &c = m_modelConnections;
    // Made before the view's own connections, so that its rows are gone before it hears.
    c << connect(model, &M::rowsInserted, this, &RyGanttScene::invalidateRows);
    c << connect(model, &M::rowsAboutToBeRemoved, this, &RyGanttScene::invalidateRows);
    c << connect(model, &M::layoutChanged, this, forgetColumns);
    c << connect(model, &M::modelReset, this, forgetColumns);
    c << connect(model, &M::headerDataChanged, this, forgetColumns);
    c << connect(model, &M::columnsInserted, this, forgetColumns);
    c << connect(model, &M::columnsRemoved, this, forgetColumns);
    c << connect(model, &M::columnsMoved, this, forgetColumns);
}

void RyGanttScene::setRowController(RyGanttRowController *controller)
{
    m_rows = controller ? controller : &treeRows;
    m_bars.setRows(m_rows);
    invalidateRows();
}

void RyGanttScene::invalidateRows()
{
    m_rows->invalidate();
    m_bars.invalidate();
    m_links->invalidateRowIndex();
}

void RyGanttScene::invalidateBars()
{
    m_bars.invalidate();
}

void RyGanttScene::paint(QPainter &painter, const Paint &paint) const
{
    paintBackground(painter, paint);
    if (m_rows->rowCount() == 0 || paint.first > paint.last)
        return;
    if (paint.links)
        paintLinks(painter, paint);
    for (int row = paint.first; row <= paint.last; ++row)
        paintRow(painter, paint, row);
    paintSelection(painter, paint);
}

void RyGanttScene::paintSelection(QPainter &painter, const Paint &paint) const
{
    const int row = m_rows->rowOf(paint.selected);
    if (row < 0)
        return;
    const int y = m_rows->rowY(row) - paint.offset.y();
    const QRect rect = QRect(0, y, paint.viewportWidth, m_rows->rowHeight()).adjusted(-1, 0, 1, 0);
    painter.setPen(Qt::gray);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(rect.adjusted(0, 0, -1, -1));
}

void RyGanttScene::paintBackground(QPainter &painter, const Paint &paint) const
{
    using Background = RyGanttBackgroundPainter;
    const Background::Area area { paint.first,  paint.last,  m_rows->rowHeight(),
                                  paint.offset, paint.width, paint.height };
    if (paint.alternatingRows)
        Background::paintAlternateRows(painter, area, paint.alternate);
    const RyTimeScale &scale = m_header->scale();
    if (scale.positionTier() == Ry::Day && paint.workingTime) {
        const int x = paint.offset.x();
        const QDate from = paint.snapshot ? scale.startDate() : scale.xToDate(x);
        const QDate to
            = paint.snapshot ? scale.finishDate() : scale.xToDate(x + paint.viewportWidth);
        Background::paintNonWorkingTime(painter, area, scale, from, to, *paint.workingTime,
                                        paint.alternate);
    }
    if (paint.grid)
        Background::paintGrid(painter, area, scale, m_header->tickDates());
    Background::paintDataDate(painter, area, scale, paint.dataDate, m_dataDatePen);
}

void RyGanttScene::paintLinks(QPainter &painter, const Paint &paint) const
{
    const auto links = m_links->linksInRows(paint.first, paint.last, *m_rows);
    for (const RyGanttLinkModel::RowLink &link : links) {
        const QRect p = m_bars.linkBarRect(link.predecessorRow);
        const QRect s = m_bars.linkBarRect(link.successorRow);
        if (p.isEmpty() || s.isEmpty())
            continue;
        const QColor color
            = reader.isCritical(link.link->predecessor) ? QColor(Qt::red) : QColor(Qt::black);
        RyGanttLinkPainter::paint(painter, p.translated(-paint.offset), s.translated(-paint.offset),
                                  link.link->type, color);
    }
}

void RyGanttScene::paintRow(QPainter &painter, const Paint &paint, int row) const
{
    const QModelIndex index = m_rows->visibleRows().at(row);
    const QList<RyGanttViewBarStyle> &styles = m_barDelegate->barStyles();
    QStyleOptionViewItem option = paint.item;
    const auto bars = RyGanttBarLayout::barsOfRow(reader.rowType(index), reader.isCritical(index),
                                                  paint.tracking, styles.size());
    for (const RyGanttBarLayout::Bar &bar : bars) {
        if (bar.kind >= 0 && (bar.kind >= styles.size() || !styles.at(bar.kind).visible))
            continue;
        const QRect rect = m_bars.barRect(row, bar.kind);
        if (rect.isEmpty())
            continue;
        option.rect = rect.translated(-paint.offset);
        painter.save();
        // Tracking bars stay whole; the plan bar of a split task shows its parts.
        QVector<QRect> parts = bar.byStyle ? m_bars.partRects(row, bar.kind) : QVector<QRect>();
        for (QRect &part : parts)
            part.translate(-paint.offset);
        if (bar.byStyle)
            m_barDelegate->paintBar(&painter, option, index, bar.kind, parts);
        else
            m_trackingDelegate->paintBar(&painter, option, index, bar.kind);
        painter.restore();
    }
}
