// The activity table as it is shown, written as ";"-separated text: the shown columns in their
// visual order, every row of the tree depth first, each cell as the table displays it.
#pragma once

#include <QModelIndex>
#include <QString>

class QTreeView;

class CsvExport
{
public:
    // Writes the header line and every row to `path`, replacing the file only when all of it
    // was written. False, with the reason in `error`, when the file cannot be written.
    static bool exportTree(const QTreeView *treeView, const QString &path, QString *error);
    // The lines of the rows below `parent` and of all their descendants, each ending in "\n".
    static QString rowsText(const QTreeView *treeView, const QModelIndex &parent = QModelIndex());
    // The header texts of the shown columns.
    static QString headerText(const QTreeView *treeView);
    // `text` as one field: in double quotes, inner quotes doubled, when it holds the separator,
    // a quote or a line break; as it is otherwise.
    static QString field(const QString &text);
};
