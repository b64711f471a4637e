#include "gantt/ryganttlinkpainter.h"

#include <QPainter>
#include <QVector>

void RyGanttLinkPainter::paint(QPainter &painter, const QRect &p, const QRect &s,
                               const QString &type, const QColor &color)
{
    const bool below = s.top() >= p.top();
    const bool fromFinish = type == QLatin1String("FS") || type == QLatin1String("FF");
    const bool toStart = type == QLatin1String("FS") || type == QLatin1String("SS");
    const QPoint start(fromFinish ? p.right() : p.left(), p.center().y() + 1);
    const QPoint end(toStart ? s.left() : s.right(), below ? s.top() : s.bottom());

    QVector<QPoint> path { start };
    // A successor starting before the predecessor's end: leave the predecessor's row first.
    if (s.left() < p.right())
        path.append(QPoint(start.x(), below ? p.bottom() + 1 : p.top()));
    path.append(QPoint(end.x(), path.last().y()));
    path.append(end);
    painter.setPen(QPen(color, 1));
    painter.drawPolyline(path.constData(), path.size());

    const QPoint tip = below ? end + QPoint(0, 5) : end - QPoint(0, 4);
    painter.drawPoint(tip);
    for (int k = 1; k <= 4; ++k) {
        const int y = below ? tip.y() - k : tip.y() + k;
        painter.drawLine(tip.x() - k, y, tip.x() + k, y);
    }
}
