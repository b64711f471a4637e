// End point shape picker: "<None>" and the eleven marker shapes in a 4 x 3 grid of 11 x 11
// cells, each drawn with the bar painter's shape routine in the current colour.
#pragma once

#include "gantt/rypickerwidget.h"

#include <QStringList>

class RyEndPointWidget : public RyIndexPickerWidget
{
    Q_OBJECT
public:
    static constexpr int CellSize = 11;
    static constexpr int Pitch = 15;
    static constexpr int Columns = 4;
    static constexpr int Rows = 3;
    static constexpr int Margin = 2;

    explicit RyEndPointWidget(QWidget *parent = nullptr);

    // "<None>" then the shape names, in cell order; the combo's index refers to this list.
    static const QStringList &shapeNames();
    // Cell of a shape name; 0 ("<None>") for an empty or unknown name.
    static int indexOf(const QString &shapeName);
    static QRect cellRect(int cell);
    // The cell under `point`, -1 between or outside the cells.
    static int cellAt(const QPoint &point);

    static int choiceTotal() { return shapeNames().size(); }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    int choiceCount() const override { return choiceTotal(); }
    int choiceAt(const QPoint &point) const override { return cellAt(point); }
    QString choiceToolTip(int index) const override { return shapeNames().at(index); }
};
