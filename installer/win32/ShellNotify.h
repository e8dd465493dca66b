#pragma once
// Telling the shell what the installation changed, so that Explorer shows the
// new icons and verbs without a restart. Nothing is sent when the shell
// lacks the notification.

// The file associations changed.
void notifyAssociationsChanged();
// The desktop of all users or of the current user changed.
void notifyDesktopChanged(bool allUsers);
