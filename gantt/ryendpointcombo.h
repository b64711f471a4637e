// End point combo: shows the chosen marker shape in its colour and picks another from a
// RyEndPointWidget pop-up ("RyEndPointPopup"). Indexes refer to RyEndPointWidget::shapeNames().
#pragma once

#include "gantt/rypopupcombo.h"

#include <QColor>

class RyEndPointCombo : public RyPopupCombo
{
    Q_OBJECT
public:
    explicit RyEndPointCombo(QWidget *parent = nullptr);

    // Both setters are silent: only a choice of the user emits endpointChanged.
    void setCurrentIndex(int index);
    int currentIndex() const { return m_index; }
    // The shape name at the current index; empty for "<None>".
    QString currentShapeName() const;
    void setColor(const QColor &color);
    QColor color() const { return m_color; }

signals:
    void endpointChanged(int index);

public slots:
    void endpointSelected(int selectedindex);

protected:
    QWidget *createPicker() override;
    void preparePicker(QWidget *picker) override;
    void paintValue(QPainter *painter, const QRect &rect) override;

private:
    int m_index = 0;
    QColor m_color = Qt::black;
};
