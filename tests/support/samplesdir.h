// Where the real schedules are: TARVIK_SAMPLES from the environment, else the folder the build
// was configured with (tests that read samples define TARVIK_SAMPLES).
#pragma once

#include <QByteArray>
#include <QString>

inline QString samplesDir()
{
    const QByteArray env = qgetenv("TARVIK_SAMPLES");
    return env.isEmpty() ? QStringLiteral(TARVIK_SAMPLES) : QString::fromLocal8Bit(env);
}
