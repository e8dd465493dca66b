#pragma once
// The numbers of the corrupt-installer message, one per check of the archive.
// Readers return them; only the installer's top level shows them.

enum CorruptionCode : int {
    NotCorrupt = 0,
    NegativeWriteLength = 5,        // a file is to be written with a negative length
    SectionNotInFile = 9,           // PointerToRawData of the archive section is 0
    SectionSeekFailed = 10,         // seeking the installer file to the section failed
    StepPauseTooLong = 19,          // StepPause above 9999
    BadMagic = 20,                  // the header's magic number is wrong
    BlankVolumeBaseName = 21,       // VolumeBaseName is blank
    BadSettingsSize = 22,           // SettingsSize outside 1..0x9FFFFF
    BadUninstallerPatch = 23,       // UninstallerPatch offset negative or past the file
    BadLicenseCount = 24,           // licence texts outside 0..20
    SettingsChecksumMismatch = 25,  // decoded settings differ from SettingsChecksum
    BadReadmeCount = 26,            // readme texts outside 0..20
    NegativeFileCount = 27,         // FileCount negative
    BadFileSize = 28,               // a FileSizes entry outside 0..0x40000000
    NegativeDataLength = 29,        // DataLength negative
    BadLanguageCount = 30,          // languages 0 or above 100
    BadMessageCount = 31,           // messages outside 1..10000
    MissingSettingsEnd = 32,        // the settings do not end with their marker
    InstallerHeadUnreadable = 35,   // the bytes before the archive section cannot be read
    BadAssociationCount = 36,       // FileAssociation records outside 0..10000
    BadUninstallDataCount = 37,     // UninstallData records outside 0..10000
    TooManyDeletions = 38,          // a further FileDeletion record while 1001 are held
    BadBitmapSize = 39,             // BitmapSize outside 0..100
    InstallerChecksumMismatch = 40, // VerifyInstaller: the installer's bytes were changed
    InstallerTailUnreadable = 42,   // the bytes after the archive section cannot be read
    BadPeOffset = 43,               // e_lfanew unreadable or outside 64..4096
    BadSectionCount = 44,           // NumberOfSections unreadable or outside 4..99
    NegativeArchiveLength = 45,     // ArchiveLength negative
    BadSettingsBlock = 47,          // the settings block does not decode
    VolumeUnreadable = 50,          // a volume file's data cannot be read
    DataChecksumMismatch = 55,      // the data area differs from DataChecksum
    BadDataBlock = 60,              // CompressedData: the data area does not decode
    BadDeletionDate = 65,           // a FileDeletion date condition is not a valid date
    EmptyFileName = 70,             // a file record's name is empty
    NegativeStoredLength = 71,      // a file's stored length is negative
    StoredLengthTooLarge = 72,      // a file's stored length is above 0x40000000
    FileChecksumMismatch = 100,     // a file's data differ from its record's checksum
    UnknownFileKind = 110,          // a file record's kind is not one the installer handles
};
