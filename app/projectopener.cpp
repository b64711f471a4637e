#include "app/projectopener.h"

#include "models/rytextfile.h"
#include "mppr/project.h"
#include "tables/mpploader.h"

#include <QDir>
#include <QJsonDocument>
#include <QMessageBox>
#include <QProgressDialog>
#include <QWidget>
#include <QtConcurrent>

ProjectOpener::ProjectOpener(QWidget *window)
    : QObject(window)
    , m_window(window)
{
}

ProjectOpener::~ProjectOpener()
{
    deleteLoader();
    delete m_progressDialog.data();
}

void ProjectOpener::open(const QString &path)
{
    emit closing();
    deleteLoader();

    m_loader.reset(new MPPLoader);
    const QString schema = RyTextFile::readTextFile(QStringLiteral(":/files/mppr.json"));
    m_loader->setSchema(QJsonDocument::fromJson(schema.toUtf8()));
    connect(m_loader.get(), &ProjectLoader::started, this, &ProjectOpener::showProgress);
    connect(m_loader.get(), &ProjectLoader::progress, this, &ProjectOpener::setProgress,
            Qt::QueuedConnection);
    connect(m_loader.get(), &ProjectLoader::finished, this, &ProjectOpener::onLoadFinished);
    connect(m_loader.get(), &MPPLoader::failed, this, &ProjectOpener::onLoadFailed);

    MPPLoader *worker = m_loader.get();
    const QString file = path;
    m_loadFuture
        = QtConcurrent::run(QThreadPool::globalInstance(), [worker, file] { worker->load(file); });
}

void ProjectOpener::clear()
{
    if (!m_loader)
        return;
    m_loadFuture.waitForFinished();
    m_loader->clear();
}

void ProjectOpener::close()
{
    emit closing();
    deleteLoader();
    delete m_progressDialog.data();
}

void ProjectOpener::deleteLoader()
{
    if (!m_loader)
        return;
    // The worker may still be returning from load() after its last signal.
    m_loadFuture.waitForFinished();
    m_loader->clear();
    m_loader.reset();
}

bool ProjectOpener::isLoading() const
{
    return m_loader && !m_loadFuture.isFinished();
}

bool ProjectOpener::isCurrentLoader(const QObject *object) const
{
    // Signals of a loader that was replaced meanwhile may still be queued.
    return m_loader && (!object || object == m_loader.get());
}

void ProjectOpener::onLoadFinished()
{
    if (!isCurrentLoader(sender()))
        return;
    // The worker emits finished() just before it returns from load(): wait for that return, so
    // the load counts as ended (isLoading()) and the worker is done with the loader before the
    // window takes over its models. The wait is short as no work is left on the worker.
    m_loadFuture.waitForFinished();
    emit loaded();
    setProgress(100, QStringLiteral("Done"));
    hideProgress();
    emit loadEnded(true);
}

QString ProjectOpener::failureReason(mppr::Status status)
{
    switch (status) {
    case mppr::StatusOpenFailed:
        return QStringLiteral("It is not a file that Tarvik can read: it is no compound file, "
                              "or it is damaged.");
    case mppr::StatusUnknownLayout:
        return QStringLiteral("It is not a supported Microsoft Project file version.");
    case mppr::StatusMalformedBlock:
        return QStringLiteral("The file is damaged: records it needs are missing or unreadable.");
    case mppr::StatusMissingField:
        return QStringLiteral("A required field is missing from the file. The file may be "
                              "password-protected.");
    default:
        return QStringLiteral("The file could not be read (status %1).").arg(status);
    }
}

void ProjectOpener::reportFailure(const QString &file, const QString &reason) const
{
    QMessageBox::warning(m_window,
                         m_messageTitle.isEmpty() ? QStringLiteral("Open file") : m_messageTitle,
                         QStringLiteral("The file could not be opened:\n%1\n\n%2")
                             .arg(QDir::toNativeSeparators(file), reason));
}

void ProjectOpener::onLoadFailed(int status, QString path)
{
    if (!isCurrentLoader(sender()))
        return;
    const QString file = path.isEmpty() ? m_window->windowTitle() : path;
    hideProgress();
    emit closing();
    deleteLoader();
    emit readFailed();
    reportFailure(file, failureReason(static_cast<mppr::Status>(status)));
    emit loadEnded(false);
}

void ProjectOpener::showProgress()
{
    if (!m_progressDialog) {
        m_progressDialog = new QProgressDialog;
        m_progressDialog->setFixedWidth(250);
        m_progressDialog->setAutoReset(false);
        m_progressDialog->setAutoClose(false);
        m_progressDialog->setLabelText(QStringLiteral("Project load"));
        m_progressDialog->setCancelButton(nullptr);
        m_progressDialog->setWindowModality(Qt::ApplicationModal);
    }
    m_progressDialog->show();
}

void ProjectOpener::setProgress(int value, QString text)
{
    if (!m_progressDialog)
        return;
    m_progressDialog->setValue(value);
    // setValue() may have delivered the load's end, which hides the dialog.
    if (m_progressDialog)
        m_progressDialog->setLabelText(text);
}

void ProjectOpener::hideProgress()
{
    if (!m_progressDialog)
        return;
    QProgressDialog *dialog = m_progressDialog;
    m_progressDialog = nullptr;
    dialog->hide();
    // Deferred: this may run inside the dialog's own setValue().
    dialog->deleteLater();
}
