#include "keld/VerifyArchive.h"

#include "installer/FileRecords.h"

#include "core/ByteBuffer.h"
#include "format/ArchiveLayout.h"
#include "format/FileEntry.h"
#include "format/UninstallerImage.h"
#include "installer/ArchiveCursor.h"
#include "installer/ArchiveData.h"
#include "installer/ArchiveSettingsBlock.h"
#include "installer/FileRecords.h"
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

// What each damage of a file record means, in words.
std::string recordProblem(CorruptionCode code, int32_t index, const String& name) {
    const std::string file = name.isEmpty() ? "file " + std::to_string(index + 1) : name.c_str();
    switch (code) {
    case EmptyFileName:
        return file + " has no name";
    case NegativeStoredLength:
        return file + ": negative length";
    case StoredLengthTooLarge:
        return file + ": length above 1 GB";
    case UnknownFileKind:
        return file + ": a kind the installer does not know";
    default:
        return file + ": the data differ from its checksum or run past the data area";
    }
}

// The file records, read by the installer's own reader with the checks of its
// placement loop, in the same order.
bool readFileEntries(SetupReading& r, const DataArea& area) {
    ArchiveCursor cursor;
    cursor.set(area.bytes, area.length);
    // Only the kind matters here, not where the files would go.
    const TargetPlaces places;
    const PathVariableValues noValues;
    for (int32_t i = 0; i < r.header.fileCount; ++i) {
        FileEntry entry;
        const CorruptionCode code = readFileEntry(cursor, r.header.fileSize(i), entry);
        if (code != NotCorrupt)
            return fail(r, code, recordProblem(code, i, entry.name));
        ReadFileEntry f;
        f.name = entry.name.c_str();
        f.kind = entry.kind;
        f.options = entry.options;
        f.attributes = entry.attributes;
        f.size = entry.length;
        f.checksum = checksum(entry.data, entry.length);
        f.time = entry.time;
        f.detail = entry.detail.c_str();
        f.icon = entry.icon.c_str();
        f.arguments = entry.arguments.c_str();
        f.target = entry.target.c_str();
        f.workingDirectory = entry.workingDirectory.c_str();
        r.files.push_back(f);
        const FileTarget target = fileTarget(entry, places, noValues);
        if (target.code != NotCorrupt)
            return fail(r, target.code, recordProblem(target.code, i, entry.name));
    }
    return true;
}

} // namespace

SetupReading readSetup(const std::string& path) {
    SetupReading r;
    Bytes setup;
    if (!readFile(path, setup)) {
        stop(r, SetupVerdict::Unreadable, unreadableFile("the installer", path));
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
