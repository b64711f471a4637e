#include "app/windowsettings.h"

#include "app/layoutstore.h"
#include "app/windowplacement.h"

#include <QAction>
#include <QFileInfo>
#include <QMainWindow>
#include <QSplitter>

namespace {

// Flags are stored as 0 or 1; anything else counts as damaged and is ignored.
bool readFlag(const QVariant &stored, bool *flag)
{
    bool ok = false;
    const int value = stored.toInt(&ok);
    if (!ok || (value != 0 && value != 1))
        return false;
    *flag = value == 1;
    return true;
}

} // namespace

WindowSettings::WindowSettings(QMainWindow *window, QSplitter *splitter, QWidget *details,
                               QAction *detail)
    : m_store(LayoutStore::ConnectionName)
    , m_window(window)
    , m_splitter(splitter)
    , m_details(details)
    , m_detail(detail)
{
}

void WindowSettings::restore()
{
    // Qt's restore functions reject damaged data and then leave everything unchanged.
    if (m_window->restoreGeometry(m_store.value(SettingsStore::WindowGeometryKey).toByteArray()))
        WindowPlacement::keepOnScreen(m_window);
    m_window->restoreState(m_store.value(SettingsStore::WindowStateKey).toByteArray());
    bool detail = false;
    if (readFlag(m_store.value(SettingsStore::DetailKey), &detail)) {
        m_detail->setChecked(detail);
        m_details->setVisible(detail);
    }
    // After the details form is shown: a hidden pane's stored size would be dropped.
    m_splitter->restoreState(m_store.value(SettingsStore::SplitterKey).toByteArray());
}

void WindowSettings::save(const QString &viewName)
{
    m_store.setValue(SettingsStore::WindowGeometryKey, m_window->saveGeometry());
    m_store.setValue(SettingsStore::WindowStateKey, m_window->saveState());
    // A hidden details form has no size of its own: keep the last arrangement that had one.
    if (m_detail->isChecked())
        m_store.setValue(SettingsStore::SplitterKey, m_splitter->saveState());
    m_store.setValue(SettingsStore::DetailKey, m_detail->isChecked() ? 1 : 0);
    if (!viewName.isEmpty())
        m_store.setValue(SettingsStore::ViewKey, viewName);
}

QString WindowSettings::view() const
{
    return m_store.value(SettingsStore::ViewKey).toString();
}

QString WindowSettings::lastFolder() const
{
    const QString folder = m_store.value(SettingsStore::LastFolderKey).toString();
    return QFileInfo(folder).isDir() ? folder : QString();
}

void WindowSettings::setLastFolder(const QString &folder)
{
    m_store.setValue(SettingsStore::LastFolderKey, folder);
}
