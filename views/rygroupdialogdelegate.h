// Editors of the group dialog's cells: a combo of column names for Group By, a combo of the
// column's rules for Rule (none for columns without rules), and the style combo for Format.
#pragma once

#include <QStringList>
#include <QStyledItemDelegate>

class RyGroupDialog;

class RyGroupDialogDelegate : public QStyledItemDelegate
{
    Q_OBJECT
public:
    // `dialog` answers which columns and rules exist; it outlives the delegate.
    explicit RyGroupDialogDelegate(const RyGroupDialog *dialog, QObject *parent = nullptr);

    // "All", then "To level 1" ... "To level 10".
    static QStringList structureRules();

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                          const QModelIndex &index) const override;
    void setEditorData(QWidget *editor, const QModelIndex &index) const override;
    void setModelData(QWidget *editor, QAbstractItemModel *model,
                      const QModelIndex &index) const override;

public slots:
    // The format picker was confirmed: take its values and close it.
    void closeAndCommitEditor();

private:
    const RyGroupDialog *m_dialog;
};
