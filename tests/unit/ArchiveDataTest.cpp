// Assembling the data area from the section, the installer's tail and the
// volume files, with the requests the user sees on the way.
#include "installer/ArchiveData.h"
#include "core/ByteBuffer.h"
#include "format/CompressedBlock.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace {

std::vector<uint8_t> pattern(size_t n, uint8_t seed) {
    std::vector<uint8_t> v(n);
    for (size_t i = 0; i < n; ++i)
        v[i] = static_cast<uint8_t>(seed + i * 7);
    return v;
}

std::vector<uint8_t> volume(uint32_t tag, const std::vector<uint8_t>& data) {
    std::vector<uint8_t> v = {static_cast<uint8_t>(tag), static_cast<uint8_t>(tag >> 8),
                              static_cast<uint8_t>(tag >> 16), static_cast<uint8_t>(tag >> 24)};
    v.insert(v.end(), data.begin(), data.end());
    return v;
}

// Volumes by path; a request may make one appear, as a user inserting a disk.
class FakeFiles : public ArchiveFiles {
public:
    std::vector<uint8_t> installer;
    std::map<std::string, std::vector<uint8_t>> volumes;
    std::map<int, std::pair<std::string, std::vector<uint8_t>>> insertOnRequest;
    std::vector<std::string> answers; // "OK" / "Cancel"; then "Yes" / "No" for the cancel question
    std::vector<std::string> requests;
    std::vector<std::string> opened;
    std::vector<int> progress;
    std::vector<int> steps;
    std::vector<std::string> events; // "step M P" and "pause", in order
    bool failVolumeRead = false;
    bool failInstallerRead = false;

    bool readInstaller(int64_t offset, int32_t length, void* out) override {
        if (failInstallerRead || offset < 0 || offset + length > int64_t(installer.size()))
            return false;
        std::memcpy(out, installer.data() + offset, static_cast<size_t>(length));
        return true;
    }
    int64_t openVolume(const String& path) override {
        opened.push_back(path.c_str());
        auto found = volumes.find(path.c_str());
        if (found == volumes.end())
            return -1;
        open_ = &found->second;
        return static_cast<int64_t>(open_->size());
    }
    bool readVolume(int64_t offset, int32_t length, void* out) override {
        EXPECT_NE(open_, nullptr);
        if (!open_ || (failVolumeRead && offset > 0) || offset + length > int64_t(open_->size()))
            return false;
        std::memcpy(out, open_->data() + offset, static_cast<size_t>(length));
        return true;
    }
    void closeVolume() override {
        EXPECT_NE(open_, nullptr);
        open_ = nullptr;
    }
    bool askForVolume(const String& text, const String& caption) override {
        requests.push_back(std::string(caption.c_str()) + "|" + text.c_str());
        auto insert = insertOnRequest.find(static_cast<int>(requests.size()));
        if (insert != insertOnRequest.end())
            volumes[insert->second.first] = insert->second.second;
        return nextAnswer() == "OK";
    }
    bool confirmCancel() override {
        requests.push_back("cancel?");
        return nextAnswer() == "Yes";
    }
    String message(int id) override {
        switch (id) {
        case 26:
            return "Insert disk %d in drive %c: (100%%)";
        case 27:
            return "Next disk";
        case 30:
            return "Wrong disk.";
        default:
            return String::formatted("m%d", id);
        }
    }
    void setProgress(int percent) override { progress.push_back(percent); }
    void progressStep(int messageId, int percent) override {
        steps.push_back(messageId * 1000 + percent);
        events.push_back("step " + std::to_string(messageId) + " " + std::to_string(percent));
    }
    void pauseStep() override { events.push_back("pause"); }

private:
    std::string nextAnswer() {
        EXPECT_FALSE(answers.empty()) << "an unexpected question";
        if (answers.empty())
            return "Yes";
        std::string answer = answers.front();
        answers.erase(answers.begin());
        return answer;
    }
    std::vector<uint8_t>* open_ = nullptr;
};

// An archive section: 20 bytes of header and settings, then the data part.
struct Section {
    std::vector<uint8_t> bytes;
    DataAreaInput input;
};

Section makeSection(const std::vector<uint8_t>& data, size_t inSection) {
    Section s;
    s.bytes.assign(20, 0xEE);
    s.bytes.insert(s.bytes.end(), data.begin(), data.begin() + static_cast<long>(inSection));
    s.input.image = s.bytes.data();
    s.input.archiveLength = static_cast<int32_t>(s.bytes.size());
    s.input.settingsEnd = 20;
    s.input.pointerToRawData = 0x600;
    s.input.dataLength = static_cast<int32_t>(data.size());
    s.input.dataChecksum = checksum(data.data(), static_cast<int32_t>(data.size()));
    s.input.installerDir = "C:\\setup";
    s.input.volumeBaseName = "DISK";
    s.input.volumeTag = 0x1000;
    return s;
}

std::vector<uint8_t> contents(const DataArea& area) {
    return std::vector<uint8_t>(area.bytes, area.bytes + area.length);
}

TEST(ArchiveDataTest, DataHeldInTheSectionIsUsedInPlaceAndAsksForNothing) {
    const std::vector<uint8_t> data = pattern(100, 1);
    Section s = makeSection(data, 100);
    s.bytes.push_back(0x55); // an ArchiveLength beyond DataLength is no harm
    s.input.archiveLength += 1;
    s.input.image = s.bytes.data();
    FakeFiles files;
    DataArea area;
    DataAreaResult result = assembleDataArea(s.input, files, area);
    ASSERT_EQ(result.status, DataAreaStatus::Ready);
    EXPECT_EQ(area.bytes, s.bytes.data() + 20);
    EXPECT_EQ(contents(area), data);
    EXPECT_TRUE(files.opened.empty());
    EXPECT_TRUE(files.requests.empty());
    EXPECT_EQ(files.steps, std::vector<int>{62036});
}

TEST(ArchiveDataTest, ZeroDataLengthIsAnEmptyAreaEvenWhenCompressed) {
    Section s = makeSection({}, 0);
    s.input.compressedData = true;
    FakeFiles files;
    DataArea area;
    ASSERT_EQ(assembleDataArea(s.input, files, area).status, DataAreaStatus::Ready);
    EXPECT_EQ(area.length, 0);
    EXPECT_EQ(files.steps, std::vector<int>{62036});
}

TEST(ArchiveDataTest, TailOfTheInstallerFileWithSurplusIgnored) {
    const std::vector<uint8_t> data = pattern(300, 3);
    Section s = makeSection(data, 0);
    s.input.dataBeyondImage = true;
    FakeFiles files;
    files.installer.assign(0x600 + 20, 0xCC);
    files.installer.insert(files.installer.end(), data.begin(), data.end());
    files.installer.insert(files.installer.end(), 50, 0); // padding after the data
    s.input.installerSize = static_cast<int64_t>(files.installer.size());
    DataArea area;
    ASSERT_EQ(assembleDataArea(s.input, files, area).status, DataAreaStatus::Ready);
    EXPECT_EQ(contents(area), data);
    EXPECT_TRUE(files.opened.empty());
}

TEST(ArchiveDataTest, UnreadableTailIsItsOwnFailure) {
    const std::vector<uint8_t> data = pattern(30, 3);
    Section s = makeSection(data, 0);
    s.input.dataBeyondImage = true;
    FakeFiles files;
    files.installer.assign(0x600 + 20 + 30, 0);
    files.failInstallerRead = true;
    s.input.installerSize = static_cast<int64_t>(files.installer.size());
    DataArea area;
    EXPECT_EQ(assembleDataArea(s.input, files, area).status, DataAreaStatus::InstallerUnreadable);
}

TEST(ArchiveDataTest, VolumesFillWhatTheSectionLacksAndTheTagGrows) {
    const std::vector<uint8_t> data = pattern(1000, 5);
    Section s = makeSection(data, 400);
    FakeFiles files;
    files.volumes["C:\\setup\\DISK2.ZEP"] =
        volume(0x1000, {data.begin() + 400, data.begin() + 700});
    // The last volume holds more than is missing: the surplus stays out.
    std::vector<uint8_t> last(data.begin() + 700, data.end());
    last.insert(last.end(), 64, 0x99);
    files.volumes["C:\\setup\\DISK3.ZEP"] = volume(0x1001, last);
    DataArea area;
    ASSERT_EQ(assembleDataArea(s.input, files, area).status, DataAreaStatus::Ready);
    EXPECT_EQ(contents(area), data);
    EXPECT_EQ(files.opened,
              (std::vector<std::string>{"C:\\setup\\DISK2.ZEP", "C:\\setup\\DISK3.ZEP"}));
    EXPECT_TRUE(files.requests.empty());
    EXPECT_EQ(files.progress, (std::vector<int>{5 + 400 * 30 / 1000, 5 + 700 * 30 / 1000}));
}

TEST(ArchiveDataTest, EveryByteFromVolumesWhenTheSectionHoldsNone) {
    const std::vector<uint8_t> data = pattern(10, 5);
    Section s = makeSection(data, 0);
    s.input.archiveLength = 5; // shorter than the settings end: nothing available
    FakeFiles files;
    files.volumes["C:\\setup\\DISK2.ZEP"] = volume(0x1000, data);
    DataArea area;
    ASSERT_EQ(assembleDataArea(s.input, files, area).status, DataAreaStatus::Ready);
    EXPECT_EQ(contents(area), data);
    EXPECT_EQ(files.progress, std::vector<int>{5});
}

TEST(ArchiveDataTest, MissingVolumeIsAskedForUntilItIsThere) {
    const std::vector<uint8_t> data = pattern(50, 9);
    Section s = makeSection(data, 20);
    s.input.installerDir = "d:\\inst";
    FakeFiles files;
    // Cancel, No (go on), OK: still missing, now with the wrong-disk line;
    // OK after the disk went in.
    files.answers = {"Cancel", "No", "OK", "OK"};
    files.insertOnRequest[4] = {"d:\\inst\\DISK2.ZEP",
                                volume(0x1000, {data.begin() + 20, data.end()})};
    DataArea area;
    ASSERT_EQ(assembleDataArea(s.input, files, area).status, DataAreaStatus::Ready);
    EXPECT_EQ(contents(area), data);
    const std::string ask = "Next disk|Insert disk 2 in drive D: (100%)";
    const std::string wrong = "Next disk|Wrong disk.\r\n\r\nInsert disk 2 in drive D: (100%)";
    EXPECT_EQ(files.requests, (std::vector<std::string>{ask, "cancel?", wrong, wrong}));
    EXPECT_EQ(files.opened.size(), 4u);
}

TEST(ArchiveDataTest, CancelConfirmedEndsTheAssembly) {
    const std::vector<uint8_t> data = pattern(50, 9);
    Section s = makeSection(data, 20);
    FakeFiles files;
    files.answers = {"Cancel", "Yes"};
    DataArea area;
    EXPECT_EQ(assembleDataArea(s.input, files, area).status, DataAreaStatus::Cancelled);
    EXPECT_EQ(files.opened.size(), 1u);
}

struct RefusedVolume {
    const char* name;
    std::vector<uint8_t> bytes;
};

class RefusedVolumeTest : public ::testing::TestWithParam<RefusedVolume> {};

TEST_P(RefusedVolumeTest, AsksWithTheWrongDiskLineFirst) {
    const std::vector<uint8_t> data = pattern(50, 9);
    Section s = makeSection(data, 20);
    s.input.installerDir = "relative";
    FakeFiles files;
    files.volumes["relative\\DISK2.ZEP"] = GetParam().bytes;
    files.answers = {"Cancel", "Yes"};
    DataArea area;
    EXPECT_EQ(assembleDataArea(s.input, files, area).status, DataAreaStatus::Cancelled);
    // No drive letter: the %c conversion adds nothing.
    ASSERT_FALSE(files.requests.empty());
    EXPECT_EQ(files.requests[0], "Next disk|Wrong disk.\r\n\r\nInsert disk 2 in drive : (100%)");
}

INSTANTIATE_TEST_SUITE_P(
    Volumes, RefusedVolumeTest,
    ::testing::Values(RefusedVolume{"TagOneTooLow", volume(0xFFF, pattern(30, 1))},
                      RefusedVolume{"TagOneTooHigh", volume(0x1001, pattern(30, 1))},
                      RefusedVolume{"OnlyTheTag", volume(0x1000, {})},
                      RefusedVolume{"ShorterThanATag", {0x00, 0x10}}),
    [](const ::testing::TestParamInfo<RefusedVolume>& p) { return std::string(p.param.name); });

TEST(ArchiveDataTest, UnreadableVolumeDataIsError50) {
    const std::vector<uint8_t> data = pattern(50, 9);
    Section s = makeSection(data, 20);
    FakeFiles files;
    files.volumes["C:\\setup\\DISK2.ZEP"] = volume(0x1000, {data.begin() + 20, data.end()});
    files.failVolumeRead = true;
    DataArea area;
    DataAreaResult result = assembleDataArea(s.input, files, area);
    EXPECT_EQ(result.status, DataAreaStatus::Corrupt);
    EXPECT_EQ(result.code, VolumeUnreadable);
}

TEST(ArchiveDataTest, ChecksumAndDecodingFailuresHaveTheirCodes) {
    const std::vector<uint8_t> data = pattern(64, 2);
    Section s = makeSection(data, 64);
    s.input.dataChecksum += 1;
    FakeFiles files;
    DataArea area;
    DataAreaResult result = assembleDataArea(s.input, files, area);
    EXPECT_EQ(result.code, DataChecksumMismatch);

    s.input.dataChecksum -= 1;
    s.input.compressedData = true; // the pattern is no compressed block
    result = assembleDataArea(s.input, files, area);
    EXPECT_EQ(result.status, DataAreaStatus::Corrupt);
    EXPECT_EQ(result.code, BadDataBlock);
}

// A block declaring 5 bytes, "hello": a literal run of four (code 0, count
// prefix 0, count - 1 = 3 in two bits), then a run of one.
std::vector<uint8_t> helloBlock() {
    std::vector<uint8_t> block = {0xA1, 0x2B, 0xC7, 0x9E, 5, 0, 0, 0};
    const uint8_t text[] = {'h', 'e', 'l', 'l', 'o'};
    std::vector<bool> bits = {false, false, true, true};
    for (int i = 0; i < 4; ++i)
        for (int b = 0; b < 8; ++b)
            bits.push_back((text[i] >> b) & 1);
    bits.insert(bits.end(), {false, false, false, false});
    for (int b = 0; b < 8; ++b)
        bits.push_back((text[4] >> b) & 1);
    block.resize(8 + (bits.size() + 7) / 8, 0);
    for (size_t i = 0; i < bits.size(); ++i)
        if (bits[i])
            block[8 + i / 8] |= static_cast<uint8_t>(1 << (i % 8));
    return block;
}

TEST(ArchiveDataTest, CompressedAreaIsDecoded) {
    const std::vector<uint8_t> block = helloBlock();
    Section s = makeSection(block, block.size());
    s.input.compressedData = true;
    FakeFiles files;
    DataArea area;
    ASSERT_EQ(assembleDataArea(s.input, files, area).status, DataAreaStatus::Ready);
    EXPECT_EQ(std::string(area.bytes, area.bytes + area.length), "hello");
    EXPECT_EQ(files.steps, (std::vector<int>{62036, 29040}));
}

// Each status is up, and has had its pause, before the work it names; the
// bar only moves forward.
TEST(ArchiveDataTest, EachStatusComesBeforeItsWorkWithThePausesBetween) {
    struct Case {
        const char* name;
        bool compressed;
        bool badChecksum;
        std::vector<std::string> events;
    };
    const std::vector<Case> cases = {
        {"stored", false, false, {"pause", "step 62 36", "pause"}},
        {"compressed", true, false, {"pause", "step 62 36", "pause", "step 29 40", "pause"}},
        {"checksum fails", true, true, {"pause", "step 62 36"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<uint8_t> block = helloBlock();
        Section s = makeSection(block, block.size());
        s.input.compressedData = c.compressed;
        if (c.badChecksum)
            s.input.dataChecksum += 1;
        FakeFiles files;
        DataArea area;
        assembleDataArea(s.input, files, area);
        EXPECT_EQ(files.events, c.events);
    }
}

// A block of one literal run holding `text`, its bytes off the byte grid.
std::vector<uint8_t> literalBlock(const std::vector<uint8_t>& text) {
    std::vector<uint8_t> block = {0xA1, 0x2B, 0xC7, 0x9E};
    for (int i = 0; i < 4; ++i)
        block.push_back(static_cast<uint8_t>(text.size() >> (8 * i)));
    std::vector<bool> bits = {false};
    // The count: ten prefix ones, a zero, count - 1 in 22 bits.
    bits.insert(bits.end(), 10, true);
    bits.push_back(false);
    for (int b = 0; b < 22; ++b)
        bits.push_back(((text.size() - 1) >> b) & 1);
    for (uint8_t byte : text)
        for (int b = 0; b < 8; ++b)
            bits.push_back((byte >> b) & 1);
    block.resize(8 + (bits.size() + 7) / 8, 0);
    for (size_t i = 0; i < bits.size(); ++i)
        if (bits[i])
            block[8 + i / 8] |= static_cast<uint8_t>(1 << (i % 8));
    return block;
}

// The section as the installer file holds it, for the reads from the file.
void placeInFile(const Section& s, FakeFiles& files) {
    files.installer.assign(s.input.pointerToRawData, 0x4D);
    files.installer.insert(files.installer.end(), s.bytes.begin(), s.bytes.end());
}

class CountingFiles : public FakeFiles {
public:
    int32_t largestRead = 0;
    int64_t bytesRead = 0;
    bool readInstaller(int64_t offset, int32_t length, void* out) override {
        largestRead = std::max(largestRead, length);
        bytesRead += length;
        return FakeFiles::readInstaller(offset, length, out);
    }
};

// A compressed area held whole in the installer file is checked and decoded
// from the file a window at a time: the section's loaded bytes are never
// read, so they need not all be in memory beside the decoded area.
TEST(ArchiveDataTest, ACompressedAreaInTheFileIsReadAWindowAtATime) {
    const std::vector<uint8_t> text = pattern(1300000, 9);
    const std::vector<uint8_t> block = literalBlock(text);
    Section s = makeSection(block, block.size());
    s.input.compressedData = true;
    s.input.sectionRawSize = static_cast<uint32_t>(s.bytes.size() + 0x1FF) & ~0x1FFu;
    CountingFiles files;
    placeInFile(s, files);
    files.installer.resize(s.input.pointerToRawData + s.input.sectionRawSize, 0);
    std::fill(s.bytes.begin() + 20, s.bytes.end(), 0); // what the file holds counts
    DataArea area;
    const DataAreaResult result = assembleDataArea(s.input, files, area);
    ASSERT_EQ(result.status, DataAreaStatus::Ready) << int(result.code);
    EXPECT_TRUE(contents(area) == text);
    EXPECT_LE(files.largestRead, 1 << 20);
    // Once for the checksum, once to decode.
    EXPECT_LE(files.bytesRead, 2 * int64_t(block.size()) + 64);
    EXPECT_EQ(files.events,
              (std::vector<std::string>{"pause", "step 62 36", "pause", "step 29 40", "pause"}));
}

TEST(ArchiveDataTest, ACompressedAreaReadFromTheFileFailsAsFromTheSection) {
    const std::vector<uint8_t> block = literalBlock(pattern(1100000, 4));
    struct Case {
        const char* name;
        int checksumChange;
        int64_t damageAt; // offset into the block, -1 for none
        bool failRead;
        DataAreaStatus status;
        CorruptionCode code;
    } cases[] = {
        {"checksum differs", 1, -1, false, DataAreaStatus::Corrupt, DataChecksumMismatch},
        {"file cannot be read", 0, -1, true, DataAreaStatus::InstallerUnreadable, NotCorrupt},
        {"declared size beyond the block", 0, 4, false, DataAreaStatus::Corrupt, BadDataBlock},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<uint8_t> bytes = block;
        if (c.damageAt >= 0)
            bytes[size_t(c.damageAt)] = 0xFF;
        Section s = makeSection(bytes, bytes.size());
        s.input.compressedData = true;
        s.input.sectionRawSize = static_cast<uint32_t>(s.bytes.size());
        s.input.dataChecksum += uint32_t(c.checksumChange);
        FakeFiles files;
        placeInFile(s, files);
        files.failInstallerRead = c.failRead;
        DataArea area;
        const DataAreaResult result = assembleDataArea(s.input, files, area);
        EXPECT_EQ(result.status, c.status);
        EXPECT_EQ(result.code, c.code);
    }
}

TEST(ArchiveDataTest, VolumePathsAreNumberedBesideTheInstaller) {
    EXPECT_EQ(volumePath("C:\\a", "Disk", 2), String("C:\\a\\Disk2.ZEP"));
    EXPECT_EQ(volumePath("C:\\", "x", 12), String("C:\\x12.ZEP"));
}

} // namespace
