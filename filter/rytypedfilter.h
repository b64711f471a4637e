// Shared part of the typed filter pop-ups: the two value widgets of the "Expression" tab, built
// by one factory and handed to the base together with the column's data type.
#pragma once

#include "filter/ryfilterdialogpopup.h"

template<class ValueWidget>
class RyTypedFilter : public RyFilterDialogPopUp
{
protected:
    // The subclass calls populate() once built, so that its own fillValues() takes part.
    RyTypedFilter(QAbstractItemModel *model, int column, QWidget *parent, const QString &datatype,
                  ValueWidget *(*newValueWidget)())
        : RyFilterDialogPopUp(model, column, parent)
        , m_firstValue(newValueWidget())
        , m_secondValue(newValueWidget())
    {
        addExpressionTab(datatype, m_firstValue, m_secondValue);
    }

    // A spin box of the number filters: signed, from -limit to limit, so that "is less than
    // -5" means what it says.
    template<class Limit>
    static ValueWidget *newSpinBox(Limit limit)
    {
        auto *box = new ValueWidget;
        box->setRange(-limit, limit);
        return box;
    }

    ValueWidget *m_firstValue;
    ValueWidget *m_secondValue;
};
