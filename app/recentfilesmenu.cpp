#include "app/recentfilesmenu.h"

#include <QAction>
#include <QFileInfo>
#include <QMenu>
#include <QMessageBox>
#include <QVariantMap>

namespace {

const QString IsMruKey = QStringLiteral("isMRU");

bool isRecentFileAction(const QAction *action)
{
    return action->data().toMap().value(IsMruKey).toBool();
}

bool hasSuffix(const QString &path, const QString &suffix)
{
    return QFileInfo(path).suffix().toLower() == suffix;
}

} // namespace

RecentFilesMenu::RecentFilesMenu(QMenu *fileMenu, QWidget *window)
    : QObject(window)
    , m_menu(fileMenu)
    , m_window(window)
{
}

QString RecentFilesMenu::path()
{
    return RecentFiles::defaultPath();
}

void RecentFilesMenu::load()
{
    m_files.load(path());
    rebuild();
}

void RecentFilesMenu::save()
{
    m_files.save(path());
}

void RecentFilesMenu::add(const QString &file)
{
    RecentEntry entry;
    entry.file = file;
    entry.name = file;
    entry.type = 0;
    m_files.add(entry);
    rebuild();
}

void RecentFilesMenu::rebuild()
{
    const QList<QAction *> current = m_menu->actions();
    for (QAction *action : current) {
        if (isRecentFileAction(action)) {
            m_menu->removeAction(action);
            action->deleteLater();
        }
    }
    QAction *last = m_menu->actions().isEmpty() ? nullptr : m_menu->actions().constLast();
    if (!m_files.isEmpty() && !(last && last->isSeparator()))
        m_menu->addSeparator();
    else if (m_files.isEmpty() && last && last->isSeparator())
        m_menu->removeAction(last);

    for (const RecentEntry &entry : m_files.entries()) {
        if (hasSuffix(entry.file, QStringLiteral("xer")))
            continue;
        QAction *action = m_menu->addAction(entry.file);
        action->setData(QVariantMap { { IsMruKey, true },
                                      { QStringLiteral("fileName"), entry.file },
                                      { QStringLiteral("type"), entry.type } });
        connect(action, &QAction::triggered, this, [this, action] { choose(action); });
    }
}

void RecentFilesMenu::choose(QAction *action)
{
    if (!action || !isRecentFileAction(action))
        return;
    const QString fileName = action->data().toMap().value(QStringLiteral("fileName")).toString();
    if (fileName.isEmpty())
        return;
    if (QFileInfo::exists(fileName)) {
        if (hasSuffix(fileName, QStringLiteral("mpp")))
            emit openRequested(fileName);
        return;
    }
    QMessageBox::critical(m_window, QStringLiteral("File doesn't exist"),
                          QStringLiteral("File was deleted"), QMessageBox::Ok);
    m_files.removeFile(fileName);
    rebuild();
}
