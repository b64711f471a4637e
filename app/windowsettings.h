// What the main window remembers between runs, read and written through the settings store:
// geometry and tool bar state, the details pane and its split, the current view and the last
// folder a project was opened from.
#pragma once

#include "app/settingsstore.h"

#include <QString>

class QAction;
class QMainWindow;
class QSplitter;
class QWidget;

class WindowSettings
{
public:
    // `detail` is the command that shows `details`, the lower pane of `splitter`.
    WindowSettings(QMainWindow *window, QSplitter *splitter, QWidget *details, QAction *detail);

    // Puts the window, the details pane and its split as they were stored; damaged values
    // leave them as they are.
    void restore();
    // Stores them, and `viewName` unless it is empty.
    void save(const QString &viewName);

    // The object name of the view action stored; empty when none is.
    QString view() const;
    // The stored folder when it still is one, else empty.
    QString lastFolder() const;
    void setLastFolder(const QString &folder);

private:
    SettingsStore m_store;
    QMainWindow *m_window;
    QSplitter *m_splitter;
    QWidget *m_details;
    QAction *m_detail;
};
