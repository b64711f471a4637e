// The pop-up menu of one column's filter button: sorting, Clear, a checkable list of the column's
// distinct values with a search box and, in the typed subclasses, a condition of one or two
// comparisons. It lives for one opening; the sort/filter widget reads the outcome and deletes it.
#pragma once

#include <QMenu>
#include <QModelIndex>
#include <QVariant>

class QAbstractItemDelegate;
class QAbstractItemModel;
class QAction;
class QButtonGroup;
class QComboBox;
class QDialogButtonBox;
class QLineEdit;
class QRadioButton;
class QStandardItem;
class QStandardItemModel;
class QTabWidget;
class QTreeView;
class RyFilterProxyModel;

class RyFilterDialogPopUp : public QMenu
{
    Q_OBJECT

public:
    // Roles of the value items: the value the item stands for, and, on a date leaf that merges
    // several cells of the same day, every distinct cell value it stands for.
    // BlanksRole is true on the "(Blanks)" item, which stands for the cells without a value.
    enum ValueRole { CellValuesRole = Qt::UserRole + 1, BlanksRole = Qt::UserRole + 2 };

    // The subclass that fits the column's "datatype", filled with the column's values.
    static RyFilterDialogPopUp *create(QAbstractItemModel *model, int column,
                                       QWidget *parent = nullptr);
    static QString columnDatatype(const QAbstractItemModel *model, int column);
    static QString selectAllText() { return QStringLiteral("(Select All)"); }
    static QString blanksText() { return QStringLiteral("(Blanks)"); }

    ~RyFilterDialogPopUp() override;

    QAbstractItemModel *model() const { return m_model; }
    int column() const { return m_column; }

    QStandardItemModel *valueModel() const { return m_valueModel; }
    RyFilterProxyModel *valueProxy() const { return m_valueProxy; }
    QTreeView *valueView() const { return m_valueView; }
    QLineEdit *searchEdit() const { return m_searchEdit; }
    QTabWidget *tabWidget() const { return m_tabWidget; }
    QAction *sortAscendingAction() const { return m_sortAscending; }
    QAction *sortDescendingAction() const { return m_sortDescending; }
    QAction *clearAction() const { return m_clear; }
    QDialogButtonBox *buttonBox() const { return m_buttonBox; }

    // The delegate stays owned by the caller (it usually belongs to another view).
    void setValueDelegate(QAbstractItemDelegate *delegate);

    // Shows a stored value list: everything unchecked except the first item of each value; a
    // null value checks "(Blanks)".
    void showValueFilter(const QVariantList &values);
    // The values of the checked items the search leaves visible, at every level, without
    // "(Select All)"; a date leaf that stands for several cells gives all of them, "(Blanks)" a
    // null value.
    QVariantList checkedValues() const;
    // Whether the list, as left by the user, means "no filter": "(Select All)" checked and no
    // search text narrowing it.
    bool showsAllValues() const;
    // Whether the search text hides any item of the list.
    bool isNarrowed() const;
    bool isListTabCurrent() const;

    bool isAccepted() const { return m_accepted; }
    bool isCleared() const { return m_cleared; }
    bool isRejected() const { return m_rejected; }

    // Shows a saved expression on the Expression tab: each operand as operand() turns it into
    // a value of the value widgets, the operators and AND or OR.
    void setExpression(const QString &firstOperator, const QVariant &firstValue,
                       const QString &secondOperator, const QVariant &secondValue, bool isAnd);
    // The operands as the value widgets hold them: their user property (text, number or date).
    QVariant firstValue() const;
    QVariant secondValue() const;
    virtual QString firstOperator() const;
    virtual QString secondOperator() const;
    virtual QString displayOperator(const QString &op) const;
    virtual bool isAnd() const;

public slots:
    void onClearFilter();
    void onItemClicked(const QModelIndex &index);
    void filterRegExpChanged();
    void onAccepted();
    void onRejected();
    void updateAllChecked();

protected:
    RyFilterDialogPopUp(QAbstractItemModel *model, int column, QWidget *parent);

    // Fills the value list below "(Select All)"; the typed subclasses call it once built.
    void populate();
    virtual void fillValues();
    // Adds the "Expression" tab with the operators of `datatype` and the two value widgets.
    void addExpressionTab(const QString &datatype, QWidget *firstValueWidget,
                          QWidget *secondValueWidget);
    // A saved operand (a text, as often as not) as the value widgets take it; an invalid value
    // leaves the widget as it is.
    virtual QVariant operand(const QVariant &saved) const = 0;

    void keyPressEvent(QKeyEvent *event) override;

    QComboBox *m_firstOperator = nullptr;
    QComboBox *m_secondOperator = nullptr;
    QRadioButton *m_and = nullptr;
    QRadioButton *m_or = nullptr;

private:
    void buildMenu();
    void setExpressionOperators(const QString &firstOperator, const QString &secondOperator,
                                bool isAnd);
    bool columnHasBlanks() const;
    void removeBlankValues();
    void appendBlanksItem();
    QStandardItem *selectAllItem() const;
    void setSubtreeState(QStandardItem *item, Qt::CheckState state);
    void updateAncestors(QStandardItem *item, Qt::CheckState state);
    // Gives every item with children the state "all children checked"; returns it.
    static bool syncWithChildren(QStandardItem *item);
    void collectChecked(const QModelIndex &proxyParent, QVariantList &values) const;

    QAbstractItemModel *m_model = nullptr;
    int m_column = -1;
    QStandardItemModel *m_valueModel = nullptr;
    RyFilterProxyModel *m_valueProxy = nullptr;
    QAction *m_sortAscending = nullptr;
    QAction *m_sortDescending = nullptr;
    QAction *m_clear = nullptr;
    QTabWidget *m_tabWidget = nullptr;
    QWidget *m_firstValueWidget = nullptr;
    QWidget *m_secondValueWidget = nullptr;
    QLineEdit *m_searchEdit = nullptr;
    QTreeView *m_valueView = nullptr;
    QDialogButtonBox *m_buttonBox = nullptr;
    bool m_accepted = false;
    bool m_cleared = false;
    bool m_rejected = false;
};
