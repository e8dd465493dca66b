#pragma once
// The lists the uninstaller works through, taken apart: the lines of the
// file list, and the fonts of the uninstall entry's "ProductFonts". Both are
// read from disk and the registry, so a line that could reach beyond the
// product (a relative path, a wildcard, a control character) is not acted on.

#include "core/String.h"

// What one line of the file list asks for.
enum class RecordedItemKind {
    None,       // an empty line, or one that names nothing the removal may touch
    File,       // a plain path
    Directory,  // "~" and the path
    ClassesKey, // "!" and a key path below the classes root
};

struct RecordedItem {
    RecordedItemKind kind = RecordedItemKind::None;
    String value; // without its "~" or "!"
};

RecordedItem recordedItem(const String& line);

// Lines as LineReader counts them.
int lineCount(const String& text);

// The bar's position while the line at `index` of `count` is removed: 10 to 89.
int fileListProgress(int index, int count);

// A path the removal may delete: absolute, without wildcards, characters a
// file name cannot hold or control characters.
bool isRemovablePath(const String& path);

// A key path with a name in every component (no leading, doubled or
// trailing backslash).
bool isKeyPath(const String& path);

// One pair of "ProductFonts": "registry name" "file name", each in double
// quotes with a doubled quote standing for one, white space around them.
struct ProductFont {
    String registryName;
    String fileName;
};

// The next pair from `pos`; false at the end or when either half is empty.
bool nextProductFont(const String& text, int& pos, ProductFont& font);

// The font's file name is a name alone, so that it stays in the fonts folder.
bool isPlainFileName(const String& name);
