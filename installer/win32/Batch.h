#pragma once
// The path variables with the target machine's values, the batch files that
// run the product's own commands, and the install directory on the PATH of
// autoexec.bat.

#include "core/String.h"
#include "installer/PathVariables.h"
#include "platform/File.h"

// Looks each value up when asked: the folders as the registry says now, the
// installation's directories, the installer's own place.
class MachinePathVariables : public PathVariableSource {
public:
    String value(PathVariable variable) const override;
};

// Every value, for the batch file's SET lines.
PathVariableValues currentPathVariables();

// Replaces the path variables of text with the machine's values.
void expandPathVariables(String& text);

// Writes the commands with their SET lines to "KELDBAT.BAT" in directory, runs
// it through the command processor, waits for it while the windows keep
// painting, and deletes it. Blank commands do nothing; a batch that cannot be
// written is skipped. Hidden batches and automatic mode lose their PAUSE lines.
// `privateFile` writes it instead as a new file of writePrivateBatch's, for a
// directory that other users may write to (a drive root).
void runBatch(const String& directory, bool hide, const String& commands, bool privateFile = false);

// Makes a new batch file in the temporary folder, which only this user can
// write to, under a name nobody can know beforehand ("unins", eight
// hexadecimal digits, ".bat"), and keeps it open for writing alone, so that
// nobody can have put a file or a folder there first or swap it before it
// runs. False, with `file` closed, when none could be made.
bool createPrivateBatch(File& file, String& path);

// Adds the install directory's PATH line to the boot drive's autoexec.bat, or
// removes it. Empty when done or nothing was needed, else the problem text.
String updateAutoexecPath(bool add);
