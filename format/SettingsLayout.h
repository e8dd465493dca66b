#pragma once
// The settings stream: the decoded settings block of the archive, one field
// after another, read once by the installer and written by keld. This file is
// the one description of it: the order of the 53 fields, the records, the
// ProductFlags bits, and which corruption code each check gives.
//
// Both sides walk the same function, visitSettingsHead then visitSettingsRest,
// with a visitor of their own: the installer's reads and checks, keld's writes
// and refuses what the installer would refuse. A field added or moved here
// moves for both.
//
// Wire forms (every integer little-endian):
//   u8, u16, i32, u64   unsigned, unsigned, signed, unsigned (bits 0-31 first)
//   text                the bytes, then a zero byte (no length)
//   bytes               i32 length n, then n bytes when n > 0
//   counted list        i32 count, then count records
//
// A read past the end of the block gives zero bytes and stays at the end, so
// a short stream runs on with zeros and empty texts until a check fails.

#include "core/Array.h"
#include "core/String.h"
#include "core/TimeStamp.h"
#include "format/CorruptionCode.h"

#include <cstdint>

// --- The fields, in stream order --------------------------------------------

#define VARNOKE_SETTINGS_FIELDS(X)                                                                 \
    X(ProductFlags)           /* u64 */                                                            \
    X(TaskbarText)            /* text; the settings checksum is compared after it */               \
    X(StepPause)              /* u16 */                                                            \
    X(ShortcutMode)           /* u8 */                                                             \
    X(PackageTime)            /* six i32: TimeStamp */                                             \
    X(Publisher)              /* text */                                                           \
    X(ProductName)            /* text */                                                           \
    X(SharedPath)             /* text */                                                           \
    X(ProductStartMenu)       /* text */                                                           \
    X(DefaultInstallDir)      /* text */                                                           \
    X(DisplayVersion)         /* text */                                                           \
    X(ProductRegistry)        /* text */                                                           \
    X(BitmapSize)             /* i32 */                                                            \
    X(StretchMode)            /* i32 */                                                            \
    X(LicenseCount)           /* i32 */                                                            \
    X(LicenseTexts)           /* text each */                                                      \
    X(ReadmeCount)            /* i32 */                                                            \
    X(ReadmeTexts)            /* text each */                                                      \
    X(UninstallSubdir)        /* text */                                                           \
    X(VolumeBaseName)         /* text */                                                           \
    X(UninstallerName)        /* text */                                                           \
    X(UninstallKey)           /* text */                                                           \
    X(TitleColor)             /* i32 */                                                            \
    X(TitleShadow)            /* u8 */                                                             \
    X(TitlePosition)          /* u8 */                                                             \
    X(TitleFont)              /* text */                                                           \
    X(TopColor)               /* i32 */                                                            \
    X(BottomColor)            /* i32 */                                                            \
    X(BackgroundBitmapData)   /* bytes */                                                          \
    X(MasterProductName)      /* text, only with MasterProduct */                                  \
    X(DesktopFolder)          /* text */                                                           \
    X(DesktopFolderIcon)      /* bytes */                                                          \
    X(PreInstallBatch)        /* text */                                                           \
    X(PostInstallBatch)       /* text */                                                           \
    X(ExitBatch)              /* text */                                                           \
    X(UninstallBatch1)        /* text */                                                           \
    X(UninstallBatch2)        /* text */                                                           \
    X(DateRecord)             /* five i32: SettingsDate */                                         \
    X(ExcludedSystems)        /* i32 */                                                            \
    X(DataBeyondImage)        /* u8 */                                                             \
    X(VolumeTag)              /* i32 */                                                            \
    X(UninstallerPatchOffset) /* i32, only with Uninstallable */                                   \
    X(UninstallerPatchBytes)  /* bytes, only with Uninstallable and a positive offset */           \
    X(FileDeletions)          /* FileDeletion records up to kDeletionListEnd */                    \
    X(AssociationCount)       /* i32 */                                                            \
    X(FileAssociations)       /* FileAssociation records */                                        \
    X(UninstallDataCount)     /* i32 */                                                            \
    X(UninstallDataRecords)   /* UninstallData records */                                          \
    X(LanguageCount)          /* u8 */                                                             \
    X(MessageCount)           /* i32 */                                                            \
    X(Languages)              /* text each */                                                      \
    X(MessageTable)           /* text each, message by message, every language in turn */          \
    X(EndMarker)              /* i32 */

enum class SettingsField : int {
#define VARNOKE_SETTINGS_FIELD_ENUM(name) name,
    VARNOKE_SETTINGS_FIELDS(VARNOKE_SETTINGS_FIELD_ENUM)
#undef VARNOKE_SETTINGS_FIELD_ENUM
};

inline constexpr int kSettingsFieldCount = int(SettingsField::EndMarker) + 1;
static_assert(kSettingsFieldCount == 53, "the settings stream has 53 fields");

// The field's name as above, for keld's messages and listings.
inline const char* settingsFieldName(SettingsField field) {
    static const char* const names[] = {
#define VARNOKE_SETTINGS_FIELD_NAME(name) #name,
        VARNOKE_SETTINGS_FIELDS(VARNOKE_SETTINGS_FIELD_NAME)
#undef VARNOKE_SETTINGS_FIELD_NAME
    };
    static_assert(sizeof(names) / sizeof(names[0]) == kSettingsFieldCount, "one name a field");
    const int i = int(field);
    return i >= 0 && i < kSettingsFieldCount ? names[i] : "";
}

inline constexpr uint32_t kSettingsEndMarker = 0xD3E82B97u;

// --- Checks -------------------------------------------------------------------

// A value must lie in min..max, else the stream is corrupt with `code`.
struct SettingsRange {
    int64_t min;
    int64_t max;
    CorruptionCode code;

    constexpr bool allows(int64_t value) const { return value >= min && value <= max; }
};

// Stands for the installer file's size, which only the reading side knows.
inline constexpr int64_t kInstallerFileSize = -1;

inline constexpr SettingsRange kStepPauseRange{0, 9999, StepPauseTooLong};
inline constexpr SettingsRange kBitmapSizeRange{0, 100, BadBitmapSize};
inline constexpr SettingsRange kLicenseCountRange{0, 20, BadLicenseCount};
inline constexpr SettingsRange kReadmeCountRange{0, 20, BadReadmeCount};
inline constexpr SettingsRange kUninstallerPatchRange{0, kInstallerFileSize, BadUninstallerPatch};
inline constexpr SettingsRange kAssociationCountRange{0, 10000, BadAssociationCount};
inline constexpr SettingsRange kUninstallDataCountRange{0, 10000, BadUninstallDataCount};
inline constexpr SettingsRange kLanguageCountRange{1, 100, BadLanguageCount};
inline constexpr SettingsRange kMessageCountRange{1, 10000, BadMessageCount};

// VolumeBaseName must not be blank.
inline constexpr CorruptionCode kBlankVolumeBaseNameCode = BlankVolumeBaseName;
// A FileDeletion record beyond this many.
inline constexpr int kMaxFileDeletions = 1001;
inline constexpr CorruptionCode kTooManyDeletionsCode = TooManyDeletions;
inline constexpr CorruptionCode kMissingEndMarkerCode = MissingSettingsEnd;

// --- ProductFlags ---------------------------------------------------------------

enum ProductFlag : uint64_t {
    RefuseReinstall = 0x1,
    UninstallerStartMenuShortcut = 0x2,
    Uninstallable = 0x4,
    ConfirmFontRemoval = 0x10,
    CompressedData = 0x20,
    AlwaysWriteLog = 0x40,
    AskInstallDir = 0x80,
    AutomaticInstall = 0x100,
    AutomaticUninstall = 0x200,
    RemoveInstallDir = 0x400,
    ReplaceInUse = 0x800,
    AddToPath = 0x1000,
    RestartRequired = 0x4000,
    BackgroundBitmap = 0x8000,
    MasterProduct = 0x10000,
    ConfirmUninstallDeletion = 0x20000,
    VerifyWrites = 0x40000,
    ClearAttributes = 0x80000,
    DetailedLog = 0x100000,
    NoCancel = 0x200000,
    NoFinishMessage = 0x400000,
    HidePreInstallBatch = 0x800000,
    HidePostInstallBatch = 0x1000000,
    HideExitBatch = 0x2000000,
    HideUninstallBatch1 = 0x4000000,
    HideUninstallBatch2 = 0x8000000,
    NoReinstallPrompt = 0x10000000,
    NoBackgroundWindow = 0x20000000,
    ConfirmInstallDir = 0x80000000,
    VerifyInstaller = 0x100000000,
    UninstallerDesktopShortcut = 0x200000000,
    ErrorsInAutomaticMode = 0x800000000,
    CompareVersionsOnReinstall = 0x1000000000,
    RefuseNetworkPath = 0x2000000000,
    UninstallerShortcutInUninstallDir = 0x4000000000,
    MaximizeBackground = 0x10000000000,
    AskRestartInAutomaticMode = 0x20000000000,
    KeepDisplayTitle = 0x40000000000,
};

constexpr bool hasFlag(uint64_t flags, ProductFlag flag) {
    return (flags & flag) != 0;
}

// --- Records ------------------------------------------------------------------

// The date record of the stream, kept as stored: the installation does not use it.
struct SettingsDate {
    int32_t dayNumber = 0;
    int32_t month = 0;
    int32_t day = 0;
    int32_t year = 0;
    int32_t weekday = 0;
};

// A file pattern deleted before the files are placed. On the wire: the
// pattern, then (unless the pattern is kDeletionListEnd) u8 condition, text
// condition value, i32 flags.
struct FileDeletion {
    String pattern;
    // 0: none; 1 to 3 compare the file's date with the value, 4 to 6 its size.
    uint8_t condition = 0;
    String conditionValue;
    int32_t flags = 0; // kDeleteAtRestart
};

// The pattern that ends the deletion list; nothing else of its record follows.
inline constexpr char kDeletionListEnd[] = "~~THE END~~";

// Delete at the next restart when the file cannot be deleted now.
inline constexpr int32_t kDeleteAtRestart = 0x2;

// On the wire: i32 flags, then the eight texts in this order.
struct FileAssociation {
    int32_t flags = 0; // kAssociationDefaultVerb
    String extension;
    String fileType;
    String fileTypeDescription;
    String verb;
    String verbLabel;
    String commandLine;
    String language; // empty: every language; else only that language's name
    String defaultIcon;
};

// The verb becomes the file type's default verb.
inline constexpr int32_t kAssociationDefaultVerb = 0x1;

enum UninstallDataType : uint8_t {
    UninstallText = 0,       // as every type but the two below: REG_SZ
    UninstallExpandText = 2, // written as REG_EXPAND_SZ
    UninstallNumber = 4,     // written as an unsigned 32-bit REG_DWORD
};

// An extra value of the product's uninstall entry. On the wire: text name,
// u8 type, text value.
struct UninstallData {
    String name;
    uint8_t type = UninstallText;
    String value;
};

// --- The walk ---------------------------------------------------------------
//
// A visitor provides, each returning false to stop the walk (the visitor keeps
// the reason):
//   u8(field, uint8_t&)          u16(field, uint16_t&, range)
//   i32(field, int32_t&)         i32(field, int32_t&, range)
//   u64(field, uint64_t&)        text(field, String&)
//   nonBlankText(field, String&, code)
//   bytes(field, String&)        i32 length, then the bytes when positive
//   list(countField, field, Array<T>&, range, visitRecord)
//                                i32 count in range, then each record
//   deletionList(field, Array<FileDeletion>&, visitRecord)
//                                pattern, then the rest of the record, until
//                                kDeletionListEnd; at most kMaxFileDeletions
//   messages(settings)           fields LanguageCount to MessageTable: u8
//                                language count in kLanguageCountRange, i32
//                                message count in kMessageCountRange, the
//                                language names, then message 0 in every
//                                language, message 1, ...
//   endMarker(field)             i32 kSettingsEndMarker
// `Settings` is the installer's InstallSettings.

// Fields 1 and 2, read before the background window exists.
template <class Visitor, class Settings> bool visitSettingsHead(Visitor& v, Settings& s) {
    return v.u64(SettingsField::ProductFlags, s.productFlags) &&
           v.text(SettingsField::TaskbarText, s.taskbarText);
}

// The two raw records, read and written field by field whatever the host.
template <class Visitor, class Stamp> bool visitTimeStamp(Visitor& v, SettingsField f, Stamp& t) {
    return v.i32(f, t.year) && v.i32(f, t.month) && v.i32(f, t.day) && v.i32(f, t.hour) &&
           v.i32(f, t.minute) && v.i32(f, t.second);
}

template <class Visitor, class Record> bool visitDate(Visitor& v, SettingsField f, Record& d) {
    return v.i32(f, d.dayNumber) && v.i32(f, d.month) && v.i32(f, d.day) && v.i32(f, d.year) &&
           v.i32(f, d.weekday);
}

// Fields 3 to 53.
template <class Visitor, class Settings> bool visitSettingsRest(Visitor& v, Settings& s) {
    using F = SettingsField;
    const auto textRecord = [&v](F f) { return [&v, f](auto& text) { return v.text(f, text); }; };
    if (!(v.u16(F::StepPause, s.stepPause, kStepPauseRange) &&
          v.u8(F::ShortcutMode, s.shortcutMode) &&
          visitTimeStamp(v, F::PackageTime, s.packageTime) && v.text(F::Publisher, s.publisher) &&
          v.text(F::ProductName, s.productName) && v.text(F::SharedPath, s.sharedPath) &&
          v.text(F::ProductStartMenu, s.productStartMenu) &&
          v.text(F::DefaultInstallDir, s.defaultInstallDir) &&
          v.text(F::DisplayVersion, s.displayVersion) &&
          v.text(F::ProductRegistry, s.productRegistry) &&
          v.i32(F::BitmapSize, s.bitmapSize, kBitmapSizeRange) &&
          v.i32(F::StretchMode, s.stretchMode) &&
          v.list(F::LicenseCount, F::LicenseTexts, s.licenseTexts, kLicenseCountRange,
                 textRecord(F::LicenseTexts)) &&
          v.list(F::ReadmeCount, F::ReadmeTexts, s.readmeTexts, kReadmeCountRange,
                 textRecord(F::ReadmeTexts)) &&
          v.text(F::UninstallSubdir, s.uninstallSubdir) &&
          v.nonBlankText(F::VolumeBaseName, s.volumeBaseName, kBlankVolumeBaseNameCode) &&
          v.text(F::UninstallerName, s.uninstallerName) &&
          v.text(F::UninstallKey, s.uninstallKey) && v.i32(F::TitleColor, s.titleColor) &&
          v.u8(F::TitleShadow, s.titleShadow) && v.u8(F::TitlePosition, s.titlePosition) &&
          v.text(F::TitleFont, s.titleFont) && v.i32(F::TopColor, s.topColor) &&
          v.i32(F::BottomColor, s.bottomColor) &&
          v.bytes(F::BackgroundBitmapData, s.backgroundBitmapData)))
        return false;
    if (hasFlag(s.productFlags, MasterProduct) &&
        !v.text(F::MasterProductName, s.masterProductName))
        return false;
    if (!(v.text(F::DesktopFolder, s.desktopFolder) &&
          v.bytes(F::DesktopFolderIcon, s.desktopFolderIcon) &&
          v.text(F::PreInstallBatch, s.preInstallBatch) &&
          v.text(F::PostInstallBatch, s.postInstallBatch) && v.text(F::ExitBatch, s.exitBatch) &&
          v.text(F::UninstallBatch1, s.uninstallBatch1) &&
          v.text(F::UninstallBatch2, s.uninstallBatch2) &&
          visitDate(v, F::DateRecord, s.dateRecord) &&
          v.i32(F::ExcludedSystems, s.excludedSystems) &&
          v.u8(F::DataBeyondImage, s.dataBeyondImage) && v.i32(F::VolumeTag, s.volumeTag)))
        return false;
    if (hasFlag(s.productFlags, Uninstallable)) {
        if (!v.i32(F::UninstallerPatchOffset, s.uninstallerPatchOffset, kUninstallerPatchRange))
            return false;
        if (s.uninstallerPatchOffset > 0 &&
            !v.bytes(F::UninstallerPatchBytes, s.uninstallerPatchBytes))
            return false;
    }
    return v.deletionList(F::FileDeletions, s.fileDeletions,
                          [&v](auto& d) {
                              return v.u8(F::FileDeletions, d.condition) &&
                                     v.text(F::FileDeletions, d.conditionValue) &&
                                     v.i32(F::FileDeletions, d.flags);
                          }) &&
           v.list(F::AssociationCount, F::FileAssociations, s.fileAssociations,
                  kAssociationCountRange,
                  [&v](auto& a) {
                      const F f = F::FileAssociations;
                      return v.i32(f, a.flags) && v.text(f, a.extension) && v.text(f, a.fileType) &&
                             v.text(f, a.fileTypeDescription) && v.text(f, a.verb) &&
                             v.text(f, a.verbLabel) && v.text(f, a.commandLine) &&
                             v.text(f, a.language) && v.text(f, a.defaultIcon);
                  }) &&
           v.list(F::UninstallDataCount, F::UninstallDataRecords, s.uninstallData,
                  kUninstallDataCountRange,
                  [&v](auto& d) {
                      const F f = F::UninstallDataRecords;
                      return v.text(f, d.name) && v.u8(f, d.type) && v.text(f, d.value);
                  }) &&
           v.messages(s) && v.endMarker(F::EndMarker);
}
