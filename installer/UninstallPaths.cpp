#include "installer/UninstallPaths.h"

#include "core/Path.h"
#include "core/StringParse.h"
#include "installer/UninstallLists.h"

namespace {

// The part that ".." never climbs out of: "X:\", "\\server\share\" or "\".
int rootLength(const String& path) {
    if (path.charAt(1) == ':')
        return path.charAt(2) == '\\' ? 3 : 2;
    if (path.startsWith("\\\\")) {
        int i = path.findChar('\\', 2);
        if (i >= 0)
            i = path.findChar('\\', i + 1);
        return i < 0 ? path.length() : i + 1;
    }
    return path.firstChar() == '\\' ? 1 : 0;
}

const char* const kWindowsKeys[] = {
    "Classes", "Clients", "Microsoft", "Policies", "RegisteredApplications", "Wow6432Node"};

} // namespace

String collapseDotComponents(const String& path) {
    const int root = rootLength(path);
    Array<String> parts;
    int pos = root;
    while (pos < path.length()) {
        int end = path.findChar('\\', pos);
        if (end < 0)
            end = path.length();
        const String part = substring(path, pos, end - pos);
        if (part == "..") {
            if (parts.count() > 0)
                parts.removeLast();
        } else if (!part.isEmpty() && part != ".") {
            parts.append(part);
        }
        pos = end + 1;
    }
    String result = substring(path, 0, root);
    for (int i = 0; i < parts.count(); ++i) {
        if (i > 0)
            result += '\\';
        result += parts[i];
    }
    return result;
}

bool isBelowPath(const String& path, const String& root) {
    const String inner = collapseDotComponents(path);
    String outer = collapseDotComponents(root);
    if (outer.isEmpty() || inner.length() <= outer.length())
        return false;
    if (outer.lastChar() != '\\')
        outer += '\\';
    return inner.compare(outer, false, outer.length()) == 0;
}

bool holdsAnyOf(const String& path, const Array<String>& folders) {
    for (const String& folder : folders) {
        if (folder.isBlank())
            continue;
        if (samePath(collapseDotComponents(path), collapseDotComponents(folder)) ||
            isBelowPath(folder, path))
            return true;
    }
    return false;
}

Array<String> recordedDirectoryChain(const String& directory, const String& installDir,
                                     const Array<String>& kept) {
    Array<String> chain;
    String current = collapseDotComponents(directory);
    for (;;) {
        if (current.length() <= 3 || samePath(current, installDir))
            break;
        bool isKept = false;
        for (const String& folder : kept)
            isKept = isKept || (!folder.isBlank() && samePath(current, folder));
        if (isKept)
            break;
        chain.append(current);
        const String parent = directoryPart(current);
        if (parent.length() >= current.length())
            break;
        current = parent;
        current.removeTrailingRun('\\');
    }
    return chain;
}

Array<String> startMenuChain(const String& programsDir, const String& productStartMenu) {
    Array<String> chain;
    if (productStartMenu.isBlank() || programsDir.isBlank())
        return chain;
    String current = collapseDotComponents(joinPath(programsDir, productStartMenu));
    while (chain.count() < kMaxStartMenuLevels && isBelowPath(current, programsDir)) {
        chain.append(current);
        current = directoryPart(current);
    }
    return chain;
}

bool mayRemoveInstallTree(const String& installDir, const Array<String>& kept) {
    const String collapsed = collapseDotComponents(installDir);
    return isUsableInstallLocation(installDir) && collapsed.length() > rootLength(collapsed) &&
           collapsed.length() > 3 && !holdsAnyOf(installDir, kept);
}

bool isUsableInstallLocation(const String& installDir) {
    if (!isRemovablePath(installDir))
        return false;
    const String collapsed = collapseDotComponents(installDir);
    const int root = rootLength(collapsed);
    if (root >= 3 && collapsed.length() > root)
        return true;
    // A drive root only as "X:\" itself: "X:" alone is whatever folder that
    // drive is in, and a root reached through ".." was never chosen as one.
    return installDir.length() == 3 && installDir.charAt(1) == ':' && installDir.charAt(2) == '\\';
}

Array<String> createdParentChain(const String& installDir, const String& createdFolder,
                                 const Array<String>& kept) {
    Array<String> chain;
    const String outermost = collapseDotComponents(createdFolder);
    if (createdFolder.isBlank() || !isBelowPath(installDir, outermost))
        return chain;
    String current = collapseDotComponents(installDir);
    while (chain.count() < kMaxStartMenuLevels) {
        const String parent = directoryPart(current);
        if (parent.length() >= current.length())
            break;
        current = collapseDotComponents(parent);
        if (current.length() <= rootLength(current) || current.length() <= 3 ||
            holdsAnyOf(current, kept) ||
            !(isBelowPath(current, outermost) || samePath(current, outermost)))
            break;
        chain.append(current);
        if (samePath(current, outermost))
            break;
    }
    return chain;
}

bool isBelowAnyOf(const String& path, const Array<String>& places) {
    for (const String& place : places)
        if (!place.isBlank() && isBelowPath(path, place))
            return true;
    return false;
}

bool isUsableSubdir(const String& subdir) {
    if (subdir.isEmpty())
        return true;
    if (isAbsolutePath(subdir.c_str()) || subdir.firstChar() == '\\' || !isValidPath(subdir, 0))
        return false;
    // Joined to any folder, it must not climb out of it.
    const String base = "X:\\base";
    const String joined = joinPath(base, subdir);
    return isBelowPath(joined, base) || samePath(collapseDotComponents(joined), base);
}

bool isProductKeyPath(const String& path) {
    String trimmed = path;
    trimmed.removeTrailingRun('\\');
    if (!isKeyPath(trimmed))
        return false;
    const int end = trimmed.findChar('\\');
    const String first = substring(trimmed, 0, end < 0 ? trimmed.length() : end);
    for (const char* key : kWindowsKeys)
        if (first.compare(key, false) == 0)
            return false;
    return true;
}

bool parentKeyPath(String& path) {
    String parent = path;
    parent.removeTrailingRun('\\');
    const int last = parent.findLastChar('\\');
    if (last < 0)
        return false;
    parent.truncate(last);
    path = parent;
    return true;
}
