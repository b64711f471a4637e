#include "filter/ryintegerfilter.h"

#include <QSpinBox>

namespace {

QSpinBox *newValueBox()
{
    auto *box = new QSpinBox;
    box->setRange(-99999, 99999);
    return box;
}

} // namespace

RyIntegerFilter::RyIntegerFilter(QAbstractItemModel *model, int column, QWidget *parent)
    : RyFilterDialogPopUp(model, column, parent)
    , m_firstValue(newValueBox())
    , m_secondValue(newValueBox())
{
    addExpressionTab(QStringLiteral("integer"), m_firstValue, m_secondValue);
    populate();
}

void RyIntegerFilter::setExpression(const QString &firstOperator, const QVariant &firstValue,
                                    const QString &secondOperator, const QVariant &secondValue,
                                    bool isAnd)
{
    // Saved operands are texts; "3.0" still reads as 3.
    m_firstValue->setValue(qRound(firstValue.toDouble()));
    m_secondValue->setValue(qRound(secondValue.toDouble()));
    setExpressionOperators(firstOperator, secondOperator, isAnd);
}

QVariant RyIntegerFilter::firstValue() const
{
    return m_firstValue->value();
}

QVariant RyIntegerFilter::secondValue() const
{
    return m_secondValue->value();
}
