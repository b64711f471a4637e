// How a resource-assignment table is shown, in the details form and on the Resources page:
// the key columns hidden, resource type and name first, the human-task icon on each row.
#pragma once

class QTableView;

class AssignmentTable
{
public:
    // Arranges `tableView` over the model it shows; a view without a model is left alone.
    static void setUp(QTableView *tableView);
};
