#pragma once

// Writes JSON text as it goes, byte for byte in the layout QJsonDocument::Indented gives, so
// that a dump of any size never exists in memory as a document. The caller hands over object
// members in ascending key order, as QJsonObject would sort them. Text is gathered in a fixed
// block and passed to the stdio stream a block at a time; the first failed write is remembered
// and everything after it dropped.

#include <QByteArray>
#include <QJsonValue>
#include <QString>
#include <QVector>

#include <cstdio>
#include <cstring>
#include <memory>

class QDate;
class QDateTime;

class JsonStreamWriter
{
public:
    explicit JsonStreamWriter(std::FILE *out);
    ~JsonStreamWriter();
    JsonStreamWriter(const JsonStreamWriter &) = delete;
    JsonStreamWriter &operator=(const JsonStreamWriter &) = delete;

    void beginObject();
    void endObject();
    void beginArray();
    void endArray();
    // The next member's key; the value follows with one of the calls below.
    // A plain ASCII name that needs no escaping, such as a literal.
    void key(const char *name);
    void key(const QString &name);

    void null();
    void value(bool flag);
    void value(int number);
    void value(double number);
    void value(const QString &text);
    // Any JSON value, objects with their keys in order.
    void jsonValue(const QJsonValue &value);
    // A wall-clock "yyyy-MM-ddTHH:mm:ss" text as QDateTime::toString gives it.
    void dateTimeValue(const QDateTime &date);
    // The same for a UTC date given as milliseconds since 1970.
    void utcDateTimeValue(qint64 msecs);
    // A day as "yyyy-MM-ddT00:00:00".
    void dateValue(const QDate &date);

    // Passes everything on to the stream; false once any write has failed.
    bool finish();
    // Whether a write to the stream has failed; the rest of the output is then dropped.
    bool failed() const { return m_error != 0; }
    // The errno of the first failed write, 0 while none has failed.
    int error() const { return m_error; }

    // The texts QJsonDocument gives for a number and for a string, quotes included.
    static QByteArray numberText(double number);
    static QByteArray stringText(const QString &text);

private:
    struct Level
    {
        bool isObject = false;
        bool empty = true;
#ifndef QT_NO_DEBUG
        QString lastKey;
#endif
    };

    void beforeValue();
    void open(char bracket, bool isObject);
    void close(char bracket);
#ifndef QT_NO_DEBUG
    void checkKeyOrder(const QString &name);
#endif
    void startMember();
    // ",\n" before any but the first entry of a level, then the indent.
    void lineBreak(bool first);
    void indent(int levels);
    // Most pieces fit the block: copied inline, the rest through putLong().
    void put(const char *data, int size)
    {
        if (size <= BlockSize - m_used) {
            std::memcpy(m_block.get() + m_used, data, size_t(size));
            m_used += size;
        } else {
            putLong(data, size);
        }
    }
    void putLong(const char *data, int size);
    void put(char c);
    void put(const QByteArray &text)
    {
        put(text.constData(), text.size());
    }
    // Plain ASCII text needs no more than escaping quotes and backslashes.
    bool putPlainString(const QString &text);
    void flush();
    void fail();

    static constexpr int BlockSize = 64 * 1024;
    std::FILE *m_out;
    // Text waiting for the stream: m_used bytes of a fixed block.
    std::unique_ptr<char[]> m_block;
    int m_used = 0;
    QVector<Level> m_levels;
    bool m_afterKey = false;
    int m_error = 0;
};
