#pragma once
// File associations below HKEY_CLASSES_ROOT: each extension points to its
// file type, and the type gets its description, icon and verb. A value that
// an association replaces is kept beside it, under the product's backup
// value, for the uninstaller to put back; each association processed leaves a
// line in the association list for the uninstaller.

// Processes the settings' associations in order and tells the shell; does
// nothing when there are none.
void createFileAssociations();
