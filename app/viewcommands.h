// The View, Outline, Time and Units menus of the main window and what their commands do to the
// pages: switching views, expanding the activity tree, choosing the timeline's scales and the
// unit durations are shown in, and showing the open project's working time and data date. The actions
// belong to the window's form; the menus are parented to the window.
#pragma once

#include <QList>
#include <QObject>
#include <QPair>
#include <QString>

class Activities;
class MainWindowForm;
class QAction;
class QActionGroup;
class QMenu;
class QWidget;
class Resources;
class RySortFilterHeader;

namespace mppr {
class Project;
}

class ViewCommands : public QObject
{
    Q_OBJECT

public:
    // The last outline command run, in the Outline menu's order; None before any.
    enum class Outline {
        None,
        Expand,
        Collapse,
        ExpandAll,
        CollapseAll,
        Level1,
        Level2,
        Level3,
        Level4,
        Level5,
        Level6,
        Level7,
    };

    ViewCommands(MainWindowForm &ui, Activities *activities, Resources *resources, QWidget *window);

    QMenu *outlineMenu() const { return m_outlineMenu; }
    QMenu *viewMenu() const { return m_viewMenu; }
    QMenu *timeMenu() const { return m_timeMenu; }
    QMenu *unitsMenu() const { return m_unitsMenu; }

    // "Hours", "Days" or "Weeks", as layouts store the Units choice; other names do nothing.
    QString durationUnitName() const;
    void setDurationUnitName(const QString &name);
    // The project's minutes per day and week for the durations, its calendar's working time for
    // the chart and its status date (now where it has none) as the data date.
    void showProjectTime(const mppr::Project &project);

    Outline outline() const { return m_outline; }
    // The text of the command that gives the current outline, as layouts store it; empty
    // before any outline command.
    QString outlineText() const;
    // Runs the outline command of that text; other texts (no command has them) do nothing.
    void runOutlineCommand(const QString &text);

    // The sort/filter header of the page shown, or null.
    RySortFilterHeader *currentHeader() const;
    // The object name of the checked view action.
    QString checkedViewName() const;
    // Shows the view whose action has that object name; other names do nothing.
    void showNamedView(const QString &name);
    void setMenusEnabled(bool enabled);

public slots:
    void setView(QAction *action);
    void showDefaultView();
    // The Outline tool-bar button: collapses all when the first row is expanded, else
    // expands all.
    void toggleOutline();
    void updateColumnsIcon();
    void updateTimeChecks();

private:
    void createMenus(QWidget *window);
    void connectCommands();
    QList<QAction *> outlineCommands() const;
    QList<QPair<QAction *, quint8>> timeScales() const;
    void runOutline(QAction *command);
    void applyTimeScales(QAction *changed);
    void applyDurationUnit(QAction *unit);

    MainWindowForm &ui;
    Activities *m_activities;
    Resources *m_resources;
    QMenu *m_outlineMenu = nullptr;
    QMenu *m_viewMenu = nullptr;
    QMenu *m_timeMenu = nullptr;
    QMenu *m_unitsMenu = nullptr;
    QActionGroup *m_unitsGroup = nullptr;
    QActionGroup *m_viewGroup = nullptr;
    Outline m_outline = Outline::None;
};
