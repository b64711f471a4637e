// The plain text of stored notes: paragraphs, escapes, skipped groups and damaged input.

#include "mppr/rtftext.h"

#include <QtTest>

using mppr::rtfToText;

class TestRtfText : public QObject
{
    Q_OBJECT

private slots:
    void text_data();
    void text();
    void hugeInput();
};

void TestRtfText::text_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("text");

    const QByteArray head
        = "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fswiss Arial;}}"
          "{\\colortbl ;\\red255\\green0\\blue0;}\r\n\\viewkind4\\uc1\\pard\\f0\\fs16 ";
    QTest::newRow("as saved") << head + "Notes1\\par\r\n}\r\n"
                              << "Notes1";
    QTest::newRow("paragraphs") << head + "one\\par\r\ntwo\\par\\par three\\line four}"
                                << "one\ntwo\n\nthree\nfour";
    QTest::newRow("formatting dropped") << head + "a \\b bold\\b0  and \\i x\\i0\\par}"
                                        << "a bold and x";
    QTest::newRow("hex escape") << head + "caf\\'e9 \\'80\\par}" << QString::fromUtf8("café €");
    QTest::newRow("unicode with stand-in")
        << head + "\\u8364?5 \\u-3913?\\par}" << QString::fromUtf8("€5 \xef\x82\xb7");
    QTest::newRow("unicode, two stand-ins")
        << QByteArray("{\\rtf1\\uc2\\u233\\'e9\\'e9x}") << QString::fromUtf8("éx");
    QTest::newRow("starred group skipped")
        << head + "{\\*\\generator Riched20;}{\\*\\unknown {nested} text}kept\\par}"
        << "kept";
    QTest::newRow("unknown control word") << head + "a\\foo12 b\\bar c}"
                                          << "abc";
    QTest::newRow("escaped braces") << head + "\\{x\\} \\\\\\par}"
                                    << "{x} \\";
    QTest::newRow("tab and bullet")
        << head + "{\\pntext\\f1\\'B7\\tab}Item\\par}" << QString::fromUtf8("·\tItem");
    QTest::newRow("missing closing braces") << head + "cut off here"
                                            << "cut off here";
    QTest::newRow("extra closing braces") << QByteArray("{\\rtf1 a}}}b}") << "ab";
    QTest::newRow("truncated escape") << head + "x\\'e"
                                      << "x";
    QTest::newRow("truncated control") << head + "x\\"
                                       << "x";
    QTest::newRow("ends at a zero byte") << QByteArray("{\\rtf1 a\0b}", 10) << "a";
    QTest::newRow("plain text") << QByteArray("just text\n") << "just text";
    QTest::newRow("empty") << QByteArray() << QString();
}

void TestRtfText::text()
{
    QFETCH(QByteArray, rtf);
    QFETCH(QString, text);
    QCOMPARE(rtfToText(rtf), text);
}

void TestRtfText::hugeInput()
{
    // Deep nesting, a long control word and more than a megabyte of text read in one pass.
    QByteArray rtf = "{\\rtf1 " + QByteArray(5000, '{') + "\\" + QByteArray(100000, 'w') + " x";
    rtf += QByteArray(5000, '}');
    rtf += QByteArray(1 << 20, 'y') + "}";
    const QString text = rtfToText(rtf);
    QCOMPARE(text.size(), 1 + (1 << 20));
    QVERIFY(text.startsWith(QLatin1String("xy")));
}

QTEST_APPLESS_MAIN(TestRtfText)
#include "tst_rtftext.moc"
