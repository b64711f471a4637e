#include "models/rytextfile.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TestRyTextFile : public QObject
{
    Q_OBJECT

private slots:
    void readTextFile();
};

void TestRyTextFile::readTextFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("a.txt");
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(QString::fromUtf8("Gr\xc3\xbc\xc3\x9f\x65\n").toUtf8());
    file.close();
    QCOMPARE(RyTextFile::readTextFile(path), QString::fromUtf8("Gr\xc3\xbc\xc3\x9f\x65\n"));
    QCOMPARE(RyTextFile::readTextFile(dir.filePath("missing")), QString());
}

QTEST_MAIN(TestRyTextFile)
#include "tst_rytextfile.moc"
