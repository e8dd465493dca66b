#include "installer/Startup.h"

#include "core/Path.h"

StartupValues& startupValues() {
    static StartupValues values;
    return values;
}

void deriveInstallerParts(StartupValues& values) {
    const String& path = values.installerPath;
    values.installerFileName = fileNamePart(path);
    values.installerDir = directoryPart(path);
    char first = path.charAt(0);
    bool letter = (first >= 'a' && first <= 'z') || (first >= 'A' && first <= 'Z');
    values.installerDrive =
        letter && path.charAt(1) == ':' ? static_cast<char>(first & ~0x20) : '\0';
}

String commandProcessorFrom(const String& expandedComspec, bool expanded,
                            const String& windowsDir) {
    String result = expandedComspec;
    // An undefined variable comes back from the expansion as itself.
    if (!expanded || result.isBlank() || result.compare("%comspec%", false, 0x7FFFFFFF) == 0)
        result = joinPath(windowsDir, String("command.com"));
    if (result.containsWhiteSpace())
        result.quote();
    return result;
}

String tempDirFrom(const String& systemTempPath) {
    String result = systemTempPath;
    result.removeTrailingChar('\\');
    if (result.isEmpty())
        result.assign("c:\\temp");
    return result;
}
