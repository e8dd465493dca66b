#pragma once
// The uninstaller: started with /u:"name", the program finds the product the
// installation registered under that uninstall key, reads back what the
// installation recorded (the entry's values and Uninstall.DAT) and removes
// it in a fixed order. What it cannot remove is kept, with the entry and
// the uninstaller, so that it can be run again.

#include "core/String.h"
#include "installer/CleanupBatch.h"

// The whole removal with its questions and its closing report. True when
// everything went; the caller then starts the clean-up batch, and ends the
// program in every case.
bool uninstallProduct(const String& name);

// Writes the clean-up batch and starts it in a minimised console of its own:
// 0 when it runs, 1 when it cannot be written, 2 when it cannot be started.
// The batch is a new private file of createPrivateBatch's unless `batchPath`
// names one, which must not exist yet. The running program is deleted only
// when it is the copy in the product's uninstall directory; the install
// directory's parents that the installation made go too once empty.
int startSelfDelete(const String& batchPath = String());
