// End point shape picker: "<None>" and the eleven marker shapes in a 4 x 3 grid of 11 x 11
// cells, each drawn with the bar painter's shape routine in the current colour.
#pragma once

#include <QColor>
#include <QStringList>
#include <QWidget>

class RyEndPointWidget : public QWidget
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
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void leaveEvent(QEvent *event) override;

private:
    QColor m_color = Qt::black;
    int m_selected = 0;
    int m_hovered = -1;
};
