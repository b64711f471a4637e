// Roles, geometry and flag values shared by every model, view and dialog.
#pragma once

#include <Qt>

namespace Ry {

// Horizontal header roles of every table and derived model.
enum HeaderRole {
    ColumnIdRole = Qt::UserRole, // 256: the column id ("task_code")
    ColumnGroupRole = Qt::UserRole + 1, // 257: the column group ("General", "system", ...)
    ColumnDescriptionRole = Qt::UserRole + 2, // 258: the whole description as a QVariantMap
    ColumnItemRole = Qt::UserRole + 3, // 259: the ItemRole the column's cells stand for, if any
    // 260: the text column choosers list the column under ("Contractor (Text1)"); the display
    // text where a model gives none.
    ColumnChoiceTextRole = Qt::UserRole + 4,
};

// Item roles of activity rows: what the Gantt chart draws for a row. The tables that hold tasks
// name, under ColumnItemRole, the column that holds each of them, so that every row of a proxy
// (summary and grouping rows included) is read from its cell in that column. A model may also
// answer a role on the row itself; that answer wins.
enum ItemRole {
    StartRole = Qt::UserRole + 16, // 272: QDateTime, the "Start Date" cell
    FinishRole, // 273: QDateTime, the "Finish Date" cell
    RowTypeRole, // 274: the "Activity Type" cell; the chart maps it to a RowType
    TotalFloatRole, // 275: the "Total float" cell; critical when it is a number <= 0
    BaselineStartRole, // 276: QDateTime, the "BL Project Start" cell
    BaselineFinishRole, // 277: QDateTime, the "BL Project Finish" cell
    // 278: a split task's parts, answered by its "Start Date" cell: a QVariantList of
    // QVariantList {start, finish} (QDateTime); none for a task that is not split.
    SegmentsRole,
};

// What the chart draws for a row: task and level-of-effort rows are tasks.
enum RowType { NoRowType = -1, TaskRow = 0, MilestoneRow = 1, SummaryRow = 2 };

// Table and chart rows share one height so that row r of the chart is row r of the tree.
constexpr int RowHeight = 22;
constexpr int TreeIndentation = 15;

// Time-unit bits of the timeline, stored in layouts as "timelineFlags".
enum TimeUnit : unsigned char {
    Minute = 0x01,
    Hour = 0x02,
    Day = 0x04,
    Week = 0x08,
    Month = 0x10,
    Quarter = 0x20,
    Year = 0x40,
};

} // namespace Ry
