// The filter pop-up of a double column: conditions on numbers with two decimals.
#pragma once

#include "filter/ryfilterdialogpopup.h"

class QDoubleSpinBox;

class RyDoubleFilter : public RyFilterDialogPopUp
{
    Q_OBJECT

public:
    RyDoubleFilter(QAbstractItemModel *model, int column, QWidget *parent = nullptr);

    void setExpression(const QString &firstOperator, const QVariant &firstValue,
                       const QString &secondOperator, const QVariant &secondValue,
                       bool isAnd) override;
    QVariant firstValue() const override;
    QVariant secondValue() const override;

    QDoubleSpinBox *firstValueBox() const { return m_firstValue; }
    QDoubleSpinBox *secondValueBox() const { return m_secondValue; }

private:
    QDoubleSpinBox *m_firstValue;
    QDoubleSpinBox *m_secondValue;
};
