// The state of a table's header as layouts keep it: which columns are shown, in which order and
// how wide, named by their ids (header texts where there are none); and the lookups of sections the
// views need.
#pragma once

#include <QStringList>
#include <QVariant>

class QHeaderView;

namespace RyHeaderState {

// First section whose header data (view's orientation, `role`) equals `value`; -1 when none.
int findSection(const QHeaderView *header, const QVariant &value, int role);
// Logical index of the shown section with the smallest visual position; -1 when all are hidden.
int firstVisibleColumn(const QHeaderView *header);
// "@id:width" of every shown section, in visual order; "text:width" for a section whose id is
// missing or shared, so that a layout saved on one file applies to another whatever the headers.
QStringList saveHeaderState(const QHeaderView *header);
// Shows, sizes and orders the sections named by a list from saveHeaderState (either form, the
// text form being how older layouts were saved); hides the others.
// Entries that name no column are skipped, and when none is left the header stays as it is.
// A width of 0 or one that is no number keeps the section's size.
void restoreHeaderState(QHeaderView *header, const QStringList &state);
QStringList visibleHeaderTexts(const QHeaderView *header);
// Shows exactly the named columns, in the given order; unchanged when no name matches.
void applyColumnOrder(QHeaderView *header, const QStringList &names);
void setFixedSectionSize(QHeaderView *header, int size);

} // namespace RyHeaderState
