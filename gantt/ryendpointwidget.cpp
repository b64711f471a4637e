#include "gantt/ryendpointwidget.h"

#include "gantt/ryitempainter.h"

#include <QPainter>

RyEndPointWidget::RyEndPointWidget(QWidget *parent)
    : RyIndexPickerWidget(Qt::black, 0, parent)
{
    setFixedSize(sizeHint());
}

QSize RyEndPointWidget::sizeHint() const
{
    return QSize(2 * Margin + (Columns - 1) * Pitch + CellSize,
                 2 * Margin + (Rows - 1) * Pitch + CellSize);
}

const QStringList &RyEndPointWidget::shapeNames()
{
    static const QStringList names {
        QStringLiteral("<None>"),    QStringLiteral("Circle"),     QStringLiteral("Square"),
        QStringLiteral("Diamond"),   QStringLiteral("SouthPenta"), QStringLiteral("NorthPenta"),
        QStringLiteral("EastPenta"), QStringLiteral("WestPenta"),  QStringLiteral("SouthCone"),
        QStringLiteral("NorthCone"), QStringLiteral("EastCone"),   QStringLiteral("WestCone"),
    };
    return names;
}

int RyEndPointWidget::indexOf(const QString &shapeName)
{
    return qMax(0, shapeNames().indexOf(shapeName));
}

QRect RyEndPointWidget::cellRect(int cell)
{
    if (cell < 0 || cell >= shapeNames().size())
        return QRect();
    return QRect(Margin + (cell % Columns) * Pitch, Margin + (cell / Columns) * Pitch, CellSize,
                 CellSize);
}

int RyEndPointWidget::cellAt(const QPoint &point)
{
    for (int cell = 0; cell < shapeNames().size(); ++cell) {
        if (cellRect(cell).contains(point))
            return cell;
    }
    return -1;
}

void RyEndPointWidget::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().base());
    const RyItemPainter shapes;
    // An invalid colour draws no marker in the chart; the picker still shows the shapes.
    const QColor pen = m_color.isValid() ? m_color : palette().color(QPalette::Text);
    for (int cell = 0; cell < shapeNames().size(); ++cell) {
        const QRect box = cellRect(cell);
        if (cell == m_selected || cell == m_hovered) {
            painter.setPen(cell == m_selected ? palette().color(QPalette::Highlight)
                                              : palette().color(QPalette::Mid));
            painter.drawRect(box.adjusted(-2, -2, 1, 1));
        }
        painter.setPen(pen);
        shapes.drawShape(&painter, box, RyItemPainter::shapeCode(shapeNames().at(cell)), CellSize);
    }
}
