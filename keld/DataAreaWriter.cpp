#include "keld/DataAreaWriter.h"

#include "core/ByteBuffer.h"
#include "format/ArchiveLayout.h"
#include "format/FileEntry.h"

namespace keld {

namespace {

bool checkText(const FileRecord& file, const char* field, const std::string& text,
               std::string& error) {
    if (text.find('\0') == std::string::npos)
        return true;
    error = "file \"" + file.name + "\": the " + field + " holds a zero byte";
    return false;
}

bool checkRecord(const FileRecord& file, std::string& error) {
    if (file.name.empty()) {
        error = "a file has an empty name";
        return false;
    }
    if (file.data.size() > static_cast<size_t>(kMaxStoredFileSize)) {
        error = "file \"" + file.name + "\": more than 1 GB of data";
        return false;
    }
    return checkText(file, "name", file.name, error) &&
           checkText(file, "detail", file.detail, error) &&
           checkText(file, "icon", file.icon, error) &&
           checkText(file, "arguments", file.arguments, error) &&
           checkText(file, "target", file.target, error) &&
           checkText(file, "working directory", file.workingDirectory, error);
}

void appendTime(Bytes& out, const TimeStamp& time) {
    const int32_t fields[] = {time.year, time.month, time.day, time.hour, time.minute, time.second};
    for (int32_t field : fields)
        appendU32(out, static_cast<uint32_t>(field));
}

} // namespace

bool writeDataArea(const std::vector<FileRecord>& files, DataAreaBytes& out, std::string& error) {
    out = DataAreaBytes();
    for (const FileRecord& file : files) {
        if (!checkRecord(file, error))
            return false;
        appendText(out.bytes, file.name);
        appendU32(out.bytes, static_cast<uint32_t>(file.kind));
        appendU32(out.bytes, static_cast<uint32_t>(file.options));
        appendU32(out.bytes, static_cast<uint32_t>(file.attributes));
        appendBytes(out.bytes, file.data.data(), file.data.size());
        const auto size = static_cast<int32_t>(file.data.size());
        appendU32(out.bytes, checksum(file.data.data(), size));
        appendTime(out.bytes, file.time);
        appendText(out.bytes, file.detail);
        if (hasIconField(file.options))
            appendText(out.bytes, file.icon);
        appendText(out.bytes, file.arguments);
        appendText(out.bytes, file.target);
        appendText(out.bytes, file.workingDirectory);
        out.fileSizes.push_back(size);
    }
    return true;
}

} // namespace keld
