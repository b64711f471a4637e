// Fails nothing by itself: collects every warning (and worse) logged while it lives, so that a
// test can check that none came. Other messages go on to the handler installed before, so
// QTest::ignoreMessage keeps working for them. One guard at a time.
#pragma once

#include <QStringList>
#include <QtGlobal>

class WarningGuard
{
public:
    WarningGuard();
    ~WarningGuard();
    WarningGuard(const WarningGuard &) = delete;
    WarningGuard &operator=(const WarningGuard &) = delete;

    QStringList warnings() const;
    // The warnings as one text, for QVERIFY2.
    QByteArray report() const;

private:
    QtMessageHandler m_previous = nullptr;
};
