#pragma once
// COM servers and type libraries register themselves in the system's class
// registry; the installer asks each one of the lists the file loop made.
// What happened to each goes into the installation log.

#include "core/String.h"

// Calls DllRegisterServer of every file in ComServerList, written or not.
void registerComServers();
// Registers every file in TypeLibraryList, after the COM servers.
void registerTypeLibraries();

// oleaut32's LoadTypeLib and RegisterTypeLib; false when either fails (the
// thread's last error then says why) or oleaut32 cannot be had.
bool registerTypeLibrary(const String& path);
// Removes the registration of the library in that file.
bool unregisterTypeLibrary(const String& path);
