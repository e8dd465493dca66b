#pragma once
// The product's own registry key, below "Software" of the machine and of the
// current user, made empty for the product to fill and for the uninstaller to
// remove.

#include "core/String.h"

// Does nothing when the settings name no ProductRegistry key.
void createProductRegistryKeys();

// The uninstaller's side: deletes the key with everything below it, first
// below the machine's "Software", then below the current user's, and each
// parent that is left empty, up to the first component. A path that names
// no key of the product's own (see isProductKeyPath) deletes nothing.
void removeProductRegistryKeys(const String& path);
