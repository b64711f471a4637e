#include "gantt/ryitempainter.h"

#include "gantt/ganttlogging.h"
#include "gantt/ryganttviewbarstyle.h"

#include <QDebug>
#include <QHash>
#include <QPainter>
#include <QPen>

namespace {

// One-pixel line on a row or a column; with a 1-pixel cosmetic pen both ends are drawn.
void hLine(QPainter *painter, int x1, int x2, int y)
{
    painter->drawLine(x1, y, x2, y);
}
void vLine(QPainter *painter, int x, int y1, int y2)
{
    painter->drawLine(x, y1, x, y2);
}

} // namespace

void RyItemPainter::drawInnerBar(QPainter *painter, const QRect &rect, const QBrush &brush,
                                 int height, int offset) const
{
    if (height <= 0)
        return;
    const QRect body(rect.left(), rect.top() + offset, rect.width(), height);
    if (brush.style() == Qt::NoBrush)
        qCWarning(lcGantt) << "Invalid brush assigned in drawInnerBar";
    painter->fillRect(body, brush);
}

int RyItemPainter::shapeCode(const QString &name)
{
    static const QHash<QString, int> codes {
        { QStringLiteral("Circle"), Circle },         { QStringLiteral("Square"), Square },
        { QStringLiteral("Diamond"), Diamond },       { QStringLiteral("SouthPenta"), SouthPenta },
        { QStringLiteral("NorthPenta"), NorthPenta }, { QStringLiteral("WestPenta"), WestPenta },
        { QStringLiteral("EastPenta"), EastPenta },   { QStringLiteral("NorthCone"), NorthCone },
        { QStringLiteral("SouthCone"), SouthCone },   { QStringLiteral("EastCone"), EastCone },
        { QStringLiteral("WestCone"), WestCone },
    };
    return codes.value(name, NoShape);
}

void RyItemPainter::drawShape(QPainter *painter, const QRect &box, int code, int size) const
{
    const int l = box.left();
    const int t = box.top();
    const int r = l + size - 1;
    const int b = t + size - 1;
    const int h = size / 2;
    painter->save();
    painter->setBrush(Qt::NoBrush);
    painter->setRenderHint(QPainter::Antialiasing, false);
    switch (code) {
    case Circle:
        painter->drawEllipse(box.center(), box.width() / 2, box.height() / 2);
        break;
    case Square:
        for (int i = 0; i <= size - 3; ++i)
            hLine(painter, l + 1, r - 1, t + i + 1);
        break;
    case Diamond:
        for (int i = 0; i < size; ++i) {
            if (i < h)
                hLine(painter, l + h - i, r - h + i, t + i);
            else
                hLine(painter, l + i - h, r + h - i, t + i);
        }
        break;
    case SouthPenta:
        for (int i = 0; i < size; ++i) {
            if (i <= h)
                hLine(painter, l, r, t + i);
            else
                hLine(painter, l + i - h, r + h - i, t + i);
        }
        break;
    case NorthPenta:
        for (int i = 0; i < size; ++i) {
            if (i < h)
                hLine(painter, l + h - i, r - h + i, t + i);
            else
                hLine(painter, l, r, t + i);
        }
        break;
    case WestPenta:
        for (int i = 0; i < size; ++i) {
            if (i < h)
                hLine(painter, l + h - i, r, t + i);
            else
                hLine(painter, l + i - h, r, t + i);
        }
        break;
    case EastPenta:
        for (int i = 0; i < size; ++i) {
            if (i < h)
                hLine(painter, l, r - h + i, t + i);
            else
                hLine(painter, l, r + h - i, t + i);
        }
        break;
    case NorthCone:
    case WestCone: {
        int k = h;
        for (int i = 0; i < size; ++i) {
            if (i % 2 == 1)
                --k;
            if (code == NorthCone)
                hLine(painter, l + k, r - k, t + i);
            else
                vLine(painter, l + i, t + k, b - k);
        }
        break;
    }
    case SouthCone:
    case EastCone: {
        int s = 0;
        for (int i = 0; i < size; ++i) {
            if (i % 2 == 1)
                ++s;
            if (code == SouthCone)
                hLine(painter, l + s, r - s, t + i);
            else
                vLine(painter, l + i, t + s, b - s);
        }
        break;
    }
    default:
        break;
    }
    painter->restore();
}

QRect RyItemPainter::markerBox(int x, const QRect &barRect, int bodyOffset)
{
    QRect box(0, 0, MarkerSize, MarkerSize);
    box.moveCenter(QPoint(x, barRect.center().y()));
    box.moveTop(barRect.top() + bodyOffset);
    return box;
}

void RyItemPainter::drawBar(QPainter *painter, const QRect &barRect,
                            const RyGanttViewBarStyle &style, const QColor &textColor) const
{
    drawSplitBar(painter, barRect, { barRect }, style, textColor);
}

void RyItemPainter::drawSplitBar(QPainter *painter, const QRect &barRect,
                                 const QVector<QRect> &parts, const RyGanttViewBarStyle &style,
                                 const QColor &textColor) const
{
    // An unset body colour hands over the empty brush, which drawInnerBar reports.
    const QBrush body = style.bodyColor.isValid() ? QBrush(style.bodyColor) : QBrush();
    for (const QRect &part : parts)
        drawInnerBar(painter, part, body, style.bodyShapeHeight, style.bodyShapeOffset);
    if (parts.size() > 1 && style.bodyShapeHeight > 0) {
        painter->save();
        QPen dots(style.bodyColor.isValid() ? style.bodyColor : textColor, 1, Qt::DotLine);
        painter->setPen(dots);
        const int y = barRect.top() + style.bodyShapeOffset + style.bodyShapeHeight / 2;
        for (int i = 1; i < parts.size(); ++i) {
            const int from = parts.at(i - 1).right() + 1;
            const int to = parts.at(i).left() - 1;
            if (to >= from)
                painter->drawLine(from, y, to, y);
        }
        painter->restore();
    }

    if (style.startPointColor.isValid()) {
        painter->setPen(style.startPointColor);
        drawShape(painter, markerBox(barRect.left(), barRect, style.bodyShapeOffset),
                  shapeCode(style.startPointShape), MarkerSize);
    }
    if (style.endPointColor.isValid()) {
        painter->setPen(style.endPointColor);
        drawShape(painter, markerBox(barRect.right(), barRect, style.bodyShapeOffset),
                  shapeCode(style.endPointShape), MarkerSize);
    }
    painter->setPen(textColor);
}
