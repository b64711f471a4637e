// The only top-level window: menus, tool bar, the two-page view stack, opening projects,
// the recent-files list and the layout store. Every user command enters through a slot here.
#pragma once

#include "app/p6layoutimporter.h"
#include "app/recentfiles.h"

#include <QFuture>
#include <QHash>
#include <QList>
#include <QMainWindow>
#include <QPair>
#include <QString>
#include <QStringList>
#include <memory>

class Activities;
class ActivityDetails;
class LayoutStore;
class MPPLoader;
class Resources;
class RySortFilterHeader;
class QTableView;
class QTreeView;
class MainWindowForm;
class QAction;
class QActionGroup;
class QLineEdit;
class QMenu;
class QProgressDialog;
class QPushButton;
class QSplitter;
class QToolButton;

class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit MainWindow(QWidget *parent = nullptr);
    ~MainWindow() override;

    const MainWindowForm &form() const { return *ui; }
    QString outlineText() const { return outline; }
    const QList<RecentEntry> &recentEntries() const { return recentFiles.entries(); }
    QString recentFilesPath() const;
    const LayoutStore &layoutStore() const { return *layouts; }
    QMenu *outlineMenu() const { return menuOutline; }
    QMenu *viewMenu() const { return menuView; }
    QMenu *timeMenu() const { return menuTime; }
    QLineEdit *layoutNameEdit() const { return leLayoutName; }
    QPushButton *layoutSaveButton() const { return pbSaveLayout; }
    QAction *layoutDeleteAction() const { return actionDeleteLayout; }
    Activities *activityView() const { return activities; }
    ActivityDetails *detailsView() const { return details; }
    Resources *resourcesView() const { return resources; }
    MPPLoader *projectLoader() const { return loader.get(); }
    bool isLoading() const;

    void openProject(const QString &path);
    void reloadLayoutMenu(const QString &selectedName);
    // False, with the view left as it was, when the document is not a JSON object.
    bool applyLayout(const QString &document);
    QString layoutDocument() const;
    // False when the database refused the write (a message has said so); declining the
    // overwrite question is no failure.
    bool storeLayout(const QString &document, const QString &name, bool overwrite);
    void setImportedLayouts(const QList<P6Layout> &layouts);
    QList<P6Layout> importedP6Layouts() const { return importedLayouts; }
    bool importP6Layout(const QString &path);
    // Views {"VIEW_ID", "VIEW_NAME", "VIEW_DATA"}; when none gives a layout the imported layouts
    // stay as they were and the status of the last view is returned.
    P6LayoutImporter::Status importP6Views(const QList<QVariantMap> &views);
    void setupAssignmentTable(QTableView *tableView);

    // The plain reason shown when a file cannot be read, for a reader status.
    static QString loadFailureReason(int status);

signals:
    // After each load: true once the project is shown, false after a failed read.
    void projectLoadEnded(bool loaded);

public slots:
    void onColumnsAction();
    void onGroupAction();
    void onDetailAction();
    void onBarStyles();
    void onExportAction();
    void onAbout();
    void onSnip();
    void onCloseAction();
    void onMppLoadDone();
    void showProgress();
    void setProgress(int value, QString text);
    void hideProgress();
    void updateToolBarActions();
    void applayLayoutClicked();
    void onOpenFileAction();
    void onImportLayout();
    void setGanttTimelime();
    void onOutlineChanged();
    void saveLayoutClicked();
    void layoutNameEdited(QString text);
    void onPrintMenu();
    void onMRUClick();
    void setView(QAction *action);
    void updateColumnsIcon();
    void onExpandCollapseClicked();
    void onDefaultViewClicked();
    void onMppLoadFailed(int status, QString path);
    void deleteLayoutClicked();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void createPages();
    void createMenus();
    void createToolBar();
    void openDatabase();
    void connectActions();
    void readRecentFiles();
    void rebuildRecentMenu();
    QList<QAction *> timeActions() const;
    QList<QAction *> levelActions() const;
    QList<QPair<QAction *, quint8>> timeScales() const;
    void updateTimeChecks();
    QTreeView *activityTree() const;
    RySortFilterHeader *currentHeader() const;
    void closeProjectViews();
    void addLayoutEntry(const QString &name, const QString &document, bool stored,
                        const QString &selectedName);
    QAction *checkedLayoutEntry() const;
    QString deletableLayoutName() const;
    void updateDeleteLayoutAction();
    void deleteLoader();
    bool isCurrentLoader(const QObject *object) const;

    std::unique_ptr<MainWindowForm> ui;
    QString outline;
    RecentFiles recentFiles;
    std::unique_ptr<MPPLoader> loader;
    QFuture<void> loadFuture;
    std::unique_ptr<LayoutStore> layouts;
    QList<P6Layout> importedLayouts;
    QHash<QString, QString> layoutTable;
    QSplitter *splitter = nullptr;
    Activities *activities = nullptr;
    ActivityDetails *details = nullptr;
    Resources *resources = nullptr;
    QMenu *menuOutline = nullptr;
    QMenu *menuView = nullptr;
    QMenu *menuTime = nullptr;
    QLineEdit *leLayoutName = nullptr;
    QPushButton *pbSaveLayout = nullptr;
    QAction *actionDeleteLayout = nullptr;
    QActionGroup *viewGroup = nullptr;
    std::unique_ptr<QProgressDialog> progressDialog;
};
