// The [product] and [display] tables.
#include "installer/TitleLayout.h"
#include "keld/BitmapFile.h"
#include "keld/ProjectNames.h"
#include "keld/ProjectReading.h"
#include "keld/WindowsNames.h"

namespace keld {

namespace {

// Flags named in a list; `which` says what the names are for messages.
bool readBits(ProjectReading& r, const toml::table& table, const char* key,
              const std::vector<NamedValue>& names, const char* which, uint64_t& out) {
    const toml::node* node = table.get(key);
    if (!node)
        return true;
    const toml::array* list = node->as_array();
    if (!list) {
        r.error(*node,
                std::string("\"") + key + "\" must be a list of " + which + " in square brackets");
        return false;
    }
    bool ok = true;
    for (const toml::node& item : *list) {
        const auto* name = item.as_string();
        const std::optional<uint64_t> bit = name ? valueOf(names, name->get()) : std::nullopt;
        if (!bit) {
            r.error(item, std::string("unknown ") + which +
                              (name ? " \"" + name->get() + "\"" : std::string()) + "; known are " +
                              nameList(names));
            ok = false;
            continue;
        }
        out |= *bit;
    }
    return ok;
}

void readUninstallerPatch(ProjectReading& r, const toml::table& product, InstallSettings& s) {
    int64_t offset = 0;
    r.integer(product, "uninstaller-patch-offset", 0, INT32_MAX, offset);
    r.fileContents(product, "uninstaller-patch", s.uninstallerPatchBytes);
    s.uninstallerPatchOffset = int32_t(offset);
    const bool hasBytes = product.get("uninstaller-patch") != nullptr;
    if (hasBytes != (offset > 0))
        r.error(product.source(), "\"uninstaller-patch\" and \"uninstaller-patch-offset\" "
                                  "go together (an offset above 0 and a file)");
    if (hasBytes && !s.has(Uninstallable))
        r.error(*product.get("uninstaller-patch"),
                "an uninstaller patch needs the flag \"Uninstallable\"");
}

// A place the installer makes below the installation folder or the Start
// Menu: refused when Windows cannot hold it there.
void placeBelow(ProjectReading& r, const toml::table& product, const char* key,
                const String& value) {
    if (!product.get(key) || value.isEmpty())
        return;
    const std::string path(value.c_str(), size_t(value.length()));
    const std::string problem = pathProblem(path);
    if (!problem.empty())
        r.error(*product.get(key), std::string("\"") + key + "\" " + problem);
}

// setup.exe's own face: the version information from the texts as written,
// which the resource holds in Unicode, and the icon file.
void readIdentity(ProjectReading& r, const toml::table& product) {
    SetupIdentity& identity = r.project().identity;
    r.text(product, "name", identity.productName);
    r.text(product, "publisher", identity.publisher);
    r.text(product, "version", identity.version);
    r.text(product, "copyright", identity.copyright);
    identity.description = identity.productName + " Setup";
    std::string icon;
    if (!product.get("icon") || !r.text(product, "icon", icon))
        return;
    std::string bytes;
    if (!r.readSource(*product.get("icon"), r.resolve(icon), bytes))
        return;
    identity.icon.assign(bytes.begin(), bytes.end());
    const std::string problem = iconProblem(identity.icon);
    if (!problem.empty())
        r.error(*product.get("icon"), "the icon \"" + icon + "\" " + problem);
}

// Where the title goes: a name, or the installer's own number.
void readTitlePosition(ProjectReading& r, const toml::table& display, InstallSettings& s) {
    static const std::vector<NamedValue> names = {
        {"none", NoTitle},
        {"top-left", TitleTopLeft},
        {"top-centre", TitleTopCentre},
        {"top-center", TitleTopCentre},
        {"top-right", TitleTopRight},
        {"bottom-left", TitleBottomLeft},
        {"bottom-centre", TitleBottomCentre},
        {"bottom-center", TitleBottomCentre},
        {"bottom-right", TitleBottomRight},
    };
    const toml::node* node = display.get("title-position");
    if (!node)
        return;
    if (const auto* name = node->as_string()) {
        const std::optional<uint64_t> value = valueOf(names, name->get());
        if (value)
            s.titlePosition = uint8_t(*value);
        else
            r.error(*node,
                    "unknown title position \"" + name->get() + "\"; known are " + nameList(names));
        return;
    }
    int64_t value = 0;
    if (r.integer(display, "title-position", 0, 255, value))
        s.titlePosition = uint8_t(value);
}

} // namespace

void readProductSection(ProjectReading& r, const toml::table& root) {
    const toml::table* product = r.table(root, "product");
    if (!product) {
        if (!root.get("product"))
            r.error("the project has no [product] table; it needs at least a name");
        return;
    }
    r.onlyKeys(*product,
               {"name",
                "publisher",
                "version",
                "install-dir",
                "uninstall-key",
                "uninstall-subdir",
                "uninstaller-name",
                "shared-path",
                "start-menu",
                "registry",
                "master-product",
                "flags",
                "all-users",
                "step-pause",
                "excluded-systems",
                "time",
                "desktop-folder",
                "desktop-folder-icon",
                "uninstaller-patch",
                "uninstaller-patch-offset",
                "codepage",
                "icon",
                "copyright"},
               "[product]");
    InstallSettings& s = r.project().settings;
    r.text(*product, "name", s.productName);
    if (s.productName.isBlank())
        r.error(product->get("name") ? product->get("name")->source() : product->source(),
                "the product needs a \"name\"");
    r.text(*product, "publisher", s.publisher);
    r.text(*product, "version", s.displayVersion);
    r.text(*product, "install-dir", s.defaultInstallDir);
    r.text(*product, "uninstall-key", s.uninstallKey);
    r.text(*product, "uninstall-subdir", s.uninstallSubdir);
    s.uninstallerName = "Uninstall.exe";
    r.text(*product, "uninstaller-name", s.uninstallerName);
    placeBelow(r, *product, "uninstall-subdir", s.uninstallSubdir);
    placeBelow(r, *product, "uninstaller-name", s.uninstallerName);
    r.text(*product, "shared-path", s.sharedPath);
    r.text(*product, "start-menu", s.productStartMenu);
    placeBelow(r, *product, "start-menu", s.productStartMenu);
    r.text(*product, "registry", s.productRegistry);
    r.text(*product, "desktop-folder", s.desktopFolder);
    r.fileContents(*product, "desktop-folder-icon", s.desktopFolderIcon);

    readBits(r, *product, "flags", productFlagNames(), "flag", s.productFlags);
    if (product->get("master-product")) {
        r.text(*product, "master-product", s.masterProductName);
        s.productFlags |= MasterProduct;
    }
    if (s.has(Uninstallable) && s.uninstallerName.isBlank())
        r.error(*product->get("uninstaller-name"), "an uninstallable product needs an "
                                                   "\"uninstaller-name\"");

    bool allUsers = false;
    r.boolean(*product, "all-users", allUsers);
    s.shortcutMode = allUsers ? 1 : 0;
    int64_t pause = 0;
    r.integer(*product, "step-pause", kStepPauseRange.min, kStepPauseRange.max, pause);
    s.stepPause = uint16_t(pause);
    uint64_t excluded = 0;
    readBits(r, *product, "excluded-systems", systemNames(), "system", excluded);
    s.excludedSystems = int32_t(excluded);
    r.time(*product, "time", r.project().packageTime);
    readUninstallerPatch(r, *product, s);
    readIdentity(r, *product);
}

void readDisplaySection(ProjectReading& r, const toml::table& root) {
    InstallSettings& s = r.project().settings;
    // A plain blue gradient with a white title unless the project says otherwise.
    s.titleColor = 0xFFFFFF;
    s.topColor = 0x800000;
    s.bottomColor = 0x000000;
    s.titleFont = "Arial";
    s.taskbarText = s.productName;
    const toml::table* display = r.table(root, "display");
    if (display) {
        r.onlyKeys(*display,
                   {"taskbar-text", "title-color", "title-shadow", "title-position", "title-font",
                    "top-color", "bottom-color", "bitmap", "bitmap-size", "stretch-mode"},
                   "[display]");
        r.text(*display, "taskbar-text", s.taskbarText);
        r.colour(*display, "title-color", s.titleColor);
        r.colour(*display, "top-color", s.topColor);
        // A top colour alone gives one plain colour.
        if (display->get("top-color"))
            s.bottomColor = s.topColor;
        r.colour(*display, "bottom-color", s.bottomColor);
        bool shadow = false;
        r.boolean(*display, "title-shadow", shadow);
        s.titleShadow = shadow ? 1 : 0;
        int64_t value = 0;
        readTitlePosition(r, *display, s);
        r.text(*display, "title-font", s.titleFont);
        value = 0;
        if (r.integer(*display, "bitmap-size", kBitmapSizeRange.min, kBitmapSizeRange.max, value))
            s.bitmapSize = int32_t(value);
        value = 0;
        if (r.integer(*display, "stretch-mode", INT32_MIN, INT32_MAX, value))
            s.stretchMode = int32_t(value);
        String bitmap;
        if (display->get("bitmap") && r.fileContents(*display, "bitmap", bitmap)) {
            std::string packed, problem;
            if (installerBitmap(std::string(bitmap.c_str(), size_t(bitmap.length())), packed,
                                problem))
                s.backgroundBitmapData = String(packed.data(), int(packed.size()));
            else
                r.error(*display->get("bitmap"), "the background bitmap " + problem);
            s.productFlags |= BackgroundBitmap;
        }
    }
    s.monoColor = s.topColor == s.bottomColor;
    if (s.has(BackgroundBitmap) && s.backgroundBitmapData.isEmpty())
        r.error("the flag \"BackgroundBitmap\" needs a \"bitmap\" in [display]");
}

} // namespace keld
