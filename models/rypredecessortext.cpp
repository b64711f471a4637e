#include "models/rypredecessortext.h"

#include "models/rymodellookup.h"
#include "models/ryvaluetext.h"

#include <QAbstractItemModel>

#include <cmath>

namespace RyPredecessorText {

QString predecessorDetail(const QString &type, const QVariant &lagHours)
{
    QString detail = type.startsWith(QLatin1String("PR_")) ? type.mid(3) : type;
    bool ok = false;
    // Hours to two decimals; a lag that rounds to nothing is no lag.
    const double lag = std::round(lagHours.toDouble(&ok) * 100.0) / 100.0;
    if (ok && lag != 0.0) {
        if (lag > 0)
            detail += QLatin1Char('+');
        detail += RyValueText::decimalText(lag) + QLatin1Char('h');
    }
    return detail;
}

QMap<int, QMap<QString, QString>> predecessorTexts(const QAbstractItemModel *relationships)
{
    QMap<int, QMap<QString, QString>> texts;
    if (!relationships)
        return texts;
    const int taskColumn = RyModelLookup::findColumn(relationships, QStringLiteral("task_id"));
    const int typeColumn = RyModelLookup::findColumn(relationships, QStringLiteral("Type"));
    const int lagColumn = RyModelLookup::findColumn(relationships, QStringLiteral("Lag"));
    const int keyColumn = relationships->columnCount() - 2;
    if (taskColumn < 0 || typeColumn < 0 || keyColumn < 0)
        return texts;
    const int rows = relationships->rowCount();
    for (int r = 0; r < rows; ++r) {
        const int taskId = relationships->index(r, taskColumn).data().toInt();
        const QString key = relationships->index(r, keyColumn).data().toString();
        if (key.isEmpty())
            continue;
        const QString type = relationships->index(r, typeColumn).data().toString();
        if (type.isEmpty())
            continue;
        const QVariant lag
            = lagColumn >= 0 ? relationships->index(r, lagColumn).data() : QVariant();
        texts[taskId][key] = predecessorDetail(type, lag);
    }
    return texts;
}

} // namespace RyPredecessorText
