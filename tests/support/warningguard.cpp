#include "tests/support/warningguard.h"

namespace {

QtMessageHandler previousHandler = nullptr;
QStringList collected;

void collect(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (type == QtDebugMsg || type == QtInfoMsg) {
        if (previousHandler)
            previousHandler(type, context, message);
        return;
    }
    collected.append(message);
}

} // namespace

WarningGuard::WarningGuard()
{
    Q_ASSERT(!previousHandler);
    collected.clear();
    m_previous = qInstallMessageHandler(collect);
    previousHandler = m_previous;
}

WarningGuard::~WarningGuard()
{
    qInstallMessageHandler(m_previous);
    previousHandler = nullptr;
}

QStringList WarningGuard::warnings() const
{
    return collected;
}

QByteArray WarningGuard::report() const
{
    return collected.join(QLatin1Char('\n')).toLocal8Bit();
}
