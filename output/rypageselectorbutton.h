// A paper sheet drawn upright (portrait) or on its side (landscape) that the user picks as the
// page orientation; the picked one carries a check mark. Two of them form a pair: each one's
// pageOrientChecked() goes to the other's setUnchecked().
#pragma once

#include <QWidget>

class RyPageSelectorButton : public QWidget
{
    Q_OBJECT
public:
    enum Orientation { Portrait = 0, Landscape = 1 };

    explicit RyPageSelectorButton(Orientation orientation, QWidget *parent = nullptr);

    Orientation orientation() const { return m_orientation; }
    bool isSelected() const { return m_selected; }
    // The sheet outline inside the button.
    QRect pageRect() const;
    // As a press on the sheet: selects the button unless it is selected already.
    void select();

    QSize sizeHint() const override;

signals:
    void pageOrientChecked();

public slots:
    void setUnchecked();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;

private:
    Orientation m_orientation;
    bool m_selected = false;
};
