// Base of the grid-of-choices pop-ups (bar shapes, end points, colours): a current colour, the
// selected and the hovered choice, hover tracking with tool tips, and choosing on a mouse release.
#pragma once

#include <QColor>
#include <QWidget>

class RyPickerWidget : public QWidget
{
    Q_OBJECT
public:
    // Sets the colour the choices are drawn in.
    virtual void setColor(const QColor &color);
    QColor color() const { return m_color; }
    int currentIndex() const { return m_selected; }
    int hoveredIndex() const { return m_hovered; }

protected:
    RyPickerWidget(const QColor &color, int selected, QWidget *parent);

    virtual int choiceCount() const = 0;
    // The choice under `point`, -1 for none.
    virtual int choiceAt(const QPoint &point) const = 0;
    virtual QString choiceToolTip(int index) const;
    // A release on choice `index`, already selected; the concrete picker emits its signal.
    virtual void choose(int index) = 0;
    // A release on no choice.
    virtual void releasedOutside() { }

    // Selects choice `index`, bounded to the choices.
    void setCurrentIndex(int index);

    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void leaveEvent(QEvent *event) override;

    QColor m_color;
    int m_selected;
    int m_hovered = -1;
};

// A picker whose choices are plain indexes (bar shapes, end points): settable from outside and
// reported by selected(int).
class RyIndexPickerWidget : public RyPickerWidget
{
    Q_OBJECT
public:
    using RyPickerWidget::setCurrentIndex;

signals:
    void selected(int index);

protected:
    using RyPickerWidget::RyPickerWidget;

    void choose(int index) override { emit selected(index); }
};
