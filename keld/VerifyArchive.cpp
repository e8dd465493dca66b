#include "keld/VerifyArchive.h"

#include "core/ByteBuffer.h"
#include "format/ArchiveLayout.h"
#include "format/FileEntry.h"
#include "format/UninstallerImage.h"
#include "installer/ArchiveCursor.h"
#include "installer/ArchiveData.h"
#include "installer/ArchiveSettingsBlock.h"
#include "installer/SettingsReader.h"
#include "keld/Files.h"
#include "keld/PathText.h"

#include <algorithm>

namespace keld {

namespace {

using Bytes = std::vector<uint8_t>;

// The installer names a volume with backslashes; POSIX wants slashes.
std::string hostPath(const String& path) {
    std::string out = path.c_str();
    if (kHostPathStyle == PathStyle::Posix)
        std::replace(out.begin(), out.end(), '\\', '/');
    return out;
}

// The installer's file access, over the setup file and the volume files
// beside it. Nobody answers a volume request: a missing volume ends the run.
class SetupFiles : public ArchiveFiles {
public:
    SetupFiles(const Bytes& setup, SetupReading& reading) : setup_(setup), reading_(reading) {}

    bool readInstaller(int64_t offset, int32_t length, void* out) override {
        if (offset < 0 || length < 0 || uint64_t(offset) + uint32_t(length) > setup_.size())
            return false;
        std::copy_n(setup_.data() + offset, length, static_cast<uint8_t*>(out));
        return true;
    }
    int64_t openVolume(const String& path) override {
        lastVolume_ = hostPath(path);
        volume_.clear();
        if (!readFile(lastVolume_, volume_))
            return -1;
        return int64_t(volume_.size());
    }
    bool readVolume(int64_t offset, int32_t length, void* out) override {
        if (offset < 0 || length < 0 || uint64_t(offset) + uint32_t(length) > volume_.size())
            return false;
        std::copy_n(volume_.data() + offset, length, static_cast<uint8_t*>(out));
        if (offset > 0)
            reading_.volumes.push_back(lastVolume_);
        return true;
    }
    void closeVolume() override { volume_.clear(); }
    bool askForVolume(const String&, const String&) override { return false; }
    bool confirmCancel() override { return true; }
    String message(int) override { return String(); }
    void setProgress(int) override {}
    void progressStep(int, int) override {}

    const std::string& lastVolume() const { return lastVolume_; }

private:
    const Bytes& setup_;
    SetupReading& reading_;
    Bytes volume_;
    std::string lastVolume_;
};

bool fail(SetupReading& r, CorruptionCode code, const std::string& what) {
    r.verdict = SetupVerdict::Corrupt;
    r.code = code;
    r.problem = what;
    return false;
}

bool stop(SetupReading& r, SetupVerdict verdict, const std::string& what) {
    r.verdict = verdict;
    r.problem = what;
    return false;
}

// The section as the loader maps it: its raw bytes, then zeros up to its
// virtual size.
bool mapSection(const Bytes& setup, SetupReading& r) {
    const ArchiveSection& s = r.section;
    if (uint64_t(s.pointerToRawData) + s.sizeOfRawData > setup.size())
        return stop(r, SetupVerdict::Unreadable,
                    "the file is cut short: the archive section runs past its end, so Windows "
                    "would not start it");
    const uint32_t mapped = s.virtualSize != 0 ? s.virtualSize : s.sizeOfRawData;
    r.sectionBytes.assign(mapped, 0);
    std::copy_n(setup.data() + s.pointerToRawData, std::min(mapped, s.sizeOfRawData),
                r.sectionBytes.data());
    return true;
}

bool readSettings(SetupReading& r) {
    const uint8_t* section = r.sectionBytes.data();
    String decoded;
    CorruptionCode code =
        loadSettingsBlock(section + r.header.settingsOffset, r.header.settingsSize,
                          r.header.settingsChecksum, decoded);
    if (code != NotCorrupt)
        return fail(r, code, "the settings block does not decode");
    r.decodedSettingsSize = decoded.length();
    SettingsInputs inputs;
    inputs.windowsDir = kSampleWindowsDir;
    inputs.programFilesDir = kSampleProgramFilesDir;
    inputs.commonFilesDir = kSampleCommonFilesDir;
    inputs.installerFileSize = r.fileSize;
    SettingsReader reader(decoded, inputs, r.settings);
    if ((code = reader.readHead()) != NotCorrupt)
        return fail(r, code, "the settings' first fields are damaged");
    if ((code = checkSettingsChecksum(reader.bytes(), r.header.settingsChecksum)) != NotCorrupt)
        return fail(r, code, "the settings differ from their checksum");
    if ((code = reader.readRest()) != NotCorrupt)
        return fail(r, code, "the settings are damaged");
    r.settingsRead = true;
    return true;
}

bool checkUninstallerImage(const Bytes& setup, SetupReading& r) {
    const ArchiveSection& s = r.section;
    UninstallerParts parts;
    parts.head.assignBytes(setup.data(), int32_t(s.pointerToRawData));
    const uint64_t tailStart = uint64_t(s.pointerToRawData) + s.sizeOfRawData;
    if (tailStart < setup.size())
        parts.tail.assignBytes(setup.data() + tailStart, int32_t(setup.size() - tailStart));
    parts.verifyInstaller = r.settings.has(VerifyInstaller);
    parts.installerChecksum = r.header.installerChecksum;
    parts.patchOffset = r.settings.uninstallerPatchOffset;
    parts.patch = r.settings.uninstallerPatchBytes;
    String image;
    const CorruptionCode code = buildUninstallerImage(parts, s, image);
    if (code != NotCorrupt)
        return fail(r, code, "the program part of the installer was changed after it was built");
    return true;
}

bool readDataArea(const Bytes& setup, const std::string& path, SetupReading& r, DataArea& area) {
    DataAreaInput input;
    input.image = r.sectionBytes.data();
    input.archiveLength = r.header.archiveLength;
    input.settingsEnd = r.header.settingsEnd;
    input.pointerToRawData = r.section.pointerToRawData;
    input.installerSize = r.fileSize;
    input.dataLength = r.header.dataLength;
    input.dataChecksum = r.header.dataChecksum;
    input.dataBeyondImage = r.settings.dataBeyondImage != 0;
    input.compressedData = r.settings.has(CompressedData);
    const std::string folder = folderOf(path);
    input.installerDir = folder.empty() ? "." : folder.c_str();
    input.volumeBaseName = r.settings.volumeBaseName;
    input.volumeTag = uint32_t(r.settings.volumeTag);
    SetupFiles files(setup, r);
    const DataAreaResult result = assembleDataArea(input, files, area);
    switch (result.status) {
    case DataAreaStatus::Ready:
        r.dataAreaDecodedSize = area.length;
        return true;
    case DataAreaStatus::Corrupt:
        return fail(r, result.code, "the file data are damaged");
    case DataAreaStatus::InstallerUnreadable:
        return stop(r, SetupVerdict::Unreadable, "the archive data cannot be read");
    case DataAreaStatus::Cancelled:
        break;
    }
    return stop(r, SetupVerdict::VolumeMissing,
                "the volume file " + files.lastVolume() + " is missing or is not the next one");
}

bool readText(ArchiveCursor& cursor, std::string& out) {
    String text;
    const bool read = cursor.readString(text);
    out = text.c_str();
    return read;
}

// The file records, with the checks of the placement loop.
bool readFileEntries(SetupReading& r, const DataArea& area) {
    ArchiveCursor cursor;
    cursor.set(area.bytes, area.length);
    const std::string pastEnd = "a file record runs past the end of the data area";
    for (int32_t i = 0; i < r.header.fileCount; ++i) {
        ReadFileEntry f;
        if (!readText(cursor, f.name))
            return fail(r, NotCorrupt, pastEnd);
        if (f.name.empty())
            return fail(r, EmptyFileName, "file " + std::to_string(i + 1) + " has no name");
        if (!cursor.readInt32(f.kind) || !cursor.readInt32(f.options) ||
            !cursor.readInt32(f.attributes))
            return fail(r, NotCorrupt, pastEnd);
        f.size = r.header.fileSize(i);
        if (f.size < 0)
            return fail(r, NegativeStoredLength, f.name + ": negative length");
        if (f.size > kMaxStoredFileSize)
            return fail(r, StoredLengthTooLarge, f.name + ": length above 1 GB");
        if (cursor.remaining() < f.size)
            return fail(r, NotCorrupt, pastEnd);
        const uint32_t actual = checksum(cursor.current(), f.size);
        cursor.skip(f.size);
        int32_t stored = 0;
        if (!cursor.readInt32(stored))
            return fail(r, NotCorrupt, pastEnd);
        f.checksum = uint32_t(stored);
        if (f.checksum != actual)
            return fail(r, FileChecksumMismatch, f.name + ": the data differ from its checksum");
        int32_t* const time[] = {&f.time.year, &f.time.month,  &f.time.day,
                                 &f.time.hour, &f.time.minute, &f.time.second};
        for (int32_t* field : time)
            if (!cursor.readInt32(*field))
                return fail(r, NotCorrupt, pastEnd);
        if (!readText(cursor, f.detail) || (hasIconField(f.options) && !readText(cursor, f.icon)) ||
            !readText(cursor, f.arguments) || !readText(cursor, f.target) ||
            !readText(cursor, f.workingDirectory))
            return fail(r, NotCorrupt, pastEnd);
        const bool knownKind = f.kind == InstallDirFile || f.kind == SharedFile ||
                               f.kind == FontFile ||
                               (f.kind >= StartupFile && f.kind <= VersionedFile);
        // The installer needs the kind only when the record has no target
        // override of its own (or one without a backslash).
        const bool kindUsed = (f.options & InUninstallDir) == 0 &&
                              (f.target.empty() || f.target.find('\\') == std::string::npos);
        r.files.push_back(f);
        if (!knownKind && kindUsed)
            return fail(r, UnknownFileKind, f.name + ": unknown kind " + std::to_string(f.kind));
    }
    return true;
}

} // namespace

SetupReading readSetup(const std::string& path) {
    SetupReading r;
    Bytes setup;
    if (!readFile(path, setup)) {
        stop(r, SetupVerdict::Unreadable, "cannot read " + path);
        return r;
    }
    r.fileSize = int64_t(setup.size());
    const auto headLength = int32_t(std::min<uint64_t>(setup.size(), kMaxHeaderSpan));
    const SectionLookup lookup =
        findArchiveSection(setup.data(), headLength, r.fileSize, r.section);
    if (lookup.result == SectionSearch::NotFound) {
        stop(r, SetupVerdict::NoArchive, "there is no installation archive in this program");
        return r;
    }
    if (lookup.result == SectionSearch::Corrupt) {
        fail(r, lookup.code, "the program's headers are damaged");
        return r;
    }
    if (!mapSection(setup, r))
        return r;
    const HeaderCheck check =
        readArchiveHeader(r.sectionBytes.data(), int64_t(r.sectionBytes.size()), r.header);
    if (check.newerFormat) {
        stop(r, SetupVerdict::NewerFormat, "the archive comes from a newer keld than the stub");
        return r;
    }
    if (check.code != NotCorrupt) {
        fail(r, check.code, "the archive header is damaged");
        return r;
    }
    r.headerRead = true;
    DataArea area;
    if (readSettings(r) && checkUninstallerImage(setup, r) && readDataArea(setup, path, r, area))
        readFileEntries(r, area);
    return r;
}

} // namespace keld
