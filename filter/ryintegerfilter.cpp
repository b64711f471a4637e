#include "filter/ryintegerfilter.h"

#include <QSpinBox>

RyIntegerFilter::RyIntegerFilter(QAbstractItemModel *model, int column, QWidget *parent)
    : RyTypedFilter(model, column, parent, QStringLiteral("integer"),
                    [] { return newSpinBox(99999); })
{
    populate();
}

QVariant RyIntegerFilter::operand(const QVariant &saved) const
{
    // Saved operands are texts; "3.0" still reads as 3.
    return qRound(saved.toDouble());
}
