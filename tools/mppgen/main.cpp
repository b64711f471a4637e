// mppgen: writes a synthetic "   114" schedule (.mpp) of a given size.

#include "tests/support/mppschedulegenerator.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>

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
    parser.addOption(QCommandLineOption(
        QStringLiteral("wide"),
        QStringLiteral("Task records as wide as the widest saved files (a 991-entry field map, "
                       "206-byte records), with custom number, integer and date fields.")));
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
    if (!ok) {
        std::fprintf(stderr, "mppgen: expected one FILE and non-negative numbers\n");
        return ExitUsage;
    }
    QFile file(parser.positionalArguments().first());
    if (!file.open(QIODevice::WriteOnly)
        || file.write(buildMppFile(generateMppSchedule(options))) < 0) {
        std::fprintf(stderr, "mppgen: cannot write %s\n", qPrintable(file.fileName()));
        return 1;
    }
    return 0;
}
