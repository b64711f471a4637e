// Grouping of the activity table: turns group rules into group rows appended to the activity
// record set, re-parents the activity rows under them through the parent item proxy, and numbers
// the rows. Used by the activity view; it owns none of the models it is given.
#pragma once

#include "views/rygroupedtreeview.h"

#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>

class QAbstractItemModel;
class RyParentItemProxyModel;

// One group rule: "column;rule;font;text colour;background", fields 1-4 optional.
struct RyGroupRule
{
    QString column;
    QString rule;
    QString font;
    QString textColor;
    QString background;

    static RyGroupRule parse(const QString &text);
    // The level limit of a structured rule ("To level 2" -> 2); 0 for all levels.
    int maxLevel() const;
};

class RyActivityGrouper
{
public:
    // A group row to append: its label, its parent among the groups (-1 top level) and the
    // activity rows placed directly under it.
    struct Group
    {
        QString key;
        QVariant label;
        int parent = -1;
        QVector<int> rows;
    };

    struct Tables
    {
        QAbstractItemModel *wbs = nullptr;
        QAbstractItemModel *codeTypes = nullptr;
        QAbstractItemModel *codes = nullptr;
        QAbstractItemModel *relationships = nullptr;
    };

    // The groups that `rules` make over the activity rows 0..baseRowCount-1, parents before
    // their children. Empty when a rule's column has no source table (grouping stops there).
    // Level styles of the rules' levels are updated from the rules' font and colours.
    static QVector<Group> buildGroups(const QAbstractItemModel *activityModel, int baseRowCount,
                                      const QStringList &rules, const Tables &tables,
                                      QList<RyLevelStyle> *levelStyles = nullptr);

    // The record set under a join proxy activity model, or null.
    static QAbstractItemModel *recordSet(QAbstractItemModel *activityModel);

    // Empties the parent cells of the record set's column `parentColumn` without notifying
    // anyone; true when one held a value (cells already empty are left alone, which costs
    // far less than writing every one).
    static bool clearParents(QAbstractItemModel *records, int parentColumn);

    // Removes the group rows after `baseRowCount` and, with `rebuildTree`, puts every activity
    // at the top level of `tree`.
    static void removeGrouping(QAbstractItemModel *activityModel, int baseRowCount,
                               RyParentItemProxyModel *tree, bool rebuildTree = true);
    // Appends the group rows to the record set and hands the tree structure to `tree`.
    static void insertGroups(QAbstractItemModel *activityModel, const QVector<Group> &groups,
                             RyParentItemProxyModel *tree);

    // Removes the previous group rows, then groups by `rules` (none: every activity at the top
    // level). Returns the number of activity rows, the new base row count.
    static int regroup(QAbstractItemModel *activityModel, int baseRowCount,
                       RyParentItemProxyModel *tree, const QStringList &rules, const Tables &tables,
                       QList<RyLevelStyle> *levelStyles = nullptr);

    // Numbers rows in tree order ("Row Number", "Outline Level") and writes the predecessor
    // summaries ("Predecessors Details Rows"); each step only when its columns exist.
    static void numberRows(RyParentItemProxyModel *tree, QAbstractItemModel *activityModel,
                           QAbstractItemModel *relationships);
};
