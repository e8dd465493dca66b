#pragma once
// The choices of the installation's main line that need no system: the
// commands of a batch, the reinstall question, the space the files need.

#include "core/String.h"

#include <cstdint>

struct ArchiveHeader;

// A batch setting with the command line's commands for it: the setting, a
// CR LF unless it already ends in a line break (an empty one gets it too),
// then the extra commands.
String batchCommands(const String& setting, const String& extra);

// The message that opens the reinstall question: 3, or with version
// comparison and both versions given, 4 equal, 5 older installed, 6 newer.
int reinstallMessageId(bool compareVersions, const String& installed, const String& offered);

// The bytes the files take on a drive of that cluster size: each size rounded
// up to whole clusters (not rounded when the cluster is below 2 bytes).
int64_t neededSpace(const ArchiveHeader& header, int64_t clusterSize);

// A directory the end of the installation may remove when empty: without a
// trailing backslash, and never a drive root or shorter (empty then).
String removableDirectory(const String& path);
