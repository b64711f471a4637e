// Custom field values, notes, aliases and outline codes against the samples and their exports.

#include "mppr/project.h"
#include "mppr/timephasedsplits.h"
#include "mppr/workingcalendar.h"
#include "tests/support/samplesdir.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QXmlStreamReader>
#include <QtTest>

using namespace mppr;

namespace {

// What an export says of one task or resource: its extended attributes by field name, its notes.
struct XmlRecord
{
    QHash<QString, QString> attributes;
    QString notes;
};

struct XmlExport
{
    QHash<qint32, XmlRecord> tasks;
    QHash<qint32, XmlRecord> resources;
};

// The attributes' field names come from the export's own <ExtendedAttributes> list.
XmlExport readExport(const QString &path)
{
    XmlExport out;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return out;
    QXmlStreamReader xml(&file);
    QHash<QString, QString> names; // field id -> name
    QHash<qint32, XmlRecord> *records = nullptr;
    XmlRecord record;
    qint32 uid = -1;
    QString fieldId;
    QString value;
    int depth = 0;
    int recordDepth = -1;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement()) {
            ++depth;
            const QStringRef name = xml.name();
            if (recordDepth < 0
                && (name == QLatin1String("Task") || name == QLatin1String("Resource"))) {
                records = name == QLatin1String("Task") ? &out.tasks : &out.resources;
                record = XmlRecord();
                uid = -1;
                recordDepth = depth;
            } else if (name == QLatin1String("ExtendedAttribute")) {
                fieldId.clear();
                value.clear();
            } else if (name == QLatin1String("FieldID")) {
                fieldId = xml.readElementText();
                --depth;
            } else if (name == QLatin1String("FieldName")) {
                names.insert(fieldId, xml.readElementText());
                --depth;
            } else if (name == QLatin1String("Value")) {
                value = xml.readElementText();
                --depth;
            } else if (recordDepth == depth - 1 && name == QLatin1String("UID")) {
                uid = xml.readElementText().toInt();
                --depth;
            } else if (recordDepth == depth - 1 && name == QLatin1String("Notes")) {
                record.notes = xml.readElementText();
                --depth;
            }
        } else if (xml.isEndElement()) {
            if (xml.name() == QLatin1String("ExtendedAttribute") && recordDepth >= 0)
                record.attributes.insert(names.value(fieldId, fieldId), value);
            if (depth == recordDepth) {
                records->insert(uid, record);
                recordDepth = -1;
            }
            --depth;
        }
    }
    return out;
}

// The reader's value as the export writes it.
QString exportText(const CustomFieldValue &v)
{
    switch (customFieldKind(v.field)) {
    case CustomFieldKind::Start:
    case CustomFieldKind::Finish:
    case CustomFieldKind::Date:
        return v.value.toDateTime().toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss"));
    case CustomFieldKind::Flag:
        return v.value.toBool() ? QStringLiteral("1") : QStringLiteral("0");
    case CustomFieldKind::Number:
    case CustomFieldKind::Cost:
        return QString::number(v.value.toDouble(), 'g', 15);
    case CustomFieldKind::Duration: {
        const double minutes = v.value.toDouble();
        return QStringLiteral("PT%1H%2M0S").arg(int(minutes) / 60).arg(int(minutes) % 60);
    }
    default:
        return v.value.toString();
    }
}

// The export's value in the same form: numbers without trailing zeros, a false flag as absent.
QString normalized(const QString &name, const QString &text)
{
    if (name.startsWith(QLatin1String("Flag")) && text == QLatin1String("0"))
        return QString();
    if (name.startsWith(QLatin1String("Number")) || name.startsWith(QLatin1String("Cost")))
        return QString::number(text.toDouble(), 'g', 15);
    return text;
}

bool isCustomFieldName(const QString &name)
{
    static QSet<QString> names;
    if (names.isEmpty()) {
        for (int k = 0; k < CustomFieldCount; ++k)
            names.insert(customFieldName(k));
    }
    return names.contains(name);
}

struct Agreement
{
    int compared = 0;
    int agreed = 0;
};

void compareRecord(const CustomFieldValues &values, const QString &notes, const XmlRecord &r,
                   Agreement &a, const QString &where)
{
    QHash<QString, QString> mine;
    for (const CustomFieldValue &v : values)
        mine.insert(customFieldName(v.field), exportText(v));
    QSet<QString> names;
    for (auto it = r.attributes.cbegin(); it != r.attributes.cend(); ++it) {
        if (isCustomFieldName(it.key()))
            names.insert(it.key());
    }
    for (auto it = mine.cbegin(); it != mine.cend(); ++it)
        names.insert(it.key());
    for (const QString &name : qAsConst(names)) {
        const QString expected = normalized(name, r.attributes.value(name));
        ++a.compared;
        if (mine.value(name) == expected)
            ++a.agreed;
        else
            qWarning().noquote() << where << name << "read" << mine.value(name) << "export"
                                 << expected;
    }
    ++a.compared;
    if (notes == r.notes)
        ++a.agreed;
    else
        qWarning().noquote() << where << "notes read" << notes << "export" << r.notes;
}

// "Text1t" for Text1 of the tasks, "Outline Code3r" for OutlineCode3 of the resources.
QString sampleAlias(const CustomFieldDefinition &d)
{
    QString name = customFieldName(d.field);
    name.replace(QLatin1String("OutlineCode"), QLatin1String("Outline Code"));
    return name + (d.entity == CustomFieldEntity::Task ? "t" : "r");
}

} // namespace

class TestCustomFields : public QObject
{
    Q_OBJECT

private slots:
    void oracle_data();
    void oracle();
    void numberedValues_data();
    void numberedValues();
    void aliases();
    void outlineCodes();
    void outlineCodePath_data();
    void outlineCodePath();
    void splitSegments();
    void splitParts_data();
    void splitParts();
    void workingTime_data();
    void workingTime();
};

void TestCustomFields::oracle_data()
{
    QTest::addColumn<QString>("mpp");
    QTest::addColumn<QString>("xml");
    const QDir dir(samplesDir() + QStringLiteral("/oracle"));
    for (const QString &xml : dir.entryList({ QStringLiteral("*-mspdi.xml") })) {
        const QString stem = xml.left(xml.size() - int(strlen("-mspdi.xml")));
        for (const QString &mpp : dir.entryList({ stem + QStringLiteral("-mpp*.mpp") }))
            QTest::newRow(qPrintable(mpp)) << dir.filePath(mpp) << dir.filePath(xml);
    }
}

void TestCustomFields::oracle()
{
    QFETCH(QString, mpp);
    QFETCH(QString, xml);
    Project project(mpp);
    QCOMPARE(project.read(), int(StatusOk));
    const XmlExport expected = readExport(xml);
    QVERIFY(!expected.tasks.isEmpty());
    Agreement a;
    for (auto it = expected.tasks.cbegin(); it != expected.tasks.cend(); ++it) {
        const Task *t = project.task(it.key());
        QVERIFY2(t, qPrintable(QStringLiteral("task %1").arg(it.key())));
        compareRecord(t->customFields, t->notes, it.value(), a,
                      QStringLiteral("task %1").arg(it.key()));
    }
    for (auto it = expected.resources.cbegin(); it != expected.resources.cend(); ++it) {
        const Resource *r = project.resource(it.key());
        if (!r)
            continue; // unnamed placeholders are not read as resources
        compareRecord(r->customFields, r->notes, it.value(), a,
                      QStringLiteral("resource %1").arg(it.key()));
    }
    QVERIFY(a.compared > 0);
    QVERIFY2(a.agreed >= 0.99 * a.compared,
             qPrintable(QStringLiteral("%1 of %2 agree").arg(a.agreed).arg(a.compared)));
}

void TestCustomFields::numberedValues_data()
{
    // Files whose first task or resource sets every custom field N of a kind to N of its unit:
    // TextN "N", NumberN and CostN N, DurationN N days, FlagN set, dates N - 1 days after the
    // first; OutlineCodeN the values "1", "A", "a", "Aa", "5" ... "10" where the file has them.
    QTest::addColumn<QString>("file");
    QTest::addColumn<bool>("resource");
    QTest::addColumn<QString>("firstStart");
    QTest::addColumn<QString>("firstFinish");
    QTest::addColumn<QString>("firstDate");
    QTest::addColumn<bool>("outlineCodes");
    for (const char *file : { "mpp9task", "mpp12task", "mpp14task" })
        QTest::newRow(file) << file << false << "2006-08-25T08:00"
                            << "2006-08-25T17:00"
                            << "2006-08-25T08:00" << true;
    for (const char *file : { "mpp9resource", "mpp14resource" })
        QTest::newRow(file) << file << true << "2006-02-01T08:00"
                            << "2006-03-01T17:00"
                            << "2006-01-01T08:00" << false;
}

void TestCustomFields::numberedValues()
{
    QFETCH(QString, file);
    QFETCH(bool, resource);
    QFETCH(QString, firstStart);
    QFETCH(QString, firstFinish);
    QFETCH(QString, firstDate);
    QFETCH(bool, outlineCodes);
    Project project(samplesDir() + QStringLiteral("/extra/") + file + QStringLiteral(".mpp"));
    QCOMPARE(project.read(), int(StatusOk));
    const CustomFieldValues &values
        = resource ? project.resource(1)->customFields : project.task(1)->customFields;
    QHash<int, QVariant> byField;
    for (const CustomFieldValue &v : values)
        byField.insert(v.field, v.value);
    const auto date = [](const QString &first, int n) {
        QDateTime d = QDateTime::fromString(first, QStringLiteral("yyyy-MM-ddTHH:mm"));
        d.setTimeSpec(Qt::UTC);
        return d.addDays(n - 1);
    };
    for (int field = 0; field < CustomFieldCount; ++field) {
        const int n = customFieldNumber(field);
        const QVariant v = byField.value(field);
        const QString name = customFieldName(field);
        switch (customFieldKind(field)) {
        case CustomFieldKind::Text:
            QCOMPARE(v.toString(), QString::number(n));
            break;
        case CustomFieldKind::Number:
        case CustomFieldKind::Cost:
            QVERIFY2(v.toDouble() == n, qPrintable(name));
            break;
        case CustomFieldKind::Duration:
            QVERIFY2(v.toDouble() == 480.0 * n, qPrintable(name));
            break;
        case CustomFieldKind::Flag:
            QVERIFY2(v.toBool(), qPrintable(name));
            break;
        case CustomFieldKind::Start:
            QCOMPARE(v.toDateTime(), date(firstStart, n));
            break;
        case CustomFieldKind::Finish:
            QCOMPARE(v.toDateTime(), date(firstFinish, n));
            break;
        case CustomFieldKind::Date:
            QCOMPARE(v.toDateTime(), date(firstDate, n));
            break;
        case CustomFieldKind::OutlineCode: {
            const QStringList codes = { "1", "A", "a", "Aa", "5", "6", "7", "8", "9", "10" };
            QCOMPARE(v.toString(), outlineCodes ? codes.at(n - 1) : QString());
            break;
        }
        }
    }
    QCOMPARE(values.size(), CustomFieldCount - (outlineCodes ? 0 : 10));
}

void TestCustomFields::aliases()
{
    Project project(samplesDir() + QStringLiteral("/extra/alias.mpp"));
    QCOMPARE(project.read(), int(StatusOk));
    int tasks = 0;
    int resources = 0;
    for (const CustomFieldDefinition &d : project.customFieldDefinitions()) {
        QCOMPARE(d.alias, sampleAlias(d));
        ++(d.entity == CustomFieldEntity::Task ? tasks : resources);
    }
    QCOMPARE(tasks, CustomFieldCount);
    QCOMPARE(resources, CustomFieldCount);
    QCOMPARE(project.customFieldAlias(CustomFieldEntity::Resource,
                                      customFieldIndex(CustomFieldKind::Flag, 10)),
             QStringLiteral("Flag10r"));

    // A schedule without aliases has no definitions.
    Project plain(samplesDir() + QStringLiteral("/oracle/task-text-project2010-mpp9.mpp"));
    QCOMPARE(plain.read(), int(StatusOk));
    QVERIFY(plain.customFieldDefinitions().isEmpty());
}

void TestCustomFields::outlineCodes()
{
    // OutlineCode n has the values "OCnA" and its child "OCnB"; task n holds OCnA and task
    // n + 10 holds OCnB, for n from 1 to 10.
    Project project(samplesDir()
                    + QStringLiteral("/extra/task-outlinecodes-project2010-mpp14.mpp"));
    QCOMPARE(project.read(), int(StatusOk));
    const QVector<OutlineCode> &codes = project.outlineCodes();
    QCOMPARE(codes.size(), 10);
    for (int n = 1; n <= 10; ++n) {
        const OutlineCode &code = codes.at(n - 1);
        QCOMPARE(code.number, n);
        QCOMPARE(code.values.size(), 2);
        const OutlineCodeValue &a = code.values.at(0);
        const OutlineCodeValue &b = code.values.at(1);
        QCOMPARE(a.value, QStringLiteral("OC%1A").arg(n));
        QCOMPARE(a.parentUniqueId, 0);
        QCOMPARE(b.value, QStringLiteral("OC%1B").arg(n));
        QCOMPARE(b.parentUniqueId, a.uniqueId);
        const int field = customFieldIndex(CustomFieldKind::OutlineCode, n);
        for (const int uid : { n, n + 10 }) {
            const Task *t = project.task(uid);
            QVERIFY(t);
            QCOMPARE(t->customFields.size(), 1);
            QCOMPARE(int(t->customFields.at(0).field), field);
            QCOMPARE(t->customFields.at(0).value.toString(),
                     uid == n ? a.value : a.value + QLatin1Char('.') + b.value);
        }
    }
}

void TestCustomFields::outlineCodePath_data()
{
    // Values as "uniqueId:parent" pairs, the value's text being "v" + its unique ID.
    QTest::addColumn<QString>("values");
    QTest::addColumn<int>("asked");
    QTest::addColumn<QString>("path");
    QTest::newRow("top level") << "1:0 2:1" << 1 << "v1";
    QTest::newRow("three levels") << "1:0 2:1 3:2" << 3 << "v1.v2.v3";
    QTest::newRow("missing parent") << "2:9" << 2 << "v2";
    QTest::newRow("cycle") << "1:2 2:1" << 1 << "v2.v1";
    QTest::newRow("own parent") << "1:1" << 1 << "v1";
    QTest::newRow("unknown value") << "1:0" << 5 << "";
}

void TestCustomFields::outlineCodePath()
{
    QFETCH(QString, values);
    QFETCH(int, asked);
    QFETCH(QString, path);
    OutlineCode code;
    for (const QString &pair : values.split(QLatin1Char(' '))) {
        const QStringList parts = pair.split(QLatin1Char(':'));
        code.values.append({ parts.at(0).toInt(), parts.at(1).toInt(),
                             QLatin1Char('v') + parts.at(0), QString() });
    }
    QCOMPARE(code.path(asked), path);
}

void TestCustomFields::splitSegments()
{
    // Split Task 1: 4 days, 3 days off, 6 days; Split Task 2: 3 on, 2 off, 5 on, 3 off, 7 on.
    Project project(samplesDir() + QStringLiteral("/extra/mpp14splittask.mpp"));
    QCOMPARE(project.read(), int(StatusOk));
    const auto text = [](const Task *t) {
        QStringList parts;
        for (const Task::Segment &s : t->segments)
            parts << s.start.toString(QStringLiteral("MM-dd HH:mm")) + QLatin1Char('/')
                    + s.finish.toString(QStringLiteral("MM-dd HH:mm"));
        return parts.join(QLatin1Char(' '));
    };
    QCOMPARE(text(project.task(1)),
             QStringLiteral("09-21 08:00/09-26 17:00 10-02 08:00/10-09 17:00"));
    QCOMPARE(text(project.task(2)),
             QStringLiteral("09-21 08:00/09-25 17:00 09-28 08:00/10-04 17:00 "
                            "10-10 08:00/10-18 17:00"));
    QVERIFY(project.task(0)->segments.isEmpty());
    QCOMPARE(project.task(2)->segments.last().finish, project.task(2)->finish);
}

void TestCustomFields::splitParts_data()
{
    // Entries as "work@end" in minutes; the parts as "from-to" in working minutes.
    QTest::addColumn<QString>("entries");
    QTest::addColumn<int>("cutTo"); // bytes kept, -1 for all
    QTest::addColumn<QString>("parts");
    QTest::newRow("one gap") << "10@10 10@20 30@40" << -1 << "0-10 20-40";
    QTest::newRow("two gaps") << "5@5 5@8 9@12 9@13 10@14" << -1 << "0-5 8-12 13-14";
    QTest::newRow("adjacent work joins") << "5@5 7@7 7@9 9@11" << -1 << "0-7 9-11";
    QTest::newRow("not split") << "10@10" << -1 << "";
    QTest::newRow("gap at the end only") << "10@10 10@20" << -1 << "";
    QTest::newRow("out of order stops") << "10@10 10@20 30@15" << -1 << "";
    QTest::newRow("truncated") << "10@10 10@20 30@40" << 44 + 2 * 28 << "";
    QTest::newRow("empty") << "" << -1 << "";
}

void TestCustomFields::splitParts()
{
    QFETCH(QString, entries);
    QFETCH(int, cutTo);
    QFETCH(QString, parts);
    const QStringList list = entries.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    QByteArray data(44 + 28 * list.size(), '\0');
    qToLittleEndian<quint16>(quint16(list.size()), data.data());
    for (int k = 0; k < list.size(); ++k) {
        const QStringList pair = list.at(k).split(QLatin1Char('@'));
        qToLittleEndian<double>(pair.at(0).toDouble() * 1000, data.data() + 44 + 28 * k);
        qToLittleEndian<quint32>(pair.at(1).toUInt() * 80, data.data() + 44 + 28 * k + 24);
    }
    if (cutTo >= 0)
        data.truncate(cutTo);
    QStringList out;
    for (const auto &part : splitPartsFromTimephased(ByteView(data)))
        out << QStringLiteral("%1-%2").arg(part.first).arg(part.second);
    QCOMPARE(out.join(QLatin1Char(' ')), parts);
}

void TestCustomFields::workingTime_data()
{
    // The default week (08:00-12:00, 13:00-17:00, Monday to Friday) from Thursday 2006-09-21.
    QTest::addColumn<QString>("from");
    QTest::addColumn<double>("minutes");
    QTest::addColumn<bool>("asStart");
    QTest::addColumn<QString>("expected");
    QTest::newRow("within the morning") << "09-21 08:00" << 90.0 << false << "09-21 09:30";
    QTest::newRow("over lunch") << "09-21 11:00" << 120.0 << false << "09-21 14:00";
    QTest::newRow("finish at the day's end") << "09-21 08:00" << 480.0 << false << "09-21 17:00";
    QTest::newRow("start moves to the next day") << "09-21 08:00" << 480.0 << true << "09-22 08:00";
    QTest::newRow("over the weekend") << "09-22 08:00" << 960.0 << false << "09-25 17:00";
    QTest::newRow("from a non-working hour") << "09-23 10:00" << 60.0 << false << "09-25 09:00";
    QTest::newRow("nothing") << "09-21 08:00" << 0.0 << true << "09-21 08:00";
}

void TestCustomFields::workingTime()
{
    QFETCH(QString, from);
    QFETCH(double, minutes);
    QFETCH(bool, asStart);
    QFETCH(QString, expected);
    const Project project(QStringLiteral("none.mpp")); // no calendar: the default week
    const WorkingCalendar time(project);
    const auto at = [](const QString &text) {
        QDateTime d = QDateTime::fromString(QStringLiteral("2006-") + text,
                                            QStringLiteral("yyyy-MM-dd HH:mm"));
        d.setTimeSpec(Qt::UTC);
        return d;
    };
    QCOMPARE(time.advance(at(from), minutes, asStart), at(expected));
}

QTEST_APPLESS_MAIN(TestCustomFields)
#include "tst_customfields.moc"
