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

QVariant RyIntegerFilter::operand(const QVariant &saved) const
{
    // Saved operands are texts; "3.0" still reads as 3. The boxes are signed, so that "is less
    // than -5" means what it says.
    return qRound(saved.toDouble());
}
