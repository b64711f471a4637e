#include "views/ryfindbar.h"

#include "filter/ryfilterdialogproxymodel.h"
#include "gantt/ryganttview.h"
#include "models/ryparentitemproxymodel.h"
#include "views/activities.h"
#include "views/ryactivityfinder.h"

#include <QAction>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>
#include <QTreeView>

const QString RyFindBar::NoMatchText = QStringLiteral("No match");

RyFindBar::RyFindBar(Activities *activities, QWidget *parent)
    : QToolBar(QStringLiteral("Find"), parent)
    , m_activities(activities)
    , m_finder(new RyActivityFinder(this))
{
    setObjectName(QStringLiteral("findBar"));
    setMovable(false);
    setFloatable(false);
    addWidget(new QLabel(QStringLiteral("Find:"), this));
    m_edit = new QLineEdit(this);
    m_edit->setObjectName(QStringLiteral("findEdit"));
    m_edit->setPlaceholderText(QStringLiteral("Activity ID or name"));
    m_edit->setClearButtonEnabled(true);
    m_edit->setMaximumWidth(320);
    addWidget(m_edit);
    QAction *previous = addAction(QStringLiteral("&Previous"), this, &RyFindBar::findPrevious);
    previous->setObjectName(QStringLiteral("findPreviousButton"));
    previous->setToolTip(QStringLiteral("Previous match (Shift+F3)"));
    QAction *next = addAction(QStringLiteral("&Next"), this, &RyFindBar::findNext);
    next->setObjectName(QStringLiteral("findNextButton"));
    next->setToolTip(QStringLiteral("Next match (F3, Enter)"));
    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("findStatus"));
    addWidget(m_status);
    auto *spacer = new QWidget(this);
    spacer->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    addWidget(spacer);
    QAction *closeAction = addAction(QStringLiteral("Close"), this, &RyFindBar::close);
    closeAction->setObjectName(QStringLiteral("findCloseButton"));
    closeAction->setToolTip(QStringLiteral("Close the find bar (Escape)"));

    connect(m_edit, &QLineEdit::textEdited, this, &RyFindBar::onTextEdited);
    connect(m_edit, &QLineEdit::returnPressed, this, &RyFindBar::findNext);
    m_finder->setColumns({ QStringLiteral("Activity ID"), QStringLiteral("Activity Name") });
    // Group rows carry no activity: only rows of the activity model itself are searched.
    m_finder->setRowPredicate([this](const QModelIndex &index) { return isActivityRow(index); });
}

void RyFindBar::keyPressEvent(QKeyEvent *event)
{
    // Escape reaches the bar from whichever of its children has the focus.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        close();
        event->accept();
        return;
    }
    QToolBar::keyPressEvent(event);
}

void RyFindBar::activate()
{
    show();
    m_edit->setFocus(Qt::ShortcutFocusReason);
    m_edit->selectAll();
}

void RyFindBar::close()
{
    hide();
    m_status->clear();
    if (m_activities)
        m_activities->treeView()->setFocus(Qt::OtherFocusReason);
}

void RyFindBar::prepareFinder()
{
    QAbstractItemModel *model = m_activities ? m_activities->filterProxy() : nullptr;
    if (m_finder->model() != model)
        m_finder->setModel(model);
    m_finder->setText(m_edit->text());
}

bool RyFindBar::isActivityRow(const QModelIndex &index) const
{
    if (!m_activities)
        return false;
    const QModelIndex parentRow = m_activities->filterProxy()->mapToSource(index);
    const QModelIndex activityRow = m_activities->parentProxy()->mapToSource(parentRow);
    return activityRow.isValid() && activityRow.row() < m_activities->baseRowCount();
}

QModelIndex RyFindBar::currentRow() const
{
    return m_activities ? m_activities->treeView()->currentIndex() : QModelIndex();
}

void RyFindBar::onTextEdited(const QString &text)
{
    if (text.isEmpty()) {
        m_status->clear();
        return;
    }
    prepareFinder();
    showResult(m_finder->nearest(currentRow()));
}

void RyFindBar::findNext()
{
    if (m_edit->text().isEmpty())
        return activate();
    prepareFinder();
    showResult(m_finder->next(currentRow()));
}

void RyFindBar::findPrevious()
{
    if (m_edit->text().isEmpty())
        return activate();
    prepareFinder();
    showResult(m_finder->previous(currentRow()));
}

void RyFindBar::showResult(const QModelIndex &found)
{
    if (!found.isValid()) {
        m_status->setText(NoMatchText);
        return;
    }
    m_status->clear();
    reveal(found);
}

void RyFindBar::reveal(const QModelIndex &index)
{
    QTreeView *tree = m_activities->treeView();
    QVector<QModelIndex> ancestors;
    for (QModelIndex parent = index.parent(); parent.isValid(); parent = parent.parent())
        ancestors.prepend(parent);
    for (const QModelIndex &ancestor : qAsConst(ancestors))
        tree->expand(ancestor);
    // The cell that matched becomes current: column 0 may be a hidden key column placed past
    // every shown one, and the view scrolls to its current cell, sideways only as far as that
    // cell needs. The chart shares the tree's selection model and follows its current row.
    const int column = m_finder->matchedColumn(index);
    const QModelIndex cell = column >= 0 ? index.siblingAtColumn(column) : index;
    tree->selectionModel()->setCurrentIndex(
        cell, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    tree->scrollTo(cell);
    m_activities->ganttView()->scrollTo(index);
}
