// Colour combo: shows its colour as a swatch ("No Color" for the invalid colour) and picks a new
// one from a RyColorWidget pop-up ("RyColorPickerPopup").
#pragma once

#include "gantt/rycolorwidget.h"
#include "gantt/rypickercombo.h"

class RyColorCombo : public RyPickerCombo<RyColorWidget>
{
    Q_OBJECT
public:
    explicit RyColorCombo(QWidget *parent = nullptr);

signals:
    void colorChanged(const QColor &color);

public slots:
    // Takes a colour chosen by the user: stores it, closes the pop-up, emits colorChanged.
    void colorSelected(const QColor &color);

protected:
    QWidget *createPicker() override;
    void paintValue(QPainter *painter, const QRect &rect) override;
};
