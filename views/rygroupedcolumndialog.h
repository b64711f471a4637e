// The Columns dialog: chooses which columns of a header are shown and in which order. Hidden
// columns sit on the left in a tree grouped by their schema group, shown ones on the right in
// display order; every item carries the filter button of its column, so filters can be set from
// here. The header is not owned and is left alone: the caller applies chosenColumns().
#pragma once

#include <QDialog>
#include <QMap>
#include <QModelIndex>
#include <QPointer>
#include <QStringList>

class QAbstractItemView;
class QDialogButtonBox;
class QGridLayout;
class QHeaderView;
class QListView;
class QPushButton;
class QStandardItem;
class QStandardItemModel;
class QToolButton;
class QTreeView;
class QVBoxLayout;
class RySortFilterWidget;

// The widgets of the dialog, built in code under fixed object names.
struct RyGroupedColumnDialogForm
{
    QGridLayout *gridLayout = nullptr;
    QTreeView *lwAvaiable = nullptr;
    QVBoxLayout *verticalLayout_2 = nullptr;
    QVBoxLayout *verticalLayout = nullptr;
    QToolButton *tbRight = nullptr;
    QToolButton *tbLeft = nullptr;
    QToolButton *tbUp = nullptr;
    QToolButton *tbDown = nullptr;
    QListView *lwChosen = nullptr;
    QPushButton *btnClearAllFilters = nullptr;
    QDialogButtonBox *buttonBox = nullptr;

    void setupUi(QDialog *dialog);
};

class RyGroupedColumnDialog : public QDialog
{
    Q_OBJECT
public:
    // Roles of the column items in both models.
    enum ItemRole {
        VisualPositionRole = Qt::UserRole, // position in the header when the dialog was filled
        GroupRole = Qt::UserRole + 1, // schema group; group items have none
        ColumnRole = Qt::UserRole + 2, // logical column number
    };

    explicit RyGroupedColumnDialog(QHeaderView *header, QWidget *parent = nullptr);
    ~RyGroupedColumnDialog() override;

    const RyGroupedColumnDialogForm &form() const { return ui; }
    QStandardItemModel *availableModel() const { return m_available; }
    QStandardItemModel *chosenModel() const { return m_chosen; }

    // Installs the filter buttons; the widget is not owned.
    void setSortFilterWidget(RySortFilterWidget *widget);
    // Columns of a hidden group are not offered at all.
    void setGroupHidden(const QString &group, bool hide);
    void setExcludedColumns(const QStringList &texts);
    // Header texts of the chosen columns, in order.
    QStringList chosenColumns() const;
    // Logical numbers of the chosen columns, in order; unlike texts they are never ambiguous.
    QList<int> chosenSections() const;

signals:
    void popUp(const QRect &rect, int column, const QPoint &pos);

public slots:
    void onUpPressed();
    void onDownPressed();
    void onLeftPressed();
    void onRightPressed();
    void onDoubleClicked(const QModelIndex &index);
    void clearAllFilters();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void fill();
    QStandardItem *groupItem(const QString &group);
    void moveRight(const QList<QStandardItem *> &items);
    void moveLeft(const QList<QStandardItem *> &items);
    void moveChosen(int step);
    QList<QStandardItem *> selectedItems(QAbstractItemView *view) const;

    RyGroupedColumnDialogForm ui;
    QPointer<QHeaderView> m_header;
    QStandardItemModel *m_available = nullptr;
    QStandardItemModel *m_chosen = nullptr;
    QMap<QString, QStandardItem *> m_groups;
    QStringList m_excluded;
    QStringList m_hiddenGroups;
    QPointer<RySortFilterWidget> m_sortFilterWidget;
};
