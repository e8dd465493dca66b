#pragma once
// Reading the installer's own archive: every failure ends the program with
// its box, so each step returns only when it succeeded.

#include "core/String.h"

class File;

// Finds ".keld" in the opened installer's section table.
void locateArchive(File& installer);
// Reads and checks the header through the loaded image.
void readArchiveHeader();
// The unscrambled, decoded settings block.
String loadSettingsBlock();
// Ends with code 25 unless the decoded settings match the header's checksum.
void checkSettingsChecksum(const String& decoded);
// The uninstaller program, from the installer file without its archive.
void buildUninstallerImage(File& installer);
// Joins the data area from the section, the file's tail or the volumes,
// checks and decodes it, and sets the archive cursor to its start.
void loadDataArea(File& installer);
