// The Layout menu: the name field and Save button that head it, one entry per stored layout and
// per imported P6 layout, and the Delete command below them. Owns the layout store; asks the
// layout document for what to save and to apply the entry chosen.
#pragma once

#include "app/p6layoutimporter.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QString>
#include <QVariantMap>
#include <memory>

class LayoutDocument;
class LayoutStore;
class QAction;
class QLineEdit;
class QMenu;
class QPushButton;
class QWidgetAction;
class QWidget;

class LayoutMenu : public QObject
{
    Q_OBJECT

public:
    // Fills `menu` (empty until now) and opens the layout database; message boxes go to
    // `window`.
    LayoutMenu(QMenu *menu, const LayoutDocument *document, QWidget *window);
    ~LayoutMenu() override;

    const LayoutStore &store() const { return *m_store; }
    QLineEdit *nameEdit() const { return m_nameEdit; }
    QPushButton *saveButton() const { return m_saveButton; }
    QAction *deleteAction() const { return m_deleteAction; }

    // Lists the stored and imported layouts again, checking the entry named `selectedName`.
    void reload(const QString &selectedName);
    // False when the database refused the write (a message has said so); declining the
    // overwrite question is no failure.
    bool storeLayout(const QString &document, const QString &name, bool overwrite);
    void setImportedLayouts(const QList<P6Layout> &layouts);
    QList<P6Layout> importedLayouts() const { return m_imported; }
    // Imports a P6 layout file; false, after a message, when it gives no layout.
    bool importFile(const QString &path);
    // When no view gives a layout the imported layouts stay as they were and the status of the
    // last view is returned.
    P6LayoutImporter::Status importViews(const QList<QVariantMap> &views);

public slots:
    // Asks for a layout file and imports it.
    void chooseImportFile();

protected:
    // Routes typed text into the name field and Return there to Save.
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void focusNameField();
    void createWidgets();
    void addEntry(const QString &name, const QString &document, bool stored,
                  const QString &selectedName);
    QAction *checkedEntry() const;
    QString deletableName() const;
    void updateDeleteAction();
    void applyEntry(QAction *entry);
    void saveClicked();
    void deleteClicked();

    QMenu *m_menu;
    const LayoutDocument *m_document;
    QWidget *m_window;
    std::unique_ptr<LayoutStore> m_store;
    QList<P6Layout> m_imported;
    QHash<QString, QString> m_stored;
    QWidgetAction *m_nameAction = nullptr;
    QLineEdit *m_nameEdit = nullptr;
    QPushButton *m_saveButton = nullptr;
    QAction *m_deleteAction = nullptr;
};
