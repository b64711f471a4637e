// The recent-files entries at the foot of the File menu, kept from the recent-files list, and
// what choosing one does. The window opens the file on openRequested().
#pragma once

#include "app/recentfiles.h"

#include <QObject>
#include <QString>

class QAction;
class QMenu;
class QWidget;

class RecentFilesMenu : public QObject
{
    Q_OBJECT

public:
    // Entries go to the end of `fileMenu`; message boxes go to `window`.
    RecentFilesMenu(QMenu *fileMenu, QWidget *window);

    const QList<RecentEntry> &entries() const { return m_files.entries(); }
    static QString path();
    // Reads the list from path() and lists it.
    void load();
    void save();
    // Puts `file` at the head of the list.
    void add(const QString &file);
    // What choosing the entry `action` does: an existing .mpp file is asked to open, a missing
    // one is reported and leaves the list; other actions are ignored.
    void choose(QAction *action);

signals:
    void openRequested(const QString &path);

private:
    void rebuild();

    QMenu *m_menu;
    QWidget *m_window;
    RecentFiles m_files;
};
