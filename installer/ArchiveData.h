#pragma once
// Assembling the data area: from the loaded section, from the installer
// file's tail (DataBeyondImage) or from volume files beside the installer,
// then checked and, with CompressedData, decoded. The file access and the
// requests to the user sit behind ArchiveFiles, so that the rules are tested
// natively.

#include "core/String.h"
#include "format/CorruptionCode.h"

#include <cstdint>

class ArchiveFiles {
public:
    virtual ~ArchiveFiles() = default;

    // `length` bytes of the installer file from `offset` into `out`.
    virtual bool readInstaller(int64_t offset, int32_t length, void* out) = 0;

    // Opens a volume for reading; its size, or -1 when it cannot be opened.
    virtual int64_t openVolume(const String& path) = 0;
    virtual bool readVolume(int64_t offset, int32_t length, void* out) = 0;
    virtual void closeVolume() = 0;

    // The volume request: true when the user pressed OK.
    virtual bool askForVolume(const String& text, const String& caption) = 0;
    // The cancel question after any other answer: true when the user chose
    // to end the installation. (The installer ends the program right there.)
    virtual bool confirmCancel() = 0;

    virtual String message(int id) = 0;
    virtual void setProgress(int percent) = 0;
    virtual void progressStep(int messageId, int percent) = 0;
    // Keeps the current step on screen for the step pause.
    virtual void pauseStep() {}
};

struct DataAreaInput {
    const uint8_t* image = nullptr; // the loaded section
    int32_t archiveLength = 0;      // bytes of the archive the section holds
    int32_t settingsEnd = 0;        // where the data area starts, from the section start
    uint32_t pointerToRawData = 0;  // where the section starts in the file
    uint32_t sectionRawSize = 0;    // the section's bytes in the file; 0 when not known
    int64_t installerSize = 0;
    int32_t dataLength = 0;
    uint32_t dataChecksum = 0;
    bool dataBeyondImage = false;
    bool compressedData = false;
    String installerDir;
    String volumeBaseName;
    uint32_t volumeTag = 0;
};

enum class DataAreaStatus {
    Ready,
    Corrupt,             // `code` says why
    InstallerUnreadable, // the tail of the installer file could not be read
    Cancelled,           // the user ended the installation at a volume request
};

struct DataAreaResult {
    DataAreaStatus status = DataAreaStatus::Ready;
    CorruptionCode code = NotCorrupt;
};

// The data area: a view of the loaded section when it holds all of it,
// else bytes of its own.
struct DataArea {
    String owned;
    const uint8_t* bytes = nullptr;
    int32_t length = 0;
};

// A compressed data area held whole in the installer file is checked and
// decoded from the file a window at a time, not from the loaded section, so
// that its bytes are never all in memory beside what they decode to.
//
// Bytes of a tail or a volume beyond what the area still misses are ignored:
// the section's raw size is padded to the file alignment, and a tail may hold
// that padding. A buffer of DataLength bytes that cannot be had is error 29.
DataAreaResult assembleDataArea(const DataAreaInput& input, ArchiveFiles& files, DataArea& area);

// The name of volume `number`: "<base><number>.ZEP" in `directory`.
String volumePath(const String& directory, const String& baseName, int number);
