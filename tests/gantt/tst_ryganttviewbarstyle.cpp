#include "gantt/ryganttviewbarstyle.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QtTest>

class TestRyGanttViewBarStyle : public QObject
{
    Q_OBJECT
private slots:
    void defaultStyles();
    void layoutForm();
    void roundTripThroughJson();
    void missingKeys();
    void visibleKey_data();
    void visibleKey();
    void bodyBounded_data();
    void bodyBounded();
    void colours_data();
    void colours();
    void displayColumnsLaterEntryWins();
    void variantInQVariant();
};

void TestRyGanttViewBarStyle::defaultStyles()
{
    const QList<RyGanttViewBarStyle> styles = RyGanttViewBarStyle::defaultStyles();
    QCOMPARE(styles.size(), 7);
    const QStringList names {
        "Task",          "Milestone",         "Summary", "Actual Task", "Actual Milestone",
        "Baseline Task", "Baseline Milestone"
    };
    const QList<int> heights { 11, 0, 5, 3, 0, 3, 0 };
    const QList<int> offsets { 6, 6, 3, 10, 6, 18, 6 };
    const QList<bool> visible { true, true, true, true, true, false, false };
    for (int i = 0; i < 7; ++i) {
        QCOMPARE(styles.at(i).styleName, names.at(i));
        QCOMPARE(styles.at(i).bodyShapeHeight, heights.at(i));
        QCOMPARE(styles.at(i).bodyShapeOffset, offsets.at(i));
        QCOMPARE(styles.at(i).visible, visible.at(i));
        QVERIFY(styles.at(i).displayColumns.isEmpty());
        const QString prefix = i < 3 ? QString() : i < 5 ? "Actual " : "BL Project ";
        const QString suffix = i < 3 ? " Date" : QString();
        QCOMPARE(styles.at(i).startDate, prefix + "Start" + suffix);
        QCOMPARE(styles.at(i).finishDate, prefix + "Finish" + suffix);
    }
    QCOMPARE(styles.at(0).bodyColor, QColor("#99CCFF"));
    QVERIFY(!styles.at(0).startPointColor.isValid());
    QVERIFY(!styles.at(0).endPointColor.isValid());
    QVERIFY(!styles.at(1).bodyColor.isValid());
    QCOMPARE(styles.at(1).startPointShape, QStringLiteral("Diamond"));
    QCOMPARE(styles.at(1).startPointColor, QColor(Qt::black));
    QVERIFY(!styles.at(1).endPointColor.isValid());
    QCOMPARE(styles.at(2).startPointShape, QStringLiteral("SouthPenta"));
    QCOMPARE(styles.at(2).endPointShape, QStringLiteral("SouthPenta"));
    QCOMPARE(styles.at(2).endPointColor, QColor(Qt::black));
    QCOMPARE(styles.at(3).bodyColor, QColor("#0000FF"));
    QCOMPARE(styles.at(4).startPointColor, QColor("#99CCFF"));
    QCOMPARE(styles.at(5).bodyColor, QColor("#666699"));
    QCOMPARE(styles.at(6).startPointShape, QStringLiteral("Diamond"));
}

void TestRyGanttViewBarStyle::layoutForm()
{
    RyGanttViewBarStyle style = RyGanttViewBarStyle::defaultStyles().at(0);
    style.displayColumns.insert(2, QStringLiteral("Activity Name"));
    style.displayColumns.insert(32, QStringLiteral("Activity ID"));
    const QVariantMap map = style.toVariantMap();
    QCOMPARE(map.value("styleName").toString(), QStringLiteral("Task"));
    QCOMPARE(map.value("bodyColor").toString(), QStringLiteral("#99ccff"));
    QCOMPARE(map.value("startPointColor").toString(), QString()); // no colour
    QCOMPARE(map.value("bodyShapeHeight").toInt(), 11);
    QCOMPARE(map.value("bodyShapeOffset").toInt(), 6);
    QCOMPARE(map.value("startDate").toString(), QStringLiteral("Start Date"));
    QCOMPARE(map.value("finishDate").toString(), QStringLiteral("Finish Date"));
    QCOMPARE(map.value("visible").toBool(), true);
    const QVariantList columns = map.value("displayColumns").toList();
    QCOMPARE(columns.size(), 2);
    QCOMPARE(columns.at(0).toMap().value("key").toInt(), 2);
    QCOMPARE(columns.at(0).toMap().value("value").toString(), QStringLiteral("Activity Name"));
    QCOMPARE(columns.at(1).toMap().value("key").toInt(), 32);
    QCOMPARE(map.keys().size(), 12);
}

void TestRyGanttViewBarStyle::roundTripThroughJson()
{
    QList<RyGanttViewBarStyle> styles = RyGanttViewBarStyle::defaultStyles();
    styles[1].displayColumns.insert(1, QStringLiteral("Activity ID"));
    styles[1].displayColumns.insert(132, QStringLiteral("Progress"));
    const QJsonDocument document = QJsonDocument::fromVariant(
        QVariantMap { { "barStyles", RyGanttViewBarStyle::toVariantList(styles) } });
    const QByteArray json = document.toJson(QJsonDocument::Compact);
    QVERIFY(json.contains("\"bodyColor\":\"#0000ff\""));
    QVERIFY(json.contains("\"displayColumns\":[{\"key\":1,\"value\":\"Activity ID\"},"));
    const QVariantMap parsed = QJsonDocument::fromJson(json).toVariant().toMap();
    QCOMPARE(RyGanttViewBarStyle::fromVariantList(parsed.value("barStyles").toList()), styles);
}

void TestRyGanttViewBarStyle::missingKeys()
{
    const RyGanttViewBarStyle style = RyGanttViewBarStyle::fromVariantMap(QVariantMap());
    QVERIFY(style.styleName.isEmpty());
    QVERIFY(style.startPointShape.isEmpty());
    QVERIFY(!style.startPointColor.isValid());
    QVERIFY(!style.bodyColor.isValid());
    QVERIFY(!style.endPointColor.isValid());
    QCOMPARE(style.bodyShapeHeight, 0);
    QCOMPARE(style.bodyShapeOffset, 0);
    QVERIFY(style.displayColumns.isEmpty());
    QVERIFY(style.startDate.isEmpty());
    QVERIFY(style.finishDate.isEmpty());
}

void TestRyGanttViewBarStyle::visibleKey_data()
{
    QTest::addColumn<QString>("json");
    QTest::addColumn<bool>("visible");
    QTest::newRow("missing reads as shown") << R"({"styleName":"Task"})" << true;
    QTest::newRow("false") << R"({"visible":false})" << false;
    QTest::newRow("true") << R"({"visible":true})" << true;
}

void TestRyGanttViewBarStyle::visibleKey()
{
    QFETCH(QString, json);
    QFETCH(bool, visible);
    const QVariantMap map = QJsonDocument::fromJson(json.toUtf8()).toVariant().toMap();
    QCOMPARE(RyGanttViewBarStyle::fromVariantMap(map).visible, visible);
}

void TestRyGanttViewBarStyle::bodyBounded_data()
{
    QTest::addColumn<QString>("json");
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("offset");
    QTest::newRow("dialog shape kept")
        << R"({"bodyShapeHeight":3,"bodyShapeOffset":18})" << 3 << 18;
    QTest::newRow("int extremes")
        << R"({"bodyShapeHeight":2147483647,"bodyShapeOffset":-2147483648})"
        << RyGanttViewBarStyle::MaxBodyExtent << -RyGanttViewBarStyle::MaxBodyExtent;
    QTest::newRow("negative height") << R"({"bodyShapeHeight":-5,"bodyShapeOffset":2147483647})"
                                     << 0 << RyGanttViewBarStyle::MaxBodyExtent;
}

void TestRyGanttViewBarStyle::bodyBounded()
{
    QFETCH(QString, json);
    QFETCH(int, height);
    QFETCH(int, offset);
    const QVariantMap map = QJsonDocument::fromJson(json.toUtf8()).toVariant().toMap();
    const RyGanttViewBarStyle style = RyGanttViewBarStyle::fromVariantMap(map);
    QCOMPARE(style.bodyShapeHeight, height);
    QCOMPARE(style.bodyShapeOffset, offset);
}

void TestRyGanttViewBarStyle::colours_data()
{
    QTest::addColumn<QVariant>("text");
    QTest::addColumn<QColor>("colour");
    QTest::newRow("upper case") << QVariant("#21996B") << QColor(0x21, 0x99, 0x6b);
    QTest::newRow("lower case") << QVariant("#ff9833") << QColor(0xff, 0x98, 0x33);
    QTest::newRow("empty") << QVariant("") << QColor();
    QTest::newRow("unreadable") << QVariant("#12") << QColor();
    QTest::newRow("not text") << QVariant(5) << QColor();
}

void TestRyGanttViewBarStyle::colours()
{
    QFETCH(QVariant, text);
    QFETCH(QColor, colour);
    const RyGanttViewBarStyle style
        = RyGanttViewBarStyle::fromVariantMap({ { "bodyColor", text } });
    QCOMPARE(style.bodyColor.isValid(), colour.isValid());
    if (colour.isValid()) {
        QCOMPARE(style.bodyColor, colour);
        QCOMPARE(style.toVariantMap().value("bodyColor").toString(), colour.name());
    } else {
        QCOMPARE(style.toVariantMap().value("bodyColor").toString(), QString());
    }
}

void TestRyGanttViewBarStyle::displayColumnsLaterEntryWins()
{
    const QByteArray json = R"({"displayColumns":[{"key":2,"value":"Activity ID"},
                                                   {"key":2,"value":"Activity Name"},
                                                   {"key":64,"value":"Start Date"},
                                                   {"value":"No key"}]})";
    const RyGanttViewBarStyle style
        = RyGanttViewBarStyle::fromVariantMap(QJsonDocument::fromJson(json).toVariant().toMap());
    QCOMPARE(style.displayColumns.value(2), QStringLiteral("Activity Name"));
    QCOMPARE(style.displayColumns.value(64), QStringLiteral("Start Date"));
    QCOMPARE(style.displayColumns.value(0), QStringLiteral("No key"));
    QCOMPARE(style.displayColumns.size(), 3);
}

void TestRyGanttViewBarStyle::variantInQVariant()
{
    const RyGanttViewBarStyle style = RyGanttViewBarStyle::defaultStyles().at(2);
    const QVariant value = QVariant::fromValue(style);
    QVERIFY(value.canConvert<RyGanttViewBarStyle>());
    QCOMPARE(value.value<RyGanttViewBarStyle>(), style);
}

QTEST_MAIN(TestRyGanttViewBarStyle)
#include "tst_ryganttviewbarstyle.moc"
