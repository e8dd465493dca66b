#pragma once
// The product's settings as the archive describes them, process-wide and read
// directly by every stage of the installation.

#include "core/String.h"
#include "installer/MessageTable.h"

struct InstallSettings {
    String productName;
    MessageTable messageTable;
    int currentLanguage = 0;
};

InstallSettings& installSettings();
