#include "app/assignmenttable.h"

#include "models/ryconstants.h"
#include "views/rydetaildelegate.h"
#include "views/ryheaderstate.h"

#include <QHeaderView>
#include <QPixmap>
#include <QTableView>

void AssignmentTable::setUp(QTableView *tableView, ActivityColumns activity)
{
    if (!tableView || !tableView->model())
        return;
    QHeaderView *header = tableView->horizontalHeader();
    for (int column = 0; column <= 5; ++column)
        tableView->hideColumn(column);
    const int type
        = RyHeaderState::findSection(header, QStringLiteral("rsrc_type"), Ry::ColumnIdRole);
    if (type >= 0)
        header->swapSections(header->visualIndex(type), 6);
    const int name
        = RyHeaderState::findSection(header, QStringLiteral("rsrc_name"), Ry::ColumnIdRole);
    if (name >= 0)
        header->swapSections(header->visualIndex(name), 7);
    for (const char *id :
         { "act_reg_qty", "cost_per_qty", "target_cost", "act_start_date", "act_end_date" }) {
        const int column = RyHeaderState::findSection(header, QLatin1String(id), Ry::ColumnIdRole);
        if (column >= 0)
            tableView->hideColumn(column);
    }
    // Joined from the task table after every assignment column.
    int target = 6;
    for (const char *title : { "Activity ID", "Activity Name" }) {
        const int column
            = RyHeaderState::findSection(header, QLatin1String(title), Qt::DisplayRole);
        if (column < 0)
            continue;
        if (activity == ActivityColumns::Hidden) {
            tableView->hideColumn(column);
            continue;
        }
        header->moveSection(header->visualIndex(column), target++);
    }
    RyHeaderState::setFixedSectionSize(tableView->verticalHeader(), Ry::RowHeight);
    tableView->setItemDelegate(new RyDetailDelegate(
        QPixmap(QStringLiteral(":/images/resource_human-task.png")), type, tableView));
}
