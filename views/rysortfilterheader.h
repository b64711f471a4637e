// Horizontal header of the activity tree and of the resources table. It remembers which columns
// are filtered and which one is sorted, lets an attached section painter draw the indicators,
// and reports every press so that the column filter pop-up can open under the section.
// The filter and sort state is set from outside; the header decides nothing about filtering.
// Titles wider than their section are elided at the end and shown whole as the tooltip.
#pragma once

#include "filter/rysortfiltermarks.h"

#include <QHeaderView>
#include <QList>

class RySectionPainter;

class RySortFilterHeader : public QHeaderView, public RySortFilterMarks
{
    Q_OBJECT
public:
    explicit RySortFilterHeader(Qt::Orientation orientation, QWidget *parent = nullptr);

    void addFilteredColumn(int column) override;
    // Removes every entry of `column`, duplicates included.
    void removeFilteredColumn(int column) override;
    void clearFilteredColumns() override;
    bool hasFilteredColumns() const override { return !m_filteredColumns.isEmpty(); }
    QList<int> filteredColumns() const override { return m_filteredColumns; }

    void setSort(int column, int order) override;
    int sortColumn() const override { return m_sortColumn; }
    int sortOrder() const override { return m_sortOrder; }

    // Not owned; null detaches.
    void setSortFilterWidget(RySectionPainter *painter);
    RySectionPainter *sortFilterWidget() const { return m_sectionPainter; }

    QSize sizeHint() const override;

signals:
    void popUp(const QRect &rect, int section, const QPoint &pos);
    void filterSettingsChanged();

protected:
    void paintSection(QPainter *painter, const QRect &rect, int logicalIndex) const override;
    bool viewportEvent(QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void leaveEvent(QEvent *event) override;

private:
    QRect sectionRect(int logicalIndex) const;

    QList<int> m_filteredColumns;
    int m_sortColumn = -1;
    int m_sortOrder = 0;
    RySectionPainter *m_sectionPainter = nullptr;
    int m_hoverSection = -1;
};
