// Reads one project at a time: owns the loader, runs its read on a pool thread, shows the
// progress dialog meanwhile and says why a file could not be opened. The window shows the
// loader's models on loaded() and lets go of them on closing().
#pragma once

#include <QFuture>
#include <QObject>
#include <QPointer>
#include <QString>
#include <memory>

class MPPLoader;
namespace mppr {
enum Status : int;
}
class QProgressDialog;
class QWidget;

class ProjectOpener : public QObject
{
    Q_OBJECT

public:
    // Message boxes go to `window`, whose title names the file when the loader does not.
    explicit ProjectOpener(QWidget *window);
    ~ProjectOpener() override;

    // Drops the project shown (closing() first) and starts reading `path`.
    void open(const QString &path);
    // Waits for a read still running and empties the loader; the loader stays.
    void clear();
    // Drops the loader (closing() first) and the progress dialog.
    void close();

    MPPLoader *loader() const { return m_loader.get(); }
    bool isLoading() const;

    // The plain reason shown when a file cannot be read, for a reader status.
    static QString failureReason(mppr::Status status);
    // The "could not be opened" message for `file`, in a box titled as set (else "Open file").
    void reportFailure(const QString &file, const QString &reason) const;
    void setMessageTitle(const QString &title) { m_messageTitle = title; }

public slots:
    void showProgress();
    void setProgress(int value, QString text);
    void hideProgress();

signals:
    // The views must let go of the loader's models: it is about to go.
    void closing();
    // The read is done and the loader's models are complete.
    void loaded();
    // The read failed; the loader is gone and the failure is about to be reported.
    void readFailed();
    // After each load: true once the project is shown, false after a failed read.
    void loadEnded(bool loaded);

private slots:
    void onLoadFinished();
    void onLoadFailed(int status, QString path);

private:
    void deleteLoader();
    bool isCurrentLoader(const QObject *object) const;

    QWidget *m_window;
    QString m_messageTitle;
    std::unique_ptr<MPPLoader> m_loader;
    QFuture<void> m_loadFuture;
    // Guarded: a modal progress dialog runs the event loop inside setValue(), where the load's
    // end may hide it.
    QPointer<QProgressDialog> m_progressDialog;
};
