// The mppdump tool: exit codes and the JSON names that scripts rely on.

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryFile>
#include <QtTest>

namespace {

struct Run
{
    int exitCode = -1;
    QByteArray out;
};

Run mppdump(const QStringList &arguments)
{
    QProcess process;
    process.start(QStringLiteral(MPPDUMP_PATH), arguments);
    process.waitForFinished(60000);
    return { process.exitCode(), process.readAllStandardOutput() };
}

QStringList sortedKeys(const QJsonObject &object)
{
    QStringList keys = object.keys();
    keys.sort();
    return keys;
}

} // namespace

class TestMppDump : public QObject
{
    Q_OBJECT

private slots:
    void usage();
    void dumpsProject();
    void dumpsBaselines();
    void dumpsCalendars();
    void dumpsAuthoredData_data();
    void dumpsAuthoredData();
    void failedReadStillPrintsJson();
};

void TestMppDump::usage()
{
    QCOMPARE(mppdump({}).exitCode, 64);
    QCOMPARE(mppdump({ QStringLiteral("a.mpp"), QStringLiteral("b.mpp") }).exitCode, 64);
    QCOMPARE(mppdump({ QStringLiteral("--no-such-option"), QStringLiteral("a.mpp") }).exitCode, 64);
    const Run help = mppdump({ QStringLiteral("--help") });
    QCOMPARE(help.exitCode, 0);
    QVERIFY(help.out.contains("FILE"));
}

void TestMppDump::dumpsProject()
{
    const QString file = QStringLiteral(TARVIK_SOURCE_DIR "/samples/demo.mpp");
    const Run run = mppdump({ file });
    QCOMPARE(run.exitCode, 0);
    const QJsonObject json = QJsonDocument::fromJson(run.out).object();
    QCOMPARE(sortedKeys(json),
             QStringList({ "assignments", "calendars", "clipboardFormat", "customFieldDefinitions",
                           "file", "outlineCodes", "progId", "project", "resources", "status",
                           "tasks", "userType" }));
    QCOMPARE(json["file"].toString(), file);
    QCOMPARE(json["status"].toInt(), 0);

    const QJsonArray tasks = json["tasks"].toArray();
    QVERIFY(tasks.size() >= 50);
    const QStringList taskKeys = { "uniqueId",
                                   "tf17",
                                   "name",
                                   "blankRecord",
                                   "shortRecord",
                                   "tf15",
                                   "tf16",
                                   "start",
                                   "finish",
                                   "actualStart",
                                   "actualFinish",
                                   "earlyStart",
                                   "earlyFinish",
                                   "lateStart",
                                   "lateFinish",
                                   "scheduledStart",
                                   "scheduledFinish",
                                   "percentComplete",
                                   "tf21",
                                   "autoScheduled",
                                   "tf18",
                                   "tf52",
                                   "parentUniqueId",
                                   "tf11",
                                   "constraintDate",
                                   "code",
                                   "tf1c",
                                   "tf33",
                                   "tf05",
                                   "predUniqueIds",
                                   "predLags",
                                   "predLagUnits",
                                   "predTypes",
                                   "texts",
                                   "datesA",
                                   "datesB",
                                   "numbers",
                                   "integers",
                                   "tf513",
                                   "tf514",
                                   "tf515",
                                   "tf06",
                                   "datesC",
                                   "datesD",
                                   "integersB",
                                   "numbersB",
                                   "tf0a",
                                   "tf1f",
                                   "tf04",
                                   "startSlack",
                                   "finishSlack",
                                   "duration",
                                   "work",
                                   "actualWork",
                                   "predecessors",
                                   "baselines",
                                   "calendarUniqueId",
                                   "customFields",
                                   "notes" };
    QStringList expected = taskKeys;
    expected.sort();
    int previous = -1;
    for (const QJsonValue &value : tasks) {
        const QJsonObject task = value.toObject();
        QCOMPARE(sortedKeys(task), expected);
        QVERIFY(task["uniqueId"].toInt() > previous); // sorted by unique ID
        previous = task["uniqueId"].toInt();
    }
    const QJsonObject second = tasks.at(2).toObject();
    QCOMPARE(second["start"].toString(), QStringLiteral("2025-01-06T08:00:00"));
    QVERIFY(second["actualStart"].isNull());
    QCOMPARE(second["texts"].toArray().size(), 30);
    const QJsonArray predecessors = tasks.at(3).toObject()["predecessors"].toArray();
    QCOMPARE(predecessors.size(), 1);
    QCOMPARE(sortedKeys(predecessors.at(0).toObject()),
             QStringList({ "lag", "lagUnits", "type", "uniqueId" }));

    const QJsonObject resource = json["resources"].toArray().at(0).toObject();
    QCOMPARE(sortedKeys(resource),
             QStringList(
                 { "calendarUniqueId", "customFields", "name", "notes", "shortName", "uniqueId" }));
    const QJsonObject assignment = json["assignments"].toArray().at(0).toObject();
    QCOMPARE(assignment.size(), 20);
    QVERIFY(assignment.contains("af0a") && assignment.contains("taskUniqueId"));
}

void TestMppDump::dumpsCalendars()
{
    const Run run = mppdump(
        { QStringLiteral(TARVIK_SAMPLES "/oracle/calendar-calendars-project2010-mpp14.mpp") });
    QCOMPARE(run.exitCode, 0);
    const QJsonObject json = QJsonDocument::fromJson(run.out).object();
    const QJsonObject project = json["project"].toObject();
    QCOMPARE(sortedKeys(project),
             QStringList({ "author", "calendarUniqueId", "company", "currentDate", "daysPerMonth",
                           "finishDate", "minutesPerDay", "minutesPerWeek", "startDate",
                           "statusDate", "title" }));
    QCOMPARE(project["minutesPerDay"].toInt(), 480);
    QCOMPARE(project["calendarUniqueId"].toInt(), 1);
    QVERIFY(project["statusDate"].isNull());

    const QJsonArray calendars = json["calendars"].toArray();
    QVERIFY(calendars.size() >= 5);
    const QJsonObject standard = calendars.at(0).toObject();
    QCOMPARE(sortedKeys(standard),
             QStringList({ "baseCalendarUniqueId", "exceptions", "name", "resourceUniqueId",
                           "uniqueId", "weekDays" }));
    QCOMPARE(standard["name"].toString(), QStringLiteral("Standard"));
    QVERIFY(standard["baseCalendarUniqueId"].isNull());
    const QJsonObject monday = standard["weekDays"].toArray().at(1).toObject();
    QCOMPARE(sortedKeys(monday), QStringList({ "day", "ranges", "working" }));
    QCOMPARE(monday["day"].toInt(), 2);
    QCOMPARE(monday["ranges"].toArray().at(1).toArray(),
             QJsonArray({ QStringLiteral("13:00"), QStringLiteral("17:00") }));
    // A resource calendar defines no days of its own and names its resource.
    const QJsonObject resourceCalendar = calendars.last().toObject();
    QCOMPARE(resourceCalendar["baseCalendarUniqueId"].toInt(), 1);
    QCOMPARE(resourceCalendar["resourceUniqueId"].toInt(), 2);
    QVERIFY(resourceCalendar["weekDays"].toArray().isEmpty());
    QCOMPARE(json["resources"].toArray().last().toObject()["calendarUniqueId"].toInt(),
             resourceCalendar["uniqueId"].toInt());
}

void TestMppDump::dumpsBaselines()
{
    const Run run
        = mppdump({ QStringLiteral(TARVIK_SAMPLES "/oracle/task-baselines-project2010-mpp9.mpp") });
    QCOMPARE(run.exitCode, 0);
    QJsonObject start;
    QJsonObject cost;
    for (const QJsonValue &value : QJsonDocument::fromJson(run.out).object()["tasks"].toArray()) {
        const QJsonObject task = value.toObject();
        if (task["name"] == QLatin1String("Baseline Start - Task"))
            start = task;
        else if (task["name"] == QLatin1String("Baseline10 Cost - Task"))
            cost = task;
        else if (task["uniqueId"].toInt() == 0)
            QVERIFY(task["baselines"].toArray().isEmpty());
    }
    // Only the stored baselines are listed, each with all five values.
    QCOMPARE(start["baselines"].toArray().size(), 1);
    const QJsonObject zero = start["baselines"].toArray().at(0).toObject();
    QCOMPARE(sortedKeys(zero),
             QStringList({ "cost", "duration", "finish", "number", "start", "work" }));
    QCOMPARE(zero["number"].toInt(), 0);
    QCOMPARE(zero["start"].toString(), QStringLiteral("2014-04-01T09:00:00"));
    QVERIFY(zero["finish"].isNull());
    const QJsonObject ten = cost["baselines"].toArray().at(0).toObject();
    QCOMPARE(ten["number"].toInt(), 10);
    QCOMPARE(ten["cost"].toDouble(), 1100.0);
}

void TestMppDump::dumpsAuthoredData_data()
{
    // One member of the dump, given as a path of keys and array positions, and its JSON text.
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("path");
    QTest::addColumn<QByteArray>("json");
    const QString outline = QStringLiteral("extra/task-outlinecodes-project2010-mpp14.mpp");
    const QString split = QStringLiteral("extra/mpp14splittask.mpp");
    QTest::newRow("outline code value")
        << outline << "tasks/11/customFields" << QByteArray(R"({"OutlineCode1":"OC1A.OC1B"})");
    QTest::newRow("outline code list")
        << outline << "outlineCodes/0"
        << QByteArray(R"({"alias":null,"field":"OutlineCode1","values":[)"
                      R"({"description":null,"parentUniqueId":null,"uniqueId":1,"value":"OC1A"},)"
                      R"({"description":null,"parentUniqueId":1,"uniqueId":2,"value":"OC1B"}]})");
    QTest::newRow("no notes") << outline << "tasks/1/notes" << QByteArray("null");
    QTest::newRow("segments") << split << "tasks/1/segments"
                              << QByteArray(
                                     R"([{"finish":"2006-09-26T17:00:00","start":)"
                                     R"("2006-09-21T08:00:00"},{"finish":)"
                                     R"("2006-10-09T17:00:00","start":"2006-10-02T08:00:00"}])");
    QTest::newRow("no segments unless split") << split << "tasks/0/segments" << QByteArray();
    QTest::newRow("resource notes") << "oracle/resource-misc-project2010-mpp12.mpp"
                                    << "resources/0/notes" << QByteArray(R"("Notes1")");
    QTest::newRow("alias") << "extra/alias.mpp"
                           << "customFieldDefinitions/0"
                           << QByteArray(R"({"alias":"Text1t","entity":"task","field":"Text1"})");
    QTest::newRow("flag") << "oracle/task-flags-project2013-mpp14.mpp"
                          << "tasks/11/customFields" << QByteArray(R"({"Flag11":true})");
}

void TestMppDump::dumpsAuthoredData()
{
    QFETCH(QString, file);
    QFETCH(QString, path);
    QFETCH(QByteArray, json);
    const Run run = mppdump({ QStringLiteral(TARVIK_SAMPLES "/") + file });
    QCOMPARE(run.exitCode, 0);
    QJsonValue value = QJsonDocument::fromJson(run.out).object();
    for (const QString &step : path.split(QLatin1Char('/'))) {
        bool isIndex = false;
        const int index = step.toInt(&isIndex);
        value = isIndex ? value.toArray().at(index) : value.toObject().value(step);
    }
    if (json.isEmpty()) {
        QVERIFY(value.isUndefined());
        return;
    }
    const QByteArray text = value.isObject()
        ? QJsonDocument(value.toObject()).toJson(QJsonDocument::Compact)
        : value.isArray()
        ? QJsonDocument(value.toArray()).toJson(QJsonDocument::Compact)
        : QJsonDocument(QJsonArray { value }).toJson(QJsonDocument::Compact).mid(1).chopped(1);
    QCOMPARE(text, json);
}

void TestMppDump::failedReadStillPrintsJson()
{
    QTemporaryFile notMpp;
    QVERIFY(notMpp.open());
    notMpp.write("plain text");
    notMpp.close();
    const Run run = mppdump({ notMpp.fileName() });
    QCOMPARE(run.exitCode, 2);
    const QJsonObject json = QJsonDocument::fromJson(run.out).object();
    QCOMPARE(json["status"].toInt(), 1);
    QVERIFY(json["tasks"].toArray().isEmpty());
}

QTEST_GUILESS_MAIN(TestMppDump)
#include "tst_mppdump.moc"
