#include "app/sampleschedule.h"

#include "app/mainwindow.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QSaveFile>
#include <QStandardPaths>

const QString SampleSchedule::ResourcePath = QStringLiteral(":/files/sample-schedule.mpp");
const QString SampleSchedule::WindowTitle = QStringLiteral("Sample Schedule - Tarvik");

SampleSchedule::SampleSchedule(QAction *action, MainWindow *window)
    : QObject(window)
    , m_window(window)
{
    connect(action, &QAction::triggered, this, &SampleSchedule::open);
}

QString SampleSchedule::extract()
{
    QFile source(ResourcePath);
    if (!source.open(QIODevice::ReadOnly))
        return QString();
    const QByteArray bytes = source.readAll();
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
    if (folder.isEmpty() || !QDir().mkpath(folder))
        return QString();
    const QString path = QDir(folder).filePath(QStringLiteral("sample-schedule.mpp"));
    QFile existing(path);
    if (existing.open(QIODevice::ReadOnly) && existing.readAll() == bytes)
        return path;
    existing.close();
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        return QString();
    return path;
}

void SampleSchedule::open()
{
    const QString path = extract();
    if (path.isEmpty()) {
        QMessageBox::warning(m_window, QStringLiteral("Tarvik"),
                             QStringLiteral("The sample schedule could not be written to the "
                                            "cache folder."));
        return;
    }
    m_window->openProject(path);
    m_window->setWindowTitle(WindowTitle);
}
