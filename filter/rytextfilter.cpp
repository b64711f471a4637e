#include "filter/rytextfilter.h"

#include <QLineEdit>

RyTextFilter::RyTextFilter(QAbstractItemModel *model, int column, QWidget *parent)
    : RyFilterDialogPopUp(model, column, parent)
    , m_firstValue(new QLineEdit)
    , m_secondValue(new QLineEdit)
{
    addExpressionTab(QStringLiteral("string"), m_firstValue, m_secondValue);
    populate();
}

void RyTextFilter::setExpression(const QString &firstOperator, const QVariant &firstValue,
                                 const QString &secondOperator, const QVariant &secondValue,
                                 bool isAnd)
{
    m_firstValue->setText(firstValue.toString());
    m_secondValue->setText(secondValue.toString());
    setExpressionOperators(firstOperator, secondOperator, isAnd);
}

QVariant RyTextFilter::firstValue() const
{
    return m_firstValue->text();
}

QVariant RyTextFilter::secondValue() const
{
    return m_secondValue->text();
}
