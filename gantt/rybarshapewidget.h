// Bar body picker: one 22-pixel row per body shape (height and offset within the row), each
// drawn as the chart's inner bar in the current colour. Up/Down move, Return chooses, a release
// on a row chooses it and a release outside closes the pop-up.
#pragma once

#include "gantt/rypickerwidget.h"

#include <QPair>
#include <QVector>

class RyBarShapeWidget : public RyIndexPickerWidget
{
    Q_OBJECT
public:
    using BodyShape = QPair<int, int>; // height, offset

    static constexpr int RowHeight = 22;
    static constexpr int BarWidth = 120;

    explicit RyBarShapeWidget(QWidget *parent = nullptr);

    static const QVector<BodyShape> &shapes();
    // The shape with this height and offset; else the nearest one, 0 (no body) for a height of 0
    // or less.
    static int indexOf(int height, int offset);
    QRect rowRect(int row) const;
    // The row under `point`, -1 outside the widget.
    int rowAt(const QPoint &point) const;

    static int choiceTotal() { return shapes().size(); }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    int choiceCount() const override { return choiceTotal(); }
    int choiceAt(const QPoint &point) const override { return rowAt(point); }
    // A release outside the rows closes the pop-up.
    void releasedOutside() override { window()->hide(); }
};
