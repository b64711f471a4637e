#include "views/rygroupedcolumndialog.h"

#include "filter/ryfilterdialogproxymodel.h"
#include "filter/rysortfilterwidget.h"
#include "models/ryconstants.h"
#include "views/rysortfilterdelegate.h"

#include <QDialogButtonBox>
#include <QEvent>
#include <QGridLayout>
#include <QHeaderView>
#include <QIcon>
#include <QListView>
#include <QMouseEvent>
#include <QPushButton>
#include <QSpacerItem>
#include <QStandardItemModel>
#include <QToolButton>
#include <QTreeView>
#include <QVBoxLayout>
#include <algorithm>

static_assert(RyGroupedColumnDialog::ColumnRole == RySortFilterDelegate::ColumnRole,
              "the delegate reads the column from the dialog's items");

namespace {

QToolButton *arrowButton(const char *name, const char *icon, QWidget *parent)
{
    auto *button = new QToolButton(parent);
    button->setObjectName(QLatin1String(name));
    button->setIcon(QIcon(QLatin1String(icon)));
    button->setIconSize(QSize(24, 24));
    return button;
}

// Rows from the root down to `index`, to order indexes as the tree shows them.
QList<int> rowPath(QModelIndex index)
{
    QList<int> path;
    for (; index.isValid(); index = index.parent())
        path.prepend(index.row());
    return path;
}

QList<QStandardItem *> takeItem(QStandardItem *item)
{
    QStandardItem *parent = item->parent() ? item->parent() : item->model()->invisibleRootItem();
    return parent->takeRow(item->row());
}

bool isColumnItem(const QStandardItem *item)
{
    return item->data(RyGroupedColumnDialog::ColumnRole).isValid();
}

} // namespace

void RyGroupedColumnDialogForm::setupUi(QDialog *dialog)
{
    dialog->setWindowTitle(QStringLiteral("Columns"));
    dialog->resize(600, 300);
    gridLayout = new QGridLayout(dialog);
    gridLayout->setObjectName(QStringLiteral("gridLayout"));

    lwAvaiable = new QTreeView(dialog);
    lwAvaiable->setObjectName(QStringLiteral("lwAvaiable"));
    lwAvaiable->setHeaderHidden(true);
    gridLayout->addWidget(lwAvaiable, 0, 0);

    verticalLayout_2 = new QVBoxLayout;
    verticalLayout_2->setObjectName(QStringLiteral("verticalLayout_2"));
    tbRight = arrowButton("tbRight", ":/images/button_rounded_blue_right_32.png", dialog);
    tbLeft = arrowButton("tbLeft", ":/images/button_rounded_blue_left_32.png", dialog);
    verticalLayout_2->addItem(
        new QSpacerItem(20, 40, QSizePolicy::Minimum, QSizePolicy::Expanding));
    verticalLayout_2->addWidget(tbRight);
    verticalLayout_2->addWidget(tbLeft);
    verticalLayout = new QVBoxLayout;
    verticalLayout->setObjectName(QStringLiteral("verticalLayout"));
    tbUp = arrowButton("tbUp", ":/images/button_rounded_blue_up_32.png", dialog);
    tbDown = arrowButton("tbDown", ":/images/button_rounded_blue_down_32.png", dialog);
    verticalLayout->addItem(new QSpacerItem(20, 20, QSizePolicy::Minimum, QSizePolicy::Fixed));
    verticalLayout->addWidget(tbUp);
    verticalLayout->addWidget(tbDown);
    verticalLayout_2->addLayout(verticalLayout);
    verticalLayout_2->addItem(
        new QSpacerItem(20, 40, QSizePolicy::Minimum, QSizePolicy::Expanding));
    gridLayout->addLayout(verticalLayout_2, 0, 1);

    lwChosen = new QListView(dialog);
    lwChosen->setObjectName(QStringLiteral("lwChosen"));
    gridLayout->addWidget(lwChosen, 0, 2);

    btnClearAllFilters = new QPushButton(QStringLiteral("Clear all filters"), dialog);
    btnClearAllFilters->setObjectName(QStringLiteral("btnClearAllFilters"));
    btnClearAllFilters->setAutoDefault(false);
    gridLayout->addWidget(btnClearAllFilters, 1, 0);

    buttonBox = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel,
                                     Qt::Horizontal, dialog);
    buttonBox->setObjectName(QStringLiteral("buttonBox"));
    gridLayout->addWidget(buttonBox, 1, 2);
}

RyGroupedColumnDialog::RyGroupedColumnDialog(QHeaderView *header, QWidget *parent)
    : QDialog(parent)
    , m_header(header)
    , m_available(new QStandardItemModel(this))
    , m_chosen(new QStandardItemModel(this))
{
    ui.setupUi(this);
    ui.lwAvaiable->setModel(m_available);
    ui.lwChosen->setModel(m_chosen);
    for (QAbstractItemView *view : { static_cast<QAbstractItemView *>(ui.lwAvaiable),
                                     static_cast<QAbstractItemView *>(ui.lwChosen) }) {
        view->setSelectionMode(QAbstractItemView::ExtendedSelection);
        view->setEditTriggers(QAbstractItemView::NoEditTriggers);
        // Mouse moves without a button pressed drive the buttons' hover look.
        view->setMouseTracking(true);
        view->viewport()->installEventFilter(this);
        connect(view, &QAbstractItemView::doubleClicked, this,
                &RyGroupedColumnDialog::onDoubleClicked);
    }
    connect(ui.buttonBox, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(ui.buttonBox, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(ui.tbUp, &QToolButton::clicked, this, &RyGroupedColumnDialog::onUpPressed);
    connect(ui.tbDown, &QToolButton::clicked, this, &RyGroupedColumnDialog::onDownPressed);
    connect(ui.tbLeft, &QToolButton::clicked, this, &RyGroupedColumnDialog::onLeftPressed);
    connect(ui.tbRight, &QToolButton::clicked, this, &RyGroupedColumnDialog::onRightPressed);
    fill();
}

RyGroupedColumnDialog::~RyGroupedColumnDialog() = default;

void RyGroupedColumnDialog::fill()
{
    m_available->clear();
    m_chosen->clear();
    m_groups.clear();
    m_groups.insert(QString(), m_available->invisibleRootItem());
    if (!m_header || !m_header->model())
        return;
    const QAbstractItemModel *model = m_header->model();
    const Qt::Orientation orientation = m_header->orientation();
    for (int position = 0; position < m_header->count(); ++position) {
        const int logical = m_header->logicalIndex(position);
        const QString text = model->headerData(logical, orientation).toString();
        const QString group
            = model->headerData(logical, orientation, Ry::ColumnGroupRole).toString();
        if (m_excluded.contains(text) || m_hiddenGroups.contains(group))
            continue;
        // A column under an alias is listed with its own name too.
        const QString choice
            = model->headerData(logical, orientation, Ry::ColumnChoiceTextRole).toString();
        auto *item = new QStandardItem(choice.isEmpty() ? text : choice);
        item->setEditable(false);
        item->setData(position, VisualPositionRole);
        item->setData(group, GroupRole);
        item->setData(logical, ColumnRole);
        if (!m_header->isSectionHidden(logical)) {
            m_chosen->appendRow(item);
            continue;
        }
        QStandardItem *parent = m_groups.value(group);
        if (!parent) {
            parent = new QStandardItem(group);
            parent->setEditable(false);
            m_groups.insert(group, parent);
        }
        parent->appendRow(item);
    }
    // QMap keeps the names in ascending order.
    for (auto it = m_groups.cbegin(); it != m_groups.cend(); ++it) {
        if (!it.key().isEmpty())
            m_available->appendRow(it.value());
    }
}

QStandardItem *RyGroupedColumnDialog::groupItem(const QString &group)
{
    if (QStandardItem *item = m_groups.value(group))
        return item;
    auto *item = new QStandardItem(group);
    item->setEditable(false);
    m_groups.insert(group, item);
    // Keep the group items in name order, as filling left them.
    QStandardItem *root = m_available->invisibleRootItem();
    int row = 0;
    while (row < root->rowCount()
           && (isColumnItem(root->child(row)) || root->child(row)->text() < group))
        ++row;
    root->insertRow(row, item);
    return item;
}

QList<QStandardItem *> RyGroupedColumnDialog::selectedItems(QAbstractItemView *view) const
{
    QModelIndexList indexes = view->selectionModel()->selectedIndexes();
    std::sort(indexes.begin(), indexes.end(),
              [](const QModelIndex &a, const QModelIndex &b) { return rowPath(a) < rowPath(b); });
    const auto *model = static_cast<QStandardItemModel *>(view->model());
    QList<QStandardItem *> items;
    for (const QModelIndex &index : indexes)
        items << model->itemFromIndex(index);
    return items;
}

void RyGroupedColumnDialog::moveRight(const QList<QStandardItem *> &items)
{
    QList<QStandardItem *> columns;
    for (QStandardItem *item : items) {
        if (isColumnItem(item)) {
            columns << item;
            continue;
        }
        for (int row = 0; row < item->rowCount(); ++row)
            columns << item->child(row);
    }
    for (QStandardItem *column : columns) {
        // A column selected together with its group has gone across already.
        if (column->model() == m_available)
            m_chosen->appendRow(takeItem(column));
    }
}

void RyGroupedColumnDialog::moveLeft(const QList<QStandardItem *> &items)
{
    for (QStandardItem *item : items) {
        if (item->model() != m_chosen)
            continue;
        QStandardItem *group = groupItem(item->data(GroupRole).toString());
        const int position = item->data(VisualPositionRole).toInt();
        int row = 0;
        while (row < group->rowCount() && isColumnItem(group->child(row))
               && group->child(row)->data(VisualPositionRole).toInt() < position)
            ++row;
        group->insertRow(row, takeItem(item));
    }
}

void RyGroupedColumnDialog::onRightPressed()
{
    const QModelIndex current = ui.lwAvaiable->currentIndex();
    const int row = current.row();
    const QPersistentModelIndex parent = current.parent();
    moveRight(selectedItems(ui.lwAvaiable));
    if (row < 0)
        return;
    const int rows = m_available->rowCount(parent);
    if (rows > 0)
        ui.lwAvaiable->setCurrentIndex(m_available->index(qMin(row, rows - 1), 0, parent));
}

void RyGroupedColumnDialog::onLeftPressed()
{
    moveLeft(selectedItems(ui.lwChosen));
}

void RyGroupedColumnDialog::moveChosen(int step)
{
    const int row = ui.lwChosen->currentIndex().row();
    const int target = row + step;
    if (row < 0 || target < 0 || target >= m_chosen->rowCount())
        return;
    // The whole row moves, so the item keeps its column and group.
    m_chosen->insertRow(target, m_chosen->takeRow(row));
    ui.lwChosen->setCurrentIndex(m_chosen->index(target, 0));
}

void RyGroupedColumnDialog::onUpPressed()
{
    moveChosen(-1);
}

void RyGroupedColumnDialog::onDownPressed()
{
    moveChosen(1);
}

void RyGroupedColumnDialog::onDoubleClicked(const QModelIndex &index)
{
    if (!index.isValid())
        return;
    if (index.model() == m_available)
        moveRight({ m_available->itemFromIndex(index) });
    else if (index.model() == m_chosen)
        moveLeft({ m_chosen->itemFromIndex(index) });
}

void RyGroupedColumnDialog::clearAllFilters() { }

void RyGroupedColumnDialog::setSortFilterWidget(RySortFilterWidget *widget)
{
    if (m_sortFilterWidget)
        disconnect(m_sortFilterWidget, nullptr, this, nullptr);
    m_sortFilterWidget = widget;
    if (!widget)
        return;
    ui.lwAvaiable->setItemDelegateForColumn(0, new RySortFilterDelegate(widget, this));
    ui.lwChosen->setItemDelegateForColumn(0, new RySortFilterDelegate(widget, this));
    connect(ui.btnClearAllFilters, &QPushButton::clicked, widget,
            &RySortFilterWidget::clearAllFilters);
    connect(widget, &RySortFilterWidget::filtered, this, [this] {
        ui.lwAvaiable->viewport()->update();
        ui.lwChosen->viewport()->update();
    });
}

void RyGroupedColumnDialog::setGroupHidden(const QString &group, bool hide)
{
    m_hiddenGroups.removeAll(group);
    if (hide)
        m_hiddenGroups.append(group);
    fill();
}

void RyGroupedColumnDialog::setExcludedColumns(const QStringList &texts)
{
    m_excluded = texts;
    fill();
}

QStringList RyGroupedColumnDialog::chosenColumns() const
{
    QStringList texts;
    // Header texts, not the items' texts: a column under an alias is listed with its name.
    const QAbstractItemModel *model = m_header ? m_header->model() : nullptr;
    for (int row = 0; row < m_chosen->rowCount(); ++row) {
        const QStandardItem *item = m_chosen->item(row);
        texts << (model ? model->headerData(item->data(ColumnRole).toInt(), m_header->orientation())
                              .toString()
                        : item->text());
    }
    return texts;
}

QList<int> RyGroupedColumnDialog::chosenSections() const
{
    QList<int> sections;
    for (int row = 0; row < m_chosen->rowCount(); ++row)
        sections << m_chosen->item(row)->data(ColumnRole).toInt();
    return sections;
}

bool RyGroupedColumnDialog::eventFilter(QObject *watched, QEvent *event)
{
    QAbstractItemView *view = nullptr;
    if (watched == ui.lwAvaiable->viewport())
        view = ui.lwAvaiable;
    else if (watched == ui.lwChosen->viewport())
        view = ui.lwChosen;
    if (!view)
        return QDialog::eventFilter(watched, event);
    if (event->type() == QEvent::MouseMove) {
        view->viewport()->update();
    } else if (event->type() == QEvent::MouseButtonPress) {
        const QPoint pos = static_cast<QMouseEvent *>(event)->pos();
        const QModelIndex index = view->indexAt(pos);
        const QVariant column = index.data(ColumnRole);
        if (column.isValid())
            emit popUp(view->visualRect(index), column.toInt(), pos);
    }
    return QDialog::eventFilter(watched, event);
}
