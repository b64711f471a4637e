// mppdump's streamed output against the document-based writer it replaced, on every sample in
// both modes, and its behaviour when stdout fails.

#include <QDir>
#include <QDirIterator>
#include <QProcess>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <QtTest>

#ifndef Q_OS_WIN
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace {

constexpr int ExitWriteFailed = 74;

struct Run
{
    int exitCode = -1;
    QByteArray out;
};

Run mppdump(const QStringList &arguments)
{
    QProcess process;
    process.start(QStringLiteral(MPPDUMP_PATH), arguments);
    if (!process.waitForFinished(300000) || process.exitStatus() != QProcess::NormalExit)
        return {};
    return { process.exitCode(), process.readAllStandardOutput() };
}

struct Outcome
{
    bool exited = false;
    int exitCode = -1;
    QByteArray error;
};

#ifndef Q_OS_WIN
// Runs mppdump with stdout on `out` (closed in this process before the child writes) and
// stderr in a file.
Outcome runWithStdout(int out, const QString &file)
{
    QTemporaryFile errors;
    if (!errors.open())
        return {};
    const pid_t child = fork();
    if (child == 0) {
        dup2(out, STDOUT_FILENO);
        dup2(errors.handle(), STDERR_FILENO);
        execl(MPPDUMP_PATH, MPPDUMP_PATH, qPrintable(file), static_cast<char *>(nullptr));
        _exit(127);
    }
    close(out);
    int status = 0;
    if (child < 0 || waitpid(child, &status, 0) != child)
        return {};
    errors.seek(0);
    return { WIFEXITED(status), WIFEXITED(status) ? WEXITSTATUS(status) : -1, errors.readAll() };
}
#endif

QString largestSample()
{
    QString largest;
    qint64 size = 0;
    QDirIterator it(QString::fromLocal8Bit(qgetenv("TARVIK_SAMPLES")), { "*.mpp" }, QDir::Files,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        it.next();
        if (it.fileInfo().size() > size) {
            size = it.fileInfo().size();
            largest = it.filePath();
        }
    }
    return largest;
}

} // namespace

class TestMppDumpOutput : public QObject
{
    Q_OBJECT

private slots:
    void sameAsDocument_data();
    void sameAsDocument();
    void writeErrors_data();
    void writeErrors();

private:
    QTemporaryDir m_dir;
};

void TestMppDumpOutput::sameAsDocument_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<bool>("tables");
    const QString samples = QString::fromLocal8Bit(qgetenv("TARVIK_SAMPLES"));
    QStringList files { QStringLiteral(TARVIK_SOURCE_DIR "/samples/demo.mpp") };
    QDirIterator it(samples, { "*.mpp" }, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext())
        files.append(it.next());
    // A file the reader refuses: the status document must match too.
    files.append(QStringLiteral(TARVIK_SOURCE_DIR "/README.md"));
    // Records as wide as the widest real ones, custom fields filled, numbers in quarters.
    const QString wide = m_dir.filePath(QStringLiteral("wide.mpp"));
    QProcess::execute(QStringLiteral(MPPGEN_PATH),
                      { QStringLiteral("--tasks"), QStringLiteral("300"), QStringLiteral("--wide"),
                        QStringLiteral("--resources"), QStringLiteral("5"),
                        QStringLiteral("--assignments"), QStringLiteral("100"), wide });
    QVERIFY(QFileInfo::exists(wide));
    files.append(wide);
    files.sort();
    for (const QString &file : qAsConst(files)) {
        const QString name = QDir(samples).relativeFilePath(file);
        QTest::addRow("%s", qPrintable(name)) << file << false;
        QTest::addRow("%s --tables", qPrintable(name)) << file << true;
    }
}

void TestMppDumpOutput::sameAsDocument()
{
    QFETCH(QString, file);
    QFETCH(bool, tables);
    QStringList arguments { file };
    if (tables)
        arguments.prepend(QStringLiteral("--tables"));
    const Run streamed = mppdump(arguments);
    if (tables && streamed.exitCode == 64)
        QSKIP("this build of mppdump has no --tables");
    const Run document = mppdump(QStringList(arguments) << QStringLiteral("--document"));
    QVERIFY(streamed.exitCode == 0 || streamed.exitCode == 2);
    QCOMPARE(streamed.exitCode, document.exitCode);
    QVERIFY(!streamed.out.isEmpty());
    // Compared whole, not with QCOMPARE, which would print megabytes on a difference.
    if (streamed.out != document.out) {
        int at = 0;
        while (at < streamed.out.size() && at < document.out.size()
               && streamed.out.at(at) == document.out.at(at))
            ++at;
        QFAIL(qPrintable(QStringLiteral("output differs from byte %1: \"%2\" instead of \"%3\"")
                             .arg(at)
                             .arg(QString::fromUtf8(streamed.out.mid(at, 60)),
                                  QString::fromUtf8(document.out.mid(at, 60)))));
    }
}

void TestMppDumpOutput::writeErrors_data()
{
    QTest::addColumn<bool>("closedPipe");
    QTest::newRow("full disk") << false;
    QTest::newRow("closed pipe") << true;
}

void TestMppDumpOutput::writeErrors()
{
#ifdef Q_OS_WIN
    QSKIP("The failing outputs are made with fork, a pipe without reader and /dev/full, which "
          "Windows does not have");
#else
    QFETCH(bool, closedPipe);
    int out = -1;
    if (closedPipe) {
        int fds[2];
        QCOMPARE(pipe(fds), 0);
        close(fds[0]); // no reader: every write fails with EPIPE
        out = fds[1];
    } else {
        out = open("/dev/full", O_WRONLY);
        if (out < 0)
            QSKIP("no /dev/full");
    }
    const Outcome outcome = runWithStdout(out, largestSample());
    QVERIFY2(outcome.exited, "mppdump was ended by a signal");
    QCOMPARE(outcome.exitCode, ExitWriteFailed);
    QVERIFY2(outcome.error.startsWith("mppdump: cannot write the output"), outcome.error);
#endif
}

QTEST_GUILESS_MAIN(TestMppDumpOutput)
#include "tst_mppdumpoutput.moc"
