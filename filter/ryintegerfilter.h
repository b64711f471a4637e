// The filter pop-up of an integer column: conditions on whole numbers from spin boxes.
#pragma once

#include "filter/ryfilterdialogpopup.h"

class QSpinBox;

class RyIntegerFilter : public RyFilterDialogPopUp
{
    Q_OBJECT

public:
    RyIntegerFilter(QAbstractItemModel *model, int column, QWidget *parent = nullptr);

    void setExpression(const QString &firstOperator, const QVariant &firstValue,
                       const QString &secondOperator, const QVariant &secondValue,
                       bool isAnd) override;
    // Signed, so that "is less than -5" means what it says.
    QVariant firstValue() const override;
    QVariant secondValue() const override;

    QSpinBox *firstValueBox() const { return m_firstValue; }
    QSpinBox *secondValueBox() const { return m_secondValue; }

private:
    QSpinBox *m_firstValue;
    QSpinBox *m_secondValue;
};
