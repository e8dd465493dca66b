// The [[files]] list: sources (a file, a folder, or a pattern such as
// "dist/help/*.html") with what the installer does with each of them.
#include "format/FileEntry.h"
#include "keld/Files.h"
#include "keld/PathText.h"
#include "keld/ProjectNames.h"
#include "keld/ProjectReading.h"
#include "keld/SourcePattern.h"
#include "keld/WindowsNames.h"

#include <algorithm>
#include <filesystem>

namespace keld {

namespace {

namespace fs = std::filesystem;

struct Source {
    std::string path;     // on this machine
    std::string relative; // below the folder or pattern, with backslashes
};

std::string backslashes(std::string path) {
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
}

// The files `pattern` names, sorted by their bytes so that the archive does
// not depend on the locale or the file system's order.
std::vector<Source> expandSource(const std::string& pattern) {
    std::vector<Source> found;
    std::error_code ec;
    if (!hasWildcards(pattern)) {
        const fs::path root = toFsPath(pattern);
        if (fs::is_directory(root, ec)) {
            // Names below the folder as listed, not resolved: a link inside it
            // keeps its own name.
            for (auto it = fs::recursive_directory_iterator(root, ec);
                 !ec && it != fs::recursive_directory_iterator(); it.increment(ec))
                if (it->is_regular_file(ec))
                    found.push_back({fromFsPath(it->path()),
                                     backslashes(fromFsPath(it->path().lexically_relative(root)))});
        } else if (fs::is_regular_file(root, ec)) {
            found.push_back({pattern, fileNameOf(pattern)});
        }
    } else {
        for (const std::string& path : expandPattern(pattern))
            if (fs::is_regular_file(toFsPath(path), ec))
                found.push_back({path, fileNameOf(path)});
    }
    // Two files of one name from different folders keep one order too, the same
    // whichever separator the system puts between the folders.
    std::sort(found.begin(), found.end(), [](const Source& a, const Source& b) {
        return a.relative != b.relative ? a.relative < b.relative
                                        : backslashes(a.path) < backslashes(b.path);
    });
    return found;
}

// The kinds the installer places straight into a folder of its own choosing
// (the shared, fonts or system folder), making no folder below it.
bool placedWithoutFolders(const ProjectFile& f) {
    if (f.options & InUninstallDir)
        return true;
    const bool kindWithoutFolders = f.kind == SharedFile || f.kind == FontFile ||
                                    f.kind == SystemFile || f.kind == ComServerFile ||
                                    f.kind == TypeLibraryFile;
    // A target override with a folder in it is placed, folders and all.
    return kindWithoutFolders && f.target.find('\\') == std::string::npos;
}

// The entry's texts for the installer in the product's code page; false when
// one does not fit (reported at its key).
bool inCodePage(ProjectReading& r, const toml::table& t, ProjectFile& f) {
    const char* detailKey = "source";
    for (const char* key :
         {"startup-shortcut", "start-menu-shortcut", "desktop-shortcut", "version", "font-name"})
        if (t.get(key))
            detailKey = key;
    const struct {
        const char* key;
        std::string* text;
    } fields[] = {
        {t.get("name")   ? "name"
         : t.get("into") ? "into"
                         : "source",
         &f.name},
        {detailKey, &f.detail},
        {"shortcut-icon", &f.icon},
        {"shortcut-arguments", &f.arguments},
        {"target", &f.target},
        {"shortcut-working-dir", &f.workingDirectory},
    };
    for (const auto& field : fields) {
        std::string converted;
        const toml::node* where = t.get(field.key);
        if (!r.installerText(where ? *where : static_cast<const toml::node&>(t), *field.text,
                             converted))
            return false;
        *field.text = converted;
    }
    return true;
}

// The shortcut keys; false when they contradict each other (reported).
bool readShortcuts(ProjectReading& r, const toml::table& t, ProjectFile& f) {
    std::string desktop, startMenu, startup;
    r.text(t, "desktop-shortcut", desktop);
    r.text(t, "start-menu-shortcut", startMenu);
    r.text(t, "startup-shortcut", startup);
    if (t.get("desktop-shortcut"))
        f.options |= DesktopShortcut;
    if (t.get("start-menu-shortcut"))
        f.options |= StartMenuShortcut;
    // One record carries one name for all of its shortcuts.
    std::string name;
    for (const std::string* given : {&desktop, &startMenu, &startup}) {
        if (given->empty())
            continue;
        if (!name.empty() && name != *given) {
            r.error(t.source(), "a file's shortcuts share one name; \"" + name + "\" and \"" +
                                    *given + "\" differ");
            return false;
        }
        name = *given;
    }
    if (t.get("startup-shortcut")) {
        if (f.kind != InstallDirFile && f.kind != StartupFile) {
            r.error(*t.get("startup-shortcut"), "a startup shortcut is for files of the kind "
                                                "\"install-dir\"");
            return false;
        }
        f.kind = StartupFile;
    }
    const bool shortcut = (f.options & (DesktopShortcut | StartMenuShortcut)) != 0;
    if (shortcut && f.kind != InstallDirFile) {
        r.error(t.source(), "desktop and Start Menu shortcuts are for files of the kind "
                            "\"install-dir\"");
        return false;
    }
    if (shortcut || f.kind == StartupFile) {
        // The shortcut's file is the name with ".lnk".
        const std::string problem = fileNameProblem(name);
        if (!name.empty() && !problem.empty()) {
            const toml::node* where = t.get("desktop-shortcut");
            for (const char* key : {"startup-shortcut", "start-menu-shortcut"})
                if (t.get(key))
                    where = t.get(key);
            r.error(where->source(), "the shortcut name \"" + name + "\" " + problem);
            return false;
        }
        f.detail = name;
    }
    r.text(t, "shortcut-icon", f.icon);
    r.text(t, "shortcut-arguments", f.arguments);
    r.text(t, "shortcut-working-dir", f.workingDirectory);
    if (!f.icon.empty() && !shortcut)
        r.error(*t.get("shortcut-icon"), "a shortcut icon needs a desktop or Start Menu shortcut");
    return true;
}

bool readAttributes(ProjectReading& r, const toml::table& t, ProjectFile& f) {
    const toml::node* node = t.get("attributes");
    if (!node)
        return true;
    const toml::array* list = node->as_array();
    if (!list) {
        r.error(*node, "\"attributes\" is a list such as [\"read-only\", \"hidden\"]");
        return false;
    }
    f.attributes = 0;
    for (const toml::node& item : *list) {
        const auto* name = item.as_string();
        const auto bit = name ? valueOf(attributeNames(), name->get()) : std::nullopt;
        if (!bit) {
            r.error(item, "unknown attribute; known are " + nameList(attributeNames()));
            return false;
        }
        f.attributes |= int32_t(*bit);
    }
    return true;
}

// Everything but the source and the destination name.
bool readEntry(ProjectReading& r, const toml::table& t, ProjectFile& f) {
    uint64_t value = 0;
    std::string text;
    if (r.text(t, "kind", text) && t.get("kind")) {
        const auto kind = valueOf(destinationKindNames(), text);
        if (!kind) {
            r.error(*t.get("kind"),
                    "unknown kind \"" + text + "\"; known are " + nameList(destinationKindNames()));
            return false;
        }
        f.kind = int32_t(*kind);
    }
    text.clear();
    if (r.text(t, "exists", text) && t.get("exists")) {
        const auto rule = valueOf(existenceRuleNames(), text);
        if (!rule) {
            r.error(*t.get("exists"),
                    "unknown rule \"" + text + "\"; known are " + nameList(existenceRuleNames()));
            return false;
        }
        value = *rule;
        f.options |= int32_t(value);
    }
    bool flag = false;
    if (r.boolean(t, "permanent", flag) && flag)
        f.options |= Permanent;
    flag = false;
    if (r.boolean(t, "in-uninstall-dir", flag) && flag)
        f.options |= InUninstallDir;
    if (!readShortcuts(r, t, f) || !readAttributes(r, t, f))
        return false;
    r.text(t, "target", f.target);
    f.target = backslashes(f.target);
    if (t.get("target")) {
        const std::string problem = pathProblem(f.target, PathForm::Override);
        if (!problem.empty()) {
            r.error(*t.get("target"), "the target \"" + f.target + "\" " + problem);
            return false;
        }
    }
    if (t.get("font-name")) {
        if (f.kind != FontFile) {
            r.error(*t.get("font-name"), "\"font-name\" is for files of the kind \"font\"");
            return false;
        }
        r.text(t, "font-name", f.detail);
    } else if (f.kind == FontFile) {
        r.error(t.source(), "a font needs its \"font-name\" (the name Windows lists it under)");
        return false;
    }
    if (t.get("version")) {
        if (f.kind < SystemFile) {
            r.error(*t.get("version"), "only the kinds \"system\", \"com-server\", "
                                       "\"type-library\" and \"versioned\" compare versions");
            return false;
        }
        r.text(t, "version", f.detail);
        f.versionGiven = true;
    }
    return true;
}

} // namespace

void readFiles(ProjectReading& r, const toml::table& root) {
    const toml::array* list = r.tables(root, "files");
    if (!list)
        return;
    for (const toml::node& node : *list) {
        const toml::table& t = *node.as_table();
        r.onlyKeys(t,
                   {"source", "into", "name", "kind", "exists", "permanent", "in-uninstall-dir",
                    "desktop-shortcut", "start-menu-shortcut", "startup-shortcut", "shortcut-icon",
                    "shortcut-arguments", "shortcut-working-dir", "attributes", "target",
                    "font-name", "version"},
                   "[[files]]");
        std::string source, into, name;
        r.text(t, "source", source);
        r.text(t, "into", into);
        r.text(t, "name", name);
        if (source.empty()) {
            r.error(t.source(), "a [[files]] entry needs a \"source\"");
            continue;
        }
        ProjectFile entry;
        entry.where = {r.project().path, int(t.get("source")->source().begin.line),
                       int(t.get("source")->source().begin.column)};
        if (!readEntry(r, t, entry))
            continue;
        const std::vector<Source> sources = expandSource(r.resolve(source));
        if (sources.empty()) {
            r.error(*t.get("source"),
                    "no file \"" + source + "\" (looked for \"" + r.resolve(source) + "\")");
            continue;
        }
        const bool single = sources.size() == 1 && !hasWildcards(source);
        const bool shortcut = (entry.options & (DesktopShortcut | StartMenuShortcut)) != 0 ||
                              entry.kind == StartupFile;
        if (!single && (t.get("name") || t.get("target") || t.get("font-name") || shortcut)) {
            r.error(*t.get("source"), "\"name\", \"target\", \"font-name\" and shortcuts need a "
                                      "single source file, not a folder or a pattern");
            continue;
        }
        std::string folder = backslashes(into);
        while (!folder.empty() && folder.back() == '\\')
            folder.pop_back();
        for (const Source& s : sources) {
            ProjectFile f = entry;
            f.source = s.path;
            f.name = name.empty() ? s.relative : backslashes(name);
            if (!folder.empty())
                f.name = folder + "\\" + f.name;
            const std::string problem = pathProblem(f.name);
            if (!problem.empty()) {
                r.error(*t.get(t.get("name")   ? "name"
                               : t.get("into") ? "into"
                                               : "source"),
                        "the destination \"" + f.name + "\" " + problem);
                break;
            }
            if (placedWithoutFolders(f) && f.name.find('\\') != std::string::npos) {
                const std::string which =
                    (f.options & InUninstallDir)
                        ? "files marked \"in-uninstall-dir\""
                        : "files of the kind \"" +
                              nameOf(destinationKindNames(), uint64_t(f.kind)) + "\"";
                r.error(*t.get(t.get("into") ? "into" : "source"),
                        "the destination \"" + f.name + "\" has a folder, but the installer " +
                            "places " + which + " straight into their folder and makes no " +
                            "folder below it");
                break;
            }
            if (!inCodePage(r, t, f))
                break;
            r.project().files.push_back(f);
        }
    }
}

} // namespace keld
