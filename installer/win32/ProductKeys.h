#pragma once
// The product's own registry key, below "Software" of the machine and of the
// current user, made empty for the product to fill and for the uninstaller to
// remove.

// Does nothing when the settings name no ProductRegistry key.
void createProductRegistryKeys();
