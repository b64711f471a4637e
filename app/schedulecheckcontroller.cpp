#include "app/schedulecheckcontroller.h"

#include "app/projectopener.h"
#include "app/schedulecheckwindow.h"
#include "models/ryjoinproxymodel.h"
#include "tables/mpploader.h"
#include "tables/ryschedulecheckmodel.h"
#include "views/activities.h"

#include <QAction>
#include <QMenu>

ScheduleCheckController::ScheduleCheckController(QAction *action, QMenu *menu, QWidget *window,
                                                 Activities *activities, ProjectOpener *opener)
    : QObject(window)
    , m_parent(window)
    , m_activities(activities)
    , m_opener(opener)
{
    menu->addSeparator();
    menu->addAction(action);
    connect(action, &QAction::triggered, this, &ScheduleCheckController::show);
    connect(opener, &ProjectOpener::loaded, this, [this] {
        if (m_window && m_window->isVisible())
            refresh();
    });
    connect(opener, &ProjectOpener::closing, this, [this] {
        dropFindings();
        if (m_window)
            m_window->setCheck(RyScheduleCheck());
    });
}

ScheduleCheckController::~ScheduleCheckController()
{
    delete m_window;
}

ScheduleCheckWindow *ScheduleCheckController::window() const
{
    return m_window;
}

void ScheduleCheckController::show()
{
    if (!m_window) {
        m_window = new ScheduleCheckWindow(m_parent);
        connect(m_window, &ScheduleCheckWindow::checkChosen, this,
                &ScheduleCheckController::showActivities);
    }
    refresh();
    m_window->show();
    m_window->raise();
    m_window->activateWindow();
}

void ScheduleCheckController::refresh()
{
    const MPPLoader *loader = m_opener->loader();
    const RyScheduleCheck check
        = loader && !m_opener->isLoading() ? RyScheduleCheck::run(*loader) : RyScheduleCheck();
    m_window->setCheck(check);
    joinFindings(check);
}

void ScheduleCheckController::joinFindings(const RyScheduleCheck &check)
{
    dropFindings();
    const MPPLoader *loader = m_opener->loader();
    m_activityModel = loader
        ? qobject_cast<RyJoinProxyModel *>(loader->model(QStringLiteral("ActivityModel")))
        : nullptr;
    if (!m_activityModel || check.checks().isEmpty())
        return;
    m_findings = check.newFindingsTable(this);
    m_activityModel->addJoin(m_findings, 0, { 1 }, 0);
}

void ScheduleCheckController::dropFindings()
{
    if (m_activityModel && m_findings)
        m_activityModel->removeJoin(m_findings);
    delete m_findings;
    m_findings = nullptr;
    m_activityModel = nullptr;
}

void ScheduleCheckController::showActivities(int number)
{
    if (!m_window)
        return;
    const QVector<RyScheduleCheck::Check> &checks = m_window->model()->check().checks();
    if (number < 1 || number > checks.size())
        return;
    QVariantList ids;
    for (const qint32 id : checks.at(number - 1).activities)
        ids.append(uint(id));
    // A check without findings shows no activity: an empty list accepts no value.
    m_activities->filterToActivities(ids);
}
