// Paints what lies behind the bars of the Gantt chart: alternating rows, non-working time
// (the project calendar's days off on a day scale, and its hours off on an hour scale), the grid
// lines of the tier above the lowest and the data date line. Stateless: every call takes what it
// draws.
#pragma once

#include <QPoint>

class QBrush;
class QDate;
class QDateTime;
class QPainter;
class QPen;
class RyTimeScale;
class RyWorkingTime;

class RyGanttBackgroundPainter
{
public:
    // Shown rows `first` to `last` of `rowHeight` pixels, content scrolled by `offset`, lines
    // drawn `height` pixels down.
    struct Area
    {
        int first;
        int last;
        int rowHeight;
        QPoint offset;
        int width;
        int height;
    };

    static void paintAlternateRows(QPainter &painter, const Area &area, const QBrush &brush);
    // The days off between `from` and `to`, shaded when the lowest tier is days or hours; at
    // the hour tier the non-working hours of working days as well.
    static void paintNonWorkingTime(QPainter &painter, const Area &area, const RyTimeScale &scale,
                                    const QDate &from, const QDate &to,
                                    const RyWorkingTime &workingTime, const QBrush &brush);
    static void paintGrid(QPainter &painter, const Area &area, const RyTimeScale &scale,
                          const QList<QDate> &ticks);
    static void paintDataDate(QPainter &painter, const Area &area, const RyTimeScale &scale,
                              const QDateTime &dataDate, const QPen &pen);
};
