// mppdump: prints the project read from an .mpp file as JSON on stdout.
// Exit codes: 0 after a successful read, 2 after a failed read (the JSON still carries the
// status), 64 on bad usage.

#include "projectjson.h"

#include "mppr/project.h"
#ifdef MPPDUMP_TABLES
#include "tablesdump.h"
#endif

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QJsonDocument>
#include <QLoggingCategory>

#include <cstdio>

namespace {

constexpr int ExitReadFailed = 2;
constexpr int ExitUsage = 64; // EX_USAGE

void describe(QCommandLineParser &parser)
{
    parser.setApplicationDescription(QStringLiteral(
        "Reads a Microsoft Project file and prints its tasks, resources and assignments as "
        "JSON.\nDates are wall-clock \"yyyy-MM-ddTHH:mm:ss\" texts, null when unset.\n"
        "Exit status: 0 read, 2 read failed (\"status\" in the JSON), 64 bad usage."));
    parser.addHelpOption();
    parser.addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("The .mpp file to read."));
#ifdef MPPDUMP_TABLES
    parser.addOption({ QStringLiteral("tables"),
                       QStringLiteral("Print every table and derived model after a complete load "
                                      "instead of the project.") });
#endif
}

int usageError(const QCommandLineParser &parser, const QString &message)
{
    std::fprintf(stderr, "mppdump: %s\n\n%s", qPrintable(message), qPrintable(parser.helpText()));
    return ExitUsage;
}

void printJson(const QJsonObject &json)
{
    const QByteArray text = QJsonDocument(json).toJson(QJsonDocument::Indented);
    std::fwrite(text.constData(), 1, size_t(text.size()), stdout);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("mppdump"));
    // The reader's debug lines are for developers, not for the JSON reader on stdout's side.
    QLoggingCategory::setFilterRules(QStringLiteral("*.debug=false"));

    QCommandLineParser parser;
    describe(parser);
    if (!parser.parse(QCoreApplication::arguments()))
        return usageError(parser, parser.errorText());
    if (parser.isSet(QStringLiteral("help")))
        parser.showHelp(0);
    const QStringList files = parser.positionalArguments();
    if (files.size() != 1)
        return usageError(parser, QStringLiteral("expected exactly one FILE"));

#ifdef MPPDUMP_TABLES
    if (parser.isSet(QStringLiteral("tables"))) {
        int status = 0;
        printJson(tablesToJson(files.first(), &status));
        return status == mppr::StatusOk ? 0 : ExitReadFailed;
    }
#endif
    mppr::Project project(files.first());
    const int status = project.read();
    printJson(projectToJson(project, status));
    return status == mppr::StatusOk ? 0 : ExitReadFailed;
}
