#pragma once

// Writes JSON text as it goes, byte for byte in the layout QJsonDocument::Indented gives, so
// that a dump of any size never exists in memory as a document. The caller hands over object
// members in ascending key order, as QJsonObject would sort them. Text is gathered in a fixed
// block and passed to the stdio stream a block at a time; the first failed write is remembered
// and everything after it dropped.

#include <QByteArray>
#include <QJsonValue>
#include <QString>

#include <charconv>
#include <cstdio>
#include <cstring>
#include <limits>
#include <memory>
#include <vector>

class QDate;
class QDateTime;

class JsonStreamWriter
{
public:
    explicit JsonStreamWriter(std::FILE *out);
    ~JsonStreamWriter();
    JsonStreamWriter(const JsonStreamWriter &) = delete;
    JsonStreamWriter &operator=(const JsonStreamWriter &) = delete;

    void beginObject() { open('{', true); }
    void endObject();
    void beginArray() { open('[', false); }
    void endArray();
    // The next member's key; the value follows with one of the calls below.
    // A plain ASCII name that needs no escaping, such as a literal.
    void key(const char *name) { key(name, int(std::strlen(name))); }
    // The same with the name's length known.
    void key(const char *name, int size)
    {
#ifndef QT_NO_DEBUG
        checkKey(name);
#endif
        startMember();
        if (size + 4 > BlockSize - m_used) {
            longKey(name, size);
            return;
        }
        char *out = m_block.get() + m_used;
        *out = '"';
        copy(out + 1, name, size);
        std::memcpy(out + 1 + size, "\": ", 3);
        m_used += size + 4;
    }
    void key(const QString &name);

    void null()
    {
        beforeValue();
        std::memcpy(room(4), "null", 4);
        m_used += 4;
    }
    void value(bool flag)
    {
        beforeValue();
        char *out = room(5);
        if (flag) {
            std::memcpy(out, "true", 4);
            m_used += 4;
        } else {
            std::memcpy(out, "false", 5);
            m_used += 5;
        }
    }
    void value(int number)
    {
        beforeValue();
        char *out = room(MaxIntegerSize);
        m_used = int(std::to_chars(out, out + MaxIntegerSize, number).ptr - m_block.get());
    }
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
    bool failed() const
    {
        return m_error != 0;
    }
    // The errno of the first failed write, 0 while none has failed.
    int error() const
    {
        return m_error;
    }

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

    // The separator and indent before a value: nothing after a key, else a line break.
    void beforeValue()
    {
        if (m_afterKey) {
            m_afterKey = false;
            return;
        }
        if (m_levels.empty())
            return;
        Q_ASSERT(!m_levels.back().isObject);
        lineBreak();
    }
    void open(char bracket, bool isObject)
    {
        beforeValue();
        char *out = room(2);
        out[0] = bracket;
        out[1] = '\n';
        m_used += 2;
        Level level;
        level.isObject = isObject;
        m_levels.push_back(level);
        m_lineStartSize += 4;
    }
    void close(char bracket);
#ifndef QT_NO_DEBUG
    void checkKey(const char *name);
    void checkKeyOrder(const QString &name);
#endif
    void longKey(const char *name, int size);
    void startMember()
    {
        Q_ASSERT(!m_levels.empty() && m_levels.back().isObject && !m_afterKey);
        lineBreak();
        m_afterKey = true;
    }
    // ",\n" before any but the first entry of the innermost level, then the indent.
    void lineBreak()
    {
        Level &level = m_levels.back();
        const int skip = level.empty ? 2 : 0;
        level.empty = false;
        const int size = m_lineStartSize - skip;
        if (m_levels.size() > MaxQuickLevels || size > BlockSize - m_used) {
            slowLineBreak(skip != 0);
            return;
        }
        char *out = m_block.get() + m_used;
        const char *from = LineStart + skip;
        copyLineStart(out, from, size);
        m_used += size;
    }
    void slowLineBreak(bool first);
    // Copies `size` bytes of the line start as one of two fixed-size pieces, which compile to
    // a few vector moves (a loop of pieces would become a call of memcpy); the bytes past
    // `size` are overwritten by what follows, and the block has room for them behind its end.
    static void copyLineStart(char *out, const char *from, int size)
    {
        if (size <= 32)
            std::memcpy(out, from, 32);
        else
            std::memcpy(out, from, LineStartPiece);
    }
    void indent(int levels);
    // Most pieces fit the block: copied inline, the rest through putLong().
    void put(const char *data, int size)
    {
        if (size <= BlockSize - m_used) {
            copy(m_block.get() + m_used, data, size);
            m_used += size;
        } else {
            putLong(data, size);
        }
    }
    void putLong(const char *data, int size);
    // memcpy, with the short pieces most writes are copied inline as two overlapping loads.
    static void copy(char *out, const char *from, int size)
    {
        if (size >= 8 && size <= 16) {
            std::memcpy(out, from, 8);
            std::memcpy(out + size - 8, from + size - 8, 8);
        } else if (size >= 4 && size < 8) {
            std::memcpy(out, from, 4);
            std::memcpy(out + size - 4, from + size - 4, 4);
        } else if (size > 16 && size <= 32) {
            std::memcpy(out, from, 16);
            std::memcpy(out + size - 16, from + size - 16, 16);
        } else {
            std::memcpy(out, from, size_t(size));
        }
    }
    void put(char c);
    // Room for `size` more bytes in the block, a flush away at most; where they go.
    char *room(int size)
    {
        if (size > BlockSize - m_used)
            flush();
        return m_block.get() + m_used;
    }
    // The longest text of a 64-bit integer.
    static constexpr int MaxIntegerSize = 20;
    void put(const QByteArray &text)
    {
        put(text.constData(), text.size());
    }
    // Plain ASCII text needs no more than escaping quotes and backslashes.
    bool putPlainString(const QString &text);
    void flush();
    void fail();

    static constexpr int BlockSize = 64 * 1024;
    static constexpr int MaxQuickLevels = 16;
    // ",\n" and the spaces of MaxQuickLevels levels, with room for the last piece's overrun.
    static constexpr int LineStartPiece = 4 * MaxQuickLevels + 16;
    static const char LineStart[2 + LineStartPiece + 1];
    // The block has room for the overrun of a line start's piece behind its end.
    static constexpr int BlockSlack = LineStartPiece;
    std::FILE *m_out;
    // Text waiting for the stream: m_used bytes of a fixed block.
    std::unique_ptr<char[]> m_block;
    int m_used = 0;
    // The texts of recently written days, by day number modulo DayCacheSize.
    struct DayText
    {
        qint64 days = std::numeric_limits<qint64>::min();
        bool valid = false;
        char text[12];
    };
    static constexpr size_t DayCacheSize = 64;
    DayText m_days[DayCacheSize];
    std::vector<Level> m_levels;
    // ",\n" and the indent of the current depth: 2 + 4 x the number of open levels.
    int m_lineStartSize = 2;
    bool m_afterKey = false;
    int m_error = 0;
};
