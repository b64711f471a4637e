// Stateless helpers shared by the views, the table builders and the main window: column and row
// lookups by text or value, header state, short text forms of fonts, colours and date periods,
// tree roll-ups and the predecessor texts of activities.
#pragma once

#include <QBrush>
#include <QFont>
#include <QMap>
#include <QModelIndex>
#include <QString>
#include <QStringList>
#include <QVariant>

class QAbstractItemModel;
class QColor;
class QHeaderView;

namespace RyUtils {

// --- Lookups. A column's header text is its horizontal display-role header, as text. ---

// First column whose header text equals `text` exactly; -1 when none or without a model.
int findColumn(const QAbstractItemModel *model, const QString &text);
// First section whose header data (view's orientation, `role`) equals `value`; -1 when none.
int findSection(const QHeaderView *header, const QVariant &value, int role);
// Index at `returnColumn` of the first row (searched through child rows too) whose display
// value at `lookupColumn` equals `value`; invalid when there is none.
QModelIndex verticalLookup(const QVariant &value, const QAbstractItemModel *model, int returnColumn,
                           int lookupColumn);
// Logical index of the shown section with the smallest visual position; -1 when all are hidden.
int firstVisibleColumn(const QHeaderView *header);
// Number of valid ancestors (0 for a top-level row).
int indexDepth(const QModelIndex &index);
// Every row below `parent` in depth-first pre-order, as column-0 indexes.
QModelIndexList flattenIndexes(const QAbstractItemModel *model,
                               const QModelIndex &parent = QModelIndex());

// --- Header state ---

// "text:width" of every shown section, in visual order.
QStringList saveHeaderState(const QHeaderView *header);
// Shows, sizes and orders the sections named by a list from saveHeaderState; hides the others.
// Entries that name no column are skipped, and when none is left the header stays as it is.
// A width of 0 or one that is no number keeps the section's size.
void restoreHeaderState(QHeaderView *header, const QStringList &state);
QStringList visibleHeaderTexts(const QHeaderView *header);
// Shows exactly the named columns, in the given order; unchanged when no name matches.
void applyColumnOrder(QHeaderView *header, const QStringList &names);
void setFixedSectionSize(QHeaderView *header, int size);

// --- Text forms ---

QString fontToText(const QFont &font); // "Arial:ib"
QFont fontFromText(const QString &text);
QString colorToText(const QColor &color); // "r255g0b0a255"
// A solid brush; Qt::NoBrush when the text does not hold four components in 0..255.
QBrush colorFromText(const QString &text);
// The whole file as UTF-8 text; empty when it cannot be opened.
QString readTextFile(const QString &path);

// --- Trees and relationships ---

// Sets on every row with children the largest (smallest) display value of its children in
// `column`, computed bottom-up, under `role`. Rows without children and null values stay as they
// are.
void rollUpMax(QAbstractItemModel *model, int column, int role,
               const QModelIndex &parent = QModelIndex());
void rollUpMin(QAbstractItemModel *model, int column, int role,
               const QModelIndex &parent = QModelIndex());

// Task id -> (predecessor key -> detail text such as "FS", "SS+8h", "FF-0.5h"), read from a
// relationship model with "task_id", "Type" and "Lag" (hours) columns and the predecessor key in
// the column two before the last.
QMap<int, QMap<QString, QString>> predecessorTexts(const QAbstractItemModel *relationships);
// The detail text of one relationship: type without "PR_", then the lag in hours when not 0.
QString predecessorDetail(const QString &type, const QVariant &lagHours);

} // namespace RyUtils
