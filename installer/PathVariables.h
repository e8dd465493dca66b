#pragma once
// Path variables: the %Name% tokens that settings texts use for places on the
// target machine, and the batch file through which the product's commands
// run, which sets the same places as environment variables. Portable: the
// values come from the caller; installer/win32/Batch.h looks them up.

#include "core/String.h"

// In the order the replacement takes them.
enum class PathVariable : int {
    BootDrive,
    CommonDir,
    InstallDir,
    InstallDrive,
    UninstallDir,
    ProgramsDir,
    SharedDir,
    SystemDir,
    InstallerDir,
    InstallerDrive, // the bare letter
    InstallerFilename,
    InstallerFilepath,
    DeviceDir,
    MediaDir,
    FavoritesDir,
    FavoritesAllDir,
    FontDir,
    DesktopDir,
    DesktopAllDir,
    DocumentDir,
    DocumentAllDir,
    StartMenuDir,
    StartMenuAllDir,
    SMProgramsDir,
    SMProgramsAllDir,
    StartupDir,
    StartupAllDir,
    Temp,
    WinDir,
};
inline constexpr int kPathVariableCount = int(PathVariable::WinDir) + 1;

// The name between the percent signs, e.g. "InstallDir".
const char* pathVariableName(PathVariable variable);

// Where the values come from. A value is asked for only when its variable
// occurs, since most lookups read the registry.
class PathVariableSource {
public:
    virtual ~PathVariableSource() = default;
    virtual String value(PathVariable variable) const = 0;
};

// Every value at hand; the tests and the batch header use it.
class PathVariableValues : public PathVariableSource {
public:
    String value(PathVariable variable) const override { return values_[int(variable)]; }
    void set(PathVariable variable, const String& value) { values_[int(variable)] = value; }

private:
    String values_[kPathVariableCount];
};

// Replaces every variable, in the table's order and without regard to case;
// an empty value removes the token. Other text between percent signs stays.
void expandPathVariables(String& text, const PathVariableSource& values);

// The upper-case drive letter of path and ":", or empty when the path does
// not begin with a letter and a colon.
String driveOf(const String& path);

// The commands without their PAUSE lines (blanks and one @ around the word
// allowed), every kept line ending in CR LF.
String withoutPauseLines(const String& commands);

// The whole batch file: "@echo off", the SET lines of the places (the
// directory's only when it is not empty), then the commands (without PAUSE
// lines when removePause), every line break CR LF.
String batchFileText(const String& directory, const String& commands, bool removePause,
                     const PathVariableValues& values);

// The line that puts the install directory (in its short form) on the PATH.
String autoexecPathLine(const String& shortInstallDir);
// What to append to autoexec.bat's content for the line: nothing when the
// line is already there, else the line, after a CR LF when the content does
// not end with LF.
String autoexecAddition(const String& content, const String& line);
// Removes the first line that is the PATH line with its line break, whatever
// that break (CR LF, LF, none at the end), the case and blanks around it;
// another directory's longer line stays. False when no line is it.
bool removeAutoexecPathLine(String& content, const String& line);
// The problem text when autoexec.bat cannot be opened.
String autoexecProblem(const String& path, bool add, const String& installDir);
