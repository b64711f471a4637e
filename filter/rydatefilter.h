// The filter pop-up of a date column: a Year > Month > day tree of the column's dates and
// conditions on dates (the time of day does not count).
#pragma once

#include "filter/rytypedfilter.h"

class QDateEdit;
class QStandardItem;

class RyDateFilter : public RyTypedFilter<QDateEdit>
{
    Q_OBJECT

public:
    RyDateFilter(QAbstractItemModel *model, int column, QWidget *parent = nullptr);

    QString displayOperator(const QString &op) const override;

    QDateEdit *firstValueEdit() const { return m_firstValue; }
    QDateEdit *secondValueEdit() const { return m_secondValue; }

protected:
    void fillValues() override;
    QVariant operand(const QVariant &saved) const override;

private:
    void appendDays(QStandardItem *monthItem, const QSet<int> &rows) const;
};
