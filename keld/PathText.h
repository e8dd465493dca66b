#pragma once
// Paths of the building machine as text: project files, sources, setup.exe and
// the stub. Windows paths take either slash, drive letters ("C:\a", "C:a") and
// server shares; POSIX paths take '/' alone. Pure text work with the style
// named, so that both rules are tested on any host.

#include <string>

namespace keld {

enum class PathStyle { Posix, Windows };

#ifdef _WIN32
inline constexpr PathStyle kHostPathStyle = PathStyle::Windows;
#else
inline constexpr PathStyle kHostPathStyle = PathStyle::Posix;
#endif

bool isPathSeparator(char c, PathStyle style = kHostPathStyle);

// The length of the root: "/" (POSIX), "C:\", "C:", "\", "\\server\share\"
// (Windows); 0 for a relative path.
size_t rootLength(const std::string& path, PathStyle style = kHostPathStyle);

// A path with a root is never completed against a folder ("C:a" neither: it is
// relative to the drive's own current folder).
bool hasRoot(const std::string& path, PathStyle style = kHostPathStyle);

// The folder the last name lies in, without the separator unless it is the
// root: "a/b.toml" -> "a", "b.toml" -> "", "/b" -> "/", "C:\b" -> "C:\".
std::string folderOf(const std::string& path, PathStyle style = kHostPathStyle);

// The last name: "a/b.toml" -> "b.toml"; its stem without the last extension
// ("b"; ".profile" keeps its dot).
std::string fileNameOf(const std::string& path, PathStyle style = kHostPathStyle);
std::string fileStemOf(const std::string& path, PathStyle style = kHostPathStyle);

// `path` taken from `folder`: `path` itself when it has a root or the folder is
// empty, else the two joined by one separator ('/', or '\' for Windows).
std::string joinPath(const std::string& folder, const std::string& path,
                     PathStyle style = kHostPathStyle);

} // namespace keld
