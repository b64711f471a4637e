// The roll-up of tree values: every row with children shows the smallest or largest value of
// its children in a column (a summary's earliest start and latest finish), computed bottom-up.
#pragma once

#include <QVector>
#include <QtCore/qnamespace.h>

class QAbstractItemModel;

namespace RyRollUp {

enum Pick { Smallest, Largest };

struct Column
{
    int column = -1;
    Pick pick = Smallest;
};

// Writes, under `role`, on every row with children the smallest (largest) value of its children
// in each column, ordered as RyValueOrder orders them. A child whose children hold no value
// offers its own; rows without children and null values are left as they are.
void rollUp(QAbstractItemModel *model, const QVector<Column> &columns, int role = Qt::EditRole);
// The date columns of the table views that roll up: those whose header holds "start" take
// their children's earliest value, those holding "finish" the latest.
QVector<Column> dateColumns(const QAbstractItemModel *model);
// rollUp over dateColumns().
void rollUpDates(QAbstractItemModel *model);

} // namespace RyRollUp
