#include "installer/InstallSequence.h"

#include "core/Number.h"
#include "format/ArchiveHeader.h"
#include "installer/FileRecords.h"

String batchCommands(const String& setting, const String& extra) {
    String commands = setting;
    const char last = commands.lastChar();
    if (last != '\r' && last != '\n')
        commands += "\r\n";
    commands += extra;
    return commands;
}

int reinstallMessageId(bool compareVersions, const String& installed, const String& offered) {
    if (!compareVersions || installed.isBlank() || offered.isBlank())
        return 3;
    const int order = compareVersionStrings(installed.c_str(), offered.c_str());
    return order == 0 ? 4 : order < 0 ? 5 : 6;
}

int64_t neededSpace(const ArchiveHeader& header, int64_t clusterSize) {
    int64_t needed = 0;
    for (int32_t i = 0; i < header.fileCount; ++i) {
        const int64_t size = header.fileSize(i);
        needed += clusterSize < 2 ? size : roundUpToMultiple(size, clusterSize);
    }
    return needed;
}

String removableDirectory(const String& path) {
    String directory = path;
    directory.removeTrailingChar('\\');
    return directory.length() > 3 ? directory : String();
}
