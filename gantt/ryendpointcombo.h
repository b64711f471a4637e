// End point combo: shows the chosen marker shape in its colour and picks another from a
// RyEndPointWidget pop-up ("RyEndPointPopup"). Indexes refer to RyEndPointWidget::shapeNames().
#pragma once

#include "gantt/ryendpointwidget.h"
#include "gantt/rypickercombo.h"

class RyEndPointCombo : public RyIndexPickerCombo<RyEndPointWidget>
{
    Q_OBJECT
public:
    explicit RyEndPointCombo(QWidget *parent = nullptr);

    // setCurrentIndex and setColor are silent: only a choice of the user emits endpointChanged.
    // The shape name at the current index; empty for "<None>".
    QString currentShapeName() const;

signals:
    void endpointChanged(int index);

public slots:
    void endpointSelected(int selectedindex) { takeChoice(selectedindex); }

protected:
    void emitChange(int index) override { emit endpointChanged(index); }
    void paintValue(QPainter *painter, const QRect &rect) override;
};
