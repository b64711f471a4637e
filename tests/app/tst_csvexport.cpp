// CSV export read back with Python's csv module: the shown columns in visual order, every row
// depth first with group labels and indentation, cells as the table shows them, and values with
// separators, quotes and line breaks kept whole. Real schedules go through the main window.
#include "app/csvexport.h"
#include "app/mainwindow.h"
#include "apptestsupport.h"
#include "models/ryconstants.h"
#include "models/rymodellookup.h"
#include "models/ryvaluetext.h"
#include "views/activities.h"
#include "views/ryheaderstate.h"
#include "tests/support/samplesdir.h"

#include <QHeaderView>
#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QStandardItemModel>
#include <QTreeView>
#include <QtTest>

namespace {

using Rows = QList<QStringList>;

// The file as Python's csv module reads it with ";" as the delimiter.
Rows parsedByPython(const QString &path)
{
    const QString script
        = QStringLiteral("import csv, json, sys\n"
                         "with open(sys.argv[1], newline='', encoding='utf-8') as f:\n"
                         "    print(json.dumps(list(csv.reader(f, delimiter=';'))))\n");
    QProcess python;
    python.start(QStringLiteral("python3"), { QStringLiteral("-c"), script, path });
    Rows rows;
    if (!python.waitForFinished(60000) || python.exitCode() != 0)
        return rows;
    const QJsonArray lines = QJsonDocument::fromJson(python.readAllStandardOutput()).array();
    for (const QJsonValue &line : lines) {
        QStringList fields;
        for (const QJsonValue &field : line.toArray())
            fields.append(field.toString());
        rows.append(fields);
    }
    return rows;
}

// Windows machines seldom have Python, and under Wine the Linux one cannot be started: the
// read-back tests are skipped there (the byte-level test of the format still runs).
bool pythonRuns()
{
    QProcess python;
    python.start(QStringLiteral("python3"), { QStringLiteral("-c"), QStringLiteral("pass") });
    return python.waitForFinished(60000) && python.exitStatus() == QProcess::NormalExit
        && python.exitCode() == 0;
}

QList<QStandardItem *> row(const QVariantList &values)
{
    QList<QStandardItem *> items;
    for (const QVariant &value : values) {
        auto *item = new QStandardItem;
        item->setData(value, Qt::DisplayRole);
        items.append(item);
    }
    return items;
}

} // namespace

class TestCsvExport : public QObject
{
    Q_OBJECT
private slots:
    void tableAsShown();
    void recordsEndInLineFeeds();
    void unwritableTarget();
    void realSchedules_data();
    void realSchedules();
    void unitsChangeDurationColumnsAlone();
};

void TestCsvExport::tableAsShown()
{
#ifdef Q_OS_WIN
    if (!pythonRuns())
        QSKIP("python3 cannot be started here to read the file back with its csv module");
#endif
    QStandardItemModel model;
    model.setHorizontalHeaderLabels({ "Name", "Group", "Start", "Type", "Note", "Secret" });
    const QDateTime start(QDate(2024, 3, 5), QTime(8, 0), Qt::UTC);
    QList<QStandardItem *> group
        = row({ QVariant(), "Phase; one", QVariant(), QVariant(), QVariant(), QVariant() });
    group.first()->appendRow(row({ "Pour \"B2\"", QVariant(), start, "TT_Task", "a;b", "x" }));
    group.first()->appendRow(
        row({ "Cure", QVariant(), QVariant(), "TT_Mile", "line one\nline two", "y" }));
    model.appendRow(group);
    model.appendRow(row({ "Ünïcode", QVariant(), start.addDays(1), "TT_Task", "\r\n", "z" }));

    QTreeView tree;
    tree.setModel(&model);
    tree.header()->hideSection(5); // hidden: absent
    tree.header()->moveSection(3, 1); // moved: Type comes second

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("export.csv"));
    QString error;
    QVERIFY2(CsvExport::exportTree(&tree, path, &error), qPrintable(error));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(!file.peek(3).startsWith("\xEF\xBB\xBF"));

    const Rows expected {
        { "Name", "Type", "Group", "Start", "Note" },
        { "Phase; one", "", "Phase; one", "", "" },
        { " Pour \"B2\"", "Task", "", "05-03-2024", "a;b" },
        { " Cure", "Mile", "", "", "line one\nline two" },
        { "Ünïcode", "Task", "", "06-03-2024", "\r\n" },
    };
    QCOMPARE(parsedByPython(path), expected);
}

// Every record ends in "\n" alone, on Windows as on Linux, and a line break inside a value
// stays as it was, in quotes: never a mix of the two conventions.
void TestCsvExport::recordsEndInLineFeeds()
{
    QStandardItemModel model;
    model.setHorizontalHeaderLabels({ "Name" });
    model.appendRow(row({ "x" }));
    model.appendRow(row({ "a\r\nb" }));
    model.appendRow(row({ "c\nd" }));
    QTreeView tree;
    tree.setModel(&model);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("export.csv"));
    QString error;
    QVERIFY2(CsvExport::exportTree(&tree, path, &error), qPrintable(error));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("Name\nx\n\"a\r\nb\"\n\"c\nd\"\n"));
}

void TestCsvExport::unwritableTarget()
{
    QStandardItemModel model(1, 1);
    QTreeView tree;
    tree.setModel(&model);
    QTemporaryDir dir;
    QFile blocker(dir.filePath(QStringLiteral("not-a-folder")));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const QString path = blocker.fileName() + QStringLiteral("/export.csv");
    QString error;
    QVERIFY(!CsvExport::exportTree(&tree, path, &error));
    QVERIFY2(error.contains(QDir::toNativeSeparators(path)), qPrintable(error));
}

void TestCsvExport::realSchedules_data()
{
    QTest::addColumn<QString>("path");
    for (const char *name :
         { "oracle/task-baselines-project2016-mpp14.mpp", "oracle/task-text-project2010-mpp12.mpp",
           "oracle/task-text-project2003-mpp9.mpp", "extra/mpp14task.mpp" })
        QTest::newRow(name) << samplesDir() + QLatin1Char('/') + QLatin1String(name);
}

void TestCsvExport::realSchedules()
{
#ifdef Q_OS_WIN
    if (!pythonRuns())
        QSKIP("python3 cannot be started here to read the file back with its csv module");
#endif
    QFETCH(QString, path);
    ScratchHome home;
    MainWindow window;
    window.show();
    QSignalSpy ended(&window, &MainWindow::projectLoadEnded);
    window.openProject(path);
    QVERIFY(ended.wait(20000));
    QVERIFY(ended.first().first().toBool());

    QTreeView *tree = window.activityView()->treeView();
    QTemporaryDir dir;
    const QString csv = dir.filePath(QStringLiteral("export.csv"));
    QString error;
    QVERIFY2(CsvExport::exportTree(tree, csv, &error), qPrintable(error));
    const Rows rows = parsedByPython(csv);
    const QStringList header = RyHeaderState::visibleHeaderTexts(tree->header());
    QVERIFY(!rows.isEmpty());
    QCOMPARE(rows.first(), header);

    // Field for field against the model the table shows, depth first.
    const QAbstractItemModel *model = tree->model();
    const QModelIndexList all = RyModelLookup::flattenIndexes(model);
    QCOMPARE(rows.size(), all.size() + 1);
    const int name = header.indexOf(QStringLiteral("Activity Name"));
    const int type = header.indexOf(QStringLiteral("Activity Type"));
    const int finish = header.indexOf(QStringLiteral("Finish Date"));
    QVERIFY(name >= 0 && type >= 0 && finish >= 0);
    const int nameColumn = RyModelLookup::findColumn(model, QStringLiteral("Activity Name"));
    const int treeField
        = header.indexOf(model->headerData(tree->treePosition(), Qt::Horizontal).toString());
    QVERIFY(treeField >= 0);
    int activities = 0;
    for (int r = 0; r < all.size(); ++r) {
        const QStringList &fields = rows.at(r + 1);
        QCOMPARE(fields.size(), header.size());
        const QModelIndex index = all.at(r);
        const QString indent(RyModelLookup::indexDepth(index), QLatin1Char(' '));
        QVERIFY(fields.at(treeField).startsWith(indent));
        const QString shownName
            = RyValueText::displayText(index.sibling(index.row(), nameColumn).data());
        // Group rows carry their label in the tree column, activities their name.
        if (name != treeField)
            QCOMPARE(fields.at(name), shownName);
        else if (!fields.at(type).isEmpty())
            QCOMPARE(fields.at(name), indent + shownName);
        QVERIFY2(!fields.at(type).startsWith(QLatin1String("TT_")), qPrintable(fields.at(type)));
        QVERIFY2(fields.at(finish).isEmpty()
                     || QRegularExpression(QStringLiteral("^\\d\\d-\\d\\d-\\d{4}$"))
                            .match(fields.at(finish))
                            .hasMatch(),
                 qPrintable(fields.at(finish)));
        // Every other cell exactly as the table shows it (percentages, decimals included).
        for (int k = 0; k < header.size(); ++k) {
            if (k != treeField)
                QCOMPARE(fields.at(k),
                         RyValueText::displayText(
                             index.sibling(index.row(), RyModelLookup::findColumn(model, header.at(k)))));
        }
        activities += !fields.at(type).isEmpty();
    }
    QVERIFY(activities > 0);
}


void TestCsvExport::unitsChangeDurationColumnsAlone()
{
#ifdef Q_OS_WIN
    if (!pythonRuns())
        QSKIP("python3 cannot be started here to read the file back with its csv module");
#endif
    ScratchHome home;
    MainWindow window;
    window.show();
    QSignalSpy ended(&window, &MainWindow::projectLoadEnded);
    window.openProject(samplesDir() + QStringLiteral("/oracle/task-links-project2010-mpp14.mpp"));
    QVERIFY(ended.wait(20000));
    QVERIFY(ended.first().first().toBool());
    QTreeView *tree = window.activityView()->treeView();
    QTemporaryDir dir;
    const auto exported = [&](const char *unit) {
        window.findChild<QAction *>(QLatin1String("actionUnits") + QLatin1String(unit))->trigger();
        const QString csv = dir.filePath(QLatin1String(unit) + QStringLiteral(".csv"));
        QString error;
        return CsvExport::exportTree(tree, csv, &error) ? parsedByPython(csv) : Rows();
    };
    const Rows hours = exported("Hours");
    const Rows days = exported("Days");
    QVERIFY(!days.isEmpty());
    QCOMPARE(days.size(), hours.size());
    const QStringList header = days.first();
    const QAbstractItemModel *model = tree->model();
    int durationCells = 0;
    for (int k = 0; k < header.size(); ++k) {
        const int column = RyModelLookup::findColumn(model, header.at(k));
        const bool duration = model->headerData(column, Qt::Horizontal, Ry::ColumnDescriptionRole)
                                  .toMap()
                                  .value(QStringLiteral("format"))
                              == QLatin1String("duration");
        for (int r = 1; r < days.size(); ++r) {
            const QString day = days.at(r).at(k);
            const QString hour = hours.at(r).at(k);
            if (!duration || day.isEmpty()) {
                QCOMPARE(day, hour); // every other column as it was
                continue;
            }
            // Durations and float in days with the unit; in hours the number as stored.
            QVERIFY2(day.endsWith(QLatin1Char('d')), qPrintable(day));
            QVERIFY2(hour.endsWith(QLatin1Char('h')), qPrintable(hour));
            const double value = hour.chopped(1).toDouble();
            QCOMPARE(day, RyValueText::decimalText(value / 8) + QLatin1Char('d'));
            ++durationCells;
        }
    }
    QVERIFY(durationCells > 0);
}

QTEST_MAIN(TestCsvExport)
#include "tst_csvexport.moc"
