#pragma once
// File associations below HKEY_CLASSES_ROOT: each extension points to its
// file type, and the type gets its description, icon and verb. A value that
// an association replaces is kept beside it, under the product's backup
// value, for the uninstaller to put back; each association processed leaves a
// line in the association list for the uninstaller.

#include "core/Array.h"
#include "core/String.h"
#include "format/SettingsLayout.h"

// Processes the settings' associations in order and tells the shell; does
// nothing when there are none.
void createFileAssociations();

// The uninstaller's side: puts back the values the associations replaced,
// removes the verbs they added, and removes a file type (and the extension
// pointing to it) once nothing is left below it; then tells the shell.
void removeFileAssociations(const Array<FileAssociation>& associations, const String& productName);
