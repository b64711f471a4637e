// Drawing routines of Gantt bars: the inner bar (body), the eleven end-point marker shapes and a
// whole bar from a bar style. Plain object without state; the delegates make one per paint.
#pragma once

#include <QBrush>
#include <QRect>
#include <QString>
#include <QVector>

class QPainter;
class RyGanttViewBarStyle;

class RyItemPainter
{
public:
    enum Shape {
        NoShape = 0,
        Circle,
        Square,
        Diamond,
        SouthPenta,
        NorthPenta,
        WestPenta,
        EastPenta,
        NorthCone,
        SouthCone,
        EastCone,
        WestCone,
    };
    static constexpr int MarkerSize = 11;

    // Fills `rect` narrowed to `height` and moved down by `offset`; nothing for height <= 0.
    void drawInnerBar(QPainter *painter, const QRect &rect, const QBrush &brush, int height,
                      int offset) const;
    // Shape code of a shape name; 0 (nothing drawn) for an unknown, empty or "<None>" name.
    static int shapeCode(const QString &name);
    // Draws shape `code` into `box` with the painter's current pen only.
    void drawShape(QPainter *painter, const QRect &box, int code, int size) const;
    // The marker box for a bar end at `x`: 11 x 11, centred on x, its top at row top + offset.
    static QRect markerBox(int x, const QRect &barRect, int bodyOffset);
    // Body and both end markers of `style` over `barRect`. Leaves the pen as `textColor`.
    void drawBar(QPainter *painter, const QRect &barRect, const RyGanttViewBarStyle &style,
                 const QColor &textColor) const;
    // A split bar: the body of each of `parts` (left to right, inside `barRect`), a dotted line
    // through the gaps between them, and the end markers at the ends of `barRect`.
    void drawSplitBar(QPainter *painter, const QRect &barRect, const QVector<QRect> &parts,
                      const RyGanttViewBarStyle &style, const QColor &textColor) const;
};
