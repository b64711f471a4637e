#include "filter/rytextfilter.h"

#include <QLineEdit>

RyTextFilter::RyTextFilter(QAbstractItemModel *model, int column, QWidget *parent)
    : RyTypedFilter(model, column, parent, QStringLiteral("string"),
                    []() { return new QLineEdit; })
{
    populate();
}

QVariant RyTextFilter::operand(const QVariant &saved) const
{
    return saved.toString();
}
