#include "bench/benchwindow.h"

#include "app/mainwindow.h"

#include <QApplication>
#include <QEventLoop>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <functional>

namespace bench {

namespace {
constexpr int LoadTimeoutMs = 300000;
}

MppScheduleSpec wbsSchedule(int perGroup)
{
    MppScheduleSpec spec;
    const QDateTime base(QDate(2024, 1, 8), QTime(8, 0), Qt::UTC);
    qint32 nextId = 1;
    auto addTask = [&spec, &nextId, &base](qint32 parent, const QString &name, int day, int days) {
        MppTaskSpec task;
        task.uniqueId = nextId++;
        task.parentUniqueId = parent;
        task.name = name;
        task.start = base.addDays(day);
        task.finish = base.addDays(day + days);
        task.scheduledStart = task.start;
        task.scheduledFinish = task.finish;
        task.duration = days * 8 * 600;
        spec.tasks.append(task);
        return task.uniqueId;
    };
    for (int r = 0; r < 10; ++r) {
        MppResourceSpec resource;
        resource.uniqueId = r + 1;
        resource.name = QStringLiteral("Crew %1").arg(r + 1);
        spec.resources.append(resource);
    }
    quint32 relationId = 1;
    qint32 assignmentId = 1;
    std::function<void(qint32, int, int)> addLevel = [&](qint32 parent, int level, int day) {
        if (level == 5) {
            qint32 previous = 0;
            for (int i = 0; i < perGroup; ++i) {
                const qint32 id = addTask(parent, QStringLiteral("Activity %1").arg(nextId),
                                          day + i % 40, 1 + i % 5);
                if (previous) {
                    MppRelationSpec link;
                    link.id = relationId++;
                    link.predecessor = previous;
                    link.successor = id;
                    spec.relations.append(link);
                }
                MppAssignmentSpec assignment;
                assignment.uniqueId = assignmentId++;
                assignment.taskUniqueId = id;
                assignment.resourceUniqueId = 1 + id % 10;
                assignment.workHours = 8;
                spec.assignments.append(assignment);
                previous = id;
            }
            return;
        }
        for (int i = 0; i < 5; ++i) {
            const qint32 id
                = addTask(parent, QStringLiteral("WBS %1.%2").arg(level).arg(i), day, 60);
            addLevel(id, level + 1, day + i * 7);
        }
    };
    addLevel(-1, 1, 0);
    return spec;
}

QString workPath(const QString &name)
{
    static QTemporaryDir dir;
    return dir.filePath(name);
}

QString writeSchedule(const QString &name, const MppScheduleSpec &spec)
{
    const QString path = workPath(name);
    if (QFile::exists(path))
        return path;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(buildMppFile(spec)) <= 0)
        return QString();
    return path;
}

bool openAndWait(MainWindow &window, const QString &path)
{
    QEventLoop loop;
    bool loaded = false;
    auto connection = QObject::connect(&window, &MainWindow::projectLoadEnded, &loop,
                                       [&loop, &loaded](bool ok) {
                                           loaded = ok;
                                           loop.quit();
                                       });
    QTimer::singleShot(LoadTimeoutMs, &loop, &QEventLoop::quit);
    window.openProject(path);
    loop.exec();
    QObject::disconnect(connection);
    return loaded;
}

double residentMegabytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024.0;
    }
    return 0;
}

int runWindowBenchmarks(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir home;
    for (const char *variable : { "XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME" })
        qputenv(variable, QFile::encodeName(home.path()));
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tarvik"));
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}

} // namespace bench
