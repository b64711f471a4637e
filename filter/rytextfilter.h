// The filter pop-up of a text column: conditions on texts typed into line edits.
#pragma once

#include "filter/rytypedfilter.h"

class QLineEdit;

class RyTextFilter : public RyTypedFilter<QLineEdit>
{
    Q_OBJECT

public:
    RyTextFilter(QAbstractItemModel *model, int column, QWidget *parent = nullptr);

    QLineEdit *firstValueEdit() const { return m_firstValue; }
    QLineEdit *secondValueEdit() const { return m_secondValue; }

protected:
    QVariant operand(const QVariant &saved) const override;
};
