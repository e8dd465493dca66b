#include "keld/PathText.h"

namespace keld {

namespace {

size_t lastSeparator(const std::string& path, size_t from, PathStyle style) {
    for (size_t i = path.size(); i > from; --i)
        if (isPathSeparator(path[i - 1], style))
            return i - 1;
    return std::string::npos;
}

// "\\server\share\": the server's and the share's names, and the separator after them.
size_t shareRootLength(const std::string& path) {
    size_t i = 2;
    for (int names = 0; names < 2; ++names) {
        while (i < path.size() && !isPathSeparator(path[i], PathStyle::Windows))
            ++i;
        if (i < path.size())
            ++i;
    }
    return i;
}

} // namespace

bool isPathSeparator(char c, PathStyle style) {
    return c == '/' || (style == PathStyle::Windows && c == '\\');
}

size_t rootLength(const std::string& path, PathStyle style) {
    if (path.empty())
        return 0;
    if (style == PathStyle::Posix)
        return path[0] == '/' ? 1 : 0;
    if (path.size() >= 2 && isPathSeparator(path[0], style) && isPathSeparator(path[1], style))
        return shareRootLength(path);
    if (isPathSeparator(path[0], style))
        return 1;
    const char letter = char(path[0] | 0x20);
    if (path.size() >= 2 && path[1] == ':' && letter >= 'a' && letter <= 'z')
        return path.size() >= 3 && isPathSeparator(path[2], style) ? 3 : 2;
    return 0;
}

bool hasRoot(const std::string& path, PathStyle style) {
    return rootLength(path, style) > 0;
}

std::string folderOf(const std::string& path, PathStyle style) {
    const size_t root = rootLength(path, style);
    size_t end = lastSeparator(path, root, style);
    if (end == std::string::npos)
        return path.substr(0, root);
    while (end > root && isPathSeparator(path[end - 1], style))
        --end;
    return path.substr(0, end);
}

std::string fileNameOf(const std::string& path, PathStyle style) {
    const size_t root = rootLength(path, style);
    const size_t separator = lastSeparator(path, root, style);
    return path.substr(separator == std::string::npos ? root : separator + 1);
}

std::string fileStemOf(const std::string& path, PathStyle style) {
    const std::string name = fileNameOf(path, style);
    const size_t dot = name.find_last_of('.');
    return dot == std::string::npos || dot == 0 ? name : name.substr(0, dot);
}

std::string joinPath(const std::string& folder, const std::string& path, PathStyle style) {
    if (folder.empty() || path.empty() || hasRoot(path, style))
        return path;
    const bool driveOnly = style == PathStyle::Windows && folder.back() == ':' &&
                           rootLength(folder, style) == folder.size();
    if (isPathSeparator(folder.back(), style) || driveOnly)
        return folder + path;
    return folder + (style == PathStyle::Windows ? '\\' : '/') + path;
}

} // namespace keld
