// Bar body picker: one 22-pixel row per body shape (height and offset within the row), each
// drawn as the chart's inner bar in the current colour. Up/Down move, Return chooses, a release
// on a row chooses it and a release outside closes the pop-up.
#pragma once

#include <QColor>
#include <QPair>
#include <QVector>
#include <QWidget>

class RyBarShapeWidget : public QWidget
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

    void setColor(const QColor &color);
    QColor color() const { return m_color; }
    void setCurrentIndex(int index);
    int currentIndex() const { return m_selected; }
    int hoveredIndex() const { return m_hovered; }

    QSize sizeHint() const override;

signals:
    void selected(int index);

protected:
    void paintEvent(QPaintEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void leaveEvent(QEvent *event) override;

private:
    QColor m_color { 0x99, 0xcc, 0xff };
    int m_selected = 0;
    int m_hovered = -1;
};
