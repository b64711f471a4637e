// mppgen: writes a synthetic "   114" schedule (.mpp) of a given size.

#include "tests/support/mppdemoschedule.h"
#include "tests/support/mppscheduleedits.h"
#include "tests/support/mppschedulegenerator.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cstdio>

namespace {

constexpr int ExitUsage = 64;

int intOption(const QCommandLineParser &parser, const QString &name, bool *ok)
{
    bool valid = false;
    const int value = parser.value(name).toInt(&valid);
    if (!valid || value < 0)
        *ok = false;
    return value;
}

QJsonArray idArray(const QVector<qint32> &ids)
{
    QJsonArray array;
    for (qint32 id : ids)
        array.append(id);
    return array;
}

// What --edits did, as {"removed", "added", "moved", "linksRemoved": [[pred, succ], ...]}.
QByteArray editsJson(const MppScheduleEdits &edits)
{
    QJsonArray links;
    for (const auto &link : edits.linksRemoved)
        links.append(QJsonArray { link.first, link.second });
    const QJsonObject json { { QStringLiteral("removed"), idArray(edits.removed) },
                             { QStringLiteral("added"), idArray(edits.added) },
                             { QStringLiteral("moved"), idArray(edits.moved) },
                             { QStringLiteral("linksRemoved"), links } };
    return QJsonDocument(json).toJson(QJsonDocument::Compact) + '\n';
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Writes a synthetic Microsoft Project schedule: a WBS of the given depth, one link "
        "per task, resources and assignments."));
    parser.addHelpOption();
    parser.addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("The .mpp file to write."));
    const MppGeneratorOptions defaults;
    const auto option = [&](const char *name, const char *help, int value) {
        parser.addOption(QCommandLineOption(QLatin1String(name), QLatin1String(help),
                                            QStringLiteral("n"), QString::number(value)));
    };
    option("tasks", "Number of tasks, the project summary task included.", defaults.tasks);
    option("depth", "WBS levels below the project summary task.", defaults.depth);
    option("resources", "Number of resources.", defaults.resources);
    option("assignments", "Number of assignments.", defaults.assignments);
    option("seed", "Seed of the generator.", int(defaults.seed));
    option("edits",
           "Edit the schedule: remove, add and move (one working day later) this many "
           "activities and remove this many links; print what was done as JSON.",
           0);
    parser.addOption(QCommandLineOption(
        QStringLiteral("wide"),
        QStringLiteral("Task records as wide as the widest saved files (a 991-entry field map, "
                       "206-byte records), with custom number, integer and date fields.")));
    parser.addOption(QCommandLineOption(
        QStringLiteral("demo"),
        QStringLiteral("The built-in sample schedule: a small office building with a WBS, "
                       "milestones, links of every type, crews, a baseline and progress; "
                       "the size options are ignored.")));
    if (!parser.parse(QCoreApplication::arguments())) {
        std::fprintf(stderr, "mppgen: %s\n", qPrintable(parser.errorText()));
        return ExitUsage;
    }
    if (parser.isSet(QStringLiteral("help")))
        parser.showHelp(0);
    bool ok = parser.positionalArguments().size() == 1;
    MppGeneratorOptions options;
    options.tasks = intOption(parser, QStringLiteral("tasks"), &ok);
    options.depth = intOption(parser, QStringLiteral("depth"), &ok);
    options.resources = intOption(parser, QStringLiteral("resources"), &ok);
    options.assignments = intOption(parser, QStringLiteral("assignments"), &ok);
    options.seed = quint32(intOption(parser, QStringLiteral("seed"), &ok));
    options.wideTaskRecords = parser.isSet(QStringLiteral("wide"));
    const int editCount = intOption(parser, QStringLiteral("edits"), &ok);
    if (!ok) {
        std::fprintf(stderr, "mppgen: expected one FILE and non-negative numbers\n");
        return ExitUsage;
    }
    MppScheduleSpec spec
        = parser.isSet(QStringLiteral("demo")) ? demoMppSchedule() : generateMppSchedule(options);
    MppScheduleEdits edits;
    if (editCount > 0)
        edits = editMppSchedule(spec, editCount);
    QFile file(parser.positionalArguments().first());
    if (!file.open(QIODevice::WriteOnly) || file.write(buildMppFile(spec)) < 0) {
        std::fprintf(stderr, "mppgen: cannot write %s\n", qPrintable(file.fileName()));
        return 1;
    }
    if (editCount > 0) {
        const QByteArray json = editsJson(edits);
        std::fwrite(json.constData(), 1, size_t(json.size()), stdout);
    }
    return 0;
}
