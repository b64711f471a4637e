// File › Compare with... and End comparison: reads the chosen file as the old version of the
// open project through a ProjectOpener of its own (off the GUI thread, with its progress
// dialog and its failure message), compares the two and shows the comparison in the activity
// view: the "Compare" columns joined on the task key, the deleted activities as rows of their
// own (under their old WBS node when grouped by WBS, greyed and struck through), the links
// marked for the details pane and the summary in the status bar. Ending the comparison, or closing
// the project, takes it all out.
#pragma once

#include "tables/rycomparemodel.h"
#include "tables/rylinkchangemodel.h"

#include <QObject>
#include <QString>
#include <memory>

class Activities;
class MainWindowForm;
class ProjectOpener;
class QLabel;
class QMainWindow;
class RyJoinProxyModel;

class CompareController : public QObject
{
    Q_OBJECT

public:
    // `current` holds the open project, the new version; the form's Compare actions are wired.
    CompareController(QMainWindow *window, const MainWindowForm &form, Activities *activities,
                      ProjectOpener *current);
    ~CompareController() override;

    // Reads `path` as the old version; comparisonEnded() follows once it is shown or failed.
    void compareWith(const QString &path);
    void endComparison();

    bool isComparing() const { return bool(m_model); }
    bool isReading() const;
    const RyCompareModel *comparison() const { return m_model.get(); }
    QString summaryText() const;
    // "3 added, 1 deleted, 12 changed, 480 unchanged; finish +2 working days; matched by unique
    // ID", with how few matched when the files had too few unique IDs in common.
    static QString summaryText(const RyCompareModel::Summary &summary, int newActivities);

signals:
    // After each compareWith(): true once the comparison is shown, false when it failed.
    void comparisonEnded(bool shown);
    // The links marked with their changes while a comparison is shown; null when it ends.
    void linkChangesChanged(RyLinkChangeModel *links);

private:
    void chooseFile();
    void onOldLoaded();
    void onOldLoadEnded(bool loaded);
    void show(std::unique_ptr<RyCompareModel> model, const QString &oldPath);
    void addDeletedRows(RyJoinProxyModel &join);
    void updateActions();
    // Drops the comparison without giving the view back its rows and columns (it is closing).
    void discard();

    QMainWindow *m_window;
    const MainWindowForm &m_form;
    Activities *m_activities;
    ProjectOpener *m_current;
    ProjectOpener *m_old;
    QLabel *m_summary;
    QString m_oldPath; // of the comparison shown
    QString m_readPath; // of the old version being read
    std::unique_ptr<RyCompareModel> m_model;
    std::unique_ptr<RyLinkChangeModel> m_linkChanges; // over m_model and the current links
    int m_firstDeletedRow = -1; // in the activity model's record set
    int m_deletedRows = 0;
    int m_firstColumn = -1; // of the Compare columns in the activity model
};
