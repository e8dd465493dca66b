#pragma once
// The product's settings as the archive describes them, process-wide and read
// directly by every stage of the installation. The fields are those of the
// settings stream (format/SettingsLayout.h gives their order and wire forms),
// with the defaults of the settings reader already applied.

#include "core/Array.h"
#include "core/String.h"
#include "core/TimeStamp.h"
#include "format/SettingsLayout.h"
#include "installer/MessageTable.h"

#include <cstdint>

struct InstallSettings {
    // Out of line: one copy of the constructor and the destructor of some
    // forty members, where inline ones were expanded at every use.
    InstallSettings();
    ~InstallSettings();
    InstallSettings(const InstallSettings&) = default;
    InstallSettings(InstallSettings&&) = default;
    InstallSettings& operator=(const InstallSettings&) = default;
    InstallSettings& operator=(InstallSettings&&) = default;
    // Back to the defaults of a fresh object.
    void reset();

    uint64_t productFlags = 0; // ProductFlag bits; RestartRequired may be set at run time
    String taskbarText;        // the background window's taskbar caption
    uint16_t stepPause = 0;    // milliseconds each progress step stays on screen
    uint8_t shortcutMode = 0;  // 1: shortcuts for all users; else for the current user
    TimeStamp packageTime;     // given to the uninstaller program file
    String publisher;
    String productName; // the /n name when one was given
    // Without Uninstallable: empty. With it: absolute, completed against the
    // Common Files directory (the caller creates it once the settings are read).
    String sharedPath;
    String productStartMenu;
    String defaultInstallDir; // absolute, or "<master>" in any letter case
    String displayVersion;
    String productRegistry;
    int32_t bitmapSize = 0;
    int32_t stretchMode = 0;
    Array<String> licenseTexts;
    Array<String> readmeTexts;
    String uninstallSubdir;
    String volumeBaseName;
    String uninstallerName;
    String uninstallKey; // below "Microsoft\Windows\CurrentVersion\Uninstall"
    int32_t titleColor = 0;
    uint8_t titleShadow = 0;
    uint8_t titlePosition = 0;
    String titleFont;
    int32_t topColor = 0;
    int32_t bottomColor = 0;
    bool monoColor = false; // topColor equals bottomColor
    String backgroundBitmapData;
    String masterProductName; // only with MasterProduct
    String desktopFolder;     // empty: desktop shortcuts go on the desktop itself
    String desktopFolderIcon;
    String preInstallBatch;
    String postInstallBatch;
    String exitBatch;
    String uninstallBatch1;
    String uninstallBatch2;
    SettingsDate dateRecord;
    int32_t excludedSystems = 0; // the systems on which the installation stops
    uint8_t dataBeyondImage = 0; // non-zero: the data area lies in the installer file's tail
    int32_t volumeTag = 0;       // tag of the first volume file
    // Only with Uninstallable: bytes written over the uninstaller image at
    // the offset when the offset is positive.
    int32_t uninstallerPatchOffset = 0;
    String uninstallerPatchBytes;
    Array<FileDeletion> fileDeletions;
    Array<FileAssociation> fileAssociations;
    Array<UninstallData> uninstallData;
    Array<String> languages; // language names, one column of messageTable each
    MessageTable messageTable;
    int currentLanguage = 0; // the last "English", else 0; the user's choice later

    bool has(ProductFlag flag) const { return hasFlag(productFlags, flag); }
};

InstallSettings& installSettings();
