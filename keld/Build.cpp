#include "keld/Build.h"

#include "core/ByteBuffer.h"
#include "core/Date.h"
#include "format/ArchiveLayout.h"
#include "format/FileEntry.h"
#include "keld/Files.h"
#include "keld/PathText.h"
#include "keld/SettingsWriter.h"
#include "keld/VersionResource.h"

#include <algorithm>

namespace keld {

namespace {

// The data area's length is a signed 32-bit field of the header.
constexpr uint64_t kMaxDataAreaSize = 0x7FFFFFFF;

std::optional<int64_t> modificationTime(const std::string& path) {
    const std::optional<FileInfo> info = fileInfo(path);
    return info ? std::optional<int64_t>(info->modified) : std::nullopt;
}

// The sizes are checked before any file is read, so that files too large for
// the archive are refused at once instead of after filling the memory.
bool sizesFit(const Project& project, std::vector<std::string>& errors) {
    uint64_t total = 0;
    for (const ProjectFile& f : project.files) {
        const std::optional<FileInfo> info = fileInfo(f.source);
        if (!info)
            continue; // reported when it is read
        if (info->size > kMaxStoredFileSize)
            errors.push_back(describe(f.where, "the file \"" + f.source +
                                                   "\" is larger than the installer takes "
                                                   "(1 GB, 1073741824 bytes)"));
        total += uint64_t(info->size);
    }
    if (errors.empty() && total > kMaxDataAreaSize)
        errors.push_back(describe({project.path, 0, 0},
                                  "the files hold " + std::to_string(total) +
                                      " bytes, more than the installer's data area takes (" +
                                      std::to_string(kMaxDataAreaSize) + " bytes)"));
    return errors.empty();
}

bool readFileRecords(const Project& project, std::vector<FileRecord>& records, int64_t& newest,
                     uint64_t& total, std::vector<std::string>& errors) {
    if (!sizesFit(project, errors))
        return false;
    for (const ProjectFile& f : project.files) {
        FileRecord record;
        const std::optional<FileInfo> info = fileInfo(f.source);
        if (!info || !readFile(f.source, record.data)) {
            errors.push_back(describe(f.where, unreadableFile("the source file", f.source)));
            continue;
        }
        newest = std::max(newest, info->modified);
        total += record.data.size();
        record.name = f.name;
        record.kind = f.kind;
        record.options = f.options;
        record.attributes = f.attributes;
        record.time = timeStampOf(info->modified);
        record.detail = f.detail;
        if (f.kind >= SystemFile && !f.versionGiven)
            record.detail = fileVersionText(record.data);
        record.icon = f.icon;
        record.arguments = f.arguments;
        record.target = f.target;
        record.workingDirectory = f.workingDirectory;
        records.push_back(std::move(record));
    }
    return errors.empty();
}

// The package time: the project's, SOURCE_DATE_EPOCH, or the newest source.
TimeStamp packageTime(const Project& project, const BuildOptions& options, int64_t newest) {
    if (project.packageTime)
        return *project.packageTime;
    if (options.sourceDateEpoch)
        return timeStampOf(*options.sourceDateEpoch);
    for (const std::string& path : project.settingsSources)
        newest = std::max(newest, modificationTime(path).value_or(0));
    if (newest == 0)
        newest = modificationTime(project.path).value_or(0);
    return timeStampOf(newest);
}

// The settings keld fills in that a project need not name.
void completeSettings(InstallSettings& s, const Project& project, const BuildOptions& options,
                      int64_t newest) {
    s.packageTime = packageTime(project, options, newest);
    if (s.packageTime.hasDate()) {
        const Date date(s.packageTime.month, s.packageTime.day, s.packageTime.year);
        s.dateRecord =
            SettingsDate{date.dayNumber(), date.month(), date.day(), date.year(), date.weekday()};
    }
    if (s.volumeBaseName.isBlank())
        s.volumeBaseName = String(fileStemOf(options.outputPath).c_str());
    if (s.volumeBaseName.isBlank())
        s.volumeBaseName = "setup";
    // Volumes of another product or version are told apart by their tag.
    if (s.volumeTag == 0) {
        const String seed =
            String::formatted("%s %s", s.productName.c_str(), s.displayVersion.c_str());
        s.volumeTag = int32_t(checksum(seed));
    }
}

} // namespace

TimeStamp timeStampOf(int64_t secondsSinceEpoch) {
    // By the calendar's own arithmetic: msvcrt, which keld.exe runs on, has no
    // gmtime_r, and its gmtime refuses times before 1970.
    const int64_t kSecondsPerDay = 86400;
    int64_t days = secondsSinceEpoch / kSecondsPerDay;
    int64_t seconds = secondsSinceEpoch % kSecondsPerDay;
    if (seconds < 0) {
        seconds += kSecondsPerDay;
        --days;
    }
    Date date;
    date.setFromDayNumber(int32_t(Date(1, 1, 1970).dayNumber() + days));
    const auto ofDay = int32_t(seconds);
    return TimeStamp{date.year(),  date.month(),    date.day(),
                     ofDay / 3600, ofDay / 60 % 60, ofDay % 60};
}

bool buildProject(const Project& project, const BuildOptions& options, BuildResult& result,
                  std::vector<std::string>& errors) {
    result = BuildResult();
    std::vector<FileRecord> records;
    int64_t newest = 0;
    if (!readFileRecords(project, records, newest, result.sourceBytes, errors))
        return false;

    result.settings = project.settings;
    InstallSettings& s = result.settings;
    completeSettings(s, project, options, newest);

    SettingsWriter writer;
    if (!writer.write(s)) {
        errors.push_back(describe({project.path, 0, 0}, std::string("the settings cannot be "
                                                                    "written: ") +
                                                            writer.failure().c_str()));
        return false;
    }
    const String& written = writer.bytes();
    const Bytes settings(written.c_str(), written.c_str() + written.length());

    ArchiveOptions archive;
    archive.level = project.output.level;
    archive.compressData = project.output.compress;
    archive.dataBeyondImage = project.output.placement == DataPlacement::BeyondImage;
    if (project.output.volumeSize > 0) {
        archive.firstPartLimit = project.output.volumeSize;
        archive.volumeSize = size_t(project.output.volumeSize);
    }
    archive.volumeBaseName = s.volumeBaseName.c_str();
    archive.volumeTag = uint32_t(s.volumeTag);

    if (options.progress && project.output.compress && result.sourceBytes > (1u << 20)) {
        const std::string what = "Compressing " + std::to_string(records.size()) +
                                 (records.size() == 1 ? " file, " : " files, ") +
                                 std::to_string((result.sourceBytes + (1u << 19)) >> 20) + " MB: ";
        archive.progress = [&options, what](size_t done, size_t total) {
            options.progress(what + std::to_string(total ? uint64_t(done) * 100 / total : 100) +
                             "%");
        };
    }
    std::string error;
    Bytes stub = options.stub;
    if (!giveSetupItsFace(stub, project.identity, error)) {
        errors.push_back(describe({project.path, 0, 0}, error));
        return false;
    }
    if (!buildInstaller(stub, settings, records, archive, result.installer, error)) {
        errors.push_back(describe({project.path, 0, 0}, error));
        return false;
    }
    if (s.has(Uninstallable) &&
        int64_t(s.uninstallerPatchOffset) > int64_t(result.installer.setup.size())) {
        errors.push_back(describe({project.path, 0, 0},
                                  "the uninstaller patch offset lies beyond setup.exe (" +
                                      std::to_string(result.installer.setup.size()) + " bytes)"));
        return false;
    }
    return true;
}

bool writeBuild(const BuildResult& result, const std::string& outputPath, std::string& error) {
    if (!writeFile(outputPath, result.installer.setup)) {
        error = unwritableFile(outputPath);
        return false;
    }
    return writeVolumeFiles(result.installer.volumes, folderOf(outputPath), error);
}

} // namespace keld
