// Test and benchmark models built by hand name their chart columns as the task table does:
// each column titled "Start Date", "Finish Date", "Activity Type", "Total float",
// "BL Project Start" or "BL Project Finish" gets the Ry::ColumnItemRole header of its role.
#pragma once

class QAbstractItemModel;

void nameChartColumns(QAbstractItemModel *model);
