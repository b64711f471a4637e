// The details form under the activity view: the general fields of the activity current in the
// activity table (name, dates, durations, float, constraint, calendar, WBS, baseline), its
// predecessors and successors (activating one jumps to it), its resource assignments, its codes
// and its whole note. The arrow buttons step through the activities shown in the table.
// The models are the loader's and not owned; the filter proxies are owned.
#pragma once

#include <QHash>
#include <QModelIndex>
#include <QPointer>
#include <QVector>
#include <QWidget>

class Activities;
class MapHdrModel;
class RyKeyFilterProxyModel;
class QAbstractItemModel;
class RyLinkChangeModel;
class QDataWidgetMapper;
class QLineEdit;
class QPlainTextEdit;
class QTabWidget;
class QTableView;
class QToolButton;

class ActivityDetails : public QWidget
{
    Q_OBJECT
public:
    explicit ActivityDetails(Activities *activities, QWidget *parent = nullptr);
    ~ActivityDetails() override;

    void setActivityModel(QAbstractItemModel *model);
    void setPredecessorModel(QAbstractItemModel *model);
    void setResourceModel(QAbstractItemModel *model);
    void setCodeModel(QAbstractItemModel *model);
    // While comparing: the links marked with their changes, the deleted ones struck through;
    // null gives back the plain links. Not owned.
    void setLinkChanges(RyLinkChangeModel *links);
    // Drops every model (before a new project and on Close).
    void clear();

    QTableView *resourceTable() const { return m_tblResources; }
    QDataWidgetMapper *mapper() const { return m_mapper; }

public slots:
    void nextActivity();
    void previousActivity();
    void onRowChanged(const QModelIndex &topLeft, const QModelIndex &previous);
    void updateButtons(int row = -1);
    void gotoPredecessor(const QModelIndex &index);
    void gotoSuccessor(const QModelIndex &index);

private:
    void buildForm();
    QWidget *buildGeneralTab();
    // Empties every general field and the note: a group row or no activity is current.
    void clearFields();
    void wireRelationships();
    void setKey(const QString &key);
    int mapperRowOf(const QString &key);
    // The nearest activity row (not a group row) shown in the table before (-1) or after (+1)
    // the table's current row.
    QModelIndex neighbourActivity(int direction) const;
    void moveTo(int direction);

    Activities *m_activities;
    QTabWidget *m_tabWidget = nullptr;
    QLineEdit *m_leName = nullptr;
    // The general fields the mapper fills, each with the header of the activity column it shows;
    // a field whose column the model lacks stays empty.
    QVector<QPair<QLineEdit *, QString>> m_fields;
    QPlainTextEdit *m_teNotes = nullptr;
    QToolButton *m_tbPrevious = nullptr;
    QToolButton *m_tbNext = nullptr;
    QTableView *m_tblvwPred = nullptr;
    QTableView *m_tblvwSucc = nullptr;
    QTableView *m_tblResources = nullptr;
    QTableView *m_tblvwCodes = nullptr;

    QDataWidgetMapper *m_mapper = nullptr;
    // Shown by the mapper while no project is open: Qt warns when it is given no model at all.
    QAbstractItemModel *m_emptyModel = nullptr;
    QPointer<QAbstractItemModel> m_activityModel;
    QPointer<QAbstractItemModel> m_predecessorModel;
    QPointer<RyLinkChangeModel> m_linkChanges;
    QPointer<QAbstractItemModel> m_codeModel;
    QPointer<QAbstractItemModel> m_resourceModel;
    MapHdrModel *m_predecessorFilter = nullptr;
    MapHdrModel *m_successorFilter = nullptr;
    RyKeyFilterProxyModel *m_codeFilter = nullptr;
    RyKeyFilterProxyModel *m_resourceFilter = nullptr;
    // Task id -> activity model row; rebuilt when a lookup misses or the model changes.
    QHash<QString, int> m_rowOfKey;
};
