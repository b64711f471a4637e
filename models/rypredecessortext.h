// The predecessor texts of activities ("FS", "SS+8h") read from a relationship table.
#pragma once

#include <QMap>
#include <QString>
#include <QVariant>

class QAbstractItemModel;

namespace RyPredecessorText {

// Task id -> (predecessor key -> detail text such as "FS", "SS+8h", "FF-0.5h"), read from a
// relationship model with "task_id", "Type" and "Lag" (hours) columns and the predecessor key in
// the column two before the last.
QMap<int, QMap<QString, QString>> predecessorTexts(const QAbstractItemModel *relationships);
// The detail text of one relationship: type without "PR_", then the lag in hours when not 0.
QString predecessorDetail(const QString &type, const QVariant &lagHours);

} // namespace RyPredecessorText
