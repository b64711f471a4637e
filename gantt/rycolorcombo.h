// Colour combo: shows its colour as a swatch ("No Color" for the invalid colour) and picks a new
// one from a RyColorWidget pop-up ("RyColorPickerPopup").
#pragma once

#include "gantt/rypopupcombo.h"

#include <QColor>

class RyColorCombo : public RyPopupCombo
{
    Q_OBJECT
public:
    explicit RyColorCombo(QWidget *parent = nullptr);

    // Sets the shown colour without emitting colorChanged.
    void setColor(const QColor &color);
    QColor color() const { return m_color; }

signals:
    void colorChanged(const QColor &color);

public slots:
    // Takes a colour chosen by the user: stores it, closes the pop-up, emits colorChanged.
    void colorSelected(const QColor &color);

protected:
    QWidget *createPicker() override;
    void preparePicker(QWidget *picker) override;
    void paintValue(QPainter *painter, const QRect &rect) override;

private:
    QColor m_color;
};
