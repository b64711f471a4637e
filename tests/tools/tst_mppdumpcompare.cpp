// "mppdump --compare" as a program: its JSON on a generated schedule and its edited copy
// ("mppgen --edits"), on a file compared with itself, and its exit codes.

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
    QByteArray error;
};

Run run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(300000) || process.exitStatus() != QProcess::NormalExit)
        return {};
    return { process.exitCode(), process.readAllStandardOutput(), process.readAllStandardError() };
}

QSet<int> ids(const QJsonArray &array)
{
    QSet<int> set;
    for (const QJsonValue &value : array)
        set.insert(value.toInt());
    return set;
}

// The unique IDs of the activities with `change`.
QSet<int> withChange(const QJsonArray &activities, const QString &change)
{
    QSet<int> set;
    for (const QJsonValue &value : activities) {
        if (value[QLatin1String("change")].toString() == change)
            set.insert(value[QLatin1String("uniqueId")].toInt());
    }
    return set;
}

} // namespace

class tst_MppdumpCompare : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void edits();
    void self();
    void unreadable_data();
    void unreadable();

private:
    QTemporaryDir m_dir;
    QString m_base;
};

void tst_MppdumpCompare::initTestCase()
{
#ifndef MPPDUMP_COMPARE
    QSKIP("mppdump is built without the tables (reader-only build)");
#else
    QVERIFY(m_dir.isValid());
    m_base = m_dir.filePath("base.mpp");
    QCOMPARE(run(MPPGEN_PATH, { "--tasks", "300", m_base }).exitCode, 0);
#endif
}

void tst_MppdumpCompare::edits()
{
#ifdef MPPDUMP_COMPARE
    const QString edited = m_dir.filePath("edited.mpp");
    const Run gen = run(MPPGEN_PATH, { "--tasks", "300", "--edits", "4", edited });
    QCOMPARE(gen.exitCode, 0);
    const QJsonObject done = QJsonDocument::fromJson(gen.out).object();
    QCOMPARE(done.keys(), QStringList({ "added", "linksRemoved", "moved", "removed" }));
    QCOMPARE(done["linksRemoved"].toArray().size(), 4);

    const Run cmp = run(MPPDUMP_PATH, { "--compare", m_base, edited });
    QCOMPARE(cmp.exitCode, 0);
    const QJsonObject json = QJsonDocument::fromJson(cmp.out).object();
    QCOMPARE(json.keys(), QStringList({ "activities", "links", "summary" }));
    const QJsonObject summary = json["summary"].toObject();
    QCOMPARE(
        summary.keys(),
        QStringList({ "added", "changed", "deleted", "finishSlipDays", "matching", "unchanged" }));
    QCOMPARE(summary["matching"].toString(), QStringLiteral("uniqueId"));
    const QJsonArray activities = json["activities"].toArray();
    QCOMPARE(withChange(activities, "added"), ids(done["added"].toArray()));
    QCOMPARE(withChange(activities, "deleted"), ids(done["removed"].toArray()));
    QCOMPARE(withChange(activities, "unchanged"), QSet<int>());
    QCOMPARE(summary["added"].toInt() + summary["deleted"].toInt() + summary["changed"].toInt(),
             activities.size());
    for (const QJsonValue &a : activities) {
        QCOMPARE(a.toObject().keys(),
                 QStringList({ "change", "durationDelta", "fields", "finishDelta", "startDelta",
                               "totalFloatDelta", "uniqueId" }));
        if (ids(done["moved"].toArray()).contains(a["uniqueId"].toInt())) {
            QCOMPARE(a["startDelta"].toDouble(), 1.0);
            QVERIFY(a["fields"].toArray().contains("finish"));
        }
    }
    QSet<QString> deletedLinks;
    for (const QJsonValue &link : json["links"].toArray()) {
        QCOMPARE(link["change"].toString(), QStringLiteral("deleted"));
        deletedLinks.insert(QStringLiteral("%1>%2")
                                .arg(link["predecessor"].toInt())
                                .arg(link["successor"].toInt()));
    }
    for (const QJsonValue &link : done["linksRemoved"].toArray()) {
        const QString ends = QStringLiteral("%1>%2").arg(link[0].toInt()).arg(link[1].toInt());
        QVERIFY2(deletedLinks.contains(ends), qPrintable(ends));
    }
#endif
}

void tst_MppdumpCompare::self()
{
#ifdef MPPDUMP_COMPARE
    const Run cmp = run(MPPDUMP_PATH, { "--compare", m_base, m_base });
    QCOMPARE(cmp.exitCode, 0);
    const QJsonObject json = QJsonDocument::fromJson(cmp.out).object();
    QCOMPARE(json["activities"].toArray().size(), 0);
    QCOMPARE(json["links"].toArray().size(), 0);
    const QJsonObject summary = json["summary"].toObject();
    QVERIFY(summary["unchanged"].toInt() > 200);
    QCOMPARE(summary["added"].toInt() + summary["deleted"].toInt() + summary["changed"].toInt(), 0);
    QCOMPARE(summary["finishSlipDays"].toDouble(), 0.0);
#endif
}

void tst_MppdumpCompare::unreadable_data()
{
    QTest::addColumn<bool>("oldMissing");
    QTest::addColumn<int>("exitCode");
    QTest::newRow("old") << true << 2;
    QTest::newRow("new") << false << 2;
}

void tst_MppdumpCompare::unreadable()
{
#ifdef MPPDUMP_COMPARE
    QFETCH(bool, oldMissing);
    QFETCH(int, exitCode);
    const QString missing = m_dir.filePath(oldMissing ? "old-missing.mpp" : "new-missing.mpp");
    const Run cmp
        = run(MPPDUMP_PATH,
              { "--compare", oldMissing ? missing : m_base, oldMissing ? m_base : missing });
    QCOMPARE(cmp.exitCode, exitCode);
    QVERIFY2(cmp.error.contains(missing.toLocal8Bit()), cmp.error.constData());
    QCOMPARE(QJsonDocument::fromJson(cmp.out).object()["file"].toString(), missing);
    QCOMPARE(run(MPPDUMP_PATH, { "--compare", m_base }).exitCode, 64);
#endif
}

QTEST_GUILESS_MAIN(tst_MppdumpCompare)
#include "tst_mppdumpcompare.moc"
