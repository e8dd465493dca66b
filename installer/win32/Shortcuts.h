#pragma once
// The product's shortcuts: the pass over ShortcutList after the files are
// placed, the desktop folder that takes the desktop shortcuts when the
// settings name one, and the shortcuts to the uninstaller. Each link made is
// logged and listed for the uninstaller; each failure is reported and the
// next link is made.

// With Uninstallable and UninstallerDesktopShortcut: a desktop shortcut to the
// uninstaller joins ShortcutList, so the pass puts it where the other desktop
// shortcuts go.
void addUninstallerDesktopShortcut();

// Makes every record's desktop, Start Menu and Startup links, in list order.
void createShortcuts();

// With Uninstallable: the uninstaller's shortcuts in the product's Start Menu
// folder (UninstallerStartMenuShortcut) and in the uninstall directory
// (UninstallerShortcutInUninstallDir).
void createUninstallerShortcuts();
