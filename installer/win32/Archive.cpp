#include "installer/win32/Archive.h"

#include "core/Fatal.h"
#include "format/ArchiveLayout.h"
#include "format/UninstallerImage.h"
#include "installer/Archive.h"
#include "installer/ArchiveCursor.h"
#include "installer/ArchiveSettingsBlock.h"
#include "installer/InstallSettings.h"
#include "installer/Startup.h"
#include "installer/win32/ArchiveFiles.h"
#include "installer/win32/Program.h"
#include "platform/File.h"

#include <windows.h>

namespace {

const char kNoArchiveText[] = "This program performs installations and uninstallations.\r\n"
                              "There is no installation archive present.\r\n"
                              "No Uninstallation parameters were specified.\r\n"
                              "\r\n"
                              "You should not delete this program or execute it directly.";

const uint8_t* moduleBase() {
    return reinterpret_cast<const uint8_t*>(GetModuleHandleA(nullptr));
}

// SizeOfImage of the image the loader mapped, read from its own headers.
uint32_t loadedImageSize() {
    const uint8_t* base = moduleBase();
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS32*>(base + dos->e_lfanew);
    return nt->OptionalHeader.SizeOfImage;
}

} // namespace

void locateArchive(File& installer) {
    ArchiveState& archive = archiveState();
    archive.installerSize = installer.size();
    const int32_t headLength =
        archive.installerSize < kMaxHeaderSpan ? archive.installerSize : kMaxHeaderSpan;
    String head;
    if (headLength <= 0 || !installer.readAt(0, headLength, head))
        corruptInstaller(BadPeOffset);
    const SectionLookup found =
        findArchiveSection(reinterpret_cast<const uint8_t*>(head.c_str()), head.length(),
                           archive.installerSize, archive.section);
    if (found.result == SectionSearch::NotFound)
        fatalError(kNoArchiveText);
    if (found.result == SectionSearch::Corrupt)
        corruptInstaller(found.code);
    if (!installer.seek(static_cast<int32_t>(archive.section.pointerToRawData)))
        corruptInstaller(SectionSeekFailed);
}

void readArchiveHeader() {
    ArchiveState& archive = archiveState();
    archive.image = moduleBase() + archive.section.virtualAddress;
    archive.imageLength = loadedSectionLength(archive.section, loadedImageSize());
    const HeaderCheck check =
        ::readArchiveHeader(archive.image, archive.imageLength, archive.header);
    if (check.newerFormat)
        fatalErrorf("The installer version (%.1f) does not match the version of KELD (%.1f).  "
                    "Close all applications and reinstall KELD.",
                    kInstallerVersion, archive.header.formatVersion * 0.01);
    if (check.code != NotCorrupt)
        corruptInstaller(check.code);
    archiveCursor().set(archive.image, archive.imageLength);
    archiveCursor().skip(archive.header.settingsOffset);
}

String loadSettingsBlock() {
    const ArchiveState& archive = archiveState();
    ArchiveCursor& cursor = archiveCursor();
    String decoded;
    const CorruptionCode code = ::loadSettingsBlock(cursor.current(), archive.header.settingsSize,
                                                    archive.header.settingsChecksum, decoded);
    if (code != NotCorrupt)
        corruptInstaller(code);
    cursor.skip(archive.header.settingsSize);
    return decoded;
}

void checkSettingsChecksum(const String& decoded) {
    const CorruptionCode code =
        ::checkSettingsChecksum(decoded, archiveState().header.settingsChecksum);
    if (code != NotCorrupt)
        corruptInstaller(code);
}

void buildUninstallerImage(File& installer) {
    ArchiveState& archive = archiveState();
    const InstallSettings& settings = installSettings();
    const ArchiveSection& section = archive.section;
    UninstallerParts parts;
    if (!installer.readAt(0, static_cast<int32_t>(section.pointerToRawData), parts.head))
        corruptInstaller(InstallerHeadUnreadable);
    const int64_t tailStart = int64_t(section.pointerToRawData) + section.sizeOfRawData;
    const int64_t tail = archive.installerSize - tailStart;
    if (tail > 0 &&
        !installer.readAt(static_cast<int32_t>(tailStart), static_cast<int32_t>(tail), parts.tail))
        corruptInstaller(InstallerTailUnreadable);
    parts.verifyInstaller = settings.has(VerifyInstaller);
    parts.installerChecksum = archive.header.installerChecksum;
    parts.patchOffset = settings.uninstallerPatchOffset;
    parts.patch = settings.uninstallerPatchBytes;
    const CorruptionCode code = ::buildUninstallerImage(static_cast<UninstallerParts&&>(parts),
                                                        section, archive.uninstallerImage);
    if (code != NotCorrupt)
        corruptInstaller(code);
}

void loadDataArea(File& installer) {
    ArchiveState& archive = archiveState();
    const InstallSettings& settings = installSettings();
    DataAreaInput input;
    input.image = archive.image;
    input.archiveLength = archive.header.archiveLength;
    input.settingsEnd = archive.header.settingsEnd;
    input.pointerToRawData = archive.section.pointerToRawData;
    input.sectionRawSize = archive.section.sizeOfRawData;
    input.installerSize = archive.installerSize;
    input.dataLength = archive.header.dataLength;
    input.dataChecksum = archive.header.dataChecksum;
    input.dataBeyondImage = settings.dataBeyondImage != 0;
    input.compressedData = settings.has(CompressedData);
    input.installerDir = startupValues().installerDir;
    input.volumeBaseName = settings.volumeBaseName;
    input.volumeTag = static_cast<uint32_t>(settings.volumeTag);

    InstallerArchiveFiles files(installer);
    const DataAreaResult result = assembleDataArea(input, files, archive.dataArea);
    switch (result.status) {
    case DataAreaStatus::Ready:
        break;
    case DataAreaStatus::Corrupt:
        corruptInstaller(result.code);
    case DataAreaStatus::InstallerUnreadable:
        fatalError("Error code 2: failed to read archive data");
    case DataAreaStatus::Cancelled:
        exitInstaller();
    }
    archiveCursor().set(archive.dataArea.bytes, archive.dataArea.length);
}
