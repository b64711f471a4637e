// "mppdump --check" as a program: the JSON's shape, all fourteen checks in number order, the
// counts of a small real schedule, and the exit code of a file that cannot be read.

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

namespace {

struct Run
{
    int exitCode = -1;
    QByteArray out;
};

Run run(const QStringList &arguments)
{
    QProcess process;
    process.start(QStringLiteral(MPPDUMP_PATH), arguments);
    if (!process.waitForFinished(300000) || process.exitStatus() != QProcess::NormalExit)
        return {};
    return { process.exitCode(), process.readAllStandardOutput() };
}

QString samplePath()
{
    const QByteArray env = qgetenv("TARVIK_SAMPLES");
    return QString::fromLocal8Bit(env.isEmpty() ? QByteArray(TARVIK_SAMPLES) : env)
        + QStringLiteral("/extra/mpp14relations.mpp");
}

} // namespace

class tst_MppdumpCheck : public QObject
{
    Q_OBJECT

private slots:
    void checks();
    void unreadable();
};

void tst_MppdumpCheck::checks()
{
#ifdef MPPDUMP_CHECK
    const Run check = run({ "--check", samplePath() });
    QCOMPARE(check.exitCode, 0);
    const QJsonObject json = QJsonDocument::fromJson(check.out).object();
    QCOMPARE(json.keys(), QStringList({ "checks", "minutesPerDay", "statusDate" }));
    QCOMPARE(json["minutesPerDay"].toInt(), 480);
    QVERIFY(json["statusDate"].isNull());
    const QJsonArray checks = json["checks"].toArray();
    QCOMPARE(checks.size(), 14);
    for (int k = 0; k < checks.size(); ++k) {
        const QJsonObject c = checks.at(k).toObject();
        QCOMPARE(c.keys(),
                 QStringList({ "activities", "count", "name", "number", "population", "ratio",
                               "result", "threshold" }));
        QCOMPARE(c["number"].toInt(), k + 1);
        // Without a status date the date checks are not assessed.
        if (k + 1 == 9 || k + 1 >= 13 || k + 1 == 11) {
            QCOMPARE(c["result"].toString(), QStringLiteral("not assessed"));
            QVERIFY(c["ratio"].isNull());
        }
    }
    const QJsonObject logic = checks.at(0).toObject();
    QCOMPARE(logic["count"].toInt(), 2);
    QCOMPARE(logic["population"].toInt(), 5);
    QCOMPARE(logic["ratio"].toDouble(), 0.4);
    QCOMPARE(logic["activities"].toArray().size(), 2);
    QCOMPARE(logic["result"].toString(), QStringLiteral("fail"));
    QVERIFY(checks.at(9).toObject()["threshold"].isNull());
#else
    QSKIP("this mppdump has no --check");
#endif
}

void tst_MppdumpCheck::unreadable()
{
#ifdef MPPDUMP_CHECK
    QTemporaryDir dir;
    const QString missing = dir.filePath(QStringLiteral("missing.mpp"));
    const Run check = run({ "--check", missing });
    QCOMPARE(check.exitCode, 2);
    QCOMPARE(QJsonDocument::fromJson(check.out).object()["file"].toString(), missing);
#else
    QSKIP("this mppdump has no --check");
#endif
}

QTEST_GUILESS_MAIN(tst_MppdumpCheck)
#include "tst_mppdumpcheck.moc"
