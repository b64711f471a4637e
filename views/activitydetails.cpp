#include "views/activitydetails.h"

#include "models/maphdrmodel.h"
#include "models/ryconstants.h"
#include "models/rymodellookup.h"
#include "tables/rycomparemodel.h"
#include "tables/rylinkchangemodel.h"
#include "views/activities.h"
#include "views/rydetaildelegate.h"
#include "views/rygroupedtreeview.h"
#include "views/ryheaderstate.h"

#include <QDataWidgetMapper>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScrollArea>
#include <QScrollBar>
#include <QSplitter>
#include <QStandardItemModel>
#include <QTabWidget>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

QLineEdit *readOnlyLineEdit(const char *name, QWidget *parent)
{
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(QLatin1String(name));
    edit->setReadOnly(true);
    return edit;
}

QTableView *tableView(const char *name, QWidget *parent)
{
    auto *view = new QTableView(parent);
    view->setObjectName(QLatin1String(name));
    return view;
}

// Task ids must match whole: a contains-match would show the relations of task 12 for task 1.
void setExactFilter(RyKeyFilterProxyModel *proxy, const QString &key)
{
    if (proxy)
        proxy->setKey(key);
}

// The predecessor model's columns each relationship table leaves out: the keys and the ends'
// code and name columns of the current activity.
const QList<int> PredecessorHidden = { 0, 1, 2, 5, 6 };
const QList<int> SuccessorHidden = { 0, 1, 2, 7, 8 };

void setUpRelationTable(QTableView *view, QAbstractItemModel *model, const QList<int> &hidden,
                        const QString &icon)
{
    view->setModel(model);
    for (int column : hidden)
        view->hideColumn(column);
    view->setColumnWidth(3, 50);
    view->setColumnWidth(4, 50);
    view->horizontalHeader()->setStretchLastSection(true);
    RyHeaderState::setFixedSectionSize(view->verticalHeader(), Ry::RowHeight);
    view->setItemDelegate(new RyDetailDelegate(QPixmap(icon), 3, view));
}

} // namespace

ActivityDetails::ActivityDetails(Activities *activities, QWidget *parent)
    : QWidget(parent)
    , m_activities(activities)
{
    buildForm();
    m_mapper = new QDataWidgetMapper(this);
    m_emptyModel = new QStandardItemModel(this);
    // The form only shows; a focus change must never write an edit back into the project.
    m_mapper->setSubmitPolicy(QDataWidgetMapper::ManualSubmit);
    connect(m_mapper, &QDataWidgetMapper::currentIndexChanged, this,
            &ActivityDetails::updateButtons);
    connect(m_tblvwPred, &QTableView::activated, this, &ActivityDetails::gotoPredecessor);
    connect(m_tblvwSucc, &QTableView::activated, this, &ActivityDetails::gotoSuccessor);
    // The arrows step through the activities the table shows; the details follow the table.
    connect(m_tbPrevious, &QToolButton::clicked, this, &ActivityDetails::previousActivity);
    connect(m_tbNext, &QToolButton::clicked, this, &ActivityDetails::nextActivity);
    if (m_activities) {
        // Expanding or collapsing changes which activities the arrows can reach.
        connect(m_activities->treeView(), &QTreeView::expanded, this, [this] { updateButtons(); });
        connect(m_activities->treeView(), &QTreeView::collapsed, this, [this] { updateButtons(); });
    }
    m_tabWidget->removeTab(m_tabWidget->indexOf(m_tabWidget->findChild<QWidget *>("tab_4")));
    updateButtons();
}

ActivityDetails::~ActivityDetails() = default;

void ActivityDetails::buildForm()
{
    setWindowTitle(QStringLiteral("Form"));
    resize(632, 375);
    auto *grid = new QGridLayout(this);
    m_tabWidget = new QTabWidget(this);
    m_tabWidget->setObjectName(QStringLiteral("tabWidget"));
    grid->addWidget(m_tabWidget, 0, 0);

    m_tabWidget->addTab(buildGeneralTab(), QStringLiteral("General"));

    auto *relationships = new QWidget(m_tabWidget);
    relationships->setObjectName(QStringLiteral("tab_2"));
    auto *relationshipsLayout = new QGridLayout(relationships);
    auto *splitter = new QSplitter(relationships);
    m_tblvwPred = tableView("tblvwPred", splitter);
    m_tblvwSucc = tableView("tblvwSucc", splitter);
    splitter->addWidget(m_tblvwPred);
    splitter->addWidget(m_tblvwSucc);
    relationshipsLayout->addWidget(splitter, 0, 0);
    m_tabWidget->addTab(relationships, QStringLiteral("Relationships"));

    auto *resources = new QWidget(m_tabWidget);
    resources->setObjectName(QStringLiteral("tab_3"));
    auto *resourcesLayout = new QGridLayout(resources);
    m_tblResources = tableView("tblResources", resources);
    resourcesLayout->addWidget(m_tblResources, 0, 0);
    m_tabWidget->addTab(resources, QStringLiteral("Resources"));

    auto *codes = new QWidget(m_tabWidget);
    codes->setObjectName(QStringLiteral("tab_4"));
    auto *codesLayout = new QGridLayout(codes);
    m_tblvwCodes = tableView("tblvwCodes", codes);
    codesLayout->addWidget(m_tblvwCodes, 0, 0);
    m_tabWidget->addTab(codes, QStringLiteral("Codes"));

    m_teNotes = new QPlainTextEdit(m_tabWidget);
    m_teNotes->setObjectName(QStringLiteral("teNotes"));
    m_teNotes->setReadOnly(true);
    m_teNotes->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    m_tabWidget->addTab(m_teNotes, QStringLiteral("Notes"));
}

QWidget *ActivityDetails::buildGeneralTab()
{
    auto *scroll = new QScrollArea(m_tabWidget);
    scroll->setObjectName(QStringLiteral("tab"));
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    auto *general = new QWidget(scroll);
    auto *layout = new QVBoxLayout(general);
    auto *nameForm = new QFormLayout;
    m_leName = readOnlyLineEdit("leName", general);
    m_tbPrevious = new QToolButton(general);
    m_tbPrevious->setObjectName(QStringLiteral("tbPrevious"));
    m_tbPrevious->setIcon(QIcon(QStringLiteral(":/images/button_rounded_blue_left_32.png")));
    m_tbNext = new QToolButton(general);
    m_tbNext->setObjectName(QStringLiteral("tbNext"));
    m_tbNext->setIcon(QIcon(QStringLiteral(":/images/button_rounded_blue_right_32.png")));
    auto *nameRow = new QHBoxLayout;
    nameRow->addWidget(m_leName);
    nameRow->addWidget(m_tbPrevious);
    nameRow->addWidget(m_tbNext);
    nameForm->addRow(QStringLiteral("Name:"), nameRow);
    layout->addLayout(nameForm);

    // Two columns of fields, each filled by the mapper from its activity column.
    const struct
    {
        const char *objectName;
        const char *label;
        const char *column;
        bool right;
    } fields[] = {
        { "leStart", "Start:", "Start Date", false },
        { "leFinish", "Finish:", "Finish Date", false },
        { "leTaskType", "Task type:", "Activity Type", false },
        { "leDuration", "Duration:", "Planned Duration", false },
        { "leRemainingDuration", "Remaining duration:", "Remaining Duration", false },
        { "lePercentComplete", "Percent complete:", "Progress", false },
        { "leTotalFloat", "Total float:", "Total float", false },
        { "leFreeFloat", "Free float:", "Free float", false },
        { "leConstraintType", "Constraint type:", "Activity constraint type", true },
        { "leConstraintDate", "Constraint date:", "Activity Constraint Date", true },
        { "leCalendar", "Calendar:", "Calendar", true },
        { "leWbsCode", "WBS code:", "WBS Code", true },
        { "leWbsName", "WBS name:", "WBS Name", true },
        { "leBaselineStart", "Baseline start:", "BL Project Start", true },
        { "leBaselineFinish", "Baseline finish:", "BL Project Finish", true },
    };
    auto *columns = new QHBoxLayout;
    auto *left = new QFormLayout;
    auto *right = new QFormLayout;
    columns->addLayout(left);
    columns->addLayout(right);
    layout->addLayout(columns);
    layout->addStretch();
    for (const auto &field : fields) {
        QLineEdit *edit = readOnlyLineEdit(field.objectName, general);
        (field.right ? right : left)->addRow(QLatin1String(field.label), edit);
        m_fields.append({ edit, QLatin1String(field.column) });
    }
    scroll->setWidget(general);
    return scroll;
}

void ActivityDetails::setActivityModel(QAbstractItemModel *model)
{
    m_activityModel = model;
    m_rowOfKey.clear();
    wireRelationships();
}

void ActivityDetails::setPredecessorModel(QAbstractItemModel *model)
{
    m_predecessorModel = model;
    wireRelationships();
}

void ActivityDetails::wireRelationships()
{
    if (!m_activityModel || !m_predecessorModel)
        return;
    delete m_predecessorFilter;
    // Every filter starts empty, before its table sees it: nothing is current yet, and a table
    // shown every relationship of the project first would lay out tens of thousands of rows.
    m_predecessorFilter = new MapHdrModel(this);
    m_predecessorFilter->showNoRows();
    m_predecessorFilter->setSourceModel(m_predecessorModel);
    m_predecessorFilter->setHeaderMapping(QStringLiteral("Activity Name"),
                                          QStringLiteral("Predecessor Name"));
    m_predecessorFilter->setFilterKeyColumn(0);
    setUpRelationTable(m_tblvwPred, m_predecessorFilter, PredecessorHidden,
                       QStringLiteral(":/images/task_position_predecessors.png"));

    delete m_successorFilter;
    m_successorFilter = new MapHdrModel(this);
    m_successorFilter->showNoRows();
    m_successorFilter->setSourceModel(m_predecessorModel);
    m_successorFilter->setHeaderMapping(QStringLiteral("Activity Name"),
                                        QStringLiteral("Successor Name"));
    m_successorFilter->setFilterKeyColumn(1);
    setUpRelationTable(m_tblvwSucc, m_successorFilter, SuccessorHidden,
                       QStringLiteral(":/images/task_position_successors.png"));

    m_mapper->setModel(m_activityModel);
    m_mapper->clearMapping();
    QVector<QPair<QLineEdit *, QString>> mappings = m_fields;
    mappings.prepend({ m_leName, QStringLiteral("Activity Name") });
    for (const auto &mapping : qAsConst(mappings)) {
        const int column = RyModelLookup::findColumn(m_activityModel, mapping.second);
        if (column >= 0)
            m_mapper->addMapping(mapping.first, column);
    }
    QAbstractItemDelegate *previousDelegate = m_mapper->itemDelegate();
    m_mapper->setItemDelegate(new RyDetailDelegate(QPixmap(), -1, m_mapper));
    delete previousDelegate;
    m_mapper->toFirst();
    onRowChanged(m_activityModel->index(0, 0), QModelIndex());
    m_predecessorFilter->showNoRows();
    m_successorFilter->showNoRows();
}

void ActivityDetails::setLinkChanges(RyLinkChangeModel *links)
{
    m_linkChanges = links;
    if (!m_predecessorFilter || !m_successorFilter)
        return;
    QAbstractItemModel *source = links ? links : m_predecessorModel.data();
    const int change = links ? links->changeColumn() : -1;
    const QString deleted = RyCompareModel::changeName(RyCompareModel::ChangeKind::Deleted);
    const QList<QPair<QTableView *, MapHdrModel *>> tables
        = { { m_tblvwPred, m_predecessorFilter }, { m_tblvwSucc, m_successorFilter } };
    for (const auto &table : tables) {
        // The filter keeps its key: the current activity's links stay listed.
        table.second->setSourceModel(source);
        for (int column : table.first == m_tblvwPred ? PredecessorHidden : SuccessorHidden)
            table.first->hideColumn(column);
        if (auto *delegate = qobject_cast<RyDetailDelegate *>(table.first->itemDelegate()))
            delegate->setStruckOutRows(change, deleted);
    }
}

void ActivityDetails::setResourceModel(QAbstractItemModel *model)
{
    m_resourceModel = model;
    delete m_resourceFilter;
    m_resourceFilter = new RyKeyFilterProxyModel(this);
    m_resourceFilter->setFilterKeyColumn(0);
    // Like the other tabs: nothing until a row is current, not every assignment of the project.
    m_resourceFilter->showNoRows();
    m_resourceFilter->setSourceModel(model);
    m_tblResources->setModel(m_resourceFilter);
}

void ActivityDetails::setCodeModel(QAbstractItemModel *model)
{
    m_codeModel = model;
    delete m_codeFilter;
    m_codeFilter = new RyKeyFilterProxyModel(this);
    m_codeFilter->setFilterKeyColumn(0);
    m_codeFilter->showNoRows();
    m_codeFilter->setSourceModel(model);
    m_tblvwCodes->setModel(m_codeFilter);
    for (int column = 0; column <= 5; ++column)
        m_tblvwCodes->hideColumn(column);
    if (model && model->columnCount() > 8)
        m_tblvwCodes->horizontalHeader()->swapSections(6, 8);
    RyHeaderState::setFixedSectionSize(m_tblvwCodes->verticalHeader(), Ry::RowHeight);
    m_tblvwCodes->setItemDelegate(
        new RyDetailDelegate(QPixmap(QStringLiteral(":/images/task_label_32")), 8, m_tblvwCodes));
}

void ActivityDetails::clear()
{
    m_mapper->clearMapping();
    m_mapper->setModel(m_emptyModel);
    for (QTableView *view : { m_tblvwPred, m_tblvwSucc, m_tblResources, m_tblvwCodes })
        view->setModel(nullptr);
    clearFields();
    delete m_predecessorFilter;
    delete m_successorFilter;
    delete m_codeFilter;
    delete m_resourceFilter;
    m_predecessorFilter = m_successorFilter = nullptr;
    m_codeFilter = m_resourceFilter = nullptr;
    m_activityModel = m_predecessorModel = m_codeModel = m_resourceModel = nullptr;
    m_rowOfKey.clear();
    updateButtons();
}

void ActivityDetails::onRowChanged(const QModelIndex &topLeft, const QModelIndex &)
{
    if (!m_predecessorFilter || !m_successorFilter || !m_codeFilter || !m_resourceFilter)
        return;
    QString key = topLeft.sibling(topLeft.row(), 0).data().toString();
    if (!topLeft.sibling(topLeft.row(), 2).data().isNull())
        key = QString(QChar(0xFF)); // a group row: matches no task id
    setKey(key);
    const int row = mapperRowOf(key);
    if (row >= 0) {
        m_mapper->setCurrentIndex(row);
        // The Notes cell holds the first line; its tool tip is the whole note.
        const int notes = RyModelLookup::findColumn(m_mapper->model(), QStringLiteral("Notes"));
        m_teNotes->setPlainText(
            notes < 0 ? QString()
                      : m_mapper->model()->index(row, notes).data(Qt::ToolTipRole).toString());
    } else {
        // A group row or no activity: the fields must not keep showing the previous one.
        clearFields();
    }
    updateButtons();
}

void ActivityDetails::clearFields()
{
    m_leName->clear();
    for (const auto &field : qAsConst(m_fields))
        field.first->clear();
    m_teNotes->clear();
}

void ActivityDetails::setKey(const QString &key)
{
    setExactFilter(m_predecessorFilter, key);
    setExactFilter(m_successorFilter, key);
    setExactFilter(m_codeFilter, key);
    setExactFilter(m_resourceFilter, key);
}

int ActivityDetails::mapperRowOf(const QString &key)
{
    const QAbstractItemModel *model = m_mapper->model();
    if (!model || key.isEmpty())
        return -1;
    auto valid = [&](int row) {
        return row >= 0 && row < model->rowCount() && model->index(row, 0).data().toString() == key;
    };
    int row = m_rowOfKey.value(key, -1);
    if (valid(row))
        return row;
    // A miss rebuilds the hash once: rows may have been added (group rows) since.
    m_rowOfKey.clear();
    for (int r = 0; r < model->rowCount(); ++r) {
        const QString id = model->index(r, 0).data().toString();
        if (!id.isEmpty() && !m_rowOfKey.contains(id))
            m_rowOfKey.insert(id, r);
    }
    row = m_rowOfKey.value(key, -1);
    return valid(row) ? row : -1;
}

QModelIndex ActivityDetails::neighbourActivity(int direction) const
{
    if (!m_activities || !m_activities->hasProject())
        return QModelIndex();
    const RyGroupedTreeView *tree = m_activities->treeView();
    const QModelIndexList rows = tree->visibleRows();
    int position = tree->visibleRowPosition(tree->currentIndex());
    if (position < 0)
        position = direction > 0 ? -1 : rows.size();
    for (int p = position + direction; p >= 0 && p < rows.size(); p += direction) {
        if (!tree->isGroupRow(rows.at(p)))
            return rows.at(p);
    }
    return QModelIndex();
}

void ActivityDetails::moveTo(int direction)
{
    const QModelIndex target = neighbourActivity(direction);
    if (!target.isValid())
        return;
    RyGroupedTreeView *tree = m_activities->treeView();
    const int horizontal = tree->horizontalScrollBar()->value();
    tree->setCurrentIndex(target);
    tree->scrollTo(target);
    tree->horizontalScrollBar()->setValue(horizontal);
    updateButtons();
}

void ActivityDetails::nextActivity()
{
    moveTo(+1);
}

void ActivityDetails::previousActivity()
{
    moveTo(-1);
}

void ActivityDetails::updateButtons(int)
{
    m_tbPrevious->setEnabled(neighbourActivity(-1).isValid());
    m_tbNext->setEnabled(neighbourActivity(+1).isValid());
}

void ActivityDetails::gotoPredecessor(const QModelIndex &index)
{
    if (index.isValid() && m_activities)
        m_activities->goToActivity(index.sibling(index.row(), 1).data());
}

void ActivityDetails::gotoSuccessor(const QModelIndex &index)
{
    if (index.isValid() && m_activities)
        m_activities->goToActivity(index.sibling(index.row(), 0).data());
}
