#include "installer/ArchiveData.h"

#include "core/ByteBuffer.h"
#include "core/Path.h"
#include "format/ArchiveLayout.h"
#include "format/CompressedBlock.h"

#include <cstring>

namespace {

struct VolumeFill {
    DataAreaStatus status = DataAreaStatus::Ready;
    CorruptionCode code = NotCorrupt;
};

// The request text comes from the archive, so it never reaches printf: its
// conversions take the volume number and the drive letter in turn.
String formatVolumeRequest(const String& format, int number, char drive) {
    String result;
    int argument = 0;
    for (int i = 0; i < format.length(); ++i) {
        const char c = format.charAt(i);
        const char next = format.charAt(i + 1);
        if (c != '%' || (next != 'd' && next != 'c' && next != '%')) {
            result.append(c);
            continue;
        }
        ++i;
        if (next == '%') {
            result.append('%');
            continue;
        }
        const int value = argument++ == 0 ? number : drive;
        if (next == 'd')
            result.appendFormat("%d", value);
        else if (value != 0)
            result.append(static_cast<char>(value));
    }
    return result;
}

bool readTag(ArchiveFiles& files, uint32_t& tag) {
    uint8_t bytes[kVolumeTagSize];
    if (!files.readVolume(0, kVolumeTagSize, bytes))
        return false;
    tag = uint32_t(bytes[0]) | uint32_t(bytes[1]) << 8 | uint32_t(bytes[2]) << 16 |
          uint32_t(bytes[3]) << 24;
    return true;
}

// Opens volume `number`, asking until the right one is there. Its size, or
// -1 when the user ended the installation.
int64_t openRightVolume(const DataAreaInput& input, ArchiveFiles& files, int number,
                        uint32_t expectedTag) {
    const String path = volumePath(input.installerDir, input.volumeBaseName, number);
    for (int state = 0;;) {
        if (state != 0) {
            String text;
            if (state > 1) {
                text = files.message(30);
                text.append("\r\n\r\n");
            }
            text.append(formatVolumeRequest(files.message(26), number, driveLetter(path)));
            if (!files.askForVolume(text, files.message(27)) && files.confirmCancel())
                return -1;
        }
        const int64_t size = files.openVolume(path);
        if (size < 0) {
            ++state;
            continue;
        }
        uint32_t tag = 0;
        if (size > kVolumeTagSize && readTag(files, tag) && tag == expectedTag)
            return size;
        files.closeVolume();
        state = 2;
    }
}

VolumeFill fillFromVolumes(const DataAreaInput& input, ArchiveFiles& files, uint8_t* data,
                           int32_t present) {
    uint32_t expectedTag = input.volumeTag;
    int number = kFirstVolumeNumber - 1;
    while (present < input.dataLength) {
        const int64_t done = present;
        files.setProgress(static_cast<int>(5 + done * 30 / input.dataLength));
        ++number;
        const int64_t size = openRightVolume(input, files, number, expectedTag);
        if (size < 0)
            return VolumeFill{DataAreaStatus::Cancelled, NotCorrupt};
        ++expectedTag;
        const int64_t missing = input.dataLength - present;
        const int64_t held = size - kVolumeTagSize;
        const auto count = static_cast<int32_t>(held < missing ? held : missing);
        const bool read = files.readVolume(kVolumeTagSize, count, data + present);
        files.closeVolume();
        if (!read)
            return VolumeFill{DataAreaStatus::Corrupt, VolumeUnreadable};
        present += count;
    }
    return VolumeFill();
}

DataAreaResult corrupt(CorruptionCode code) {
    return DataAreaResult{DataAreaStatus::Corrupt, code};
}

// Gathers the DataLength bytes into `area`.
DataAreaResult gather(const DataAreaInput& input, ArchiveFiles& files, DataArea& area) {
    int64_t available = input.dataBeyondImage
                            ? input.installerSize - input.settingsEnd - input.pointerToRawData
                            : int64_t(input.archiveLength) - input.settingsEnd;
    if (available < 0)
        available = 0;
    if (!input.dataBeyondImage && available >= input.dataLength) {
        area.bytes = input.image + input.settingsEnd;
        area.length = input.dataLength;
        return DataAreaResult();
    }
    if (!area.owned.setLengthNoFail(input.dataLength))
        return corrupt(NegativeDataLength);
    area.bytes = reinterpret_cast<const uint8_t*>(area.owned.c_str());
    area.length = input.dataLength;
    uint8_t* data =
        input.dataLength > 0 ? reinterpret_cast<uint8_t*>(area.owned.writablePointer(0)) : nullptr;
    const auto present =
        static_cast<int32_t>(available < input.dataLength ? available : input.dataLength);
    if (input.dataBeyondImage) {
        const int64_t offset = int64_t(input.pointerToRawData) + input.settingsEnd;
        if (present > 0 && !files.readInstaller(offset, present, data))
            return DataAreaResult{DataAreaStatus::InstallerUnreadable, NotCorrupt};
    } else if (present > 0) {
        std::memcpy(data, input.image + input.settingsEnd, static_cast<size_t>(present));
    }
    const VolumeFill filled = fillFromVolumes(input, files, data, present);
    return DataAreaResult{filled.status, filled.code};
}

// A buffer of the size the block's header declares; false when the header is
// damaged or the size cannot be had.
bool reserveDecoded(const uint8_t* head, size_t length, String& decoded, uint32_t& declared) {
    return readCompressedBlockHeader(head, length, declared) == BlockStatus::Ok &&
           decoded.setLengthNoFail(static_cast<int>(declared));
}

uint8_t* decodedStart(String& decoded) {
    return decoded.isEmpty() ? nullptr : reinterpret_cast<uint8_t*>(decoded.writablePointer(0));
}

// The decoded bytes become the area, and the step keeps its pause.
DataAreaResult keepDecoded(String& decoded, ArchiveFiles& files, DataArea& area) {
    area.owned = static_cast<String&&>(decoded);
    area.bytes = reinterpret_cast<const uint8_t*>(area.owned.c_str());
    area.length = area.owned.length();
    files.pauseStep();
    return DataAreaResult();
}

// The compressed bytes read from the installer file.
class InstallerBlockSource : public BlockSource {
public:
    InstallerBlockSource(ArchiveFiles& files, int64_t offset) : files_(files), offset_(offset) {}
    bool read(uint64_t offset, size_t length, uint8_t* to) override {
        return files_.readInstaller(offset_ + int64_t(offset), int32_t(length), to);
    }

private:
    ArchiveFiles& files_;
    int64_t offset_;
};

// Where in the installer file the data area lies whole, or -1 when it does
// not (volumes, or a section whose file bytes are not known to hold it).
int64_t dataOffsetInFile(const DataAreaInput& input) {
    const int64_t start = int64_t(input.pointerToRawData) + input.settingsEnd;
    if (input.dataBeyondImage)
        return input.installerSize - start >= input.dataLength ? start : -1;
    const int64_t inSection = int64_t(input.archiveLength) - input.settingsEnd;
    const int64_t inFile = int64_t(input.sectionRawSize) - input.settingsEnd;
    return inSection >= input.dataLength && inFile >= input.dataLength ? start : -1;
}

// The window the data area is read through.
constexpr int32_t kReadWindow = 1 << 20;

// The data area's checksum, read a window at a time: the windows hold whole
// words, so their sums add up to the sum of the whole.
bool checksumFromFile(ArchiveFiles& files, int64_t offset, int32_t length, String& window,
                      uint32_t& sum) {
    uint32_t parts = 0;
    for (int32_t done = 0; done < length;) {
        const int32_t part = length - done < kReadWindow ? length - done : kReadWindow;
        auto* bytes = reinterpret_cast<uint8_t*>(window.writablePointer(0));
        if (!files.readInstaller(offset + done, part, bytes))
            return false;
        parts += checksum(bytes, part) - kChecksumSeed - uint32_t(part);
        done += part;
    }
    sum = kChecksumSeed + parts + uint32_t(length);
    return true;
}

DataAreaResult decodeFromFile(const DataAreaInput& input, ArchiveFiles& files, int64_t offset,
                              DataArea& area) {
    const DataAreaResult unreadable{DataAreaStatus::InstallerUnreadable, NotCorrupt};
    String window;
    const int32_t held = input.dataLength < kReadWindow ? input.dataLength : kReadWindow;
    if (!window.setLengthNoFail(held))
        return corrupt(NegativeDataLength);
    files.pauseStep();
    files.progressStep(62, 36);
    uint32_t sum = 0;
    if (!checksumFromFile(files, offset, input.dataLength, window, sum))
        return unreadable;
    if (sum != input.dataChecksum)
        return corrupt(DataChecksumMismatch);
    files.pauseStep();
    files.progressStep(29, 40);
    uint8_t header[kCompressedBlockHeaderSize];
    uint32_t declared = 0;
    const auto headerLength = static_cast<int32_t>(
        input.dataLength < int32_t(sizeof header) ? input.dataLength : int32_t(sizeof header));
    if (!files.readInstaller(offset, headerLength, header))
        return unreadable;
    String decoded;
    if (!reserveDecoded(header, size_t(headerLength), decoded, declared))
        return corrupt(BadDataBlock);
    window = String(); // the decoder holds its own window
    InstallerBlockSource source(files, offset);
    const BlockStatus status = decodeCompressedStream(
        source, uint64_t(input.dataLength), decodedStart(decoded), declared, size_t(kReadWindow));
    if (status == BlockStatus::Unreadable)
        return unreadable;
    if (status != BlockStatus::Ok)
        return corrupt(BadDataBlock);
    return keepDecoded(decoded, files, area);
}

} // namespace

String volumePath(const String& directory, const String& baseName, int number) {
    String name;
    name.format(kVolumeNameFormat, baseName.c_str(), number);
    return joinPath(directory, name);
}

DataAreaResult assembleDataArea(const DataAreaInput& input, ArchiveFiles& files, DataArea& area) {
    area = DataArea();
    if (input.dataLength < 0)
        return corrupt(NegativeDataLength);
    if (input.compressedData && input.dataLength > 0) {
        const int64_t offset = dataOffsetInFile(input);
        if (offset >= 0)
            return decodeFromFile(input, files, offset, area);
    }
    DataAreaResult gathered = gather(input, files, area);
    if (gathered.status != DataAreaStatus::Ready)
        return gathered;

    // Each status goes up before the work it names, and stays for its pause.
    files.pauseStep();
    files.progressStep(62, 36);
    if (checksum(area.bytes, area.length) != input.dataChecksum)
        return corrupt(DataChecksumMismatch);
    files.pauseStep();
    if (!input.compressedData || area.length == 0)
        return DataAreaResult();

    files.progressStep(29, 40);
    uint32_t declared = 0;
    String decoded;
    if (!reserveDecoded(area.bytes, static_cast<size_t>(area.length), decoded, declared) ||
        decodeCompressedBlock(area.bytes, static_cast<size_t>(area.length), decodedStart(decoded),
                              declared) != BlockStatus::Ok)
        return corrupt(BadDataBlock);
    return keepDecoded(decoded, files, area);
}
