// How a resource-assignment table is shown, in the details form and on the Resources page:
// the key columns hidden, resource type and name first (after the activity's ID and name on the
// Resources page, which lists every activity's assignments), the human-task icon on each row.
#pragma once

class QTableView;

class AssignmentTable
{
public:
    enum class ActivityColumns { Hidden, First };

    // Arranges `tableView` over the model it shows; a view without a model is left alone.
    static void setUp(QTableView *tableView, ActivityColumns activity = ActivityColumns::Hidden);
};
