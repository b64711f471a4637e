// Time axis above the Gantt chart: draws one to five stacked tiers (year, quarter, month, week,
// day) of the time scale it holds, and zooms the lowest tier by dragging, remembering the unit
// width of each lowest tier. The date arithmetic is the scale's; the forwarding functions below
// keep the header's callers as they were. Owned by the Gantt view.
#pragma once

#include "gantt/rytimescale.h"

#include <QDate>
#include <QMap>
#include <QVector>
#include <QWidget>

#include <memory>

class RyTimeLineHeader : public QWidget
{
    Q_OBJECT
public:
    explicit RyTimeLineHeader(QWidget *parent = nullptr);
    ~RyTimeLineHeader() override;

    static constexpr int TierHeight = 24;
    static constexpr int MinimumUnitWidth = 12;
    static constexpr int MaximumUnitWidth = 128;

    void setTimelineFlags(quint8 flags);
    quint8 timelineFlags() const;
    // Shown tiers from the top row down, coarsest first; the last entry is the lowest tier.
    QList<int> tiers() const;
    int lowestTier() const; // 0 without tiers

    void setRange(const QDate &start, const QDate &finish);
    // The dates the chart draws and the plan's start (RyTimeScale::setContent). A new home
    // scrolls there; otherwise the date at the left edge stays in place.
    void setContent(const QDate &first, const QDate &last, const QDate &home);
    // The scale the header draws; the chart places its bars on the same one.
    const RyTimeScale &scale() const;
    QDate startDate() const;
    QDate finishDate() const;

    int unitWidth() const;
    // Sets the unit width the way dragging the lowest tier does: bounded to the minimum and
    // to `ceiling` (0: the maximum, or the present width when that is larger, as after a fit),
    // remembered for the lowest tier, with the date at the left edge kept in place.
    void zoomTo(int width, int ceiling = 0);
    QList<QDate> tickDates() const;
    QMap<int, int> dateFormats() const;
    void setDateFormats(const QMap<int, int> &formats);
    int scrollPosition() const;

    void setSnapshotMode(bool on);
    bool snapshotMode() const;

    // Start of the `unit` cell after the one holding `date`. `lowestUnit` 0 means the lowest tier.
    QDate next(const QDate &date, int unit, int lowestUnit = 0) const;
    // Pixel width of the `unit` cell running from `from` to `to`.
    int width(const QDate &from, const QDate &to, int unit) const;
    using QWidget::width;
    // Share of one lowest-tier unit covered by one `unit`.
    float dayFraction(int unit) const;
    int dateToX(const QDate &date, bool upperTier = false) const;
    QDate xToDate(int x) const;
    // Width of the whole range: up to the end of the lowest-tier unit holding the finish date.
    int rangeEndX() const;
    // Label of the `unit` cell starting at `date` in the given format (RyTimeScale::labelFormats).
    static QString label(const QDate &date, int unit, int formatIndex);

    // As wide as the range, and at least as far as a full view opened at the plan's start.
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    void geometriesChanged();
    void sectionResized();
    void scrollbarChanged(int value);

public slots:
    void onScrollbarChanged(int value);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    struct Private;
    std::unique_ptr<Private> d;

    void setUnitWidth(int width);
    void resizeUnits(int width, const QDate &leftEdge, int ceiling);
    void rebuildTickDates();
    void paintTier(QPainter &painter, int row, int unit, const QDate &first, int paintWidth,
                   const QRect &exposed);
};
