#pragma once
// keld's side of the settings stream: InstallSettings in, the plain settings
// bytes out (the archive writer compresses, scrambles and places them). It
// walks the same field list as the installer's reader and refuses, with the
// reader's own corruption code, every value the reader would refuse, so that
// keld never builds an installer that calls itself corrupt.
//
// Header-only, so that the installer's portable tests can put it beside the
// reader on both toolchains.

#include "core/MemoryStream.h"
#include "core/Stream.h"
#include "core/String.h"
#include "format/SettingsLayout.h"
#include "installer/InstallSettings.h"

#include <cinttypes>
#include <cstdint>
#include <cstring>

class SettingsWriter {
public:
    // The uninstaller patch may start anywhere up to the installer's size,
    // which keld may not know yet: then only a negative offset is refused.
    explicit SettingsWriter(int64_t installerFileSize = INT32_MAX)
        : installerFileSize_(installerFileSize) {
        for (int32_t& offset : offsets_)
            offset = -1;
    }

    // False when a value cannot be written; failedField, failedCode and
    // failure then say which and why, and bytes holds what came before it.
    bool write(const InstallSettings& settings) {
        return visitSettingsHead(*this, settings) && visitSettingsRest(*this, settings);
    }

    const String& bytes() const { return out_.buffer(); }
    // Where the field's first byte lies in bytes(); -1 for a field not written.
    int32_t fieldOffset(SettingsField field) const { return offsets_[int(field)]; }

    SettingsField failedField() const { return failedField_; }
    // The code the installer would give; NotCorrupt for a text it would cut.
    CorruptionCode failedCode() const { return failedCode_; }
    const String& failure() const { return failure_; }

    // --- The walk's visitor (format/SettingsLayout.h) --------------------------

    bool u8(SettingsField field, uint8_t value) { return mark(field) && writeUInt8(out_, value); }
    bool u16(SettingsField field, uint16_t value, const SettingsRange& range) {
        return mark(field) && check(field, value, range) && writeUInt16(out_, value);
    }
    bool i32(SettingsField field, int32_t value) {
        return mark(field) && writeUInt32(out_, uint32_t(value));
    }
    bool i32(SettingsField field, int32_t value, const SettingsRange& range) {
        return mark(field) && check(field, value, range) && writeUInt32(out_, uint32_t(value));
    }
    bool u64(SettingsField field, uint64_t value) {
        return mark(field) && writeUInt64(out_, value);
    }
    bool text(SettingsField field, const String& value) {
        if (!mark(field))
            return false;
        // The reader stops at the first zero byte and would read the rest as
        // the next fields.
        if (std::strlen(value.c_str()) != size_t(value.length()))
            return fail(field, NotCorrupt, "a text holds a zero byte");
        return writeString(out_, value, StringForm::ZeroTerminated);
    }
    bool nonBlankText(SettingsField field, const String& value, CorruptionCode code) {
        if (value.isBlank())
            return mark(field) && fail(field, code, "must not be blank");
        return text(field, value);
    }
    bool bytes(SettingsField field, const String& value) {
        return mark(field) && writeUInt32(out_, uint32_t(value.length())) &&
               out_.writeBlock(value.c_str(), value.length());
    }

    template <class T, class VisitRecord>
    bool list(SettingsField countField, SettingsField field, const Array<T>& items,
              const SettingsRange& range, VisitRecord visitRecord) {
        if (!i32(countField, items.count(), range))
            return false;
        for (const T& item : items)
            if (!(mark(field) && visitRecord(item)))
                return false;
        return true;
    }

    template <class VisitRecord>
    bool deletionList(SettingsField field, const Array<FileDeletion>& items,
                      VisitRecord visitRecord) {
        if (items.count() > kMaxFileDeletions)
            return mark(field) && fail(field, kTooManyDeletionsCode, "too many records");
        for (const FileDeletion& item : items) {
            if (item.pattern.equals(kDeletionListEnd))
                return mark(field) && fail(field, NotCorrupt, "a pattern ends the list");
            if (!(text(field, item.pattern) && visitRecord(item)))
                return false;
        }
        return text(field, String(kDeletionListEnd));
    }

    bool messages(const InstallSettings& s) {
        const MessageTable& table = s.messageTable;
        if (s.languages.count() != table.languageCount())
            return mark(SettingsField::LanguageCount) &&
                   fail(SettingsField::LanguageCount, NotCorrupt,
                        "the language names do not match the table's columns");
        if (!(mark(SettingsField::LanguageCount) &&
              check(SettingsField::LanguageCount, table.languageCount(), kLanguageCountRange) &&
              writeUInt8(out_, uint8_t(table.languageCount())) &&
              i32(SettingsField::MessageCount, table.messageCount(), kMessageCountRange)))
            return false;
        for (const String& language : s.languages)
            if (!text(SettingsField::Languages, language))
                return false;
        for (int id = 0; id < table.messageCount(); ++id) {
            for (int language = 0; language < table.languageCount(); ++language) {
                const String* message = table.find(id, language);
                if (!text(SettingsField::MessageTable, message ? *message : String()))
                    return false;
            }
        }
        return true;
    }

    bool endMarker(SettingsField field) {
        return mark(field) && writeUInt32(out_, kSettingsEndMarker);
    }

private:
    bool mark(SettingsField field) {
        int32_t& offset = offsets_[int(field)];
        if (offset < 0)
            offset = out_.tell();
        return true;
    }

    bool check(SettingsField field, int64_t value, const SettingsRange& range) {
        SettingsRange actual = range;
        if (actual.max == kInstallerFileSize)
            actual.max = installerFileSize_;
        if (actual.allows(value))
            return true;
        return fail(field, range.code,
                    String::formatted("%" PRId64 " is outside %" PRId64 "..%" PRId64, value,
                                      actual.min, actual.max)
                        .c_str());
    }

    bool fail(SettingsField field, CorruptionCode code, const char* why) {
        failedField_ = field;
        failedCode_ = code;
        failure_ = String::formatted("%s: %s", settingsFieldName(field), why);
        return false;
    }

    MemoryStream out_;
    int64_t installerFileSize_;
    int32_t offsets_[kSettingsFieldCount];
    SettingsField failedField_ = SettingsField::ProductFlags;
    CorruptionCode failedCode_ = NotCorrupt;
    String failure_;
};
