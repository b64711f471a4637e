#include "views/rysortfilterheader.h"

#include "filter/rysectionpainter.h"

#include <QCursor>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>

RySortFilterHeader::RySortFilterHeader(Qt::Orientation orientation, QWidget *parent)
    : QHeaderView(orientation, parent)
{
    // Moves without a pressed button must arrive for the hover feedback of the indicators.
    setMouseTracking(true);
    setAttribute(Qt::WA_Hover);
    // Qt's header clips a centred title at both ends; a cut title keeps its start.
    setTextElideMode(Qt::ElideRight);
}

void RySortFilterHeader::addFilteredColumn(int column)
{
    m_filteredColumns.append(column);
    emit filterSettingsChanged();
}

void RySortFilterHeader::removeFilteredColumn(int column)
{
    m_filteredColumns.removeAll(column);
    emit filterSettingsChanged();
}

void RySortFilterHeader::clearFilteredColumns()
{
    m_filteredColumns.clear();
    emit filterSettingsChanged();
}

void RySortFilterHeader::setSort(int column, int order)
{
    m_sortColumn = column;
    m_sortOrder = order;
    emit filterSettingsChanged();
}

void RySortFilterHeader::setSortFilterWidget(RySectionPainter *painter)
{
    m_sectionPainter = painter;
    viewport()->update();
}

QSize RySortFilterHeader::sizeHint() const
{
    return QHeaderView::sizeHint().expandedTo(minimumSize());
}

QRect RySortFilterHeader::sectionRect(int logicalIndex) const
{
    return QRect(sectionViewportPosition(logicalIndex), 0, sectionSize(logicalIndex), height());
}

void RySortFilterHeader::paintSection(QPainter *painter, const QRect &rect, int logicalIndex) const
{
    painter->save();
    QHeaderView::paintSection(painter, rect, logicalIndex);
    painter->restore();
    if (!m_sectionPainter)
        return;
    const QPoint cursor = mapFromGlobal(QCursor::pos());
    m_sectionPainter->paintSection(this, painter, sectionRect(logicalIndex), logicalIndex, cursor);
}

bool RySortFilterHeader::viewportEvent(QEvent *event)
{
    // A title the model gives no tooltip for is shown whole, cut or not.
    if (event->type() == QEvent::ToolTip && model()) {
        const auto *help = static_cast<QHelpEvent *>(event);
        const int section = logicalIndexAt(help->pos());
        if (section >= 0
            && !model()->headerData(section, orientation(), Qt::ToolTipRole).isValid()) {
            const QString title = model()->headerData(section, orientation()).toString();
            if (!title.isEmpty()) {
                QToolTip::showText(help->globalPos(), title, this);
                return true;
            }
        }
    }
    return QHeaderView::viewportEvent(event);
}

void RySortFilterHeader::mousePressEvent(QMouseEvent *event)
{
    QHeaderView::mousePressEvent(event);
    const int section = logicalIndexAt(event->pos());
    emit popUp(sectionRect(section), section, event->pos());
}

void RySortFilterHeader::mouseMoveEvent(QMouseEvent *event)
{
    QHeaderView::mouseMoveEvent(event);
    // Both the section left and the one entered change their hover highlight.
    const int section = logicalIndexAt(event->pos());
    if (m_hoverSection >= 0 && m_hoverSection != section)
        updateSection(m_hoverSection);
    m_hoverSection = section;
    if (section >= 0)
        updateSection(section);
}

void RySortFilterHeader::leaveEvent(QEvent *event)
{
    QHeaderView::leaveEvent(event);
    if (m_hoverSection >= 0)
        updateSection(m_hoverSection);
    m_hoverSection = -1;
}
