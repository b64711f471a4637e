// The only top-level window. It builds the form and the two-page view stack, creates the
// controllers that do the work (view commands, layout document and menu, project opener,
// dialogs, recent files) and connects them to the form's actions. The accessors below give
// tests and benchmarks the widgets and controllers' state.
#pragma once

#include "app/comparecontroller.h"
#include "app/layoutdocument.h"
#include "app/layoutmenu.h"
#include "app/p6layoutimporter.h"
#include "app/projectopener.h"
#include "app/recentfilesmenu.h"
#include "app/viewcommands.h"

#include <QList>
#include <QMainWindow>
#include <QString>
#include <memory>

class Activities;
class ActivityDetails;
class DialogCommands;
class LayoutStore;
class MainWindowForm;
class MPPLoader;
class QAction;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QSplitter;
class Resources;
class RyFindBar;
class RyGanttZoom;
class WindowSettings;

class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit MainWindow(QWidget *parent = nullptr);
    ~MainWindow() override;

    const MainWindowForm &form() const { return *ui; }
    QString outlineText() const { return m_viewCommands->outlineText(); }
    const QList<RecentEntry> &recentEntries() const { return m_recentFiles->entries(); }
    QString recentFilesPath() const { return RecentFilesMenu::path(); }
    const LayoutStore &layoutStore() const { return m_layoutMenu->store(); }
    QMenu *outlineMenu() const { return m_viewCommands->outlineMenu(); }
    QMenu *viewMenu() const { return m_viewCommands->viewMenu(); }
    QMenu *timeMenu() const { return m_viewCommands->timeMenu(); }
    QLineEdit *layoutNameEdit() const { return m_layoutMenu->nameEdit(); }
    QPushButton *layoutSaveButton() const { return m_layoutMenu->saveButton(); }
    QAction *layoutDeleteAction() const { return m_layoutMenu->deleteAction(); }
    Activities *activityView() const { return activities; }
    ActivityDetails *detailsView() const { return details; }
    Resources *resourcesView() const { return resources; }
    MPPLoader *projectLoader() const { return m_opener->loader(); }
    bool isLoading() const { return m_opener->isLoading(); }
    CompareController *compareController() const { return m_compare; }

    void openProject(const QString &path);
    // Opens a path from the command line or a drop: a missing or non-.mpp path gets a message
    // and is not added to the recent files.
    void openProjectFile(const QString &path);
    RyFindBar *findBar() const { return m_findBar; }
    RyGanttZoom *ganttZoom() const { return m_zoom; }
    QSplitter *activitySplitter() const { return splitter; }
    QString lastFolder() const { return m_lastFolder; }
    void reloadLayoutMenu(const QString &selectedName) { m_layoutMenu->reload(selectedName); }
    // False, with the view left as it was, when the document is not a JSON object.
    bool applyLayout(const QString &document) { return m_layoutDocument->apply(document); }
    QString layoutDocument() const { return m_layoutDocument->document(); }
    // False when the database refused the write (a message has said so); declining the
    // overwrite question is no failure.
    bool storeLayout(const QString &document, const QString &name, bool overwrite)
    {
        return m_layoutMenu->storeLayout(document, name, overwrite);
    }
    void setImportedLayouts(const QList<P6Layout> &layouts)
    {
        m_layoutMenu->setImportedLayouts(layouts);
    }
    QList<P6Layout> importedP6Layouts() const { return m_layoutMenu->importedLayouts(); }
    bool importP6Layout(const QString &path) { return m_layoutMenu->importFile(path); }
    // Views {"VIEW_ID", "VIEW_NAME", "VIEW_DATA"}; when none gives a layout the imported layouts
    // stay as they were and the status of the last view is returned.
    P6LayoutImporter::Status importP6Views(const QList<QVariantMap> &views)
    {
        return m_layoutMenu->importViews(views);
    }

    // The plain reason shown when a file cannot be read, for a reader status.
    static QString loadFailureReason(int status);

signals:
    // After each load: true once the project is shown, false after a failed read.
    void projectLoadEnded(bool loaded);

public slots:
    void showProgress() { m_opener->showProgress(); }
    void setProgress(int value, QString text) { m_opener->setProgress(value, text); }
    void hideProgress() { m_opener->hideProgress(); }
    void setView(QAction *action) { m_viewCommands->setView(action); }
    void onDefaultViewClicked() { m_viewCommands->showDefaultView(); }
    // A recent-files entry was chosen (the sender).
    void onMRUClick();

protected:
    void closeEvent(QCloseEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    void createPages();
    void createControllers();
    void createToolBar();
    void connectActions();
    void createDesktopCommands();
    void onOpenFileAction();
    void onCloseAction();
    void onDetailAction();
    void showLoadedProject();
    void onReadFailed();
    void closeProjectViews();
    void updateToolBarActions();
    void updateOutputActions();
    void restoreSettings();
    void restorePendingView();
    void updateStatusText();

    std::unique_ptr<MainWindowForm> ui;
    QSplitter *splitter = nullptr;
    Activities *activities = nullptr;
    ActivityDetails *details = nullptr;
    Resources *resources = nullptr;
    // Controllers, parented to the window.
    ViewCommands *m_viewCommands = nullptr;
    std::unique_ptr<LayoutDocument> m_layoutDocument;
    LayoutMenu *m_layoutMenu = nullptr;
    ProjectOpener *m_opener = nullptr;
    CompareController *m_compare = nullptr;
    DialogCommands *m_dialogs = nullptr;
    RecentFilesMenu *m_recentFiles = nullptr;
    std::unique_ptr<WindowSettings> m_settings;
    RyFindBar *m_findBar = nullptr;
    RyGanttZoom *m_zoom = nullptr;
    QLabel *m_activityCount = nullptr;
    QString m_lastFolder;
    // The view to show once the first project is open (object name of its action).
    QString m_pendingView;
};
