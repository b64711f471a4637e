// Every resource path written in the program's sources exists in the compiled resources, and
// the built-in layout and database script have the shape the window relies on.
#include <QApplication>
#include <QDirIterator>
#include <QFile>
#include <QFontMetrics>
#include <QImage>
#include <QJsonDocument>
#include <QRegularExpression>
#include <QStyle>
#include <QtTest>

class TestResources : public QObject
{
    Q_OBJECT

private slots:
    void pathsNamedInCodeExist();
    void iconsAreDrawable();
    void builtInLayout();
    void databaseScript();
};

void TestResources::pathsNamedInCodeExist()
{
    // ":/images/task_label_32" names no image on purpose: the codes table shows no icon.
    // ":/etc/localtime" is the TZ value main() sets, a zone file of the C library.
    const QStringList exempt
        = { QStringLiteral(":/images/task_label_32"), QStringLiteral(":/etc/localtime") };
    const QRegularExpression pattern(QStringLiteral("\":(/[A-Za-z0-9_./-]+)\""));
    const QDir root(QStringLiteral(TARVIK_SOURCE_DIR));
    int checked = 0;
    QStringList missing;
    for (const QString &folder : root.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        if (folder.startsWith(QLatin1String("build")) || folder == QLatin1String("tests"))
            continue;
        QDirIterator it(root.filePath(folder), { "*.cpp", "*.h" }, QDir::Files,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            QFile file(it.next());
            QVERIFY(file.open(QIODevice::ReadOnly));
            const QString text = QString::fromUtf8(file.readAll());
            auto matches = pattern.globalMatch(text);
            while (matches.hasNext()) {
                const QString path = QLatin1Char(':') + matches.next().captured(1);
                if (exempt.contains(path) || path.endsWith(QLatin1Char('/')))
                    continue;
                ++checked;
                if (!QFile::exists(path))
                    missing << path + QStringLiteral(" (") + file.fileName() + QLatin1Char(')');
            }
        }
    }
    QVERIFY2(missing.isEmpty(), qPrintable(missing.join(QLatin1Char('\n'))));
    QVERIFY(checked > 10);
}

void TestResources::iconsAreDrawable()
{
    QDirIterator it(QStringLiteral(":/images"));
    int count = 0;
    while (it.hasNext()) {
        const QString path = it.next();
        const QImage image(path);
        QVERIFY2(!image.isNull(), qPrintable(path));
        const int size
            = path.contains(QLatin1String("_16")) || path.contains(QLatin1String("_small")) ? 16
                                                                                            : 32;
        QCOMPARE(image.size(), QSize(size, size));
        QVERIFY2(image.hasAlphaChannel(), qPrintable(path));
        // Something is drawn, and the corners stay transparent around the glyph.
        int opaque = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                opaque += image.pixelColor(x, y).alpha() > 128;
        QVERIFY2(opaque > size * size / 10, qPrintable(path));
        ++count;
    }
    QVERIFY(count >= 33);
}

void TestResources::builtInLayout()
{
    QFile file(QStringLiteral(":/files/mpp_style.json"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QJsonParseError error;
    const QVariantMap map = QJsonDocument::fromJson(file.readAll(), &error).toVariant().toMap();
    QCOMPARE(error.error, QJsonParseError::NoError);
    QStringList titles;
    // Each title fits its column beside the 16-pixel filter button, in the header's font.
    const QFontMetrics metrics(QApplication::font("QHeaderView"));
    const int margins = 2 * QApplication::style()->pixelMetric(QStyle::PM_HeaderMargin) + 16;
    for (const QString &column : map.value("columns").toStringList()) {
        const QString title = column.section(QLatin1Char(':'), 0, 0);
        titles << title;
        QVERIFY2(metrics.horizontalAdvance(title) + margins <= column.section(':', 1).toInt(),
                 qPrintable(column));
    }
    QCOMPARE(
        titles,
        QStringList({ "Activity ID", "Activity Name", "Activity Type", "Start Date", "Finish Date",
                      "Total float", "Free float", "Remaining Duration", "Planned Duration" }));
    QCOMPARE(map.value("group").toStringList(),
             QStringList { "WBS Code;;MS Shell Dlg 2:b;r0g0b0a255;r255g255b255a255" });
    QCOMPARE(map.value("bars").toMap().value("timelineFlags").toInt(), 20);
    const QVariantList styles = map.value("barStyles").toList();
    // The default order, which the chart's row types index into.
    QCOMPARE(styles.size(), 7);
    QStringList names;
    for (const QVariant &style : styles)
        names << style.toMap().value("styleName").toString();
    QCOMPARE(names,
             QStringList({ "Task", "Milestone", "Summary", "Actual Task", "Actual Milestone",
                           "Baseline Task", "Baseline Milestone" }));
    QCOMPARE(styles.at(3).toMap().value("startDate").toString(), QStringLiteral("Actual Start"));
    // Hidden, so that milestones look as they did before the style existed.
    QCOMPARE(styles.at(4).toMap().value("visible"), QVariant(false));
    for (int k : { 5, 6 }) {
        QCOMPARE(styles.at(k).toMap().value("startDate").toString(),
                 QStringLiteral("BL Project Start"));
        QCOMPARE(styles.at(k).toMap().value("finishDate").toString(),
                 QStringLiteral("BL Project Finish"));
        QVERIFY(!styles.at(k).toMap().contains("visible"));
    }
    QCOMPARE(styles.at(6).toMap().value("startPointColor").toString(), QStringLiteral("#ff9833"));
}

void TestResources::databaseScript()
{
    QFile file(QStringLiteral(":/files/createrypdb.sql"));
    QVERIFY(file.open(QIODevice::ReadOnly | QIODevice::Text));
    const QStringList statements = QString::fromUtf8(file.readAll()).split(QLatin1Char(';'));
    QCOMPARE(statements.size(), 3);
    QVERIFY(statements.at(0).contains(QLatin1String("CREATE TABLE RySysObjects")));
    QVERIFY(statements.at(1).contains(QLatin1String("CREATE TABLE tblLayout")));
    QVERIFY(statements.at(2).trimmed().startsWith(QLatin1String("INSERT INTO tblLayout")));
}

QTEST_MAIN(TestResources)
#include "tst_resources.moc"
