#include "models/rystyletext.h"

#include <QColor>
#include <QTest>

using namespace RyStyleText;

class TestRyStyleText : public QObject
{
    Q_OBJECT

private slots:
    void fontText_data();
    void fontText();
    void fontFromText_data();
    void fontFromText();
    void colorText_data();
    void colorText();
};

void TestRyStyleText::fontText_data()
{
    QTest::addColumn<bool>("italic");
    QTest::addColumn<bool>("underline");
    QTest::addColumn<int>("weight");
    QTest::addColumn<QString>("text");
    QTest::newRow("plain") << false << false << 50 << "Arial:";
    QTest::newRow("italic bold") << true << false << 75 << "Arial:ib";
    QTest::newRow("underlined bold") << false << true << 75 << "Arial:ub";
    QTest::newRow("demibold counts") << false << false << 63 << "Arial:b";
    QTest::newRow("medium is not bold") << false << false << 57 << "Arial:";
    QTest::newRow("all") << true << true << 87 << "Arial:iub";
}

void TestRyStyleText::fontText()
{
    QFETCH(bool, italic);
    QFETCH(bool, underline);
    QFETCH(int, weight);
    QFETCH(QString, text);
    QFont font("Arial");
    font.setItalic(italic);
    font.setUnderline(underline);
    font.setWeight(weight);
    QCOMPARE(fontToText(font), text);
}

void TestRyStyleText::fontFromText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("family");
    QTest::addColumn<bool>("italic");
    QTest::addColumn<bool>("underline");
    QTest::addColumn<int>("weight");
    QTest::newRow("plain") << "Arial:"
                           << "Arial" << false << false << 50;
    QTest::newRow("bold underlined") << "Arial:ub"
                                     << "Arial" << false << true << 75;
    QTest::newRow("any order") << "Tahoma:bi"
                               << "Tahoma" << true << false << 75;
    QTest::newRow("no colon") << "Tahoma"
                              << "Tahoma" << false << false << 50;
}

void TestRyStyleText::fontFromText()
{
    QFETCH(QString, text);
    QFETCH(QString, family);
    QFETCH(bool, italic);
    QFETCH(bool, underline);
    QFETCH(int, weight);
    const QFont font = RyStyleText::fontFromText(text);
    QCOMPARE(font.family(), family);
    QCOMPARE(font.italic(), italic);
    QCOMPARE(font.underline(), underline);
    QCOMPARE(font.weight(), weight);
}

void TestRyStyleText::colorText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<QColor>("color");
    QTest::newRow("components") << "r10g20b30a40" << true << QColor(10, 20, 30, 40);
    QTest::newRow("opaque red") << "r255g0b0a255" << true << QColor(255, 0, 0, 255);
    QTest::newRow("three numbers") << "r1g2b3" << false << QColor();
    QTest::newRow("out of range") << "r256g0b0a255" << false << QColor();
    QTest::newRow("not a number") << "rXg0b0a255" << false << QColor();
    QTest::newRow("empty") << "" << false << QColor();
}

void TestRyStyleText::colorText()
{
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QFETCH(QColor, color);
    const QBrush brush = colorFromText(text);
    if (!valid) {
        QCOMPARE(brush.style(), Qt::NoBrush);
        return;
    }
    QCOMPARE(brush.style(), Qt::SolidPattern);
    QCOMPARE(brush.color(), color);
    QCOMPARE(colorToText(color), text);
}

QTEST_MAIN(TestRyStyleText)
#include "tst_rystyletext.moc"
