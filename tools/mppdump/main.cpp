// mppdump: prints the project read from an .mpp file as JSON on stdout.
// Exit codes: 0 after a successful read, 2 after a failed read (the JSON still carries the
// status), 64 on bad usage, 74 when the output cannot be written.
// The JSON is written while the project is walked; the document-based writers it replaced stay
// behind a hidden option as the reference the tests compare it with.

#include "jsonstreamwriter.h"
#include "projectjson.h"
#include "projectstream.h"

#include "mppr/project.h"
#ifdef MPPDUMP_TABLES
#include "checkstream.h"
#include "comparestream.h"
#include "tablesdump.h"
#include "tablesstream.h"
#endif

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QHash>
#include <QJsonDocument>
#include <QLoggingCategory>

#ifdef Q_OS_WIN
#include <fcntl.h>
#include <io.h>
#endif

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

constexpr int ExitReadFailed = 2;
constexpr int ExitUsage = 64; // EX_USAGE
constexpr int ExitWriteFailed = 74; // EX_IOERR

constexpr char DocumentOption[] = "document";

void describe(QCommandLineParser &parser)
{
    parser.setApplicationDescription(QStringLiteral(
        "Reads a Microsoft Project file and prints its tasks, resources and assignments as "
        "JSON.\nDates are wall-clock \"yyyy-MM-ddTHH:mm:ss\" texts, null when unset.\n"
        "Exit status: 0 read, 2 read failed (\"status\" in the JSON), 64 bad usage, 74 the "
        "output could not be written."));
    parser.addHelpOption();
    parser.addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("The .mpp file to read."));
#ifdef MPPDUMP_TABLES
    parser.addOption({ QStringLiteral("tables"),
                       QStringLiteral("Print every table and derived model after a complete load "
                                      "instead of the project.") });
    parser.addOption({ QStringLiteral("compare"),
                       QStringLiteral("Compare two versions, OLD and NEW, of a schedule: the "
                                      "added, deleted and changed activities and links, and a "
                                      "summary.") });
    parser.addOption({ QStringLiteral("check"),
                       QStringLiteral("Print the fourteen-point schedule check instead of the "
                                      "project.") });
#endif
    QCommandLineOption document(QLatin1String(DocumentOption),
                                QStringLiteral("Build the whole JSON document in memory first "
                                               "(the reference for tests; slow on large files)."));
    document.setFlags(QCommandLineOption::HiddenFromHelp);
    parser.addOption(document);
}

int usageError(const QCommandLineParser &parser, const QString &message)
{
    std::fprintf(stderr, "mppdump: %s\n\n%s", qPrintable(message), qPrintable(parser.helpText()));
    return ExitUsage;
}

// Returns 0 or the errno of the failed write.
int printJson(const QJsonObject &json)
{
    const QByteArray text = QJsonDocument(json).toJson(QJsonDocument::Indented);
    const bool written
        = std::fwrite(text.constData(), 1, size_t(text.size()), stdout) == size_t(text.size())
        && std::fflush(stdout) == 0;
    return written ? 0 : errno;
}

// The read's status, or the write error that outranks it.
int exitCode(int writeError, int status)
{
    if (writeError != 0) {
        std::fprintf(stderr, "mppdump: cannot write the output: %s\n", std::strerror(writeError));
        return ExitWriteFailed;
    }
    return status == mppr::StatusOk ? 0 : ExitReadFailed;
}

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define MPPDUMP_SANITIZED
#endif
#endif
#if defined(__SANITIZE_ADDRESS__)
#define MPPDUMP_SANITIZED
#endif

// Ends the process with `code` once the output is out, called while the project still exists:
// freeing a large project record by record takes longer than the system takes to drop the
// whole process. Sanitized builds return instead, so that their leak check still sees every
// object freed.
int endProcess(int code)
{
#ifndef MPPDUMP_SANITIZED
    std::fflush(stdout);
    std::fflush(stderr);
    std::_Exit(code);
#endif
    return code;
}

int dumpProject(const QString &path, bool asDocument)
{
    mppr::Project project(path);
    const int status = project.read();
    if (asDocument)
        return endProcess(exitCode(printJson(projectToJson(project, status)), status));
    JsonStreamWriter writer(stdout);
    writeProject(writer, project, status);
    writer.finish();
    return endProcess(exitCode(writer.error(), status));
}

#ifdef MPPDUMP_TABLES
int dumpTables(const QString &path, bool asDocument)
{
    if (asDocument) {
        int status = 0;
        const QJsonObject json = tablesToJson(path, &status);
        return exitCode(printJson(json), status);
    }
    JsonStreamWriter writer(stdout);
    return writeTables(writer, path, [&writer](int status) {
        writer.finish();
        return endProcess(exitCode(writer.error(), status));
    });
}

int dumpCheck(const QString &path)
{
    JsonStreamWriter writer(stdout);
    return writeCheck(writer, path, [&writer](int status) {
        writer.finish();
        return endProcess(exitCode(writer.error(), status));
    });
}

int dumpComparison(const QString &oldPath, const QString &newPath)
{
    JsonStreamWriter writer(stdout);
    const int status = writeComparison(writer, oldPath, newPath);
    writer.finish();
    return exitCode(writer.error(), status);
}
#endif

} // namespace

int main(int argc, char *argv[])
{
#ifdef SIGPIPE
    // A reader that goes away closes the pipe: that is a write error to report, not a signal.
    std::signal(SIGPIPE, SIG_IGN);
#endif
#ifdef Q_OS_WIN
    // The same bytes as on Linux: no "\r" put before every line end of the JSON.
    _setmode(_fileno(stdout), _O_BINARY);
#endif
    // Some tables list their rows in the order of the project's hashes; a fixed seed keeps that
    // order, and so the dump, the same from run to run.
    qSetGlobalQHashSeed(0);
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
#ifdef MPPDUMP_TABLES
    if (parser.isSet(QStringLiteral("compare"))) {
        if (files.size() != 2)
            return usageError(parser, QStringLiteral("--compare expects OLD and NEW files"));
        return dumpComparison(files.at(0), files.at(1));
    }
#endif
    if (files.size() != 1)
        return usageError(parser, QStringLiteral("expected exactly one FILE"));

    const bool asDocument = parser.isSet(QLatin1String(DocumentOption));
#ifdef MPPDUMP_TABLES
    if (parser.isSet(QStringLiteral("tables")))
        return dumpTables(files.first(), asDocument);
    if (parser.isSet(QStringLiteral("check")))
        return dumpCheck(files.first());
#endif
    return dumpProject(files.first(), asDocument);
}
