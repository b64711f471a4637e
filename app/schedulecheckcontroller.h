// View > "Check schedule": checks the open project and shows the result in the Schedule Check
// window; a check chosen there filters the activity view to that check's activities, as a
// plain filter the user clears like any other. The check runs again for each project opened
// while the window is shown. Owns the window; the view and opener are not owned.
#pragma once

#include <QObject>
#include <QPointer>

class Activities;
class QAbstractItemModel;
class QAction;
class QMenu;
class ProjectOpener;
class RyJoinProxyModel;
class RyScheduleCheck;
class ScheduleCheckWindow;

class ScheduleCheckController : public QObject
{
    Q_OBJECT

public:
    // Runs on `action`, which it adds to the end of `menu`; the window is a tool window of
    // `window`.
    ScheduleCheckController(QAction *action, QMenu *menu, QWidget *window, Activities *activities,
                            ProjectOpener *opener);
    ~ScheduleCheckController() override;

    ScheduleCheckWindow *window() const;

public slots:
    void show();
    // Filters the activity view to the activities of check `number` (1 to 14).
    void showActivities(int number);

private:
    void refresh();
    // Joins the findings of the check shown as the activity model's "Check findings" column,
    // replacing the column of an earlier check.
    void joinFindings(const RyScheduleCheck &check);
    void dropFindings();

    QWidget *m_parent;
    Activities *m_activities;
    ProjectOpener *m_opener;
    QPointer<ScheduleCheckWindow> m_window;
    QAbstractItemModel *m_findings = nullptr;
    QPointer<RyJoinProxyModel> m_activityModel;
};
