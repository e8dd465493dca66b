#pragma once
// Process-wide values computed once at start-up, before the command line is read.
// The platform layer reads them (the Windows and temporary directories).

#include "core/String.h"

struct StartupValues {
    bool computed = false;
    String windowsDir;
    String installerPath;
    String installerFileName;
    String installerDir;
    char installerDrive = 0; // upper-case letter, 0 when the path has no drive
    String commandProcessor;
    String tempDir;
};

StartupValues& startupValues();

// Name, directory and drive from `installerPath`.
void deriveInstallerParts(StartupValues& values);

// The command processor from the expanded "%comspec%": the Windows directory's
// command.com when the expansion failed or is blank, quoted when it holds white space.
String commandProcessorFrom(const String& expandedComspec, bool expanded, const String& windowsDir);

// The temporary directory from the system's answer: no trailing separator,
// "c:\temp" when the system gave nothing.
String tempDirFrom(const String& systemTempPath);
