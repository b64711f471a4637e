// The filter pop-up of a double column: conditions on numbers with two decimals.
#pragma once

#include "filter/rytypedfilter.h"

class QDoubleSpinBox;

class RyDoubleFilter : public RyTypedFilter<QDoubleSpinBox>
{
    Q_OBJECT

public:
    RyDoubleFilter(QAbstractItemModel *model, int column, QWidget *parent = nullptr);

    QDoubleSpinBox *firstValueBox() const { return m_firstValue; }
    QDoubleSpinBox *secondValueBox() const { return m_secondValue; }

protected:
    QVariant operand(const QVariant &saved) const override;
};
