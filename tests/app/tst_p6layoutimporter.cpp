// Importing P6 layout files: the columns, group and sort a view gives, the "[P6] " entries of
// the Layout menu, and the message for files that cannot be imported (with both size limits).
#include "app/mainwindow.h"
#include "app/mainwindowform.h"
#include "app/p6confignode.h"
#include "app/p6layoutimporter.h"
#include "apptestsupport.h"

#include <QAction>
#include <QJsonDocument>
#include <QMenu>
#include <QtTest>

namespace {

QString plf(const char *name)
{
    return QStringLiteral(TARVIK_SOURCE_DIR "/tests/app/plf/") + QLatin1String(name);
}

QVariantMap view(const QString &data)
{
    return { { QStringLiteral("VIEW_ID"), 4 },
             { QStringLiteral("VIEW_NAME"), QStringLiteral("v") },
             { QStringLiteral("VIEW_DATA"), data } };
}

// A TaskView with one column and the given group item attributes.
QString withGroup(const QString &attributes)
{
    return QStringLiteral("(0||L()((1||TaskView()((2||Columns()((3||task_code(width|9)())))"
                          "(4||GroupSortBy()((5||GroupBys()((6||Item1(%1)())))))))))")
        .arg(attributes);
}

QStringList layoutEntries(const MainWindow &window)
{
    QStringList texts;
    const QList<QAction *> actions = window.form().menuLayout->actions();
    for (QAction *action : actions) {
        if (action->isCheckable())
            texts << action->text();
    }
    return texts;
}

} // namespace

class TestP6LayoutImporter : public QObject
{
    Q_OBJECT

private slots:
    void displayMap();
    void plannerView();
    void group_data();
    void group();
    void importAddsEntry();
    void secondImportReplacesFirst();
    void failedImport_data();
    void failedImport();
};

void TestP6LayoutImporter::displayMap()
{
    const P6LayoutImporter importer;
    QCOMPARE(importer.displayMap().value("task_code"), QStringLiteral("Activity ID"));
    QCOMPARE(importer.displayMap().value("start_date"), QStringLiteral("Start Date"));
    QCOMPARE(importer.displayMap().value("end_date"), QStringLiteral("Finish Date"));
    QVERIFY(!importer.displayMap().contains("rsrc_guid_x"));
}

void TestP6LayoutImporter::plannerView()
{
    QString text;
    QCOMPARE(P6LayoutImporter::readFile(plf("planner.plf"), &text), P6LayoutImporter::Status::Ok);
    P6Layout layout;
    QCOMPARE(P6LayoutImporter().importView(view(text), &layout), P6LayoutImporter::Status::Ok);
    QCOMPARE(layout.id, 4);
    QCOMPARE(layout.name, QStringLiteral("v"));
    QStringList columns;
    for (const P6Layout::Column &column : layout.columns)
        columns << QStringLiteral("%1=%2:%3").arg(column.field, column.display).arg(column.width);
    QCOMPARE(columns,
             QStringList({ "task_code=Activity ID:100", "task_name=Activity Name:250",
                           "start_date=Start Date:80", "end_date=Finish Date:80",
                           "act_start_date=Actual Start:0", "total_float_hr_cnt=Total float:70" }));
    QCOMPARE(layout.columns.at(2).title, QStringLiteral("Start"));
    QCOMPARE(layout.groups, QStringList { "WBS Code;2" });
    // Unknown and empty sort fields are dropped; "desc" counts whatever its case.
    QCOMPARE(layout.sorts, QStringList({ "Activity Name;D", "Start Date;A" }));
}

void TestP6LayoutImporter::group_data()
{
    QTest::addColumn<QString>("attributes");
    QTest::addColumn<QStringList>("groups");
    QTest::newRow("all levels as 0")
        << QStringLiteral("join_path|PROJWBS|max_level|0") << QStringList { "WBS Code;All" };
    QTest::newRow("no level") << QStringLiteral("join_path|PROJWBS")
                              << QStringList { "WBS Code;All" };
    QTest::newRow("two levels") << QStringLiteral("join_path|PROJWBS|max_level|2")
                                << QStringList { "WBS Code;2" };
    QTest::newRow("other grouping")
        << QStringLiteral("join_path|ACTVCODE|max_level|1") << QStringList();
}

void TestP6LayoutImporter::group()
{
    QFETCH(QString, attributes);
    QFETCH(QStringList, groups);
    P6Layout layout;
    QCOMPARE(P6LayoutImporter().importView(view(withGroup(attributes)), &layout),
             P6LayoutImporter::Status::Ok);
    QCOMPARE(layout.groups, groups);
}

void TestP6LayoutImporter::importAddsEntry()
{
    ScratchHome home;
    MainWindow window;
    QVERIFY(window.importP6Layout(plf("planner.plf")));
    const QString entry = QStringLiteral("[P6] ") + plf("planner.plf");
    QCOMPARE(layoutEntries(window), QStringList({ "default", entry }));
    QAction *action = nullptr;
    for (QAction *candidate : window.form().menuLayout->actions()) {
        if (candidate->text() == entry)
            action = candidate;
    }
    QVERIFY(action);
    const QVariantMap document
        = QJsonDocument::fromJson(action->data().toString().toUtf8()).toVariant().toMap();
    QCOMPARE(document.value("columns").toStringList().first(), QStringLiteral("Activity ID:100"));
    QCOMPARE(document.value("group").toStringList(), QStringList { "WBS Code;2" });
    QCOMPARE(document.value("sortby").toStringList().first(), QStringLiteral("Activity Name;D"));
    // Everything else comes from "default", whose bars have dates to draw.
    QVERIFY(!document.value("barStyles").toList().isEmpty());
    QVERIFY(document.value("barStyles").toList().first().toMap().contains("startDate"));
}

void TestP6LayoutImporter::secondImportReplacesFirst()
{
    ScratchHome home;
    QTemporaryDir dir;
    const QString copy = dir.filePath(QStringLiteral("second.plf"));
    QVERIFY(QFile::copy(plf("planner.plf"), copy));
    MainWindow window;
    QVERIFY(window.importP6Layout(plf("planner.plf")));
    QVERIFY(window.importP6Layout(copy));
    QCOMPARE(layoutEntries(window), QStringList({ "default", QStringLiteral("[P6] ") + copy }));
}

void TestP6LayoutImporter::failedImport_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QByteArray>("content"); // written to `file` in a scratch folder when set

    QTest::newRow("missing file") << QStringLiteral("missing.plf") << QByteArray();
    QTest::newRow("a folder") << QStringLiteral(".") << QByteArray();
    QTest::newRow("truncated view data") << plf("truncated.plf") << QByteArray();
    QTest::newRow("no activity columns") << plf("nocolumns.plf") << QByteArray();
    QTest::newRow("binary noise") << QStringLiteral("noise.plf")
                                  << QByteArray("\x00\xff(|)\x01((", 9);
    QTest::newRow("size limit: one byte over 16 MB")
        << QStringLiteral("large.plf") << QByteArray(int(P6LayoutImporter::MaxFileSize) + 1, ' ');
    QTest::newRow("depth limit: nested 257 levels")
        << QStringLiteral("deep.plf")
        << (QByteArray("(0||N()(").repeated(P6ConfigNode::MaxDepth + 1)
            + QByteArray("))").repeated(P6ConfigNode::MaxDepth + 1));
}

void TestP6LayoutImporter::failedImport()
{
    QFETCH(QString, file);
    QFETCH(QByteArray, content);
    ScratchHome home;
    QTemporaryDir dir;
    QString path = QFileInfo(file).isAbsolute() ? file : dir.filePath(file);
    if (!content.isEmpty()) {
        QFile out(path);
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write(content);
    }
    MainWindow window;
    QVERIFY(window.importP6Layout(plf("planner.plf")));
    const QStringList before = layoutEntries(window);

    MessageBoxAnswerer answerer(QMessageBox::Ok);
    QVERIFY(!window.importP6Layout(path));
    QCOMPARE(answerer.count, 1);
    QCOMPARE(answerer.title, QStringLiteral("Import layout"));
    QVERIFY2(answerer.text.contains(QDir::toNativeSeparators(path)), qPrintable(answerer.text));
    // The earlier import stays; nothing is added.
    QCOMPARE(layoutEntries(window), before);
}

QTEST_MAIN(TestP6LayoutImporter)
#include "tst_p6layoutimporter.moc"
