// The settings reader against any bytes: it must never crash, hang or claim
// memory for a count the bytes cannot back. Beyond that it checks two things:
// - the end of the data reads as zero bytes: the same bytes followed by
//   zeros give the same code;
// - whatever the reader accepts, keld's writer writes, the reader accepts
//   again, and the writer then writes the very same bytes (the defaults
//   settle after one reading).

#include "core/String.h"
#include "installer/SettingsReader.h"
#include "keld/SettingsWriter.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

SettingsInputs fuzzInputs() {
    SettingsInputs inputs;
    // "<os>" stands for itself, so that a second reading replaces nothing new.
    inputs.windowsDir = "<os>";
    inputs.programFilesDir = "C:\\Program Files";
    inputs.commonFilesDir = "C:\\Program Files\\Common Files";
    inputs.installerFileSize = 1 << 20;
    return inputs;
}

// Long enough for a deletion list of zero records to reach its limit.
constexpr int kPadding = 8 * 1024;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > (1u << 20))
        return 0;
    static const SettingsInputs inputs = fuzzInputs();
    const String bytes(reinterpret_cast<const char*>(data), int(size));

    InstallSettings first;
    const CorruptionCode code = readSettings(bytes, inputs, first);

    String padded = bytes;
    char* zeros = padded.grow(kPadding);
    for (int i = 0; i < kPadding; ++i)
        zeros[i] = '\0';
    InstallSettings paddedSettings;
    if (readSettings(padded, inputs, paddedSettings) != code)
        std::abort();

    if (code != NotCorrupt)
        return 0;
    SettingsWriter writer(inputs.installerFileSize);
    if (!writer.write(first))
        std::abort();
    InstallSettings second;
    if (readSettings(writer.bytes(), inputs, second) != NotCorrupt)
        std::abort();
    SettingsWriter again(inputs.installerFileSize);
    if (!again.write(second) || again.bytes() != writer.bytes())
        std::abort();
    return 0;
}
