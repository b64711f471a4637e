#include "mppr/rtftext.h"

#include <QVector>

#include <cstring>

namespace mppr {

namespace {

// Windows-1252 for 0x80 to 0x9F; the other bytes are Latin-1.
constexpr char16_t Cp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

QChar fromCp1252(quint8 byte)
{
    if (byte >= 0x80 && byte < 0xA0)
        return QChar(ushort(Cp1252High[byte - 0x80]));
    return QChar(ushort(byte));
}

// Destinations whose text is not part of the note.
const char *const SkippedGroups[] = {
    "fonttbl",   "colortbl",     "stylesheet",
    "info",      "pict",         "object",
    "header",    "footer",       "headerl",
    "headerr",   "footerl",      "footerr",
    "footnote",  "listtable",    "listoverridetable",
    "rsidtbl",   "generator",    "themedata",
    "filetbl",   "revtbl",       "colorschememapping",
    "datastore", "latentstyles", "xmlnstbl",
    "pgdsctbl",  "mmathPr",
};

bool isSkippedGroup(const QByteArray &word)
{
    for (const char *name : SkippedGroups) {
        if (word == name)
            return true;
    }
    return false;
}

constexpr int MaxWordLength = 32;
constexpr int MaxDigits = 10;
constexpr int MaxDepth = 1024;

struct Group
{
    bool skip = false;
    int unicodeSkip = 1; // characters that stand in for each \uN (\ucN)
};

class RtfText
{
public:
    explicit RtfText(const QByteArray &rtf)
        : m_data(rtf.constData())
        , m_size(rtf.size())
    {
        const void *nul = std::memchr(m_data, 0, size_t(m_size));
        if (nul)
            m_size = int(static_cast<const char *>(nul) - m_data);
        m_groups.append(Group());
    }

    QString run()
    {
        while (m_pos < m_size) {
            const char c = m_data[m_pos++];
            if (c == '{')
                openGroup();
            else if (c == '}')
                closeGroup();
            else if (c == '\\')
                control();
            else if (c != '\r' && c != '\n')
                character(fromCp1252(quint8(c)));
        }
        // The closing paragraph mark and the line breaks and blanks around it end every note.
        int end = m_text.size();
        while (end > 0 && m_text.at(end - 1).isSpace())
            --end;
        m_text.truncate(end);
        return m_text;
    }

private:
    Group &group() { return m_groups.last(); }

    void openGroup()
    {
        m_atGroupStart = true;
        if (m_groups.size() < MaxDepth)
            m_groups.append(group());
        else
            ++m_overflow;
    }

    void closeGroup()
    {
        m_atGroupStart = false;
        if (m_overflow > 0)
            --m_overflow;
        else if (m_groups.size() > 1)
            m_groups.removeLast();
    }

    // A character of the text, or one that stands in for the last \uN.
    void character(QChar ch)
    {
        m_atGroupStart = false;
        if (m_pendingSkip > 0) {
            --m_pendingSkip;
            return;
        }
        if (!group().skip)
            m_text.append(ch);
    }

    void breakLine()
    {
        m_pendingSkip = 0;
        if (!group().skip)
            m_text.append(QLatin1Char('\n'));
    }

    void control()
    {
        if (m_pos >= m_size)
            return;
        const char c = m_data[m_pos];
        if (!isLetter(c)) {
            ++m_pos;
            symbol(c);
            return;
        }
        QByteArray word;
        while (m_pos < m_size && isLetter(m_data[m_pos]) && word.size() < MaxWordLength)
            word.append(m_data[m_pos++]);
        while (m_pos < m_size && isLetter(m_data[m_pos]))
            ++m_pos; // an overlong word is cut, not misread as text
        bool hasNumber = false;
        bool negative = false;
        qint64 number = 0;
        if (m_pos < m_size && m_data[m_pos] == '-') {
            negative = true;
            ++m_pos;
        }
        int digits = 0;
        while (m_pos < m_size && isDigit(m_data[m_pos])) {
            if (digits++ < MaxDigits)
                number = number * 10 + (m_data[m_pos] - '0');
            hasNumber = true;
            ++m_pos;
        }
        if (negative)
            number = -number;
        if (m_pos < m_size && m_data[m_pos] == ' ')
            ++m_pos;
        controlWord(word, hasNumber, number);
    }

    void symbol(char c)
    {
        switch (c) {
        case '\\':
        case '{':
        case '}':
            character(QLatin1Char(c));
            break;
        case '~':
            character(QChar(0x00A0));
            break;
        case '_':
            character(QChar(0x2011));
            break;
        case '\'': {
            int value = 0;
            int digits = 0;
            while (digits < 2 && m_pos < m_size && hexValue(m_data[m_pos]) >= 0) {
                value = value * 16 + hexValue(m_data[m_pos++]);
                ++digits;
            }
            if (digits == 2) // a cut-off escape is dropped
                character(fromCp1252(quint8(value)));
            break;
        }
        case '*':
            if (m_atGroupStart)
                group().skip = true;
            break;
        case '\r':
        case '\n':
            breakLine();
            break;
        default:
            break; // \- and the other symbols carry no text
        }
    }

    void controlWord(const QByteArray &word, bool hasNumber, qint64 number)
    {
        const bool atStart = m_atGroupStart;
        m_atGroupStart = false;
        if (atStart && isSkippedGroup(word)) {
            group().skip = true;
            return;
        }
        if (word == "par" || word == "line" || word == "sect" || word == "page") {
            breakLine();
        } else if (word == "tab") {
            character(QLatin1Char('\t'));
        } else if (word == "u" && hasNumber) {
            const int code = int(number < 0 ? number + 65536 : number) & 0xFFFF;
            const int skip = group().unicodeSkip;
            m_pendingSkip = 0;
            character(QChar(ushort(code)));
            m_pendingSkip = skip;
        } else if (word == "uc" && hasNumber) {
            group().unicodeSkip = int(qBound<qint64>(0, number, 16));
        } else if (word == "emdash") {
            character(QChar(0x2014));
        } else if (word == "endash") {
            character(QChar(0x2013));
        } else if (word == "bullet") {
            character(QChar(0x2022));
        } else if (word == "lquote") {
            character(QChar(0x2018));
        } else if (word == "rquote") {
            character(QChar(0x2019));
        } else if (word == "ldblquote") {
            character(QChar(0x201C));
        } else if (word == "rdblquote") {
            character(QChar(0x201D));
        }
    }

    static bool isLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
    static bool isDigit(char c) { return c >= '0' && c <= '9'; }
    static int hexValue(char c)
    {
        if (c >= '0' && c <= '9')
            return c - '0';
        if (c >= 'a' && c <= 'f')
            return c - 'a' + 10;
        if (c >= 'A' && c <= 'F')
            return c - 'A' + 10;
        return -1;
    }

    const char *m_data;
    int m_size;
    int m_pos = 0;
    QVector<Group> m_groups;
    int m_overflow = 0; // groups opened beyond MaxDepth
    int m_pendingSkip = 0;
    bool m_atGroupStart = false;
    QString m_text;
};

} // namespace

QString rtfToText(const QByteArray &rtf)
{
    if (!rtf.trimmed().startsWith("{\\rtf")) {
        const int nul = rtf.indexOf('\0');
        return QString::fromLatin1(nul < 0 ? rtf : rtf.left(nul)).trimmed(); // plain text
    }
    return RtfText(rtf).run();
}

} // namespace mppr
