#include "filter/rydoublefilter.h"

#include "models/ryvaluetext.h"

#include <QDoubleSpinBox>

namespace {

QDoubleSpinBox *newValueBox()
{
    auto *box = new QDoubleSpinBox;
    box->setDecimals(2);
    box->setRange(-99999.99, 99999.99);
    return box;
}

double toNumber(const QVariant &value)
{
    // Saved operands are texts and may carry a decimal comma.
    return RyValueText::decimalFromText(value.toString());
}

} // namespace

RyDoubleFilter::RyDoubleFilter(QAbstractItemModel *model, int column, QWidget *parent)
    : RyFilterDialogPopUp(model, column, parent)
    , m_firstValue(newValueBox())
    , m_secondValue(newValueBox())
{
    addExpressionTab(QStringLiteral("double"), m_firstValue, m_secondValue);
    populate();
}

void RyDoubleFilter::setExpression(const QString &firstOperator, const QVariant &firstValue,
                                   const QString &secondOperator, const QVariant &secondValue,
                                   bool isAnd)
{
    m_firstValue->setValue(toNumber(firstValue));
    m_secondValue->setValue(toNumber(secondValue));
    setExpressionOperators(firstOperator, secondOperator, isAnd);
}

QVariant RyDoubleFilter::firstValue() const
{
    return m_firstValue->value();
}

QVariant RyDoubleFilter::secondValue() const
{
    return m_secondValue->value();
}
