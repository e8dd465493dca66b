#pragma once
// The installer file's layout, shared by the installer (which reads it) and
// keld (which writes it). Every integer is little-endian; keld writes field by
// field, never a struct.
//
//   setup.exe
//   +----------------------------+ 0
//   | MZ stub        e_lfanew @0x3C (16 bits read, 64..4096)
//   +----------------------------+ e_lfanew
//   | "PE\0\0"  COFF header      NumberOfSections @+6 (4..99)
//   |                            SizeOfOptionalHeader @+20
//   | optional header            SizeOfInitializedData @+32, SizeOfImage @+80
//   +----------------------------+ e_lfanew + 24 + SizeOfOptionalHeader
//   | section table, 40 bytes an entry; one of them is ".keld"
//   +----------------------------+
//   | the stub's sections (.text, .data, .rdata, ...)
//   +----------------------------+ PointerToRawData of ".keld"
//   | ArchiveHeader              magic, version, sizes, checksums
//   |   FileSizes[FileCount]     stored length of each file's data
//   | settings block             SettingsSize bytes: a compressed block,
//   |                            XORed with SettingsChecksum
//   +----------------------------+ settings end
//   | data area                  FileEntry records (FileEntry.h), optionally
//   |                            one compressed block as a whole; runs to
//   |                            ArchiveLength in the loaded section, or with
//   |                            DataBeyondImage to the end of the file
//   +----------------------------+
//
//   <VolumeBaseName>2.ZEP, 3.ZEP, ... beside setup.exe
//   +----------------------------+ 0
//   | tag                        VolumeTag for volume 2, one more per volume
//   | the next part of the data area, to the end of the file
//   +----------------------------+
//
// The header is read through the loaded image, so the loader has already
// mapped it; the data area's tail and the volumes are read from files.

#include <cstdint>

// --- The PE headers the installer reads and patches -----------------------

inline constexpr int32_t kPeOffsetField = 0x3C; // e_lfanew, read as 16 bits
inline constexpr int32_t kMinPeOffset = 64;
inline constexpr int32_t kMaxPeOffset = 4096;

// Offsets from e_lfanew.
inline constexpr int32_t kPeSignature = 0x00004550; // "PE\0\0"
inline constexpr int32_t kNumberOfSectionsField = 6;
inline constexpr int32_t kSizeOfOptionalHeaderField = 20;
inline constexpr int32_t kOptionalHeaderStart = 24;
inline constexpr int32_t kSizeOfInitializedDataField = 32;
inline constexpr int32_t kSectionAlignmentField = 56;
inline constexpr int32_t kFileAlignmentField = 60;
inline constexpr int32_t kSizeOfImageField = 80;
inline constexpr int32_t kSizeOfHeadersField = 84;
inline constexpr int32_t kCheckSumField = 88;
inline constexpr int32_t kNumberOfRvaAndSizesField = 116;
inline constexpr int32_t kDataDirectoryStart = 120; // 8 bytes an entry
inline constexpr int32_t kCertificateDirectory = 4;

inline constexpr int kMinSectionCount = 4;
inline constexpr int kMaxSectionCount = 99;

// A section table entry.
inline constexpr int32_t kSectionEntrySize = 40;
inline constexpr int32_t kSectionNameSize = 8;
inline constexpr int32_t kSectionVirtualSize = 8;
inline constexpr int32_t kSectionVirtualAddress = 12;
inline constexpr int32_t kSectionSizeOfRawData = 16;
inline constexpr int32_t kSectionPointerToRawData = 20;
inline constexpr int32_t kSectionCharacteristics = 36;
static_assert(kSectionCharacteristics + 4 == kSectionEntrySize, "a section entry is 40 bytes");

inline constexpr char kArchiveSectionName[] = ".keld";
static_assert(sizeof(kArchiveSectionName) - 1 <= kSectionNameSize, "the name fits its field");
// Initialised, readable data.
inline constexpr uint32_t kArchiveSectionCharacteristics = 0x40000040u;

// How far into the file the headers the installer reads can reach: e_lfanew,
// the largest optional header and the largest section table, with the slot
// that follows it.
inline constexpr int32_t kMaxHeaderSpan =
    kMaxPeOffset + kOptionalHeaderStart + 0xFFFF + (kMaxSectionCount + 1) * kSectionEntrySize;

// --- ArchiveHeader, at the start of the archive section -------------------

inline constexpr uint32_t kArchiveMagic = 0xA4F23DE5u;
// keld's version times 100. The installer takes any archive up to 13.31.
inline constexpr int32_t kFormatVersion = 1330;
inline constexpr double kInstallerVersion = 13.3;

inline constexpr int32_t kHeaderMagic = 0;
inline constexpr int32_t kHeaderFormatVersion = 4;
inline constexpr int32_t kHeaderSettingsSize = 8;
inline constexpr int32_t kHeaderSettingsChecksum = 12;
inline constexpr int32_t kHeaderInstallerChecksum = 16;
inline constexpr int32_t kHeaderArchiveLength = 20;
inline constexpr int32_t kHeaderFileCount = 24;
inline constexpr int32_t kHeaderDataLength = 28;
inline constexpr int32_t kHeaderDataChecksum = 32;
inline constexpr int32_t kHeaderFileSizes = 36; // FileCount entries of 32 bits
static_assert(kHeaderDataChecksum + 4 == kHeaderFileSizes, "nine fixed fields of 32 bits");

inline constexpr int32_t kMaxSettingsSize = 0x9FFFFF;
inline constexpr int32_t kMaxStoredFileSize = 0x40000000;

// The header's size for a given file count; the settings block follows it.
constexpr int64_t archiveHeaderSize(int64_t fileCount) {
    return kHeaderFileSizes + 4 * fileCount;
}

// --- Volume files ----------------------------------------------------------

inline constexpr char kVolumeNameFormat[] = "%s%d.ZEP";
inline constexpr int kFirstVolumeNumber = 2; // the installer itself is volume 1
inline constexpr int32_t kVolumeTagSize = 4;
