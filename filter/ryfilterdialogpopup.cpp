#include "filter/ryfilterdialogpopup.h"

#include "filter/rydatefilter.h"
#include "filter/rydoublefilter.h"
#include "filter/ryexpression.h"
#include "filter/ryfilterdialogproxymodel.h"
#include "filter/ryfilterproxymodel.h"
#include "filter/ryintegerfilter.h"
#include "filter/rytextfilter.h"
#include "models/ryconstants.h"
#include "tables/ryindex.h"

#include <QAbstractItemModel>
#include <QButtonGroup>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMetaProperty>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QStandardItemModel>
#include <QTabWidget>
#include <QTreeView>
#include <QVBoxLayout>
#include <QWidgetAction>

#include <functional>

RyFilterDialogPopUp *RyFilterDialogPopUp::create(QAbstractItemModel *model, int column,
                                                 QWidget *parent)
{
    const QString datatype = columnDatatype(model, column);
    RyFilterDialogPopUp *popUp = nullptr;
    if (datatype == QLatin1String("datetime"))
        popUp = new RyDateFilter(model, column, parent);
    else if (datatype == QLatin1String("double"))
        popUp = new RyDoubleFilter(model, column, parent);
    else if (datatype == QLatin1String("integer"))
        popUp = new RyIntegerFilter(model, column, parent);
    else
        popUp = new RyTextFilter(model, column, parent);
    return popUp;
}

QString RyFilterDialogPopUp::columnDatatype(const QAbstractItemModel *model, int column)
{
    if (!model)
        return QString();
    return model->headerData(column, Qt::Horizontal, Ry::ColumnDescriptionRole)
        .toMap()
        .value(QStringLiteral("datatype"))
        .toString();
}

RyFilterDialogPopUp::RyFilterDialogPopUp(QAbstractItemModel *model, int column, QWidget *parent)
    : QMenu(parent)
    , m_model(model)
    , m_column(column)
    , m_valueModel(new QStandardItemModel(this))
    , m_valueProxy(new RyFilterProxyModel(this))
{
    m_valueProxy->setSourceModel(m_valueModel);
    m_valueProxy->setFilterKeyColumn(0);
    // A search for "2021" or "March" must reach the dates below the year and month items.
    m_valueProxy->setRecursiveFilteringEnabled(true);
    // The check states do not take part in the search: no need to refilter on every click.
    m_valueProxy->setDynamicSortFilter(false);
    buildMenu();
}

RyFilterDialogPopUp::~RyFilterDialogPopUp() = default;

void RyFilterDialogPopUp::buildMenu()
{
    m_sortAscending
        = addAction(QIcon(QStringLiteral(":/images/sort_az_32.png")), tr("Sort A to Z"));
    m_sortAscending->setCheckable(true);
    m_sortDescending
        = addAction(QIcon(QStringLiteral(":/images/sort_za_32.png")), tr("Sort Z to A"));
    m_sortDescending->setCheckable(true);
    addSeparator();
    m_clear = addAction(QIcon(QStringLiteral(":/images/filter-delete_32.png")), tr("Clear"));
    connect(m_clear, &QAction::triggered, this, &RyFilterDialogPopUp::onClearFilter);
    addSeparator();

    m_tabWidget = new QTabWidget;
    m_tabWidget->setStyleSheet(
        QStringLiteral("QTabWidget::tab-bar { alignment: center; } QTabWidget::pane { "
                       "position: absolute; top: -0.5em; }"));
    auto *listPage = new QWidget;
    auto *listLayout = new QVBoxLayout(listPage);
    m_searchEdit = new QLineEdit;
    m_searchEdit->setClearButtonEnabled(true);
    connect(m_searchEdit, &QLineEdit::textChanged, this, &RyFilterDialogPopUp::filterRegExpChanged);
    m_valueView = new QTreeView;
    m_valueView->setHeaderHidden(true);
    m_valueView->setUniformRowHeights(true);
    m_valueView->setModel(m_valueProxy);
    connect(m_valueView, &QTreeView::clicked, this, &RyFilterDialogPopUp::onItemClicked);
    listLayout->addWidget(m_searchEdit);
    listLayout->addWidget(m_valueView);
    m_tabWidget->addTab(listPage, tr("List"));
    auto *tabAction = new QWidgetAction(this);
    tabAction->setDefaultWidget(m_tabWidget);
    addAction(tabAction);

    m_buttonBox = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(m_buttonBox, &QDialogButtonBox::accepted, this, &RyFilterDialogPopUp::onAccepted);
    connect(m_buttonBox, &QDialogButtonBox::rejected, this, &RyFilterDialogPopUp::onRejected);
    auto *buttonAction = new QWidgetAction(this);
    buttonAction->setDefaultWidget(m_buttonBox);
    addAction(buttonAction);

    auto *selectAll = new QStandardItem(selectAllText());
    selectAll->setCheckable(true);
    selectAll->setCheckState(Qt::Checked);
    selectAll->setEditable(false);
    m_valueModel->appendRow(selectAll);

    m_searchEdit->setFocus();
}

void RyFilterDialogPopUp::populate()
{
    // Filled while detached: tens of thousands of single-row insertions would otherwise each
    // go through the search proxy and the view.
    m_valueView->setModel(nullptr);
    m_valueProxy->setSourceModel(nullptr);
    fillValues();
    if (columnHasBlanks()) {
        removeBlankValues();
        appendBlanksItem();
    }
    // The value delegate shows each value as the table does, which depends on the column.
    m_valueModel->setHeaderData(
        0, Qt::Horizontal,
        m_model ? m_model->headerData(m_column, Qt::Horizontal, Ry::ColumnDescriptionRole)
                : QVariant(),
        Ry::ColumnDescriptionRole);
    m_valueProxy->setSourceModel(m_valueModel);
    m_valueView->setModel(m_valueProxy);
}

bool RyFilterDialogPopUp::columnHasBlanks() const
{
    if (!m_model || m_column < 0 || m_column >= m_model->columnCount())
        return false;
    const int rows = m_model->rowCount();
    for (int row = 0; row < rows; ++row) {
        if (RyFilterDialogProxyModel::isBlank(m_model->index(row, m_column).data(Qt::DisplayRole)))
            return true;
    }
    return false;
}

// Empty texts and null values are listed once, as "(Blanks)", not as items without text.
void RyFilterDialogPopUp::removeBlankValues()
{
    QStandardItem *root = m_valueModel->invisibleRootItem();
    for (int row = root->rowCount() - 1; row >= 1; --row) {
        const QStandardItem *item = root->child(row);
        if (!item->hasChildren() && RyFilterDialogProxyModel::isBlank(item->data(Qt::UserRole)))
            root->removeRow(row);
    }
}

void RyFilterDialogPopUp::appendBlanksItem()
{
    auto *blanks = new QStandardItem(blanksText());
    blanks->setData(true, BlanksRole);
    blanks->setCheckable(true);
    blanks->setCheckState(Qt::Checked);
    blanks->setEditable(false);
    m_valueModel->appendRow(blanks);
}

void RyFilterDialogPopUp::fillValues()
{
    RyIndex index(m_model, m_column);
    index.index(Qt::DisplayRole);
    index.fillItemModel(m_valueModel, false);
}

void RyFilterDialogPopUp::addExpressionTab(const QString &datatype, QWidget *firstValueWidget,
                                           QWidget *secondValueWidget)
{
    auto *page = new QWidget;
    auto *grid = new QGridLayout(page);
    m_firstOperator = new QComboBox;
    m_firstOperator->addItems(RyExpression::operatorTexts(datatype));
    m_secondOperator = new QComboBox;
    m_secondOperator->addItem(QString());
    m_secondOperator->addItems(RyExpression::operatorTexts(datatype));
    m_and = new QRadioButton(tr("&AND"));
    m_and->setChecked(true);
    m_or = new QRadioButton(tr("&OR"));
    auto *links = new QButtonGroup(page);
    links->addButton(m_and);
    links->addButton(m_or);

    grid->addWidget(m_firstOperator, 0, 0);
    grid->addWidget(firstValueWidget, 0, 1);
    grid->addWidget(m_and, 1, 0);
    grid->addWidget(m_or, 1, 1);
    grid->addWidget(m_secondOperator, 2, 0);
    grid->addWidget(secondValueWidget, 2, 1);
    grid->setRowStretch(3, 1);
    m_tabWidget->addTab(page, tr("Expression"));
    m_firstValueWidget = firstValueWidget;
    m_secondValueWidget = secondValueWidget;
}

namespace {

QVariant userValue(const QWidget *widget)
{
    return widget ? widget->metaObject()->userProperty().read(widget) : QVariant();
}

void setUserValue(QWidget *widget, const QVariant &value)
{
    if (widget && value.isValid())
        widget->metaObject()->userProperty().write(widget, value);
}

} // namespace

void RyFilterDialogPopUp::setExpression(const QString &firstOperator, const QVariant &firstValue,
                                        const QString &secondOperator, const QVariant &secondValue,
                                        bool isAnd)
{
    setUserValue(m_firstValueWidget, operand(firstValue));
    setUserValue(m_secondValueWidget, operand(secondValue));
    setExpressionOperators(firstOperator, secondOperator, isAnd);
}

QVariant RyFilterDialogPopUp::firstValue() const
{
    return userValue(m_firstValueWidget);
}

QVariant RyFilterDialogPopUp::secondValue() const
{
    return userValue(m_secondValueWidget);
}

void RyFilterDialogPopUp::setExpressionOperators(const QString &firstOperator,
                                                 const QString &secondOperator, bool isAnd)
{
    if (!m_firstOperator)
        return;
    m_firstOperator->setCurrentIndex(m_firstOperator->findText(displayOperator(firstOperator)));
    const int second = secondOperator.isEmpty()
        ? 0
        : m_secondOperator->findText(displayOperator(secondOperator));
    m_secondOperator->setCurrentIndex(qMax(0, second));
    (isAnd ? m_and : m_or)->setChecked(true);
    m_tabWidget->setCurrentIndex(1);
}

void RyFilterDialogPopUp::setValueDelegate(QAbstractItemDelegate *delegate)
{
    if (delegate)
        m_valueView->setItemDelegate(delegate);
}

QString RyFilterDialogPopUp::firstOperator() const
{
    return m_firstOperator ? m_firstOperator->currentText() : QString();
}

QString RyFilterDialogPopUp::secondOperator() const
{
    return m_secondOperator ? m_secondOperator->currentText() : QString();
}

QString RyFilterDialogPopUp::displayOperator(const QString &op) const
{
    return RyExpression::displayOperator(op, QStringLiteral("double"));
}

bool RyFilterDialogPopUp::isAnd() const
{
    return m_and && m_and->isChecked();
}

QStandardItem *RyFilterDialogPopUp::selectAllItem() const
{
    return m_valueModel->item(0);
}

namespace {

// Visits every item below `parent` in depth-first pre-order, the order of a recursive match.
void forEachItem(QStandardItem *parent, int firstRow,
                 const std::function<void(QStandardItem *)> &visit)
{
    for (int row = firstRow; row < parent->rowCount(); ++row) {
        QStandardItem *item = parent->child(row);
        visit(item);
        if (item->hasChildren())
            forEachItem(item, 0, visit);
    }
}

} // namespace

void RyFilterDialogPopUp::showValueFilter(const QVariantList &values)
{
    // One pass builds a text -> first item table, so that restoring a long list stays linear.
    QHash<QString, QStandardItem *> firstItem;
    QStandardItem *blanks = nullptr;
    QStandardItem *root = m_valueModel->invisibleRootItem();
    {
        const QSignalBlocker blocker(m_valueModel);
        selectAllItem()->setCheckState(Qt::Unchecked);
        forEachItem(root, 1, [&firstItem, &blanks](QStandardItem *item) {
            item->setCheckState(Qt::Unchecked);
            // Not found by text: a cell reading "(Blanks)" is a value like any other.
            if (item->data(BlanksRole).toBool()) {
                blanks = item;
                return;
            }
            const QString text = item->data(Qt::DisplayRole).toString();
            if (!firstItem.contains(text))
                firstItem.insert(text, item);
            // A merged date leaf also answers to each cell value it stands for.
            for (const QVariant &value : item->data(CellValuesRole).toList()) {
                if (!firstItem.contains(value.toString()))
                    firstItem.insert(value.toString(), item);
            }
        });
        for (const QVariant &value : values) {
            QStandardItem *item = value.isNull() ? blanks : firstItem.value(value.toString());
            if (item)
                item->setCheckState(Qt::Checked);
        }
        // Year and month texts are ambiguous (every year has a "March"): the day items decide
        // what their month and year show, as a click on them would have.
        for (int row = 1; row < root->rowCount(); ++row)
            syncWithChildren(root->child(row));
    }
    // A list naming every value shows as "(Select All)" checked.
    updateAllChecked();
    m_valueView->viewport()->update();
}

bool RyFilterDialogPopUp::syncWithChildren(QStandardItem *item)
{
    if (!item->hasChildren())
        return item->checkState() == Qt::Checked;
    bool all = true;
    for (int row = 0; row < item->rowCount(); ++row)
        all = syncWithChildren(item->child(row)) && all;
    item->setCheckState(all ? Qt::Checked : Qt::Unchecked);
    return all;
}

void RyFilterDialogPopUp::collectChecked(const QModelIndex &proxyParent, QVariantList &values) const
{
    const int rows = m_valueProxy->rowCount(proxyParent);
    for (int row = 0; row < rows; ++row) {
        const QModelIndex proxyIndex = m_valueProxy->index(row, 0, proxyParent);
        const QStandardItem *item
            = m_valueModel->itemFromIndex(m_valueProxy->mapToSource(proxyIndex));
        if (item == selectAllItem())
            continue;
        if (item->checkState() == Qt::Checked) {
            const QVariantList cells = item->data(CellValuesRole).toList();
            if (item->data(BlanksRole).toBool())
                values.append(QVariant());
            else if (cells.isEmpty())
                values.append(item->data(Qt::DisplayRole));
            else
                values.append(cells);
        }
        collectChecked(proxyIndex, values);
    }
}

QVariantList RyFilterDialogPopUp::checkedValues() const
{
    QVariantList values;
    collectChecked(QModelIndex(), values);
    return values;
}

namespace {

int countRows(const QAbstractItemModel *model, const QModelIndex &parent)
{
    const int rows = model->rowCount(parent);
    int count = rows;
    for (int row = 0; row < rows; ++row)
        count += countRows(model, model->index(row, 0, parent));
    return count;
}

} // namespace

bool RyFilterDialogPopUp::isNarrowed() const
{
    if (m_searchEdit->text().isEmpty())
        return false;
    return countRows(m_valueProxy, QModelIndex()) < countRows(m_valueModel, QModelIndex());
}

bool RyFilterDialogPopUp::showsAllValues() const
{
    return !isNarrowed() && selectAllItem()->checkState() == Qt::Checked;
}

bool RyFilterDialogPopUp::isListTabCurrent() const
{
    return m_tabWidget->currentIndex() == 0;
}

void RyFilterDialogPopUp::onClearFilter()
{
    m_cleared = true;
}

void RyFilterDialogPopUp::setSubtreeState(QStandardItem *item, Qt::CheckState state)
{
    for (int row = 0; row < item->rowCount(); ++row) {
        QStandardItem *child = item->child(row);
        child->setCheckState(state);
        setSubtreeState(child, state);
    }
}

void RyFilterDialogPopUp::updateAncestors(QStandardItem *item, Qt::CheckState state)
{
    bool mixed = false;
    for (QStandardItem *parent = item->parent(); parent; parent = parent->parent()) {
        for (int row = 0; row < parent->rowCount() && !mixed; ++row)
            mixed = parent->child(row)->checkState() != state;
        parent->setCheckState(mixed ? Qt::Unchecked : state);
    }
}

void RyFilterDialogPopUp::onItemClicked(const QModelIndex &index)
{
    QStandardItem *item = m_valueModel->itemFromIndex(m_valueProxy->mapToSource(index));
    if (!item)
        return;
    const Qt::CheckState state = item->checkState();
    {
        // Thousands of single-cell notifications would make a click on "(Select All)" slow;
        // the view is repainted once instead.
        const QSignalBlocker blocker(m_valueModel);
        if (item == selectAllItem()) {
            QStandardItem *root = m_valueModel->invisibleRootItem();
            for (int row = 1; row < root->rowCount(); ++row) {
                root->child(row)->setCheckState(state);
                setSubtreeState(root->child(row), state);
            }
        } else {
            setSubtreeState(item, state);
            updateAncestors(item, state);
        }
    }
    updateAllChecked();
    m_valueView->viewport()->update();
}

void RyFilterDialogPopUp::updateAllChecked()
{
    QStandardItem *root = m_valueModel->invisibleRootItem();
    bool all = true;
    for (int row = 1; row < root->rowCount() && all; ++row)
        all = root->child(row)->checkState() == Qt::Checked;
    selectAllItem()->setCheckState(all ? Qt::Checked : Qt::Unchecked);
}

void RyFilterDialogPopUp::filterRegExpChanged()
{
    m_valueProxy->setFilterCaseSensitivity(Qt::CaseInsensitive);
    m_valueProxy->setFilterWildcard(m_searchEdit->text());
}

void RyFilterDialogPopUp::onAccepted()
{
    m_accepted = true;
    close();
}

void RyFilterDialogPopUp::onRejected()
{
    m_rejected = true;
    close();
}

void RyFilterDialogPopUp::keyPressEvent(QKeyEvent *event)
{
    QMenu::keyPressEvent(event);
}
