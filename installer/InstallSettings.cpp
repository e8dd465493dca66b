#include "installer/InstallSettings.h"

#include <new>

InstallSettings::InstallSettings() = default;

InstallSettings::~InstallSettings() = default;

void InstallSettings::reset() {
    this->~InstallSettings();
    new (this) InstallSettings();
}

// Never destroyed: the process ends in ExitProcess, and a destructor run at
// exit would free nothing the system does not, at the cost of its code.
InstallSettings& installSettings() {
    alignas(InstallSettings) static unsigned char room[sizeof(InstallSettings)];
    static InstallSettings* settings = new (room) InstallSettings();
    return *settings;
}
