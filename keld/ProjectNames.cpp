#include "keld/ProjectNames.h"

#include "format/FileEntry.h"
#include "format/SettingsLayout.h"

#include <cstdio>

namespace keld {

const std::vector<NamedValue>& productFlagNames() {
#define KELD_FLAG(name)                                                                            \
    { #name, name }
    static const std::vector<NamedValue> names = {
        KELD_FLAG(RefuseReinstall),
        KELD_FLAG(UninstallerStartMenuShortcut),
        KELD_FLAG(Uninstallable),
        KELD_FLAG(ConfirmFontRemoval),
        KELD_FLAG(CompressedData),
        KELD_FLAG(AlwaysWriteLog),
        KELD_FLAG(AskInstallDir),
        KELD_FLAG(AutomaticInstall),
        KELD_FLAG(AutomaticUninstall),
        KELD_FLAG(RemoveInstallDir),
        KELD_FLAG(ReplaceInUse),
        KELD_FLAG(AddToPath),
        KELD_FLAG(RestartRequired),
        KELD_FLAG(BackgroundBitmap),
        KELD_FLAG(MasterProduct),
        KELD_FLAG(ConfirmUninstallDeletion),
        KELD_FLAG(VerifyWrites),
        KELD_FLAG(ClearAttributes),
        KELD_FLAG(DetailedLog),
        KELD_FLAG(NoCancel),
        KELD_FLAG(NoFinishMessage),
        KELD_FLAG(HidePreInstallBatch),
        KELD_FLAG(HidePostInstallBatch),
        KELD_FLAG(HideExitBatch),
        KELD_FLAG(HideUninstallBatch1),
        KELD_FLAG(HideUninstallBatch2),
        KELD_FLAG(NoReinstallPrompt),
        KELD_FLAG(NoBackgroundWindow),
        KELD_FLAG(ConfirmInstallDir),
        KELD_FLAG(VerifyInstaller),
        KELD_FLAG(UninstallerDesktopShortcut),
        KELD_FLAG(ErrorsInAutomaticMode),
        KELD_FLAG(CompareVersionsOnReinstall),
        KELD_FLAG(RefuseNetworkPath),
        KELD_FLAG(UninstallerShortcutInUninstallDir),
        KELD_FLAG(MaximizeBackground),
        KELD_FLAG(AskRestartInAutomaticMode),
        KELD_FLAG(KeepDisplayTitle),
    };
#undef KELD_FLAG
    return names;
}

const std::vector<NamedValue>& destinationKindNames() {
    static const std::vector<NamedValue> names = {
        {"install-dir", InstallDirFile},
        {"shared", SharedFile},
        {"font", FontFile},
        {"startup", StartupFile},
        {"system", SystemFile},
        {"com-server", ComServerFile},
        {"type-library", TypeLibraryFile},
        {"versioned", VersionedFile},
    };
    return names;
}

const std::vector<NamedValue>& existenceRuleNames() {
    static const std::vector<NamedValue> names = {
        {"always", AlwaysInstall},
        {"never", NeverInstall},
        {"when-present", InstallWhenPresent},
        {"when-absent", InstallWhenAbsent},
    };
    return names;
}

const std::vector<NamedValue>& attributeNames() {
    // The bits the installer takes from a file's record.
    static const std::vector<NamedValue> names = {
        {"read-only", 0x1}, {"hidden", 0x2},      {"system", 0x4},     {"archive", 0x20},
        {"normal", 0x80},   {"temporary", 0x100}, {"offline", 0x1000},
    };
    return names;
}

const std::vector<NamedValue>& systemNames() {
    static const std::vector<NamedValue> names = {
        {"Other", 0x1},         {"Win32s", 0x2},
        {"Windows 95", 0x4},    {"Windows 98", 0x8},
        {"Windows ME", 0x10},   {"Windows NT 3", 0x20},
        {"Windows NT 4", 0x40}, {"Windows 2000", 0x80},
        {"Windows XP", 0x100},  {"Windows Server 2003", 0x200},
    };
    return names;
}

const std::vector<NamedValue>& uninstallValueTypeNames() {
    static const std::vector<NamedValue> names = {
        {"text", UninstallText},
        {"expand-text", UninstallExpandText},
        {"number", UninstallNumber},
    };
    return names;
}

const std::vector<NamedValue>& deletionConditionNames() {
    static const std::vector<NamedValue> names = {
        {"always", 0},     {"date-equal", 1},    {"date-not-before", 2}, {"date-not-after", 3},
        {"size-equal", 4}, {"size-at-least", 5}, {"size-at-most", 6},
    };
    return names;
}

std::optional<uint64_t> valueOf(const std::vector<NamedValue>& table, const std::string& name) {
    for (const NamedValue& entry : table)
        if (name == entry.name)
            return entry.value;
    return std::nullopt;
}

std::string nameOf(const std::vector<NamedValue>& table, uint64_t value) {
    for (const NamedValue& entry : table)
        if (entry.value == value)
            return entry.name;
    return std::string();
}

std::vector<std::string> bitNames(const std::vector<NamedValue>& table, uint64_t bits) {
    std::vector<std::string> names;
    for (const NamedValue& entry : table) {
        if (entry.value != 0 && (bits & entry.value) == entry.value) {
            names.push_back(entry.name);
            bits &= ~entry.value;
        }
    }
    if (bits != 0) {
        char hex[24];
        std::snprintf(hex, sizeof hex, "0x%llX", static_cast<unsigned long long>(bits));
        names.push_back(hex);
    }
    return names;
}

std::string nameList(const std::vector<NamedValue>& table) {
    std::string list;
    for (size_t i = 0; i < table.size(); ++i) {
        if (i > 0)
            list += i + 1 == table.size() ? " or " : ", ";
        list += std::string("\"") + table[i].name + "\"";
    }
    return list;
}

} // namespace keld
