// Colour picker: a 136 x 136 grid of named swatches, "No Color" (an invalid colour) first, with
// two rows of extra colours below a separating line. A release on a swatch selects it.
#pragma once

#include "gantt/rypickerwidget.h"

#include <QPair>
#include <QVector>

class RyColorWidget : public RyPickerWidget
{
    Q_OBJECT
public:
    using NamedColor = QPair<QString, QColor>;

    static constexpr int Side = 136;
    static constexpr int CellSize = 12;
    static constexpr int Pitch = 16;
    static constexpr int Columns = 8;

    explicit RyColorWidget(QWidget *parent = nullptr);

    // The 56 swatches in grid order.
    static const QVector<NamedColor> &colors();
    // Swatch `cell` in widget coordinates; empty outside the palette.
    static QRect cellRect(int cell);
    // The swatch under `point`, -1 between or outside the swatches.
    static int cellAt(const QPoint &point);
    // The last swatch equal to `color` (the invalid colour matches "No Color"), -1 for none.
    static int cellOf(const QColor &color);

    // Preselects the swatch of `color`; a colour outside the palette selects nothing.
    void setColor(const QColor &color) override;
    int selectedCell() const { return currentIndex(); }
    int hoveredCell() const { return hoveredIndex(); }

    QSize sizeHint() const override { return QSize(Side, Side); }

signals:
    void selected(const QColor &color);

protected:
    void paintEvent(QPaintEvent *event) override;
    int choiceCount() const override { return colors().size(); }
    int choiceAt(const QPoint &point) const override { return cellAt(point); }
    QString choiceToolTip(int index) const override { return colors().at(index).first; }
    void choose(int index) override;
};
