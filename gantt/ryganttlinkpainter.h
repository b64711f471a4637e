// Paints one link of the Gantt chart: the route from the predecessor's bar to the successor's
// and its arrow head. Stateless: every call takes what it draws.
#pragma once

class QColor;
class QPainter;
class QRect;
class QString;

class RyGanttLinkPainter
{
public:
    // `predecessor` and `successor` are the two bars in viewport coordinates; `type` is "FS",
    // "FF", "SS" or "SF".
    static void paint(QPainter &painter, const QRect &predecessor, const QRect &successor,
                      const QString &type, const QColor &color);
};
