#include "gantt/rycolorwidget.h"

#include <QPainter>

namespace {

constexpr int Margin = 6;
constexpr int MainRows = 5;
// The two extra rows sit below the separating line, not on the main grid's pitch.
constexpr int ExtraRowTops[] = { 102, 118 };
constexpr int SeparatorY = 94;

} // namespace

RyColorWidget::RyColorWidget(QWidget *parent)
    : RyPickerWidget(QColor(), -1, parent)
{
    setFixedSize(Side, Side);
}

const QVector<RyColorWidget::NamedColor> &RyColorWidget::colors()
{
    static const QVector<NamedColor> swatches = [] {
        const char *entries[][2] = {
            { "No Color", "" },
            { "Black", "#000000" },
            { "Brown", "#993300" },
            { "Olive Green", "#333300" },
            { "Dark Green", "#003300" },
            { "Dark Teal", "#003366" },
            { "Dark Blue", "#000080" },
            { "Indigo", "#333399" },
            { "Gray-80%", "#333333" },
            { "Dark Red", "#800000" },
            { "Orange", "#FF6600" },
            { "Dark Yellow", "#808000" },
            { "Green", "#008000" },
            { "Teal", "#008080" },
            { "Blue", "#0000FF" },
            { "Blue-Gray", "#666699" },
            { "Gray-50%", "#808080" },
            { "Red", "#FF0000" },
            { "Light Orange", "#FF9900" },
            { "Lime", "#99CC00" },
            { "Sea Green", "#339966" },
            { "Aqua", "#33CCCC" },
            { "Light Blue", "#3366FF" },
            { "Violet", "#800080" },
            { "Gray-40%", "#969696" },
            { "Pink", "#FF00FF" },
            { "Gold", "#FFCC00" },
            { "Yellow", "#FFFF00" },
            { "Bright Green", "#00FF00" },
            { "Turquoise", "#00FFFF" },
            { "Sky Blue", "#00CCFF" },
            { "Plum", "#993366" },
            { "Gray-25%", "#C0C0C0" },
            { "Rose", "#FF99CC" },
            { "Tan", "#FFCC99" },
            { "Light Yellow", "#FFFF99" },
            { "Light Green", "#CCFFCC" },
            { "Pale Blue", "#99CCFF" },
            { "Lavender", "#CC99FF" },
            { "White", "#FFFFFF" },
            { "Periwinkle", "#9999FF" },
            { "Plum+", "#993366" },
            { "Ivory", "#FFFFCC" },
            { "Lite Turquoise", "#CCFFFF" },
            { "Dark Purple", "#660066" },
            { "Coral", "#FF8080" },
            { "Ocean Blue", "#0066CC" },
            { "Ice Blue", "#CCCCFF" },
            { "Dark Blue+", "#000080" },
            { "Pink+", "#FF00FF" },
            { "Yellow+", "#FFFF00" },
            { "Turquoise+", "#00FFFF" },
            { "Violet+", "#800080" },
            { "Dark Red+", "#800000" },
            { "Teal+", "#008080" },
            { "Blue+", "#0000FF" },
        };
        QVector<NamedColor> list;
        for (const auto &entry : entries) {
            const QString value = QString::fromLatin1(entry[1]);
            list.append(
                { QString::fromLatin1(entry[0]), value.isEmpty() ? QColor() : QColor(value) });
        }
        return list;
    }();
    return swatches;
}

QRect RyColorWidget::cellRect(int cell)
{
    if (cell < 0 || cell >= colors().size())
        return QRect();
    const int row = cell / Columns;
    const int top = row < MainRows ? Margin + row * Pitch : ExtraRowTops[row - MainRows];
    return QRect(Margin + (cell % Columns) * Pitch, top, CellSize, CellSize);
}

int RyColorWidget::cellAt(const QPoint &point)
{
    for (int cell = 0; cell < colors().size(); ++cell) {
        if (cellRect(cell).contains(point))
            return cell;
    }
    return -1;
}

int RyColorWidget::cellOf(const QColor &color)
{
    const QVector<NamedColor> &swatches = colors();
    for (int cell = swatches.size() - 1; cell >= 0; --cell) {
        const QColor &entry = swatches.at(cell).second;
        // By value: a colour read from text and a named constant must match alike.
        if (entry.isValid() == color.isValid()
            && (!color.isValid() || entry.rgba() == color.rgba()))
            return cell;
    }
    return -1;
}

void RyColorWidget::setColor(const QColor &color)
{
    m_color = color;
    m_selected = cellOf(color);
    update();
}

void RyColorWidget::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().window());
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawLine(Margin, SeparatorY, Side - Margin - 1, SeparatorY);
    const QVector<NamedColor> &swatches = colors();
    for (int cell = 0; cell < swatches.size(); ++cell) {
        const QRect box = cellRect(cell);
        if (swatches.at(cell).second.isValid())
            painter.fillRect(box, swatches.at(cell).second);
        painter.setPen(Qt::gray);
        painter.drawRect(box.adjusted(0, 0, -1, -1));
        if (cell == m_selected || cell == m_hovered) {
            painter.setPen(cell == m_selected ? palette().color(QPalette::Highlight)
                                              : palette().color(QPalette::Dark));
            painter.drawRect(box.adjusted(-1, -1, 0, 0));
        }
    }
}

void RyColorWidget::choose(int index)
{
    m_color = colors().at(index).second;
    emit selected(m_color);
}
