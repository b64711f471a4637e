// The streaming JSON writer against QJsonDocument: the same bytes for every value and layout,
// and write errors that are remembered.

#include "jsonstreamwriter.h"

#include <QDateTime>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QtTest>

#include <cerrno>
#include <cmath>
#include <limits>

namespace {

QByteArray qtText(const QJsonValue &value)
{
    const QByteArray array = QJsonDocument(QJsonArray { value }).toJson(QJsonDocument::Compact);
    return array.mid(1, array.size() - 2);
}

// Runs `write` on a writer over a temporary file and returns what reached the file.
template<typename Write> QByteArray written(Write write)
{
    std::FILE *file = std::tmpfile();
    if (!file)
        return QByteArray();
    {
        JsonStreamWriter writer(file);
        write(writer);
        writer.finish();
    }
    QByteArray text(int(std::ftell(file)), '\0');
    std::rewind(file);
    text.resize(int(std::fread(text.data(), 1, size_t(text.size()), file)));
    std::fclose(file);
    return text;
}

QDateTime utc(int year, int month, int day, int hour, int minute, int second)
{
    return QDateTime(QDate(year, month, day), QTime(hour, minute, second), Qt::UTC);
}

} // namespace

class TestJsonStreamWriter : public QObject
{
    Q_OBJECT

private slots:
    void numbers_data();
    void numbers();
    void fractions_data();
    void fractions();
    void strings_data();
    void strings();
    void dates_data();
    void dates();
    void manyDates();
    void layoutMatchesDocument();
    void deepNestingMatchesDocument();
    void writeErrorIsKept();
};

void TestJsonStreamWriter::numbers_data()
{
    QTest::addColumn<double>("number");
    const double values[] = { 0.0,
                              -0.0,
                              1,
                              -5,
                              1e6,
                              2147483647.0,
                              -2147483648.0,
                              4294967295.0,
                              480000.0,
                              1e15,
                              9007199254740991.0,
                              9007199254740992.0,
                              1e16,
                              9728000000000000.0 * 1000,
                              1e21,
                              -1.5e300,
                              0.1,
                              1.0 / 3,
                              7.5 / 60000,
                              1e-5,
                              0.0001,
                              5e-324,
                              std::numeric_limits<double>::quiet_NaN(),
                              std::numeric_limits<double>::infinity() };
    for (const double value : values)
        QTest::addRow("%.17g", value) << value;
}

void TestJsonStreamWriter::numbers()
{
    QFETCH(double, number);
    QCOMPARE(JsonStreamWriter::numberText(number), qtText(number));
    QCOMPARE(written([number](JsonStreamWriter &w) { w.value(number); }), qtText(number));
}

void TestJsonStreamWriter::fractions_data()
{
    // Fractions take a formatter of the writer's own from 1e-3 up; below that, Qt's.
    QTest::addColumn<double>("low");
    QTest::addColumn<double>("high");
    QTest::newRow("below the fixed form") << 1e-9 << 1e-3;
    QTest::newRow("around the fixed form's limit") << 0.9e-3 << 1.1e-3;
    QTest::newRow("below one") << 1e-3 << 1.0;
    QTest::newRow("hours and costs") << 1.0 << 1e6;
    QTest::newRow("large") << 1e6 << 1e15;
    QTest::newRow("near 2^53") << 4e15 << 9.007199254740991e15;
}

void TestJsonStreamWriter::fractions()
{
    QFETCH(double, low);
    QFETCH(double, high);
    quint64 state = 0x9E3779B97F4A7C15ull;
    const double ratio = std::log(high / low);
    for (int k = 0; k < 4000; ++k) {
        state = state * 6364136223846793005ull + 1442695040888963407ull;
        const double unit = double(state >> 11) / 9007199254740992.0;
        double number = low * std::exp(ratio * unit);
        if (k % 4 == 1)
            number = std::round(number * 4) / 4 + 0.25; // quarters, as generated numbers are
        else if (k % 4 == 3 && std::round(number * 100) != std::round(number) * 100)
            number = std::round(number * 100) / 100; // hundredths, as the reader keeps them
        if (k % 2 == 1)
            number = -number;
        const QByteArray expected = qtText(number);
        QCOMPARE(JsonStreamWriter::numberText(number), expected);
        QCOMPARE(written([number](JsonStreamWriter &w) { w.value(number); }), expected);
    }
}

void TestJsonStreamWriter::strings_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("empty") << QString();
    QTest::newRow("plain") << QStringLiteral("Activity 12");
    QTest::newRow("quote and backslash") << QStringLiteral("a\"b\\c/d");
    QTest::newRow("controls") << QStringLiteral("tab\tline\nreturn\r\x01\x1f\x7f");
    QTest::newRow("accents") << QStringLiteral("Bâtiment Süd – 1");
    QTest::newRow("outside the BMP") << QString::fromUtf8("\xF0\x9F\x98\x80");
    QString lone;
    lone += QChar(0xD800);
    lone += QLatin1Char('x');
    QTest::newRow("lone surrogate") << lone;
}

void TestJsonStreamWriter::strings()
{
    QFETCH(QString, text);
    QCOMPARE(JsonStreamWriter::stringText(text), qtText(text));
}

void TestJsonStreamWriter::dates_data()
{
    QTest::addColumn<QDateTime>("date");
    QTest::newRow("morning") << utc(2025, 1, 6, 8, 0, 0);
    QTest::newRow("last second") << utc(2049, 12, 31, 23, 59, 59);
    QTest::newRow("unset day") << utc(1983, 12, 31, 0, 0, 0);
    QTest::newRow("year 1000") << utc(1000, 1, 1, 0, 0, 0);
    QTest::newRow("year 999") << utc(999, 5, 1, 7, 3, 9);
    QTest::newRow("year 10000") << utc(10000, 5, 1, 7, 3, 9);
    QTest::newRow("before year 1") << utc(-44, 3, 15, 12, 0, 0);
    QTest::newRow("leap day") << utc(2024, 2, 29, 23, 59, 59);
    QTest::newRow("1970") << utc(1970, 1, 1, 0, 0, 0);
    QTest::newRow("before 1970") << utc(1969, 12, 31, 23, 59, 59);
    QTest::newRow("milliseconds dropped")
        << QDateTime(QDate(1900, 3, 1), QTime(6, 7, 8, 999), Qt::UTC);
    QTest::newRow("local time") << QDateTime(QDate(2024, 3, 31), QTime(2, 30), Qt::LocalTime);
    QTest::newRow("invalid") << QDateTime();
}

void TestJsonStreamWriter::dates()
{
    QFETCH(QDateTime, date);
    const QString format = QStringLiteral("yyyy-MM-ddTHH:mm:ss");
    QCOMPARE(written([&date](JsonStreamWriter &w) { w.dateTimeValue(date); }),
             qtText(date.toString(format)));
    const QString dayFormat = QStringLiteral("yyyy-MM-ddT00:00:00");
    QCOMPARE(written([&date](JsonStreamWriter &w) { w.dateValue(date.date()); }),
             qtText(date.date().toString(dayFormat)));
}

void TestJsonStreamWriter::manyDates()
{
    // Days come back in any order and share the writer's memory of day texts: each one must
    // still get its own.
    QJsonArray expected;
    QVector<qint64> msecs;
    quint64 state = 12345;
    const qint64 from = utc(1899, 6, 1, 0, 0, 0).toMSecsSinceEpoch();
    for (int k = 0; k < 3000; ++k) {
        state = state * 6364136223846793005ull + 1442695040888963407ull;
        const qint64 span = k % 3 == 0 ? 64 * 86400000LL * 10 : 250LL * 365 * 86400000;
        msecs.append(k % 5 == 4 ? msecs.at(k / 2) : from + qint64((state >> 20) % quint64(span)));
        expected.append(QDateTime::fromMSecsSinceEpoch(msecs.last(), Qt::UTC)
                            .toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss")));
    }
    const QByteArray text = written([&msecs](JsonStreamWriter &w) {
        w.beginArray();
        for (const qint64 value : qAsConst(msecs))
            w.utcDateTimeValue(value);
        w.endArray();
    });
    QCOMPARE(text, QJsonDocument(expected).toJson(QJsonDocument::Indented));
}

void TestJsonStreamWriter::layoutMatchesDocument()
{
    const QJsonObject inner { { "a", QJsonArray { 1, 2.5, QJsonValue() } },
                              { "b", QJsonObject() },
                              { "c", QJsonArray() } };
    const QJsonObject document { { "empty", QJsonArray() },
                                 { "list", QJsonArray { inner, QJsonArray { true, false } } },
                                 { "name", "x" } };
    const QByteArray text = written([](JsonStreamWriter &w) {
        w.beginObject();
        w.key("empty");
        w.beginArray();
        w.endArray();
        w.key("list");
        w.beginArray();
        w.beginObject();
        w.key("a");
        w.beginArray();
        w.value(1);
        w.value(2.5);
        w.null();
        w.endArray();
        w.key(QStringLiteral("b"));
        w.beginObject();
        w.endObject();
        w.key("c");
        w.beginArray();
        w.endArray();
        w.endObject();
        w.beginArray();
        w.value(true);
        w.value(false);
        w.endArray();
        w.endArray();
        w.key("name");
        w.value(QStringLiteral("x"));
        w.endObject();
    });
    QCOMPARE(text, QJsonDocument(document).toJson(QJsonDocument::Indented));
    const QByteArray empty = written([](JsonStreamWriter &w) {
        w.beginObject();
        w.endObject();
    });
    QCOMPARE(empty, QJsonDocument(QJsonObject()).toJson(QJsonDocument::Indented));
}

void TestJsonStreamWriter::deepNestingMatchesDocument()
{
    // Lines are started in one copy up to some depth, and piece by piece below it.
    QJsonArray document { 1 };
    for (int depth = 0; depth < 24; ++depth)
        document = QJsonArray { depth, document, QJsonObject { { "k", depth } } };
    QCOMPARE(written([&document](JsonStreamWriter &w) { w.jsonValue(document); }),
             QJsonDocument(document).toJson(QJsonDocument::Indented));
}

void TestJsonStreamWriter::writeErrorIsKept()
{
    std::FILE *full = std::fopen("/dev/full", "w");
    if (!full)
        QSKIP("no /dev/full");
    JsonStreamWriter writer(full);
    writer.beginArray();
    // More than one block, so that a write reaches the device before the end.
    for (int i = 0; i < 100000 && !writer.failed(); ++i)
        writer.value(QStringLiteral("0123456789"));
    QVERIFY(writer.failed());
    writer.endArray();
    QVERIFY(!writer.finish());
    QCOMPARE(writer.error(), ENOSPC);
    std::fclose(full);
}

QTEST_GUILESS_MAIN(TestJsonStreamWriter)
#include "tst_jsonstreamwriter.moc"
