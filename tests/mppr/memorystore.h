#pragma once

// Streams held in memory, keyed by path, for reading crafted schedules without a file.
// Path components lose a leading control character as in compound files ("\x01CompObj").

#include "mppr/streamstore.h"

#include <QMap>

class MemoryStore : public mppr::StreamStore
{
public:
    explicit MemoryStore(const QMap<QString, QByteArray> &streams)
    {
        for (auto it = streams.cbegin(); it != streams.cend(); ++it)
            m_streams.insert(normalized(it.key()), it.value());
    }

    bool exists(const QString &path) const override
    {
        const QString p = normalized(path);
        if (p == QLatin1String("/") || m_streams.contains(p))
            return true;
        for (auto it = m_streams.cbegin(); it != m_streams.cend(); ++it) {
            if (it.key().startsWith(p + QLatin1Char('/')))
                return true;
        }
        return false;
    }

    QStringList list(const QString &path) const override
    {
        QString p = normalized(path);
        if (!p.endsWith(QLatin1Char('/')))
            p += QLatin1Char('/');
        QStringList names;
        for (auto it = m_streams.cbegin(); it != m_streams.cend(); ++it) {
            if (!it.key().startsWith(p))
                continue;
            const QString name = it.key().mid(p.size()).section(QLatin1Char('/'), 0, 0);
            if (!names.contains(name))
                names.append(name);
        }
        return names;
    }

    QByteArray read(const QString &path) const override
    {
        return m_streams.value(normalized(path));
    }

private:
    static QString normalized(const QString &path)
    {
        QStringList parts;
        for (QString part : path.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
            if (!part.isEmpty() && part.at(0).unicode() < 32)
                part.remove(0, 1);
            parts.append(part);
        }
        return QLatin1Char('/') + parts.join(QLatin1Char('/'));
    }

    QMap<QString, QByteArray> m_streams;
};
