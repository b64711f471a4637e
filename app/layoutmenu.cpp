#include "app/layoutmenu.h"

#include "app/appconfig.h"
#include "app/layoutdocument.h"
#include "app/layoutstore.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QWidgetAction>

namespace {

// Properties of the Layout menu entries: the name they apply and whether it is a stored row.
const char *const LayoutNameProperty = "layoutName";
const char *const StoredLayoutProperty = "storedLayout";
const QString DefaultLayout = QStringLiteral("default");
// Entries follow the name/Save widget and the separator.
constexpr int FirstLayoutEntry = 2;

} // namespace

LayoutMenu::LayoutMenu(QMenu *menu, const LayoutDocument *document, QWidget *window)
    : QObject(window)
    , m_menu(menu)
    , m_document(document)
    , m_window(window)
    , m_store(new LayoutStore)
{
    createWidgets();
    m_store->open(AppConfig::directory());
}

LayoutMenu::~LayoutMenu() = default;

void LayoutMenu::createWidgets()
{
    // The name/Save widget heads the Layout menu; stored layouts follow the separator.
    auto *box = new QWidget(m_window);
    auto *boxLayout = new QHBoxLayout(box);
    m_nameEdit = new QLineEdit(box);
    m_nameEdit->setObjectName(QStringLiteral("leLayoutName"));
    m_nameEdit->setPlaceholderText(QStringLiteral("Layout name"));
    m_saveButton = new QPushButton(QStringLiteral("Save"), box);
    m_saveButton->setObjectName(QStringLiteral("pbSaveLayout"));
    m_saveButton->setEnabled(false);
    boxLayout->addWidget(m_nameEdit);
    boxLayout->addWidget(m_saveButton);
    // The menu gives keyboard focus to a widget action's widget only when it takes focus
    // itself; the box hands it on to the name field.
    box->setFocusPolicy(Qt::StrongFocus);
    box->setFocusProxy(m_nameEdit);
    m_nameAction = new QWidgetAction(m_window);
    m_nameAction->setDefaultWidget(box);
    m_menu->addAction(m_nameAction);
    m_menu->addSeparator();
    // Kept below the entries, away from them; reload() puts it back after each rebuild.
    m_deleteAction = new QAction(QStringLiteral("Delete layout"), m_window);
    m_deleteAction->setObjectName(QStringLiteral("actionDeleteLayout"));

    connect(m_saveButton, &QPushButton::clicked, this, &LayoutMenu::saveClicked);
    m_menu->installEventFilter(this);
    m_nameEdit->installEventFilter(this);
    connect(m_menu, &QMenu::aboutToShow, this, &LayoutMenu::focusNameField, Qt::QueuedConnection);
    connect(m_deleteAction, &QAction::triggered, this, &LayoutMenu::deleteClicked);
    connect(m_nameEdit, &QLineEdit::textEdited, m_saveButton,
            [this](const QString &text) { m_saveButton->setEnabled(!text.isEmpty()); });
}

void LayoutMenu::focusNameField()
{
    if (!m_menu->isVisible())
        return;
    m_menu->setActiveAction(m_nameAction);
    m_nameEdit->setFocus(Qt::PopupFocusReason);
}

bool LayoutMenu::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return QObject::eventFilter(watched, event);
    auto *key = static_cast<QKeyEvent *>(event);
    if (watched == m_nameEdit) {
        // Taken here: the field would pass Return on to the menu, which would trigger the
        // name action and close. Saving keeps the menu open, as the Save button does.
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            saveClicked();
            return true;
        }
        return false;
    }
    // Text typed while an entry is highlighted names the layout to save; the menu would
    // otherwise look for a mnemonic and hand the key to the menu bar.
    const bool printable = !key->text().isEmpty() && key->text().at(0).isPrint()
        && !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
    if (watched == m_menu && printable && !m_nameEdit->hasFocus()) {
        focusNameField();
        QCoreApplication::sendEvent(m_nameEdit, event);
        return true;
    }
    return QObject::eventFilter(watched, event);
}

void LayoutMenu::reload(const QString &selectedName)
{
    m_stored.clear();
    const QList<QAction *> entries = m_menu->actions();
    for (int i = FirstLayoutEntry; i < entries.size(); ++i) {
        m_menu->removeAction(entries.at(i));
        if (entries.at(i) != m_deleteAction)
            delete entries.at(i);
    }

    for (const auto &layout : m_store->layouts()) {
        m_stored.insert(layout.first, layout.second);
        addEntry(layout.first, layout.second, true, selectedName);
    }

    QString templateDocument = m_stored.value(DefaultLayout);
    if (templateDocument.isEmpty())
        templateDocument = m_store->defaultTemplate();
    for (const P6Layout &imported : m_imported) {
        addEntry(QStringLiteral("[P6] ") + imported.name,
                 LayoutDocument::fromP6Layout(templateDocument, imported), false, selectedName);
    }

    if (m_stored.isEmpty()) {
        QAction *none = m_menu->addAction(QStringLiteral("layouts not found"));
        none->setEnabled(false);
    }
    m_menu->addSeparator();
    m_menu->addAction(m_deleteAction);
    updateDeleteAction();
}

void LayoutMenu::addEntry(const QString &name, const QString &document, bool stored,
                          const QString &selectedName)
{
    // A name such as "R&D" would otherwise lose its "&" to a keyboard mnemonic.
    QString text = name;
    text.replace(QLatin1Char('&'), QStringLiteral("&&"));
    QAction *action = m_menu->addAction(text);
    action->setCheckable(true);
    action->setData(document);
    action->setProperty(LayoutNameProperty, name);
    action->setProperty(StoredLayoutProperty, stored);
    action->setChecked(name == selectedName);
    connect(action, &QAction::triggered, this, [this, action] { applyEntry(action); });
}

QAction *LayoutMenu::checkedEntry() const
{
    const QList<QAction *> entries = m_menu->actions();
    for (int i = FirstLayoutEntry; i < entries.size(); ++i) {
        if (entries.at(i)->isChecked() && entries.at(i)->property(LayoutNameProperty).isValid())
            return entries.at(i);
    }
    return nullptr;
}

QString LayoutMenu::deletableName() const
{
    const QAction *entry = checkedEntry();
    if (!entry || !entry->property(StoredLayoutProperty).toBool())
        return QString();
    const QString name = entry->property(LayoutNameProperty).toString();
    return name == DefaultLayout ? QString() : name;
}

void LayoutMenu::updateDeleteAction()
{
    QString name = deletableName();
    m_deleteAction->setEnabled(!name.isEmpty());
    name.replace(QLatin1Char('&'), QStringLiteral("&&"));
    m_deleteAction->setText(name.isEmpty() ? QStringLiteral("Delete layout")
                                           : QStringLiteral("Delete layout \"%1\"").arg(name));
}

void LayoutMenu::setImportedLayouts(const QList<P6Layout> &layouts)
{
    m_imported = layouts;
    reload(DefaultLayout);
}

void LayoutMenu::applyEntry(QAction *entry)
{
    if (!m_document->apply(entry->data().toString())) {
        // The click toggled the entry; a layout that was not applied must not look applied.
        entry->setChecked(!entry->isChecked());
        QMessageBox::warning(m_window, QStringLiteral("Layout"),
                             QStringLiteral("The layout \"%1\" could not be read.")
                                 .arg(entry->property(LayoutNameProperty).toString()));
        return;
    }
    const QList<QAction *> entries = m_menu->actions();
    for (QAction *other : entries) {
        if (other->isChecked())
            other->setChecked(false);
    }
    entry->setChecked(true);
    updateDeleteAction();
}

bool LayoutMenu::storeLayout(const QString &document, const QString &name, bool overwrite)
{
    bool stored = false;
    if (!m_store->contains(name)) {
        stored = m_store->insert(name, document);
    } else {
        if (!overwrite) {
            const auto answer = QMessageBox::question(
                m_window, QStringLiteral("Overwrite layout"),
                QStringLiteral("Layout with same name already exists. Overwrite it?"),
                QMessageBox::Yes | QMessageBox::No);
            if (answer != QMessageBox::Yes)
                return true;
        }
        stored = m_store->overwrite(name, document);
    }
    if (!stored) {
        QMessageBox::warning(m_window, QStringLiteral("Layout"),
                             QStringLiteral("The layout \"%1\" could not be saved: the layout "
                                            "database %2 is read-only, locked or missing.")
                                 .arg(name, QDir::toNativeSeparators(m_store->fileName())));
    }
    return stored;
}

void LayoutMenu::saveClicked()
{
    const QString name = m_nameEdit->text();
    if (name.isEmpty())
        return;
    // After a failed write the menu keeps what it lists: a locked database would list nothing.
    if (storeLayout(m_document->document(), name, false))
        reload(name);
}

void LayoutMenu::deleteClicked()
{
    const QString name = deletableName();
    if (name.isEmpty())
        return;
    const auto answer = QMessageBox::question(
        m_window, QStringLiteral("Delete layout"),
        QStringLiteral("Delete the layout \"%1\"? This cannot be undone.").arg(name),
        QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
    if (answer != QMessageBox::Yes)
        return;
    if (!m_store->remove(name)) {
        QMessageBox::warning(m_window, QStringLiteral("Layout"),
                             QStringLiteral("The layout \"%1\" could not be deleted: the layout "
                                            "database %2 is read-only, locked or missing.")
                                 .arg(name, QDir::toNativeSeparators(m_store->fileName())));
        return;
    }
    // The view keeps the deleted layout's look, so no other entry is marked as applied.
    reload(QString());
}

void LayoutMenu::chooseImportFile()
{
    const QString path
        = QFileDialog::getOpenFileName(m_window, QStringLiteral("Select files to open"), QString(),
                                       QStringLiteral("Layout files (*.plf)"));
    if (!path.isEmpty())
        importFile(path);
}

bool LayoutMenu::importFile(const QString &path)
{
    QString text;
    P6LayoutImporter::Status status = P6LayoutImporter::readFile(path, &text);
    if (status == P6LayoutImporter::Status::Ok) {
        status = importViews({ QVariantMap { { QStringLiteral("VIEW_ID"), 0 },
                                             { QStringLiteral("VIEW_NAME"), path },
                                             { QStringLiteral("VIEW_DATA"), text } } });
    }
    if (status == P6LayoutImporter::Status::Ok)
        return true;
    QMessageBox::warning(
        m_window, QStringLiteral("Import layout"),
        QStringLiteral("The layout file could not be imported:\n%1\n\n%2")
            .arg(QDir::toNativeSeparators(path), P6LayoutImporter::reason(status)));
    return false;
}

P6LayoutImporter::Status LayoutMenu::importViews(const QList<QVariantMap> &views)
{
    QList<P6Layout> imported;
    const P6LayoutImporter::Status status = LayoutDocument::importViews(views, &imported);
    // A file that gives nothing must not cost the user the layouts imported before.
    if (status == P6LayoutImporter::Status::Ok)
        setImportedLayouts(imported);
    return status;
}
