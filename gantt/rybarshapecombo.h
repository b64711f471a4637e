// Bar shape combo: shows the chosen body shape in its colour and picks another from a
// RyBarShapeWidget pop-up ("RyBarShapePopup"). Indexes refer to RyBarShapeWidget::shapes().
#pragma once

#include "gantt/rybarshapewidget.h"
#include "gantt/rypickercombo.h"

class RyBarShapeCombo : public RyIndexPickerCombo<RyBarShapeWidget>
{
    Q_OBJECT
public:
    explicit RyBarShapeCombo(QWidget *parent = nullptr);

    // setCurrentIndex and setColor are silent: only a choice of the user emits shapeChanged.
    int bodyHeight() const;
    int bodyOffset() const;

signals:
    void shapeChanged(int index);

public slots:
    void shapeSelected(int selectedindex) { takeChoice(selectedindex); }

protected:
    void emitChange(int index) override { emit shapeChanged(index); }
    void paintValue(QPainter *painter, const QRect &rect) override;
};
