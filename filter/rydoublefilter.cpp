#include "filter/rydoublefilter.h"

#include "models/ryvaluetext.h"

#include <QDoubleSpinBox>

RyDoubleFilter::RyDoubleFilter(QAbstractItemModel *model, int column, QWidget *parent)
    : RyTypedFilter(model, column, parent, QStringLiteral("double"),
                    [] { return newSpinBox(99999.99); })
{
    populate();
}

QVariant RyDoubleFilter::operand(const QVariant &saved) const
{
    // Saved operands are texts and may carry a decimal comma.
    return RyValueText::decimalFromText(saved.toString());
}
