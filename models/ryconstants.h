// Roles, geometry and flag values shared by every model, view and dialog.
#pragma once

#include <Qt>

namespace Ry {

// Horizontal header roles of every table and derived model.
enum HeaderRole {
    ColumnIdRole = Qt::UserRole, // 256: the column id ("task_code")
    ColumnGroupRole = Qt::UserRole + 1, // 257: the column group ("General", "system", ...)
    ColumnDescriptionRole = Qt::UserRole + 2, // 258: the whole description as a QVariantMap
};

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
