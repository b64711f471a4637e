#include "views/ryactivitystatus.h"

#include "filter/ryfilterdialogproxymodel.h"
#include "models/ryparentitemproxymodel.h"
#include "views/activities.h"
#include "views/resources.h"

#include <QTableView>

#include <QVector>

int RyActivityStatus::shownActivityCount(const Activities &view)
{
    const RyFilterDialogProxyModel *proxy = view.filterProxy();
    if (proxy->valueFilters().isEmpty() && proxy->expressionFilters().empty())
        return view.baseRowCount();
    const RyParentItemProxyModel *parents = view.parentProxy();
    int count = 0;
    QVector<QModelIndex> pending { QModelIndex() };
    while (!pending.isEmpty()) {
        const QModelIndex parent = pending.takeLast();
        const int rows = proxy->rowCount(parent);
        for (int row = 0; row < rows; ++row) {
            const QModelIndex index = proxy->index(row, 0, parent);
            const QModelIndex activity = parents->mapToSource(proxy->mapToSource(index));
            if (activity.isValid() && activity.row() < view.baseRowCount())
                ++count;
            pending.append(index);
        }
    }
    return count;
}

QString RyActivityStatus::text(const Activities &view)
{
    if (!view.hasProject())
        return QString();
    return text(shownActivityCount(view), view.baseRowCount());
}

QString RyActivityStatus::text(const Resources &page)
{
    const QAbstractItemModel *shown = page.tableView()->model();
    if (!shown || !page.sourceModel())
        return QString();
    return text(shown->rowCount(), page.sourceModel()->rowCount(), QStringLiteral("assignments"));
}

QString RyActivityStatus::text(int shown, int total, const QString &rows)
{
    if (shown < total)
        return QStringLiteral("%1 of %2 %3 shown").arg(shown).arg(total).arg(rows);
    return QStringLiteral("%1 %2").arg(total).arg(rows);
}
