// "Group": edits up to ten group rules of the activity view, one table row per outline level:
// the column to group by, its rule (date period or structure depth) and the format (font, text
// colour, background) of that level's group rows. Made on the stack per use; the model is not
// owned.
#pragma once

#include "views/rygroupedtreeview.h"

#include <QDialog>
#include <QPointer>
#include <QSet>

class QAbstractItemModel;
class QDialogButtonBox;
class QGridLayout;
class QTableWidget;
class RyGroupDialogDelegate;

class RyGroupDialog : public QDialog
{
    Q_OBJECT
public:
    enum Column { GroupByColumn, RuleColumn, FormatColumn };
    static constexpr int MaxRules = 10;

    explicit RyGroupDialog(QWidget *parent = nullptr);

    // The activity model: its column names and value kinds; a null model is ignored.
    void setModel(QAbstractItemModel *model);
    QAbstractItemModel *model() const { return m_model; }
    // Shows level style i (or the default record) in row i's Format cell.
    void setLevelStyles(const QList<RyLevelStyle> &styles);
    QList<RyLevelStyle> levelStyles() const { return m_levelStyles; }
    void setStructured(int column);
    void setColumnHidden(int column, bool hide);
    // Fills the rows from rule strings: at most ten; a rule naming a column the model lacks is
    // left out.
    void setGroups(const QStringList &rules);
    // The rule strings of the rows that name a column, in row order.
    QStringList groups() const;

    // The header texts offered in Group By: every column not hidden, sorted.
    QStringList columnNames() const;
    // The rules offered for a column: date periods, structure depths, or none.
    QStringList ruleOptions(const QString &columnName) const;
    bool isStructured(const QString &columnName) const;

    QTableWidget *table() const { return m_table; }
    RyGroupDialogDelegate *delegate() const { return m_delegate; }

private:
    void createForm();
    void setFormat(int row, const QFont &font, const QColor &textColor, const QBrush &background);
    int columnOf(const QString &name) const;
    bool isDateColumn(int column) const;

    QGridLayout *m_gridLayout = nullptr;
    QTableWidget *m_table = nullptr;
    QDialogButtonBox *m_buttonBox = nullptr;
    QPointer<QAbstractItemModel> m_model;
    QList<RyLevelStyle> m_levelStyles;
    QSet<int> m_structured;
    QList<int> m_hidden;
    RyGroupDialogDelegate *m_delegate = nullptr;
};
