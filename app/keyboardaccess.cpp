#include "app/keyboardaccess.h"

#include "app/mainwindowform.h"

#include <QAction>
#include <QKeySequence>
#include <QToolBar>
#include <QToolButton>
#include <QWidgetAction>

namespace KeyboardAccess {

void assignShortcuts(MainWindowForm &ui)
{
    ui.actionColumns->setShortcut(QKeySequence(QStringLiteral("Ctrl+Shift+C")));
    ui.actionGroup->setShortcut(QKeySequence(QStringLiteral("Ctrl+Alt+G")));
    ui.actionStyles->setShortcut(QKeySequence(QStringLiteral("Ctrl+B")));
    ui.actionDetail->setShortcut(QKeySequence(QStringLiteral("Ctrl+D")));
    ui.actionExport->setShortcut(QKeySequence(QStringLiteral("Ctrl+E")));
    ui.actionSnip->setShortcut(QKeySequence(QStringLiteral("Ctrl+Shift+I")));
    ui.actionClose->setShortcut(QKeySequence(QStringLiteral("Ctrl+W")));
    ui.actionQuit->setShortcut(QKeySequence(QStringLiteral("Ctrl+Q")));
    ui.actionFind->setShortcut(QKeySequence(QStringLiteral("Ctrl+F")));
    ui.actionFindNext->setShortcut(QKeySequence(Qt::Key_F3));
    ui.actionFindPrevious->setShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F3));
    // Ctrl+= is the same key as Ctrl++ without Shift on most layouts.
    ui.actionZoomIn->setShortcuts(
        { QKeySequence(QStringLiteral("Ctrl++")), QKeySequence(QStringLiteral("Ctrl+=")) });
    ui.actionZoomOut->setShortcut(QKeySequence(QStringLiteral("Ctrl+-")));
    ui.actionZoomFit->setShortcut(QKeySequence(QStringLiteral("Ctrl+0")));
    ui.actionCheckSchedule->setShortcut(QKeySequence(QStringLiteral("Ctrl+Shift+K")));
}

QString toolTipText(const QAction *action)
{
    QString command = action->toolTip();
    if (command.isEmpty() || command == action->iconText())
        command = action->text();
    command.remove(QLatin1Char('&'));
    // "Export..." asks for more in the menu; the tip names the command.
    if (command.endsWith(QLatin1String("...")))
        command.chop(3);
    const QKeySequence shortcut = action->shortcut();
    if (shortcut.isEmpty())
        return command;
    return QStringLiteral("%1 (%2)").arg(command, shortcut.toString(QKeySequence::NativeText));
}

void setToolTips(QToolBar *bar)
{
    const QList<QAction *> actions = bar->actions();
    for (QAction *action : actions) {
        QAction *command = action;
        if (auto *widgetAction = qobject_cast<QWidgetAction *>(action)) {
            auto *button = qobject_cast<QToolButton *>(bar->widgetForAction(widgetAction));
            command = button ? button->defaultAction() : nullptr;
        }
        if (command && !command->isSeparator())
            command->setToolTip(toolTipText(command));
    }
}

} // namespace KeyboardAccess
