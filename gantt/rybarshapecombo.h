// Bar shape combo: shows the chosen body shape in its colour and picks another from a
// RyBarShapeWidget pop-up ("RyBarShapePopup"). Indexes refer to RyBarShapeWidget::shapes().
#pragma once

#include "gantt/rypopupcombo.h"

#include <QColor>

class RyBarShapeCombo : public RyPopupCombo
{
    Q_OBJECT
public:
    explicit RyBarShapeCombo(QWidget *parent = nullptr);

    // Both setters are silent: only a choice of the user emits shapeChanged.
    void setCurrentIndex(int index);
    int currentIndex() const { return m_index; }
    int bodyHeight() const;
    int bodyOffset() const;
    void setColor(const QColor &color);
    QColor color() const { return m_color; }

signals:
    void shapeChanged(int index);

public slots:
    void shapeSelected(int selectedindex);

protected:
    QWidget *createPicker() override;
    void preparePicker(QWidget *picker) override;
    void paintValue(QPainter *painter, const QRect &rect) override;

private:
    int m_index = 0;
    QColor m_color { 0x99, 0xcc, 0xff };
};
