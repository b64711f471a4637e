// Base of the picker combos: a small combo-like button that paints its current value and, on a
// mouse release (or Space, F4, Alt+Down), shows a picker widget in a pop-up frame below itself.
// The pop-up frame and the picker are children of the combo.
#pragma once

#include <QPointer>
#include <QWidget>

class QFrame;

class RyPopupCombo : public QWidget
{
    Q_OBJECT
public:
    explicit RyPopupCombo(const QString &popupName, QWidget *parent = nullptr);

    // The pop-up frame, created on first use; its object name is the one given at construction.
    QFrame *popup();
    bool isPopupVisible() const;

    QSize sizeHint() const override;

public slots:
    void showPopup();
    void hidePopup();

protected:
    // The picker shown in the pop-up, made once; its parent becomes the pop-up frame.
    virtual QWidget *createPicker() = 0;
    // Called before each showing, so that the picker starts from the current value.
    virtual void preparePicker(QWidget *picker) { Q_UNUSED(picker) }
    // Paints the current value into `rect`, the inside of the button frame.
    virtual void paintValue(QPainter *painter, const QRect &rect) = 0;
    QWidget *picker() const { return m_picker; }

    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    QString m_popupName;
    QPointer<QFrame> m_popup;
    QWidget *m_picker = nullptr;
    bool m_pressed = false;
};
