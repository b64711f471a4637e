#include "gantt/ryganttbackgroundpainter.h"

#include "gantt/rytimescale.h"
#include "models/ryconstants.h"
#include "models/ryworkingtime.h"

#include <QPainter>

void RyGanttBackgroundPainter::paintAlternateRows(QPainter &painter, const Area &area,
                                                  const QBrush &brush)
{
    for (int position = area.first; position <= area.last; ++position) {
        if (position % 2 == 1)
            painter.fillRect(QRect(-1, position * area.rowHeight - area.offset.y(), area.width + 2,
                                   area.rowHeight),
                             brush);
    }
}

void RyGanttBackgroundPainter::paintNonWorkingTime(QPainter &painter, const Area &area,
                                                   const RyTimeScale &scale, const QDate &from,
                                                   const QDate &to,
                                                   const RyWorkingTime &workingTime,
                                                   const QBrush &brush)
{
    const bool hours = scale.lowestTier() == Ry::Hour;
    if ((!hours && scale.lowestTier() != Ry::Day) || !from.isValid() || !to.isValid())
        return;
    const int width = scale.positionUnitWidth();
    for (QDate day = from; day <= to; day = day.addDays(1)) {
        const int left = scale.dateToX(day) - area.offset.x();
        if (!hours) {
            if (!workingTime.isWorkingDay(day))
                painter.fillRect(QRect(left, 0, width, area.height), brush);
            continue;
        }
        // At the hour tier the hours off of working days are shaded too.
        for (const RyWorkingTime::Range &range : workingTime.nonWorkingRanges(day)) {
            const int x1 = left + int(qint64(range.first) * width / (24 * 60));
            const int x2 = left + int(qint64(range.second) * width / (24 * 60));
            painter.fillRect(QRect(x1, 0, x2 - x1, area.height), brush);
        }
    }
}

void RyGanttBackgroundPainter::paintGrid(QPainter &painter, const Area &area,
                                         const RyTimeScale &scale, const QList<QDate> &ticks)
{
    painter.setPen(Qt::gray);
    for (const QDate &tick : ticks) {
        const int x = scale.dateToX(tick, true) - area.offset.x();
        painter.drawLine(x, 0, x, area.height);
    }
}

void RyGanttBackgroundPainter::paintDataDate(QPainter &painter, const Area &area,
                                             const RyTimeScale &scale, const QDateTime &dataDate,
                                             const QPen &pen)
{
    if (!dataDate.isValid())
        return;
    painter.setPen(pen);
    const int x = scale.dateTimeToX(dataDate) - area.offset.x();
    painter.drawLine(x, 0, x, area.height);
}
