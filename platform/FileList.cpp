#include "platform/FileList.h"

#include "core/Path.h"
#include "core/TimeStamp.h"
#include "platform/FileFinder.h"
#include "platform/FileHelpers.h"

#include <utility>

namespace {

bool (*gPump)() = nullptr;

struct TimedPath {
    String path;
    TimeStamp time;
};

void sortByTime(Array<String>& list, bool descending) {
    Array<TimedPath> timed;
    for (String& path : list) {
        TimedPath& entry = timed.appendNew();
        lastWriteTime(path, entry.time);
        entry.path = std::move(path);
    }
    const int sign = descending ? -1 : 1;
    timed.sort(
        [sign](const TimedPath* a, const TimedPath* b) { return sign * a->time.compare(b->time); });
    list.clear();
    for (TimedPath& entry : timed)
        list.append(std::move(entry.path));
}

void sortByName(Array<String>& list, bool descending) {
    const int sign = descending ? -1 : 1;
    list.sort(
        [sign](const String* a, const String* b) { return sign * a->compare(b->c_str(), false); });
}

// Does not descend into junctions and other reparse points: they may lead
// back up the tree.
bool isSubdirectory(const FileInfo& info) {
    return info.isDirectory() && !info.isDotEntry() && !(info.attributes & kAttributeReparsePoint);
}

} // namespace

void setFileListPump(bool (*pump)()) {
    gPump = pump;
}

uint64_t listFiles(const String& pattern, uint32_t flags, Array<String>& list) {
    if (!(flags & kListNoPump) && gPump)
        gPump();
    if (!(flags & kListKeep))
        list.clear();

    String search(pattern);
    if (search.removeSuffix(" /s"))
        flags |= kListRecursive;
    const String directory = directoryPart(search);

    uint64_t total = 0;
    FileFinder finder;
    FileInfo info;
    for (bool found = finder.findFirst(search, info); found; found = finder.findNext(info)) {
        if (info.isDirectory() && (!(flags & kListDirectories) || info.isDotEntry()))
            continue;
        list.append(joinPath(directory, info.name));
        total += info.size;
    }

    const uint32_t sort = flags & kListSortMask;
    const bool descending = (flags & kListDescending) != 0;
    if (sort == kListSortByTime)
        sortByTime(list, descending);
    else if (sort == kListSortByName)
        sortByName(list, descending);
    if (flags & (kListNamesOnly | kListNoExtensions)) {
        for (String& entry : list) {
            if (flags & kListNamesOnly)
                stripDirectory(entry);
            if (flags & kListNoExtensions)
                stripExtension(entry);
        }
    }
    if (sort == kListSortByShortName)
        sortByName(list, descending);

    if (flags & kListRecursive) {
        const String namePattern = fileNamePart(search);
        for (bool found = finder.findFirst(joinPath(directory, String("*.*")), info); found;
             found = finder.findNext(info)) {
            if (!isSubdirectory(info))
                continue;
            Array<String> below;
            total += listFiles(joinPath(joinPath(directory, info.name), namePattern),
                               flags & ~kListKeep, below);
            for (String& entry : below)
                list.append(std::move(entry));
        }
    }
    return total;
}
