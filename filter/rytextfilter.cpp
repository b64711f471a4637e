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

QVariant RyTextFilter::operand(const QVariant &saved) const
{
    return saved.toString();
}
