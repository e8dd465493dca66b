#include "installer/InstallSettings.h"

InstallSettings& installSettings() {
    static InstallSettings settings;
    return settings;
}
