// Helpers for the application tests: a private configuration folder per test and a way to
// answer the message boxes the window opens.
#pragma once

#include "app/appconfig.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>

#include <functional>

// Points HOME at a fresh temporary folder; with QStandardPaths' test mode the configuration
// folder then is <home>/.qttest/config/Tarvik. Windows takes the folder from the user's profile,
// not from HOME: there the test-mode folder (%APPDATA%/qttest/Tarvik) is emptied before and
// after, and the application tests hold a CTest resource lock so that they never share it.
class ScratchHome
{
public:
    ScratchHome()
    {
        QStandardPaths::setTestModeEnabled(true);
        QCoreApplication::setApplicationName(QStringLiteral("Tarvik"));
        QCoreApplication::setOrganizationName(QString());
        m_oldHome = qgetenv("HOME");
        qputenv("HOME", m_dir.path().toLocal8Bit());
        clearWindowsConfig();
    }
    ~ScratchHome()
    {
        qputenv("HOME", m_oldHome);
        clearWindowsConfig();
    }

    QString path() const { return m_dir.path(); }
    QString configDir() const { return AppConfig::directory(); }
    // Creates the configuration folder and returns the path of `name` inside it.
    QString configFile(const QString &name) const
    {
        QDir().mkpath(configDir());
        return configDir() + QLatin1Char('/') + name;
    }

private:
    void clearWindowsConfig() const
    {
#ifdef Q_OS_WIN
        // A test may leave a file where the folder belongs (see unwritableConfigFolder).
        const QString dir = configDir();
        if (!dir.contains(QLatin1String("/qttest/")))
            return;
        if (QFileInfo(dir).isDir())
            QDir(dir).removeRecursively();
        else
            QFile::remove(dir);
#endif
    }

    QTemporaryDir m_dir;
    QByteArray m_oldHome;
};

// Presses `button` on every message box that becomes the active modal widget while this object
// lives, and records what the boxes said.
class MessageBoxAnswerer : public QObject
{
public:
    explicit MessageBoxAnswerer(QMessageBox::StandardButton button)
        : m_button(button)
    {
        connect(&m_timer, &QTimer::timeout, this, &MessageBoxAnswerer::poll);
        m_timer.start(5);
    }

    int count = 0;
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;

private:
    void poll()
    {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box || !box->isVisible())
            return;
        ++count;
        title = box->windowTitle();
        text = box->text();
        icon = box->icon();
        if (QAbstractButton *button = box->button(m_button))
            button->click();
        else
            box->reject();
    }

    QMessageBox::StandardButton m_button;
    QTimer m_timer;
};

// Runs `handle` on the first modal dialog of type T that shows up while this object lives.
template<typename T> class ModalHandler : public QObject
{
public:
    explicit ModalHandler(std::function<void(T *)> handle)
        : m_handle(std::move(handle))
    {
        connect(&m_timer, &QTimer::timeout, this, [this] {
            auto *dialog = qobject_cast<T *>(QApplication::activeModalWidget());
            if (!dialog || !dialog->isVisible() || handled)
                return;
            handled = true;
            m_handle(dialog);
        });
        m_timer.start(5);
    }
    bool handled = false;

private:
    std::function<void(T *)> m_handle;
    QTimer m_timer;
};
