#include "core/Stream.h"
#include "core/String.h"

#include <cstring>

namespace {

bool readZeroTerminated(BlockReader& reader, String& out) {
    char c = 0;
    if (!reader.readBlock(&c, 1))
        return false;
    // A string cut short by the end of the data keeps what was read.
    while (c != '\0') {
        out += c;
        if (!reader.readBlock(&c, 1))
            break;
    }
    return true;
}

// Reads length bytes in growing steps, so that a length from damaged data
// fails at the end of the data instead of first claiming memory for all of it.
bool readBody(BlockReader& reader, String& out, int32_t length) {
    constexpr int32_t kFirstStep = 64 * 1024;
    int32_t done = 0;
    while (done < length) {
        int32_t step = done < kFirstStep ? kFirstStep : done;
        if (step > length - done)
            step = length - done;
        if (!out.setLengthNoFail(done + step) || !reader.readBlock(out.writablePointer(done), step))
            return false;
        done += step;
    }
    return true;
}

bool readCounted(BlockReader& reader, String& out, int prefixBytes) {
    int32_t length = 0;
    bool ok = false;
    if (prefixBytes == 1) {
        uint8_t n = 0;
        ok = readUInt8(reader, n);
        length = n;
    } else if (prefixBytes == 2) {
        uint16_t n = 0;
        ok = readUInt16(reader, n);
        length = n;
    } else {
        ok = readInt32(reader, length) && length > 0;
    }
    return ok && readBody(reader, out, length);
}

} // namespace

bool readString(BlockReader& reader, String& out, StringForm form) {
    out.clear();
    bool ok = false;
    switch (form) {
    case StringForm::ZeroTerminated:
        ok = readZeroTerminated(reader, out);
        break;
    case StringForm::Length8:
        ok = readCounted(reader, out, 1);
        break;
    case StringForm::Length16:
        ok = readCounted(reader, out, 2);
        break;
    case StringForm::Length32:
        ok = readCounted(reader, out, 4);
        break;
    }
    if (!ok)
        out.clear();
    return ok;
}

bool writeString(BlockWriter& writer, const String& text, StringForm form) {
    int32_t length = text.length();
    bool ok = true;
    switch (form) {
    case StringForm::ZeroTerminated:
        // The reader stops at the first zero byte: write no more than it reads.
        length = int32_t(std::strlen(text.c_str()));
        break;
    case StringForm::Length8:
        length = length > 0xFF ? 0xFF : length;
        ok = writeUInt8(writer, uint8_t(length));
        break;
    case StringForm::Length16:
        length = length > 0xFFFF ? 0xFFFF : length;
        ok = writeUInt16(writer, uint16_t(length));
        break;
    case StringForm::Length32:
        ok = writeUInt32(writer, uint32_t(length));
        break;
    }
    if (ok && length > 0)
        ok = writer.writeBlock(text.c_str(), length);
    if (ok && form == StringForm::ZeroTerminated)
        ok = writeUInt8(writer, 0);
    return ok;
}
