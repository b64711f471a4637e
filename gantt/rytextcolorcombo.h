// A colour combo drawn as a text-colour sample: a letter in the colour over an underline bar.
#pragma once

#include "gantt/rycolorcombo.h"

class RyTextColorCombo : public RyColorCombo
{
    Q_OBJECT
public:
    explicit RyTextColorCombo(QWidget *parent = nullptr);

protected:
    void paintValue(QPainter *painter, const QRect &rect) override;
};
