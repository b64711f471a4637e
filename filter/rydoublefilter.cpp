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

} // namespace

RyDoubleFilter::RyDoubleFilter(QAbstractItemModel *model, int column, QWidget *parent)
    : RyTypedFilter(model, column, parent, QStringLiteral("double"), newValueBox)
{
    populate();
}

QVariant RyDoubleFilter::operand(const QVariant &saved) const
{
    // Saved operands are texts and may carry a decimal comma.
    return RyValueText::decimalFromText(saved.toString());
}
