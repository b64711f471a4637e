// The filter pop-up of an integer column: conditions on whole numbers from spin boxes.
#pragma once

#include "filter/rytypedfilter.h"

class QSpinBox;

class RyIntegerFilter : public RyTypedFilter<QSpinBox>
{
    Q_OBJECT

public:
    RyIntegerFilter(QAbstractItemModel *model, int column, QWidget *parent = nullptr);

    QSpinBox *firstValueBox() const { return m_firstValue; }
    QSpinBox *secondValueBox() const { return m_secondValue; }

protected:
    QVariant operand(const QVariant &saved) const override;
};
