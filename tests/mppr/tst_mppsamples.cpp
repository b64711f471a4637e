// Every sample file against the XML export of the same schedule: tasks, parents, outline
// numbers, dates, links, slack, durations, work and progress; resources and assignments.

#include "mppr/project.h"
#include "tests/support/samplesdir.h"

#include <QDir>
#include <QRegularExpression>
#include <QXmlStreamReader>
#include <QtTest>

#include <map>
#include <optional>

using namespace mppr;

namespace {

// The export's elements directly inside one <Task>, <Resource> or <Assignment>, and its links.
struct XmlRecord
{
    QHash<QString, QString> values;
    struct Link
    {
        qint32 predecessor;
        int type;
        qint32 lag;
        int lagFormat;
    };
    QVector<Link> links;
    // The <Baseline> children: "Number" and whichever of "Start", "Finish", "Duration", "Work"
    // and "Cost" the export writes.
    QVector<QHash<QString, QString>> baselines;

    QString value(const char *name) const { return values.value(QLatin1String(name)); }
    bool has(const char *name) const { return values.contains(QLatin1String(name)); }
};

struct XmlExport
{
    std::map<qint32, XmlRecord> tasks;
    std::map<qint32, XmlRecord> resources;
    QVector<XmlRecord> assignments;
};

XmlRecord::Link readLink(QXmlStreamReader &xml)
{
    XmlRecord::Link link {};
    while (xml.readNextStartElement()) {
        const QString text = xml.readElementText(QXmlStreamReader::SkipChildElements);
        if (xml.name() == QLatin1String("PredecessorUID"))
            link.predecessor = text.toInt();
        else if (xml.name() == QLatin1String("Type"))
            link.type = text.toInt();
        else if (xml.name() == QLatin1String("LinkLag"))
            link.lag = text.toInt();
        else if (xml.name() == QLatin1String("LagFormat"))
            link.lagFormat = text.toInt();
    }
    return link;
}

QHash<QString, QString> readChildren(QXmlStreamReader &xml)
{
    QHash<QString, QString> values;
    while (xml.readNextStartElement()) {
        const QString name = xml.name().toString();
        values.insert(name, xml.readElementText(QXmlStreamReader::SkipChildElements));
    }
    return values;
}

// Reads the direct children of the current element, links and baselines; other nested records
// (time-phased data, extended attributes) carry their own UID and dates and are skipped.
XmlRecord readRecord(QXmlStreamReader &xml)
{
    XmlRecord record;
    while (xml.readNextStartElement()) {
        if (xml.name() == QLatin1String("PredecessorLink")) {
            record.links.append(readLink(xml));
            continue;
        }
        if (xml.name() == QLatin1String("Baseline")) {
            record.baselines.append(readChildren(xml));
            continue;
        }
        const QString name = xml.name().toString();
        const QString text = xml.readElementText(QXmlStreamReader::SkipChildElements);
        record.values.insert(name, text);
    }
    return record;
}

XmlExport readExport(const QString &path)
{
    XmlExport out;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return out;
    QXmlStreamReader xml(&file);
    while (!xml.atEnd()) {
        if (!xml.readNextStartElement())
            continue;
        const QStringRef name = xml.name();
        if (name == QLatin1String("Task")) {
            const XmlRecord r = readRecord(xml);
            out.tasks[r.value("UID").toInt()] = r;
        } else if (name == QLatin1String("Resource")) {
            const XmlRecord r = readRecord(xml);
            out.resources[r.value("UID").toInt()] = r;
        } else if (name == QLatin1String("Assignment")) {
            out.assignments.append(readRecord(xml));
        }
    }
    return out;
}

// The export's dates are wall-clock texts; the reader's are wall-clock values in UTC spec.
QString dateText(const QDateTime &date)
{
    return isUnset(date) ? QString() : date.toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss"));
}

// "PT8H30M0S" in minutes.
std::optional<double> durationMinutes(const QString &text)
{
    static const QRegularExpression re(QStringLiteral("^(-)?PT(\\d+)H(\\d+)M(\\d+(?:\\.\\d+)?)S$"));
    const QRegularExpressionMatch m = re.match(text);
    if (!m.hasMatch())
        return std::nullopt;
    const double minutes
        = m.captured(2).toDouble() * 60 + m.captured(3).toDouble() + m.captured(4).toDouble() / 60;
    return m.capturedLength(1) ? -minutes : minutes;
}

// Parents from the export's outline numbers; the summary task (UID 0) is the top.
QHash<qint32, qint32> parentsOf(const XmlExport &xml)
{
    QHash<QString, qint32> byOutline;
    for (const auto &[uid, r] : xml.tasks)
        byOutline.insert(r.value("OutlineNumber"), uid);
    QHash<qint32, qint32> parents;
    for (const auto &[uid, r] : xml.tasks) {
        if (uid == 0)
            continue;
        const QString outline = r.value("OutlineNumber");
        const int dot = outline.lastIndexOf(QLatin1Char('.'));
        parents.insert(uid, dot < 0 ? 0 : byOutline.value(outline.left(dot), -1));
    }
    return parents;
}

// Outline numbers by the reader's rule: "1" at the top, siblings in ascending unique ID order.
QHash<qint32, QString> outlineCodes(const QHash<qint32, qint32> &parents)
{
    QMap<qint32, QVector<qint32>> children;
    for (auto it = parents.cbegin(); it != parents.cend(); ++it)
        children[it.value()].append(it.key());
    QHash<qint32, QString> codes { { 0, QStringLiteral("1") } };
    QVector<qint32> pending { 0 };
    while (!pending.isEmpty()) {
        const qint32 parent = pending.takeLast();
        QVector<qint32> list = children.value(parent);
        std::sort(list.begin(), list.end());
        for (int n = 0; n < list.size(); ++n) {
            codes.insert(list.at(n),
                         codes.value(parent) + QLatin1Char('.') + QString::number(n + 1));
            pending.append(list.at(n));
        }
    }
    return codes;
}

// The four schedules whose stored late dates (and so their slack) differ from their export.
bool lateDatesDiffer(const QString &fileName)
{
    static const QStringList files = {
        QStringLiteral("task-links-project2010-mpp14.mpp"),
        QStringLiteral("task-links-project2013-mpp14.mpp"),
        QStringLiteral("task-links-project2016-mpp12.mpp"),
        QStringLiteral("task-links-project2019-mpp12.mpp"),
    };
    return files.contains(fileName);
}

struct Agreement
{
    int compared = 0;
    int agreed = 0;
    int allowed = 0; // differences in the four files above
};

// "   114", "   112" or "   19" from the file name's "-mppN" suffix, for the figures per layout.
QString layoutOf(const QString &fileName)
{
    if (fileName.contains(QLatin1String("-mpp14")))
        return QStringLiteral("114");
    return fileName.contains(QLatin1String("-mpp12")) ? QStringLiteral("112")
                                                      : QStringLiteral("19");
}

} // namespace

class TestMppSamples : public QObject
{
    Q_OBJECT

private slots:
    void oracle_data();
    void oracle();
    void progressOfOlderLayouts_data();
    void progressOfOlderLayouts();
    void agreementFigures();
    void extraStatuses_data();
    void extraStatuses();
    void taskCalendars();

private:
    void compareTasks(const Project &project, const XmlExport &xml, bool allowLateDates);
    void compareSlackAndWork(const Task &task, const XmlRecord &r, bool allowed);
    void compareBaselines(const Task &task, const XmlRecord &r);
    void compareResources(const Project &project, const XmlExport &xml, const QString &layout);
    void compareResourceTypes(const Project &project, const XmlExport &xml, const QString &layout);
    void compareAssignmentWork(const Project &project, const XmlExport &xml, const QString &layout);
    void count(const QString &field, bool agree, bool allowed);

    std::map<QString, Agreement> m_agreement;
};

void TestMppSamples::oracle_data()
{
    QTest::addColumn<QString>("mpp");
    QTest::addColumn<QString>("xml");
    const QDir dir(samplesDir() + QStringLiteral("/oracle"));
    const QStringList files = dir.entryList({ QStringLiteral("*.mpp") }, QDir::Files, QDir::Name);
    QVERIFY(files.size() > 100);
    static const QRegularExpression stem(QStringLiteral("^(.*-project\\d+)-mpp\\d+\\.mpp$"));
    for (const QString &file : files) {
        const QRegularExpressionMatch m = stem.match(file);
        const QString xml = dir.filePath(m.captured(1) + QStringLiteral("-mspdi.xml"));
        QTest::newRow(qPrintable(file))
            << dir.filePath(file) << (QFile::exists(xml) ? xml : QString());
    }
}

void TestMppSamples::oracle()
{
    QFETCH(QString, mpp);
    QFETCH(QString, xml);
    Project project(mpp);
    QCOMPARE(project.read(), int(StatusOk));
    if (xml.isEmpty())
        return; // no export was saved beside this one
    const XmlExport exported = readExport(xml);
    QVERIFY(!exported.tasks.empty());
    const QString fileName = QFileInfo(mpp).fileName();
    compareTasks(project, exported, lateDatesDiffer(fileName));
    const QString layout = layoutOf(fileName);
    for (const auto &[uid, r] : exported.tasks) {
        const bool agree = project.task(uid)->percentComplete == r.value("PercentComplete").toInt();
        count(QStringLiteral("PercentComplete, ") + layout, agree, false);
        QVERIFY2(agree, qPrintable(QStringLiteral("task %1").arg(uid)));
    }
    compareResources(project, exported, layout);
    compareAssignmentWork(project, exported, layout);
}

void TestMppSamples::compareTasks(const Project &project, const XmlExport &xml, bool allowLateDates)
{
    const QHash<qint32, qint32> parents = parentsOf(xml);
    const QHash<qint32, QString> codes = outlineCodes(parents);
    int fullRecords = 0;
    for (const Task *t : project.tasks())
        fullRecords += t->blankRecord || t->shortRecord ? 0 : 1;
    QCOMPARE(fullRecords, int(xml.tasks.size()));

    for (const auto &[uid, r] : xml.tasks) {
        const Task *t = project.task(uid);
        QVERIFY2(t, qPrintable(QStringLiteral("task %1 missing").arg(uid)));
        if (uid != 0) { // the export names the summary task after the project title
            QCOMPARE(t->name, r.value("Name"));
            QCOMPARE(t->parentUniqueId, parents.value(uid));
        }
        QCOMPARE(t->code, codes.value(uid));
        QCOMPARE(QString::number(t->calendarUniqueId.value_or(-1)), r.value("CalendarUID"));
        QCOMPARE(dateText(t->start), r.value("Start"));
        QCOMPARE(dateText(t->finish), r.value("Finish"));
        QCOMPARE(dateText(t->actualStart), r.value("ActualStart"));
        QCOMPARE(dateText(t->actualFinish), r.value("ActualFinish"));
        QCOMPARE(dateText(t->earlyStart), r.value("EarlyStart"));
        QCOMPARE(dateText(t->earlyFinish), r.value("EarlyFinish"));
        if (!allowLateDates) {
            QCOMPARE(dateText(t->lateStart), r.value("LateStart"));
            QCOMPARE(dateText(t->lateFinish), r.value("LateFinish"));
        }

        QVector<XmlRecord::Link> links = r.links;
        QCOMPARE(t->predecessors.size(), links.size());
        for (const Task::Predecessor &p : t->predecessors) {
            const auto link = std::find_if(links.cbegin(), links.cend(), [&](const auto &l) {
                return l.predecessor == p.uniqueId;
            });
            QVERIFY(link != links.cend());
            QCOMPARE(int(p.type), link->type);
            QCOMPARE(p.lag, link->lag);
            QCOMPARE(p.lagUnits, link->lagFormat);
        }
        compareSlackAndWork(*t, r, allowLateDates);
        compareBaselines(*t, r);
    }
}

void TestMppSamples::count(const QString &field, bool agree, bool allowed)
{
    Agreement &a = m_agreement[field];
    ++a.compared;
    a.agreed += agree ? 1 : 0;
    a.allowed += !agree && allowed ? 1 : 0;
}

void TestMppSamples::compareSlackAndWork(const Task &t, const XmlRecord &r, bool allowed)
{
    const auto check = [&](const char *field, const std::optional<double> &expected,
                           const std::optional<double> &actual, bool mayDiffer) {
        if (!expected)
            return; // the export does not carry it
        const bool agree = actual && qAbs(*actual - *expected) < 1e-6;
        count(QLatin1String(field), agree, mayDiffer);
        if (!agree && !mayDiffer) {
            QFAIL(qPrintable(QStringLiteral("task %1 %2: %3 expected %4")
                                 .arg(t.uniqueId)
                                 .arg(QLatin1String(field))
                                 .arg(actual ? QString::number(*actual) : QStringLiteral("none"))
                                 .arg(*expected)));
        }
    };
    const auto number = [&r](const char *name) -> std::optional<double> {
        return r.has(name) ? std::optional<double>(r.value(name).toDouble()) : std::nullopt;
    };
    const auto minutes = [&r](const char *name) -> std::optional<double> {
        return r.has(name) ? durationMinutes(r.value(name)) : std::nullopt;
    };
    const auto scaled = [](const auto &value, double divisor) -> std::optional<double> {
        return value ? std::optional<double>(*value / divisor) : std::nullopt;
    };
    std::optional<double> totalSlack;
    if (t.startSlack && t.finishSlack)
        totalSlack = qMin(*t.startSlack, *t.finishSlack);
    // Slack and durations are tenths of a minute in the file and in the export's slack fields.
    check("TotalSlack", number("TotalSlack"), totalSlack, allowed);
    check("StartSlack", number("StartSlack"), scaled(t.startSlack, 1), allowed);
    check("FinishSlack", number("FinishSlack"), scaled(t.finishSlack, 1), allowed);
    check("FreeSlack", number("FreeSlack"), double(t.tf15), allowed);
    check("Duration", minutes("Duration"), scaled(t.duration, 10), false);
    check("RemainingDuration", minutes("RemainingDuration"), t.tf1f / 10.0, false);
    // Work is thousandths of a minute in the file.
    check("Work", minutes("Work"), scaled(t.work, 1000), false);
    check("ActualWork", minutes("ActualWork"), scaled(t.actualWork, 1000), false);
    check("RemainingWork", minutes("RemainingWork"), t.tf04 / 1000, false);
}

// Every baseline the export lists, field by field; a field it leaves out must be unset or zero
// in the file, and the file must store no baseline the export leaves out.
void TestMppSamples::compareBaselines(const Task &t, const XmlRecord &r)
{
    const auto check
        = [&](const char *field, int number, const QString &expected, const QString &actual) {
              const bool agree = expected == actual;
              if (agree && expected.isEmpty())
                  return; // counted are the values the export lists
              count(field, agree, false);
              if (!agree) {
                  QFAIL(qPrintable(QStringLiteral("task %1 baseline %2 %3: %4 expected %5")
                                       .arg(t.uniqueId)
                                       .arg(number)
                                       .arg(QLatin1String(field), actual, expected)));
              }
          };
    // Numbers as text, "" for none or zero, so that a left-out field matches an empty one.
    const auto text = [](const std::optional<double> &value) {
        return value && *value != 0 ? QString::number(*value, 'f', 3) : QString();
    };
    const auto minutes = [&text](const QString &duration) {
        return text(duration.isEmpty() ? std::nullopt : durationMinutes(duration));
    };
    const auto scaled = [](const auto &value, double divisor) -> std::optional<double> {
        return value ? std::optional<double>(*value / divisor) : std::nullopt;
    };
    QSet<int> listed;
    for (const QHash<QString, QString> &e : r.baselines) {
        const int n = e.value(QStringLiteral("Number")).toInt();
        listed.insert(n);
        const Baseline *b = t.baseline(n);
        const Baseline none;
        const Baseline &stored = b ? *b : none;
        check("Baseline start", n, e.value(QStringLiteral("Start")), dateText(stored.start));
        check("Baseline finish", n, e.value(QStringLiteral("Finish")), dateText(stored.finish));
        check("Baseline duration", n, minutes(e.value(QStringLiteral("Duration"))),
              text(scaled(stored.duration, 10)));
        check("Baseline work", n, minutes(e.value(QStringLiteral("Work"))),
              text(scaled(stored.work, 1000)));
        const QString cost = e.value(QStringLiteral("Cost"));
        check("Baseline cost", n,
              text(cost.isEmpty() ? std::nullopt : std::optional(cost.toDouble())),
              text(stored.cost));
    }
    for (const Baseline &b : t.baselines)
        QVERIFY2(
            listed.contains(b.number),
            qPrintable(
                QStringLiteral("task %1 baseline %2 not exported").arg(t.uniqueId).arg(b.number)));
}

// The export's placeholders are left out: the unnamed resource 0 and the assignments to resource
// -65535 (unassigned work), which the reader does not create.
void TestMppSamples::compareResources(const Project &project, const XmlExport &xml,
                                      const QString &layout)
{
    QMap<qint32, QPair<QString, QString>> expected;
    for (const auto &[uid, r] : xml.resources) {
        if (!r.value("Name").isEmpty())
            expected.insert(uid, { r.value("Name"), r.value("Initials") });
    }
    QMap<qint32, QPair<QString, QString>> actual;
    for (const Resource *r : project.resources())
        actual.insert(r->uniqueId, { r->name, r->shortName });
    for (auto it = expected.cbegin(); it != expected.cend(); ++it) {
        count(QStringLiteral("Resource Name, ") + layout, actual.value(it.key()).first == it->first,
              false);
        count(QStringLiteral("Resource Initials, ") + layout,
              actual.value(it.key()).second == it->second, false);
    }
    QCOMPARE(actual, expected);
    if (layout != QLatin1String("114"))
        compareResourceTypes(project, xml, layout);

    QSet<QString> expectedAssignments;
    for (const XmlRecord &r : xml.assignments) {
        if (expected.contains(r.value("ResourceUID").toInt())) {
            expectedAssignments.insert(r.value("UID") + '/' + r.value("TaskUID") + '/'
                                       + r.value("ResourceUID"));
        }
    }
    QSet<QString> actualAssignments;
    for (const Assignment *a : project.assignments()) {
        actualAssignments.insert(QStringLiteral("%1/%2/%3")
                                     .arg(a->uniqueId)
                                     .arg(a->taskUniqueId)
                                     .arg(a->resourceUniqueId));
    }
    for (const QString &pair : qAsConst(expectedAssignments))
        count(QStringLiteral("Assignment, ") + layout, actualAssignments.contains(pair), false);
    QCOMPARE(actualAssignments, expectedAssignments);
    QCOMPARE(project.assignments().size(), expectedAssignments.size());
}

// The "   19" layout has no cost resources: a later version saving one in it stores a material
// resource, while the export (of the schedule the sample was saved from) still says cost.
void TestMppSamples::compareResourceTypes(const Project &project, const XmlExport &xml,
                                          const QString &layout)
{
    for (const Resource *resource : project.resources()) {
        const XmlRecord &r = xml.resources.at(resource->uniqueId);
        ResourceType expected = ResourceType(r.value("Type").toInt());
        if (r.value("IsCostResource") == QLatin1String("1"))
            expected = layout == QLatin1String("19") ? ResourceType::Material : ResourceType::Cost;
        count(QStringLiteral("Resource Type, ") + layout, resource->type == expected, false);
        QVERIFY2(resource->type == expected,
                 qPrintable(QStringLiteral("resource %1").arg(resource->uniqueId)));
    }
}

// Work and remaining work: hours in the reader, durations in the export.
void TestMppSamples::compareAssignmentWork(const Project &project, const XmlExport &xml,
                                           const QString &layout)
{
    QHash<qint32, const XmlRecord *> exported;
    for (const XmlRecord &r : xml.assignments)
        exported.insert(r.value("UID").toInt(), &r);
    for (const Assignment *a : project.assignments()) {
        const XmlRecord &r = *exported.value(a->uniqueId);
        const bool work = qFuzzyCompare(1 + a->af08 * 60, 1 + *durationMinutes(r.value("Work")));
        const bool remaining
            = qFuzzyCompare(1 + a->af0c * 60, 1 + *durationMinutes(r.value("RemainingWork")));
        count(QStringLiteral("Assignment Work, ") + layout, work, false);
        count(QStringLiteral("Assignment RemainingWork, ") + layout, remaining, false);
        QVERIFY2(work && remaining, qPrintable(QStringLiteral("assignment %1").arg(a->uniqueId)));
    }
}

// The exports hold progress only in the assignment schedules; each non-zero value is named here
// so that a reader that reads none cannot pass on the zeros alone.
void TestMppSamples::progressOfOlderLayouts_data()
{
    QTest::addColumn<QString>("mpp");
    QTest::addColumn<qint32>("uniqueId");
    QTest::addColumn<int>("percent");
    const QDir dir(samplesDir() + QStringLiteral("/oracle"));
    const QStringList files
        = dir.entryList({ QStringLiteral("assignment-assignments-project*-mpp9.mpp"),
                          QStringLiteral("assignment-assignments-project*-mpp12.mpp") },
                        QDir::Files, QDir::Name);
    QCOMPARE(files.size(), 11);
    const QPair<qint32, int> done[] = { { 0, 25 }, { 2, 25 }, { 3, 50 } };
    for (const QString &file : files) {
        for (const auto &[uid, percent] : done) {
            QTest::addRow("%s task %d", qPrintable(file), uid)
                << dir.filePath(file) << uid << percent;
        }
    }
}

void TestMppSamples::progressOfOlderLayouts()
{
    QFETCH(QString, mpp);
    QFETCH(qint32, uniqueId);
    QFETCH(int, percent);
    Project project(mpp);
    QCOMPARE(project.read(), int(StatusOk));
    QCOMPARE(project.task(uniqueId)->percentComplete, double(percent));
}

void TestMppSamples::agreementFigures()
{
    QVERIFY(!m_agreement.empty());
    for (const auto &[field, a] : m_agreement) {
        qInfo().noquote() << QStringLiteral("%1: %2 of %3 records agree, %4 differ in the files "
                                            "whose stored late dates differ from their export")
                                 .arg(field)
                                 .arg(a.agreed)
                                 .arg(a.compared)
                                 .arg(a.allowed);
        QCOMPARE(a.agreed + a.allowed, a.compared);
    }
}

void TestMppSamples::extraStatuses_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("status");
    const QDir dir(samplesDir() + QStringLiteral("/extra"));
    for (const QString &file :
         dir.entryList({ QStringLiteral("*.mpp") }, QDir::Files, QDir::Name)) {
        int status = StatusOk;
        if (file == QLatin1String("sample98.mpp") || file == QLatin1String("mpp8flags1.mpp"))
            status = StatusUnknownLayout; // Project 98 layout
        else if (file == QLatin1String("password-protected-mpp9.mpp"))
            status = StatusMissingField;
        QTest::newRow(qPrintable(file)) << dir.filePath(file) << status;
    }
}

void TestMppSamples::extraStatuses()
{
    QFETCH(QString, file);
    QFETCH(int, status);
    Project project(file);
    QCOMPARE(project.read(), status);
    if (file.endsWith(QLatin1String("/empty.mpp"))) {
        QCOMPARE(project.tasks().size(), 1);
        QCOMPARE(project.tasks().begin().value()->code, QStringLiteral("1"));
    }
}

// The only sample whose tasks have calendars of their own: the four "Ignore Resource
// Calendars" tasks use Standard. A calendar the file does not hold is no calendar.
void TestMppSamples::taskCalendars()
{
    Project project(samplesDir() + QStringLiteral("/extra/taskFlags-mpp14Project2013.mpp"));
    QCOMPARE(project.read(), int(StatusOk));
    for (const Task *t : project.tasks()) {
        const bool own = t->uniqueId >= 1 && t->uniqueId <= 4;
        QCOMPARE(t->calendarUniqueId, own ? std::optional<qint32>(1) : std::nullopt);
    }

    project.task(5)->calendarUniqueId = 99;
    project.task(1)->calendarUniqueId = 3;
    project.setCalendars(project.calendars(), project.properties());
    QVERIFY(!project.task(5)->calendarUniqueId);
    QCOMPARE(project.task(1)->calendarUniqueId, std::optional<qint32>(3));
}

QTEST_GUILESS_MAIN(TestMppSamples)
#include "tst_mppsamples.moc"
