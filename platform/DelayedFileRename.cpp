// wininit.ini's "[rename]" section, which Windows 9x carries out at its next
// start and then empties.
#include "core/Path.h"
#include "platform/DelayedFile.h"
#include "platform/KnownFolders.h"

#include <windows.h>

bool addRenameEntry(const String& destination, const String& source) {
    SetLastError(0);
    if (destination.isBlank() || source.isBlank())
        return false;
    File file;
    if (file.open(joinPath(windowsDir(), String("wininit.ini")).c_str(), OpenAlways) != FileOpened)
        return false;
    String content;
    if (!file.readAll(content))
        return false;
    String entry = String::formatted("%s=%s", destination.c_str(), source.c_str());
    const int section = content.find("[rename]", 0, kFindNoCase);
    if (section >= 0) {
        // The new entry becomes the section's first line.
        content.insert(section + 8, (String("\r\n") + entry).c_str());
    } else {
        content.appendLineBreakIfMissing();
        content.append("[rename]\r\n");
        content.append(entry);
    }
    return file.replaceContents(content);
}
