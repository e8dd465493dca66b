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
// and removes the keys and values they made where there were none (a type
// they made, and its extension, once nothing else is left below it); then
// tells the shell. What the record does not show as made stays.
struct RecordedAssociation;
void removeFileAssociations(const Array<RecordedAssociation>& associations,
                            const String& productName);
