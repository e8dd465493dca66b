#include "keld/Inspect.h"

#include "format/FileEntry.h"
#include "keld/ProjectNames.h"

#include <cstdio>
#include <ostream>

namespace keld {

namespace {

using Json = nlohmann::ordered_json;

// Texts of the archive are 8-bit ANSI; JSON wants UTF-8, so bytes above 127
// are taken as Latin-1.
std::string utf8(const char* text, int length) {
    std::string out;
    for (int i = 0; i < length; ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c < 0x80) {
            out += char(c);
        } else {
            out += char(0xC0 | (c >> 6));
            out += char(0x80 | (c & 0x3F));
        }
    }
    return out;
}

std::string utf8(const String& text) {
    return utf8(text.c_str(), text.length());
}

std::string utf8(const std::string& text) {
    return utf8(text.c_str(), int(text.size()));
}

std::string hex(uint64_t value) {
    char text[24];
    std::snprintf(text, sizeof text, "0x%llX", static_cast<unsigned long long>(value));
    return text;
}

std::string colour(int32_t bgr) {
    char text[8];
    const auto v = uint32_t(bgr);
    std::snprintf(text, sizeof text, "#%02X%02X%02X", v & 0xFF, (v >> 8) & 0xFF, (v >> 16) & 0xFF);
    return text;
}

std::string timeText(const TimeStamp& t) {
    if (!t.hasDate())
        return "";
    char text[40];
    if (t.hasTime())
        std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", t.year, t.month, t.day,
                      t.hour, t.minute, t.second);
    else
        std::snprintf(text, sizeof text, "%04d-%02d-%02d", t.year, t.month, t.day);
    return text;
}

Json texts(const Array<String>& list) {
    Json out = Json::array();
    for (const String& text : list)
        out.push_back(utf8(text));
    return out;
}

Json headerJson(const SetupReading& r) {
    const ArchiveHeader& h = r.header;
    Json sizes = Json::array();
    for (int32_t i = 0; i < h.fileCount; ++i)
        sizes.push_back(h.fileSize(i));
    return Json{{"formatVersion", h.formatVersion},
                {"settingsSize", h.settingsSize},
                {"settingsChecksum", hex(h.settingsChecksum)},
                {"installerChecksum", hex(h.installerChecksum)},
                {"archiveLength", h.archiveLength},
                {"fileCount", h.fileCount},
                {"dataLength", h.dataLength},
                {"dataChecksum", hex(h.dataChecksum)},
                {"fileSizes", sizes}};
}

Json settingsJson(const InstallSettings& s) {
    Json deletions = Json::array();
    for (const FileDeletion& d : s.fileDeletions)
        deletions.push_back({{"pattern", utf8(d.pattern)},
                             {"condition", nameOf(deletionConditionNames(), d.condition)},
                             {"value", utf8(d.conditionValue)},
                             {"atRestart", (d.flags & kDeleteAtRestart) != 0}});
    Json associations = Json::array();
    for (const FileAssociation& a : s.fileAssociations)
        associations.push_back({{"extension", utf8(a.extension)},
                                {"type", utf8(a.fileType)},
                                {"description", utf8(a.fileTypeDescription)},
                                {"verb", utf8(a.verb)},
                                {"label", utf8(a.verbLabel)},
                                {"command", utf8(a.commandLine)},
                                {"language", utf8(a.language)},
                                {"icon", utf8(a.defaultIcon)},
                                {"default", (a.flags & kAssociationDefaultVerb) != 0}});
    Json values = Json::array();
    for (const UninstallData& d : s.uninstallData) {
        const std::string type = nameOf(uninstallValueTypeNames(), d.type);
        values.push_back({{"name", utf8(d.name)},
                          {"type", type.empty() ? std::to_string(d.type) : type},
                          {"value", utf8(d.value)}});
    }
    return Json{
        {"ProductFlags", bitNames(productFlagNames(), s.productFlags)},
        {"TaskbarText", utf8(s.taskbarText)},
        {"StepPause", s.stepPause},
        {"ShortcutMode", s.shortcutMode},
        {"PackageTime", timeText(s.packageTime)},
        {"Publisher", utf8(s.publisher)},
        {"ProductName", utf8(s.productName)},
        {"SharedPath", utf8(s.sharedPath)},
        {"ProductStartMenu", utf8(s.productStartMenu)},
        {"DefaultInstallDir", utf8(s.defaultInstallDir)},
        {"DisplayVersion", utf8(s.displayVersion)},
        {"ProductRegistry", utf8(s.productRegistry)},
        {"BitmapSize", s.bitmapSize},
        {"StretchMode", s.stretchMode},
        {"LicenseTexts", texts(s.licenseTexts)},
        {"ReadmeTexts", texts(s.readmeTexts)},
        {"UninstallSubdir", utf8(s.uninstallSubdir)},
        {"VolumeBaseName", utf8(s.volumeBaseName)},
        {"UninstallerName", utf8(s.uninstallerName)},
        {"UninstallKey", utf8(s.uninstallKey)},
        {"TitleColor", colour(s.titleColor)},
        {"TitleShadow", s.titleShadow},
        {"TitlePosition", s.titlePosition},
        {"TitleFont", utf8(s.titleFont)},
        {"TopColor", colour(s.topColor)},
        {"BottomColor", colour(s.bottomColor)},
        {"BackgroundBitmapBytes", s.backgroundBitmapData.length()},
        {"MasterProductName", utf8(s.masterProductName)},
        {"DesktopFolder", utf8(s.desktopFolder)},
        {"DesktopFolderIconBytes", s.desktopFolderIcon.length()},
        {"PreInstallBatch", utf8(s.preInstallBatch)},
        {"PostInstallBatch", utf8(s.postInstallBatch)},
        {"ExitBatch", utf8(s.exitBatch)},
        {"UninstallBatch1", utf8(s.uninstallBatch1)},
        {"UninstallBatch2", utf8(s.uninstallBatch2)},
        {"ExcludedSystems", bitNames(systemNames(), uint32_t(s.excludedSystems))},
        {"DataBeyondImage", s.dataBeyondImage != 0},
        {"VolumeTag", hex(uint32_t(s.volumeTag))},
        {"UninstallerPatchOffset", s.uninstallerPatchOffset},
        {"UninstallerPatchBytes", s.uninstallerPatchBytes.length()},
        {"FileDeletions", deletions},
        {"FileAssociations", associations},
        {"UninstallData", values},
    };
}

Json messagesJson(const InstallSettings& s) {
    Json languages = Json::array();
    for (int language = 0; language < s.languages.count(); ++language) {
        Json messages = Json::object();
        for (int id = 0; id < s.messageTable.messageCount(); ++id)
            if (const String* text = s.messageTable.find(id, language))
                messages[std::to_string(id)] = utf8(*text);
        languages.push_back({{"name", utf8(s.languages[language])}, {"messages", messages}});
    }
    return languages;
}

Json filesJson(const SetupReading& r) {
    Json files = Json::array();
    for (const ReadFileEntry& f : r.files) {
        const std::string kind = nameOf(destinationKindNames(), uint32_t(f.kind));
        Json entry{{"name", utf8(f.name)},
                   {"kind", kind.empty() ? std::to_string(f.kind) : kind},
                   {"size", f.size},
                   {"time", timeText(f.time)}};
        if (f.kind >= 6 && f.kind <= 9)
            entry["version"] = utf8(f.detail);
        else if (f.kind == 4)
            entry["fontName"] = utf8(f.detail);
        else if (!f.detail.empty())
            entry["shortcut"] = utf8(f.detail);
        Json options = Json::array();
        if (f.options & DesktopShortcut)
            options.push_back("desktop-shortcut");
        if (f.options & StartMenuShortcut)
            options.push_back("start-menu-shortcut");
        if (f.options & Permanent)
            options.push_back("permanent");
        if (f.options & InUninstallDir)
            options.push_back("in-uninstall-dir");
        entry["options"] = options;
        entry["exists"] = nameOf(existenceRuleNames(), uint32_t(f.options & ExistenceRuleMask));
        entry["attributes"] = f.attributes == -1
                                  ? Json("unchanged")
                                  : Json(bitNames(attributeNames(), uint32_t(f.attributes)));
        for (const auto& [key, value] :
             {std::pair<const char*, const std::string*>{"icon", &f.icon},
              {"arguments", &f.arguments},
              {"target", &f.target},
              {"workingDirectory", &f.workingDirectory}})
            if (!value->empty())
                entry[key] = utf8(*value);
        files.push_back(entry);
    }
    return files;
}

} // namespace

std::string verdictText(const SetupReading& r) {
    switch (r.verdict) {
    case SetupVerdict::Accepted:
        return "the installer accepts it";
    case SetupVerdict::Corrupt:
        if (r.code != NotCorrupt)
            return "corrupt, error code " + std::to_string(r.code) + ": " + r.problem;
        return "damaged: " + r.problem;
    default:
        return r.problem;
    }
}

Json inspectJson(const SetupReading& r) {
    Json out{{"accepted", r.verdict == SetupVerdict::Accepted},
             {"verdict", verdictText(r)},
             {"errorCode", int(r.code)},
             {"fileSize", r.fileSize}};
    if (r.section.index >= 0)
        out["section"] = {{"index", r.section.index},
                          {"virtualAddress", hex(r.section.virtualAddress)},
                          {"pointerToRawData", r.section.pointerToRawData},
                          {"sizeOfRawData", r.section.sizeOfRawData}};
    if (r.headerRead)
        out["header"] = headerJson(r);
    if (r.settingsRead) {
        out["settings"] = settingsJson(r.settings);
        out["languages"] = messagesJson(r.settings);
    }
    if (!r.volumes.empty())
        out["volumes"] = r.volumes;
    out["files"] = filesJson(r);
    return out;
}

void printInspection(const SetupReading& r, std::ostream& out) {
    const Json j = inspectJson(r);
    out << "Installer: " << j["verdict"].get<std::string>() << "\n";
    out << "File size: " << r.fileSize << " bytes\n";
    if (j.contains("section"))
        out << "Archive section: " << j["section"].dump() << "\n";
    if (j.contains("header")) {
        out << "\n[header]\n";
        for (const auto& [key, value] : j["header"].items())
            out << "  " << key << " = " << value.dump() << "\n";
    }
    if (j.contains("settings")) {
        out << "\n[settings]\n";
        for (const auto& [key, value] : j["settings"].items())
            out << "  " << key << " = " << value.dump() << "\n";
        for (const Json& language : j["languages"]) {
            out << "\n[messages: " << language["name"].get<std::string>() << "]\n";
            for (const auto& [id, text] : language["messages"].items())
                out << "  " << id << " = " << text.dump() << "\n";
        }
    }
    out << "\n[files]\n";
    for (const Json& f : j["files"]) {
        out << "  " << f["name"].get<std::string>() << "  " << f["kind"].get<std::string>() << "  "
            << f["size"].get<int>() << " bytes  " << f["time"].get<std::string>();
        for (const char* key : {"version", "fontName", "shortcut", "target"})
            if (f.contains(key))
                out << "  " << key << "=" << f[key].dump();
        out << "\n";
    }
}

} // namespace keld
