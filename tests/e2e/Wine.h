// The end-to-end fixture: runs the Windows build's programs under Wine through the
// robot, and reads back what they left in the prefix. The tests run inside the
// environment of scripts/wine-env.sh (WINEPREFIX and DISPLAY set); without it every
// run fails with an error that says so, and the user's own ~/.wine is never used.
#pragma once

#include "Process.h"

#include <optional>
#include <string>
#include <vector>

namespace e2e {

struct Button {
    int id = 0;
    std::string label;
};

// One dialog or message box as the robot saw it.
struct Window {
    std::string caption;
    std::string text;
    std::vector<Button> buttons;
    std::string pressed; // empty when the robot pressed nothing
};

// A change of a followed dialog: its texts and bar as they became, when.
struct Update {
    std::string text;
    int progress = -1;
    long long ms = 0; // since the program started
};

struct RunResult {
    long long exitCode = -1; // the program's exit code; -1 when it did not end by itself
    std::vector<Window> windows;
    std::vector<Update> updates; // of "follow:" dialogs, the first sight included
    std::string error;           // the robot's or the fixture's error, empty when none
    int robotStatus = -1;  // robot.exe's own exit code: 0, 2 timeout, 3 no such button, 4 usage
    std::string output;    // everything the robot and the program wrote to stderr
    std::string strayText; // lines on the robot's stdout that were not its JSON
};

// Runs programArgs[0] (a Unix path, or a Windows path as Wine sees it) with the other
// elements as its arguments, each passed so that the C runtime's splitter gives it back.
// `presses` are button labels or "id:N", used one per window; after them the default
// button is pressed. An entry "watch:CAPTION" instead names windows that are only
// recorded, never pressed, and use no entry (a progress dialog, seen or not). `timeoutSeconds` is
// how long the robot waits for each next window.
inline constexpr char kWatchPrefix[] = "watch:";
// "progress:CAPTION" watches only dialogs with a progress bar (or without a button to
// press), for a progress dialog that shares its caption with a question.
inline constexpr char kWatchProgressPrefix[] = "progress:";
// "follow:CAPTION" watches as "watch:" does and reports every change of the dialog's
// texts and bar in `updates`.
inline constexpr char kFollowPrefix[] = "follow:";

// Every window the run saw as "[caption: text] ", for failure messages.
std::string windowsSeen(const RunResult& run);

RunResult runUnderRobot(const std::vector<std::string>& programArgs,
                        const std::vector<std::string>& presses, int timeoutSeconds = 20);

// The same with the argument text handed over verbatim, for command lines whose quoting
// is the point of the test.
RunResult runUnderRobotRaw(const std::string& program, const std::string& argumentText,
                           const std::vector<std::string>& presses, int timeoutSeconds = 20);

// The same while the robot keeps `heldFile` (a Windows path) open, readable but not
// deletable, until the program has ended.
RunResult runUnderRobotHolding(const std::string& program, const std::string& argumentText,
                               const std::string& heldFile, const std::vector<std::string>& presses,
                               int timeoutSeconds = 20);

// Runs `program` with a command line whose first word is `argv0` instead of the
// program's own path, followed by `argumentText`.
RunResult runUnderRobotAs(const std::string& program, const std::string& argv0,
                          const std::string& argumentText, const std::vector<std::string>& presses,
                          int timeoutSeconds = 20);

// Runs a whole command line as Windows parses it when no program is named
// apart (CreateProcess without an application name), the way Add/Remove
// Programs starts an UninstallString.
RunResult runCommandLineUnderRobot(const std::string& commandLine,
                                   const std::vector<std::string>& presses,
                                   int timeoutSeconds = 20);

// Parses the robot's stdout (JSON lines) into `result`.
void parseRobotOutput(const std::string& stdoutText, RunResult& result);

std::string windowsBuildDir();
std::string varnokeExe(); // <windows build>/installer/varnoke.exe
std::string robotExe();   // <windows build>/tests/robot/robot.exe

// "/a/b c" -> "Z:\a\b c"; relative paths are made absolute first.
std::string toWinePath(const std::string& unixPath);

struct RegistryValue {
    std::string type; // "REG_SZ", "REG_DWORD", ...
    std::string data; // as reg.exe shows it: "0x1" for a DWORD
};

// reg.exe's switch for the view a 32-bit program sees this key in. File types
// are shared by both views on 64-bit Windows (and a 32-bit program writes them
// there under Wine), so HKCR keys are read in the common view.
std::string registryView(const std::string& key);

// Reads `key`\`name` through the 32-bit view of the registry, the one our 32-bit
// programs see. An empty name reads the key's default value. Nothing when the key or
// the value does not exist; a registry that cannot be read at all fails the test.
std::optional<RegistryValue> readRegistry32(const std::string& key, const std::string& name);

// Whether `key` exists in the 32-bit view; a registry that cannot be read fails the test.
bool registryKeyExists32(const std::string& key);

// Sets `key`\`name` to the text `value` (REG_SZ) in the 32-bit view, creating the key.
void writeRegistry32(const std::string& key, const std::string& name, const std::string& value);

// Deletes `key` with everything below it from the 32-bit view, if it is there.
void deleteRegistryKey32(const std::string& key);

// Deletes what an earlier run of the example product (examples/acme-notes) may
// have left in the registry: its uninstall entry would turn an installation into
// a reinstallation, and its file type would be taken as the user's own.
void forgetEarlierExampleRuns();

// Waits, up to half a minute, until no uninstaller's clean-up batch is left in
// the prefix's temporary folders (each deletes itself last); false if one stays.
bool cleanupBatchesFinished();

// Parses the output of "reg query KEY /v NAME" for `name`.
std::optional<RegistryValue> parseRegQuery(const std::string& output, const std::string& name);

// The environment check shared by the runs: empty when Wine may be used.
std::string wineEnvironmentProblem();

} // namespace e2e
