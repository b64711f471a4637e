// Zoom commands of the Gantt chart: steps of the unit width (Ctrl+wheel over the chart, or the
// zoom commands) that behave exactly like dragging the timeline, within the same limits, and
// "fit", which picks the unit width, and a coarser lowest tier when needed, so that the whole
// project range spans the chart's width (units may then be wider than dragging makes them).
// A child of the view it zooms.
#pragma once

#include <QObject>

class RyGanttView;

class RyGanttZoom : public QObject
{
    Q_OBJECT
public:
    explicit RyGanttZoom(RyGanttView *view);

    // The unit width one step in or out from `width`, before the limits are applied.
    static int widthAfterZoomIn(int width);
    static int widthAfterZoomOut(int width);
    // `flags` with `unit` as the lowest tier: finer tiers dropped, coarser ones kept.
    static quint8 flagsWithLowestTier(quint8 flags, int unit);

public slots:
    void zoomIn();
    void zoomOut();
    // Fits the project range into the viewport and scrolls to its start.
    void fit();

signals:
    // The tiers changed (only "fit" changes them); menus showing the tiers follow this.
    void timelineFlagsChanged(quint8 flags);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool fitsWithLowestTier(int unit, int available);

    RyGanttView *m_view;
    int m_wheelRemainder = 0;
};
