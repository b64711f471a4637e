// Keyboard access to the main window's commands: the shortcuts of the form's actions and the
// tool bar tooltips that name each command with its shortcut.
#pragma once

#include <QString>

class MainWindowForm;
class QAction;
class QToolBar;

namespace KeyboardAccess {

// Shortcuts of the commands that have none in the form. Ctrl+G stays free, as the platform's
// Find Next on some desktops.
void assignShortcuts(MainWindowForm &ui);

// "Columns (Ctrl+Shift+C)": the command without its mnemonic marker, and its first shortcut.
QString toolTipText(const QAction *action);

// Sets that text on every action and menu button of the bar. An action with its own tooltip
// keeps it, with the shortcut added.
void setToolTips(QToolBar *bar);

} // namespace KeyboardAccess
