// The commands that open a dialog over the shown project: columns, grouping, bar styles, CSV
// export, print, snip, Project Information and About. Each dialog lives only while its command
// runs; the columns, group and bar styles dialogs open at the size they were left at (a roomy one
// at first).
#pragma once

#include "app/settingsstore.h"

#include <QObject>

class Activities;
class QDialog;
class QSize;
class QMainWindow;
class Resources;
class ProjectOpener;
class ViewCommands;

class DialogCommands : public QObject
{
    Q_OBJECT

public:
    // Dialogs open over `window`; the columns dialog works on the page `views` shows, Project
    // Information on the project `opener` holds.
    DialogCommands(QMainWindow *window, Activities *activities, Resources *resources,
                   const ViewCommands *views, const ProjectOpener *opener);

public slots:
    void chooseColumns();
    void chooseGroups();
    void chooseBarStyles();
    void exportActivities();
    void print();
    void snip();
    void showAbout();
    void showProjectInfo();

private:
    // Runs `dialog` at its remembered size, or at `initial`, and remembers the size it closes at.
    int execSized(QDialog *dialog, const QString &name, const QSize &initial);

    SettingsStore m_settings;
    QMainWindow *m_window;
    Activities *m_activities;
    Resources *m_resources;
    const ViewCommands *m_views;
    const ProjectOpener *m_opener;
};
