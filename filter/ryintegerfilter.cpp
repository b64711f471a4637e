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
    : RyTypedFilter(model, column, parent, QStringLiteral("integer"), newValueBox)
{
    populate();
}

QVariant RyIntegerFilter::operand(const QVariant &saved) const
{
    // Saved operands are texts; "3.0" still reads as 3. The boxes are signed, so that "is less
    // than -5" means what it says.
    return qRound(saved.toDouble());
}
