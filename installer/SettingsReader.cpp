#include "installer/SettingsReader.h"

#include "core/Path.h"
#include "core/Stream.h"

#include <cstring>

namespace {

// The installer's side of the settings walk. A read past the end of the block
// gives zeros and empty texts, as the stream does; sizes and counts from the
// stream are measured against the bytes left before anything is allocated
// for them, so a hostile block costs no more memory than its own length.
class ReadVisitor {
public:
    ReadVisitor(MemoryStream& in, InstallSettings& s, const SettingsInputs& inputs)
        : in_(in), s_(s), inputs_(inputs) {}

    CorruptionCode code() const { return code_; }

    bool u8(SettingsField field, uint8_t& value) {
        readUInt8(in_, value);
        return settle(field);
    }
    bool u16(SettingsField field, uint16_t& value, const SettingsRange& range) {
        readUInt16(in_, value);
        return check(value, range) && settle(field);
    }
    bool i32(SettingsField field, int32_t& value) {
        readInt32(in_, value);
        return settle(field);
    }
    bool i32(SettingsField field, int32_t& value, const SettingsRange& range) {
        readInt32(in_, value);
        return check(value, range) && settle(field);
    }
    bool u64(SettingsField field, uint64_t& value) {
        readUInt64(in_, value);
        return settle(field);
    }
    bool text(SettingsField field, String& value) {
        readText(value);
        return settle(field);
    }
    bool nonBlankText(SettingsField field, String& value, CorruptionCode code) {
        readText(value);
        return value.isBlank() ? fail(code) : settle(field);
    }
    bool bytes(SettingsField field, String& value) {
        int32_t length = 0;
        readInt32(in_, length);
        value.clear();
        if (length > left()) {
            // Cut short: the rest of the stream reads as zeros, so the walk
            // ends with the code those zeros give, whatever this field held.
            in_.seek(in_.size());
        } else if (length > 0) {
            value.assignBytes(in_.buffer().c_str() + in_.tell(), length);
            in_.seek(in_.tell() + length);
        }
        return settle(field);
    }

    template <class T, class VisitRecord>
    bool list(SettingsField countField, SettingsField, Array<T>& items, const SettingsRange& range,
              VisitRecord visitRecord) {
        int32_t count = 0;
        if (!i32(countField, count, range))
            return false;
        items.clear();
        // Records past the end would all read as zeros and change nothing
        // that a finished walk could show: the stream is too short to succeed.
        for (int32_t i = 0; i < count && in_.hasMore(); ++i)
            if (!visitRecord(items.appendNew()))
                return false;
        return true;
    }

    template <class VisitRecord>
    bool deletionList(SettingsField, Array<FileDeletion>& items, VisitRecord visitRecord) {
        items.clear();
        for (;;) {
            // Past the end every pattern is empty, so the list never ends.
            if (!in_.hasMore())
                return fail(kTooManyDeletionsCode);
            String pattern;
            readText(pattern);
            if (pattern.equals(kDeletionListEnd))
                return true;
            if (items.count() >= kMaxFileDeletions)
                return fail(kTooManyDeletionsCode);
            FileDeletion& record = items.appendNew();
            record.pattern = static_cast<String&&>(pattern);
            if (!visitRecord(record))
                return false;
        }
    }

    bool messages(InstallSettings& s) {
        uint8_t languageCount = 0;
        int32_t messageCount = 0;
        readUInt8(in_, languageCount);
        if (!check(languageCount, kLanguageCountRange))
            return false;
        readInt32(in_, messageCount);
        if (!check(messageCount, kMessageCountRange))
            return false;
        s.languages.clear();
        for (int i = 0; i < languageCount; ++i)
            readText(s.languages.appendNew());
        // Every text takes at least its zero byte, and the end marker four
        // bytes more: a table that cannot fit leaves the marker unread.
        const int64_t cells = int64_t(messageCount) * languageCount;
        if (cells + 4 > left())
            return fail(kMissingEndMarkerCode);
        s.messageTable.resize(messageCount, languageCount);
        String text;
        for (int id = 0; id < messageCount; ++id) {
            for (int language = 0; language < languageCount; ++language) {
                readText(text);
                text.normalizeLineBreaks();
                s.messageTable.set(id, language, text);
            }
        }
        s.currentLanguage = 0;
        for (int i = 0; i < s.languages.count(); ++i)
            if (s.languages[i].equals("English"))
                s.currentLanguage = i;
        return true;
    }

    bool endMarker(SettingsField) {
        uint32_t marker = 0;
        readUInt32(in_, marker);
        return marker == kSettingsEndMarker || fail(kMissingEndMarkerCode);
    }

private:
    int32_t left() const { return in_.size() - in_.tell(); }

    bool fail(CorruptionCode code) {
        code_ = code;
        return false;
    }

    bool check(int64_t value, const SettingsRange& range) {
        SettingsRange actual = range;
        if (actual.max == kInstallerFileSize)
            actual.max = inputs_.installerFileSize;
        return actual.allows(value) || fail(range.code);
    }

    // The text up to the next zero byte, or to the end of the block.
    void readText(String& value) {
        const int32_t start = in_.tell();
        const char* base = in_.buffer().c_str() + start;
        const void* zero = std::memchr(base, 0, size_t(left()));
        const int32_t length = zero ? int32_t(static_cast<const char*>(zero) - base) : left();
        value.assignBytes(base, length);
        in_.seek(zero ? start + length + 1 : in_.size());
    }

    // The defaults, applied as each field is read so that they see only the
    // fields before it (and the /n name, which stands for the product's).
    bool settle(SettingsField field) {
        switch (field) {
        case SettingsField::ProductName:
            if (!inputs_.productName.isEmpty())
                s_.productName = inputs_.productName;
            break;
        case SettingsField::SharedPath:
            settleSharedPath();
            break;
        case SettingsField::ProductStartMenu:
            if (s_.productStartMenu.isEmpty())
                s_.productStartMenu =
                    s_.publisher.isEmpty() ? s_.productName : s_.publisher + "\\" + s_.productName;
            break;
        case SettingsField::DefaultInstallDir:
            settleDefaultInstallDir();
            break;
        case SettingsField::UninstallKey:
            if (s_.uninstallKey.isBlank())
                s_.uninstallKey = s_.productName;
            break;
        case SettingsField::BottomColor:
            s_.monoColor = s_.bottomColor == s_.topColor;
            break;
        default:
            break;
        }
        return true;
    }

    void settleSharedPath() {
        String& path = s_.sharedPath;
        if (path.isEmpty())
            path = s_.publisher.isBlank() ? s_.productName : s_.publisher;
        if (!s_.has(Uninstallable))
            path.clear();
        else if (!isAbsolutePath(path.c_str()))
            makeAbsolute(path, inputs_.commonFilesDir.c_str());
    }

    void settleDefaultInstallDir() {
        String& dir = s_.defaultInstallDir;
        if (dir.isEmpty()) {
            dir = s_.productName;
        } else {
            dir.replaceAll("<os>", inputs_.windowsDir.c_str(), kFindNoCase);
            if (inputs_.expandPathVariables)
                dir = inputs_.expandPathVariables(dir);
        }
        // "<master>" is the master product's directory, found later.
        if (dir.compare("<master>", false) != 0 && !isAbsolutePath(dir.c_str()))
            makeAbsolute(dir, inputs_.programFilesDir.c_str());
    }

    MemoryStream& in_;
    InstallSettings& s_;
    const SettingsInputs& inputs_;
    CorruptionCode code_ = NotCorrupt;
};

} // namespace

SettingsReader::SettingsReader(String decodedBytes, const SettingsInputs& inputs,
                               InstallSettings& out)
    : stream_(static_cast<String&&>(decodedBytes)), inputs_(inputs), out_(out) {}

CorruptionCode SettingsReader::readHead() {
    out_.reset();
    stream_.seek(0);
    ReadVisitor visitor(stream_, out_, inputs_);
    visitSettingsHead(visitor, out_);
    return visitor.code();
}

CorruptionCode SettingsReader::readRest() {
    ReadVisitor visitor(stream_, out_, inputs_);
    visitSettingsRest(visitor, out_);
    return visitor.code();
}

CorruptionCode readSettings(String decodedBytes, const SettingsInputs& inputs,
                            InstallSettings& out) {
    SettingsReader reader(static_cast<String&&>(decodedBytes), inputs, out);
    const CorruptionCode code = reader.readHead();
    return code != NotCorrupt ? code : reader.readRest();
}
