// What the fuzz entry points share: silence for the libraries' log output, which would only
// slow a run down (the categories are quiet by default, warnings are not).
#pragma once

#include <QtGlobal>

namespace fuzzsupport {

inline void dropMessage(QtMsgType, const QMessageLogContext &, const QString &) { }

inline void quietLogging()
{
    static const bool installed = [] {
        qInstallMessageHandler(dropMessage);
        return true;
    }();
    Q_UNUSED(installed);
}

} // namespace fuzzsupport
