#pragma once
// The "SharedFiles" value of the uninstall entry: each shared file the
// installation counted, in double quotes with its marker, the entries joined
// by ";". A reinstallation takes the previous value apart to give back the
// counts it added before counting again.

#include "core/String.h"

// The last character of an entry says what the uninstaller does with the file
// once its count runs out; a file of kind 1 that is not permanent has none.
inline constexpr char kCountOnlyMarker = ' ';          // only counted, never removed
inline constexpr char kComServerMarker = '^';          // unregistered, then removed
inline constexpr char kTypeLibraryMarker = char(0xA9); // unregistered, then removed

// The entry's path, without its marker: the name of its SharedDLLs value.
String sharedFilePath(const String& entry);

// Appends the entry in double quotes (a double quote inside doubled), after a
// ";" when the text already holds one.
void appendSharedFileEntry(String& text, const String& entry);

// Takes the leading entry off `text` with one ";" after it, and gives its
// path without the marker. False, at an empty entry or the end, when there is
// nothing more to take. An entry without a leading quote runs to the next ";",
// an unterminated one to the end.
bool takeSharedFileEntry(String& text, String& path);

// The same from `pos` on, without shortening the text: the entry as stored,
// marker and all, and `pos` moved past it and its ";". False at the end.
bool nextSharedFileEntry(const String& text, int& pos, String& entry);

// What the uninstaller does with a shared file whose count runs out.
struct SharedFileRemoval {
    String path;
    bool comServer = false;   // unregistered first
    bool countOnly = false;   // never removed
    bool typeLibrary = false; // unregistered first
};

// The entry's markers, each noted and removed when it is last: "^", then the
// blank, then 0xA9.
SharedFileRemoval sharedFileRemoval(const String& entry);
