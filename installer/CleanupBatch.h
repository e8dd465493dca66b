#pragma once
// The batch file that finishes an uninstallation once the uninstaller's own
// process has ended: nothing can delete a running program, so the batch
// retries until the uninstaller is gone, then removes the emptied
// directories and finally itself.

#include "core/Array.h"
#include "core/String.h"

// The batch's text. An empty `self` leaves the uninstaller alone (it is not
// the copy in the product's uninstall directory). "rd" removes only empty
// directories: the uninstall and install directories, then `parents` in
// their order (the install directory's parents that the installation made).
// Percent signs in the paths are doubled, because the command processor
// would read them as variables.
String cleanupBatchText(const String& self, const String& installDir, const String& uninstallSubdir,
                        const String& batchFile, const Array<String>& parents = {});
