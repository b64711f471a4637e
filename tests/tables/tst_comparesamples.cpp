// The comparison on files: the same project saved in two layouts compares as unchanged, and a
// generated schedule against its edited copy shows exactly the edits.
#include "mppr/project.h"
#include "tables/mpploader.h"
#include "tables/rycomparemodel.h"
#include "tests/support/mppscheduleedits.h"
#include "tests/support/mppschedulegenerator.h"

#include <QAbstractItemModelTester>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QtTest>

#include <set>

namespace {

QString oracleDir()
{
    const QByteArray samples = qgetenv("TARVIK_SAMPLES");
    return QString::fromLocal8Bit(samples.isEmpty() ? QByteArray(TARVIK_SAMPLES) : samples)
        + "/oracle";
}

std::unique_ptr<mppr::Project> readBytes(const QByteArray &bytes)
{
    auto project = std::make_unique<mppr::Project>(QStringLiteral("generated.mpp"));
    return project->readData(bytes) == mppr::StatusOk ? std::move(project) : nullptr;
}

// The schema the program loads, so that the loader's derived steps find their columns.
void setBuiltInSchema(MPPLoader &loader)
{
    QFile file(QStringLiteral(":/files/mppr.json"));
    if (file.open(QIODevice::ReadOnly))
        loader.setSchema(QJsonDocument::fromJson(file.readAll()));
}

using Ends = std::set<std::pair<qint32, qint32>>;

void insertAll(Ends &ends, const QVector<QPair<qint32, qint32>> &links)
{
    for (const auto &link : links)
        ends.insert({ link.first, link.second });
}

} // namespace

class tst_CompareSamples : public QObject
{
    Q_OBJECT

private slots:
    void layouts_data();
    void layouts();
    void generatedEdits_data();
    void generatedEdits();
};

void tst_CompareSamples::layouts_data()
{
    QTest::addColumn<QString>("older");
    QTest::addColumn<QString>("newer");
    const QDir dir(oracleDir());
    const QStringList files = dir.entryList({ "*-mpp12.mpp" }, QDir::Files, QDir::Name);
    for (const QString &file : files) {
        QString twin = file;
        twin.replace("-mpp12.mpp", "-mpp14.mpp");
        if (dir.exists(twin))
            QTest::newRow(qPrintable(file)) << dir.filePath(file) << dir.filePath(twin);
    }
    QVERIFY2(!files.isEmpty(), "no mpp12 samples");
}

void tst_CompareSamples::layouts()
{
    QFETCH(QString, older);
    QFETCH(QString, newer);
    MPPLoader oldLoader;
    MPPLoader newLoader;
    setBuiltInSchema(oldLoader);
    setBuiltInSchema(newLoader);
    oldLoader.load(older);
    newLoader.load(newer);
    QVERIFY(oldLoader.project() && newLoader.project());
    RyCompareModel model(RyCompareVersion::fromLoader(oldLoader),
                         RyCompareVersion::fromLoader(newLoader));
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    // Two of the projects were pinned with Start No Earlier Than constraints when saved in
    // the older layout (the stored records say so), and one total float of task-links reads
    // 16 hours long: differences of the files, which the comparison rightly reports. Anything
    // beyond them is a fault of the comparison.
    const QString name = QFileInfo(newer).fileName();
    const bool readerGap
        = name.startsWith("assignment-assignments-") || name.startsWith("task-links-");
    const quint32 gapFields = (1u << RyCompareVersion::ConstraintType)
        | (1u << RyCompareVersion::ConstraintDate) | (1u << RyCompareVersion::TotalFloat);
    QStringList changed;
    QStringList beyondGap;
    for (const auto &a : model.activities()) {
        if (a.change == RyCompareModel::ChangeKind::Unchanged)
            continue;
        const QString line = QStringLiteral("%1 %2 %3")
                                 .arg(a.uniqueId)
                                 .arg(RyCompareModel::changeName(a.change),
                                      RyCompareModel::fieldNames(a.fields).join(','));
        changed << line;
        if (!readerGap || a.change != RyCompareModel::ChangeKind::Changed
            || (a.fields & ~gapFields) != 0)
            beyondGap << line;
    }
    QVERIFY2(beyondGap.isEmpty(), qPrintable(beyondGap.join("; ")));
    QCOMPARE(model.links().size(), 0);
    QCOMPARE(model.summary().matching, RyCompareModel::Matching::UniqueId);
    if (readerGap)
        QEXPECT_FAIL("", "the layouts hold different constraints", Continue);
    QVERIFY2(changed.isEmpty(), qPrintable(changed.join("; ")));
}

void tst_CompareSamples::generatedEdits_data()
{
    QTest::addColumn<int>("tasks");
    QTest::addColumn<int>("edits");
    QTest::newRow("one of each") << 200 << 1;
    QTest::newRow("twelve of each") << 600 << 12;
    QTest::newRow("deep WBS, forty of each") << 2000 << 40;
}

void tst_CompareSamples::generatedEdits()
{
    QFETCH(int, tasks);
    QFETCH(int, edits);
    MppGeneratorOptions options;
    options.tasks = tasks;
    options.depth = 4;
    MppScheduleSpec spec = generateMppSchedule(options);
    MPPLoader oldLoader;
    setBuiltInSchema(oldLoader);
    oldLoader.loadProject(readBytes(buildMppFile(spec)));
    const MppScheduleEdits done = editMppSchedule(spec, edits);
    QCOMPARE(done.removed.size(), edits);
    QCOMPARE(done.added.size(), edits);
    QCOMPARE(done.moved.size(), edits);
    QCOMPARE(done.linksRemoved.size(), edits);
    MPPLoader newLoader;
    setBuiltInSchema(newLoader);
    newLoader.loadProject(readBytes(buildMppFile(spec)));
    QVERIFY(oldLoader.project() && newLoader.project());
    const RyCompareModel model(RyCompareVersion::fromLoader(oldLoader),
                               RyCompareVersion::fromLoader(newLoader));

    Ends deletedLinks;
    insertAll(deletedLinks, done.linksRemoved);
    insertAll(deletedLinks, done.linksOfRemoved);
    const std::set<qint32> removed(done.removed.cbegin(), done.removed.cend());
    const std::set<qint32> moved(done.moved.cbegin(), done.moved.cend());
    std::map<qint32, QStringList> expectedChanged;
    for (qint32 uid : moved)
        expectedChanged[uid] = QStringList { "start", "finish" };
    for (const auto &[predecessor, successor] : deletedLinks) {
        if (!removed.count(successor) && !expectedChanged[successor].contains("predecessors"))
            expectedChanged[successor].append("predecessors");
    }
    Ends foundLinks;
    for (const auto &link : model.links()) {
        QCOMPARE(link.change, RyCompareModel::ChangeKind::Deleted);
        foundLinks.insert({ link.predecessor, link.successor });
    }
    QCOMPARE(foundLinks, deletedLinks);

    std::set<qint32> added;
    std::set<qint32> deleted;
    std::map<qint32, QStringList> changed;
    for (const auto &a : model.activities()) {
        if (a.change == RyCompareModel::ChangeKind::Added)
            added.insert(a.uniqueId);
        else if (a.change == RyCompareModel::ChangeKind::Deleted)
            deleted.insert(a.uniqueId);
        else if (a.change == RyCompareModel::ChangeKind::Changed)
            changed[a.uniqueId] = RyCompareModel::fieldNames(a.fields);
        if (moved.count(a.uniqueId)) {
            QCOMPARE(a.startDelta, QVariant(1));
            QCOMPARE(a.finishDelta, QVariant(1));
        }
    }
    QCOMPARE(deleted, removed);
    QCOMPARE(added, std::set<qint32>(done.added.cbegin(), done.added.cend()));
    for (auto &[uid, fields] : expectedChanged)
        fields.sort();
    for (auto &[uid, fields] : changed)
        fields.sort();
    QCOMPARE(changed, expectedChanged);
    QCOMPARE(model.summary().matching, RyCompareModel::Matching::UniqueId);
}

QTEST_GUILESS_MAIN(tst_CompareSamples)
#include "tst_comparesamples.moc"
