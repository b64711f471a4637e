// The sort and filter marks a header keeps for its sections, as the sort/filter widget sees them.
// The sort/filter header of the activity table implements this next to QHeaderView, so that the
// widget (which only knows a QHeaderView*) can mark columns without depending on the views layer:
//   class RySortFilterHeader : public QHeaderView, public RySortFilterMarks { ... };
// The widget finds it with dynamic_cast; a header without it just gets Qt's sort indicator.
#pragma once

#include <QList>

class RySortFilterMarks
{
public:
    virtual ~RySortFilterMarks() = default;

    // Each mutator notifies the header's listeners once, also when nothing changed.
    virtual void addFilteredColumn(int column) = 0;
    virtual void removeFilteredColumn(int column) = 0;
    virtual void clearFilteredColumns() = 0;
    // `order` is 0 for ascending and 1 for descending (Qt::SortOrder values); column -1: no sort.
    virtual void setSort(int column, int order) = 0;

    virtual bool hasFilteredColumns() const = 0;
    virtual QList<int> filteredColumns() const = 0;
    virtual int sortColumn() const = 0;
    virtual int sortOrder() const = 0;
};
