#pragma once
// The installer's command line: splitting the argument text into atoms and
// turning the atoms into switches. Nothing here shows anything; a bad atom
// comes back as the heading of the usage box.

#include "core/String.h"

struct CommandLine {
    bool automaticMode = false;
    bool uninstallMode = false;
    String installDir;
    String productName;
    String uninstallName;
    String runOnExit;
    // Commands added to the end of the pre-installation, post-installation
    // and installation-exit batches.
    String extraBatch[3];
};

// Atoms beyond this many are ignored without a word.
inline constexpr int kMaxCommandLineAtoms = 19;

// Takes the next atom off the front of `text`. A quoted section keeps its
// enclosing quotes in the atom; a doubled quote inside it stands for one.
// Returns an empty atom when the text is used up.
String takeCommandLineAtom(String& text);

// Parses the argument text (the command line without the program name).
// Returns true when every atom was understood; otherwise false with the
// heading of the usage box in `usageHeading`. Later switches replace earlier ones.
bool parseCommandLine(const char* argumentText, CommandLine& out, String& usageHeading);

// The full usage box text: the heading, then the switch list naming the installer file.
String usageText(const char* heading, const char* installerFileName);

// The installer's own file as the full command line names it: the first
// (possibly quoted) word, with ".EXE" added when its file name has no dot.
String installerFileFromCommandLine(const char* fullCommandLine);
