#include "Wine.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <thread>

namespace e2e {
namespace {

// Beyond the robot's own timeout: Wine's start, and a robot that itself hangs.
const int kWatchdogExtraSeconds = 60;

RunResult runRobot(const std::vector<std::string>& robotArgs, int timeoutSeconds) {
    RunResult result;
    std::string problem = wineEnvironmentProblem();
    if (!problem.empty()) {
        result.error = problem;
        return result;
    }
    std::vector<std::string> argv = {"wine", robotExe(), "--timeout",
                                     std::to_string(timeoutSeconds)};
    argv.insert(argv.end(), robotArgs.begin(), robotArgs.end());
    // Under an emulator Wine now and then fails to start a program at all
    // (status 1, nothing printed): the robot never ran, so nothing was done
    // and it is started again. A robot that printed anything is never rerun.
    ProcessResult process;
    for (int attempt = 0; attempt < 3; ++attempt) {
        process = runProcess(argv, timeoutSeconds + kWatchdogExtraSeconds);
        if (process.status == 0 || !process.out.empty() || process.timedOut ||
            !process.startError.empty())
            break;
    }
    result.output = process.err;
    result.robotStatus = process.status;
    parseRobotOutput(process.out, result);
    if (!process.startError.empty())
        result.error = process.startError;
    else if (process.timedOut)
        result.error = "the robot did not end: killed after " +
                       std::to_string(timeoutSeconds + kWatchdogExtraSeconds) + " s";
    else if (result.error.empty() && result.exitCode < 0)
        result.error = "the robot reported no exit (status " + std::to_string(process.status) +
                       "): " + process.err;
    return result;
}

std::vector<std::string> pressArgs(const std::vector<std::string>& presses) {
    std::vector<std::string> args;
    for (const std::string& press : presses) {
        if (press.rfind(kWatchPrefix, 0) == 0) {
            args.push_back("--watch");
            args.push_back(press.substr(sizeof kWatchPrefix - 1));
        } else if (press.rfind(kWatchProgressPrefix, 0) == 0) {
            args.push_back("--watch-progress");
            args.push_back(press.substr(sizeof kWatchProgressPrefix - 1));
        } else if (press.rfind(kFollowPrefix, 0) == 0) {
            args.push_back("--follow");
            args.push_back(press.substr(sizeof kFollowPrefix - 1));
        } else {
            args.push_back("--press");
            args.push_back(press);
        }
    }
    return args;
}

std::string programPath(const std::string& program) {
    return !program.empty() && program[0] == '/' ? toWinePath(program) : program;
}

} // namespace

std::string wineEnvironmentProblem() {
    const char* prefix = std::getenv("WINEPREFIX");
    const char* display = std::getenv("DISPLAY");
    if (!prefix || !*prefix || !display || !*display)
        return "WINEPREFIX and DISPLAY are not set: run the end-to-end tests in the "
               "environment of scripts/wine-env.sh";
    if (!std::filesystem::exists(robotExe()))
        return "no robot at " + robotExe() + ": build the windows preset first";
    return std::string();
}

RunResult runUnderRobot(const std::vector<std::string>& programArgs,
                        const std::vector<std::string>& presses, int timeoutSeconds) {
    if (programArgs.empty()) {
        RunResult result;
        result.error = "no program to run";
        return result;
    }
    std::vector<std::string> args = pressArgs(presses);
    args.push_back("--");
    args.push_back(programPath(programArgs[0]));
    args.insert(args.end(), programArgs.begin() + 1, programArgs.end());
    return runRobot(args, timeoutSeconds);
}

RunResult runUnderRobotRaw(const std::string& program, const std::string& argumentText,
                           const std::vector<std::string>& presses, int timeoutSeconds) {
    std::vector<std::string> args = pressArgs(presses);
    args.push_back("--cmdline");
    args.push_back(argumentText);
    args.push_back("--");
    args.push_back(programPath(program));
    return runRobot(args, timeoutSeconds);
}

RunResult runUnderRobotHolding(const std::string& program, const std::string& argumentText,
                               const std::string& heldFile, const std::vector<std::string>& presses,
                               int timeoutSeconds) {
    std::vector<std::string> args = pressArgs(presses);
    args.push_back("--hold");
    args.push_back(heldFile);
    args.push_back("--cmdline");
    args.push_back(argumentText);
    args.push_back("--");
    args.push_back(programPath(program));
    return runRobot(args, timeoutSeconds);
}

RunResult runUnderRobotAs(const std::string& program, const std::string& argv0,
                          const std::string& argumentText, const std::vector<std::string>& presses,
                          int timeoutSeconds) {
    std::vector<std::string> args = pressArgs(presses);
    args.push_back("--argv0");
    args.push_back(argv0);
    args.push_back("--cmdline");
    args.push_back(argumentText);
    args.push_back("--");
    args.push_back(programPath(program));
    return runRobot(args, timeoutSeconds);
}

RunResult runCommandLineUnderRobot(const std::string& commandLine,
                                   const std::vector<std::string>& presses, int timeoutSeconds) {
    std::vector<std::string> args = pressArgs(presses);
    args.push_back("--whole-line");
    args.push_back("--");
    args.push_back(commandLine);
    return runRobot(args, timeoutSeconds);
}

void parseRobotOutput(const std::string& stdoutText, RunResult& result) {
    std::istringstream lines(stdoutText);
    std::string line;
    while (std::getline(lines, line)) {
        nlohmann::json item = nlohmann::json::parse(line, nullptr, false);
        if (item.is_discarded() || !item.is_object()) {
            result.strayText += line + "\n";
        } else if (item.contains("window")) {
            Window window;
            window.caption = item.value("caption", "");
            window.text = item.value("text", "");
            window.pressed = item.value("pressed", "");
            for (const nlohmann::json& button : item.value("buttons", nlohmann::json::array()))
                window.buttons.push_back(Button{button.value("id", 0), button.value("label", "")});
            result.windows.push_back(window);
            if (item.contains("progress"))
                result.updates.push_back(
                    Update{window.text, item.value("progress", -1), item.value("ms", 0LL)});
        } else if (item.contains("update")) {
            result.updates.push_back(
                Update{item.value("text", ""), item.value("progress", -1), item.value("ms", 0LL)});
        } else if (item.contains("exit")) {
            result.exitCode = item["exit"].get<long long>();
        } else if (item.contains("error")) {
            result.error = item.value("error", "");
            if (item.contains("visible"))
                result.error += " (windows: " + item["visible"].dump() + ")";
        } else {
            result.strayText += line + "\n";
        }
    }
}

std::string windowsBuildDir() {
    return VARNOKE_WIN_BUILD_DIR;
}

std::string varnokeExe() {
    return windowsBuildDir() + "/installer/varnoke.exe";
}

std::string robotExe() {
    return windowsBuildDir() + "/tests/robot/robot.exe";
}

std::string toWinePath(const std::string& unixPath) {
    std::string absolute = std::filesystem::absolute(unixPath).lexically_normal().string();
    std::string out = "Z:";
    for (char c : absolute)
        out += c == '/' ? '\\' : c;
    return out;
}

std::optional<RegistryValue> parseRegQuery(const std::string& output, const std::string& name) {
    // reg.exe shows each value as "    NAME    TYPE    DATA", the default one as
    // "(Default)"; names may contain blanks, so the line is matched from its start.
    std::string lead = "    " + (name.empty() ? std::string("(Default)") : name) + "    REG_";
    std::istringstream lines(output);
    std::string line;
    while (std::getline(lines, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.compare(0, lead.size(), lead) != 0)
            continue;
        std::string rest = line.substr(lead.size() - 4);
        size_t gap = rest.find("    ");
        RegistryValue value;
        value.type = rest.substr(0, gap);
        if (gap != std::string::npos)
            value.data = rest.substr(gap + 4);
        return value;
    }
    return std::nullopt;
}

std::string windowsSeen(const RunResult& run) {
    std::string all;
    for (const Window& w : run.windows)
        all += "[" + w.caption + ": " + w.text + "] ";
    return all;
}

std::string registryView(const std::string& key) {
    const std::string root = key.substr(0, key.find('\\'));
    if (root == "HKCR" || root == "HKEY_CLASSES_ROOT")
        return "/reg:64";
    return "/reg:32";
}

std::optional<RegistryValue> readRegistry32(const std::string& key, const std::string& name) {
    // A registry that cannot be read must not pass for a missing value.
    std::string problem = wineEnvironmentProblem();
    if (!problem.empty()) {
        ADD_FAILURE() << problem;
        return std::nullopt;
    }
    std::vector<std::string> argv = {"wine", "reg", "query", key};
    if (name.empty())
        argv.push_back("/ve");
    else {
        argv.push_back("/v");
        argv.push_back(name);
    }
    argv.push_back(registryView(key));
    ProcessResult process = runProcess(argv, 60);
    // reg.exe ends with 1 when the key or the value does not exist.
    if (process.status == 1)
        return std::nullopt;
    if (process.status != 0) {
        ADD_FAILURE() << "wine reg query " << key << " failed (status " << process.status
                      << "): " << process.startError << process.err;
        return std::nullopt;
    }
    return parseRegQuery(process.out, name);
}

bool registryKeyExists32(const std::string& key) {
    std::string problem = wineEnvironmentProblem();
    if (!problem.empty()) {
        ADD_FAILURE() << problem;
        return false;
    }
    ProcessResult process = runProcess({"wine", "reg", "query", key, registryView(key)}, 60);
    if (process.status != 0 && process.status != 1)
        ADD_FAILURE() << "wine reg query " << key << " failed (status " << process.status
                      << "): " << process.startError << process.err;
    return process.status == 0;
}

void writeRegistry32(const std::string& key, const std::string& name, const std::string& value) {
    std::string problem = wineEnvironmentProblem();
    if (!problem.empty()) {
        ADD_FAILURE() << problem;
        return;
    }
    std::vector<std::string> argv = {"wine", "reg", "add", key};
    if (name.empty()) {
        argv.push_back("/ve");
    } else {
        argv.push_back("/v");
        argv.push_back(name);
    }
    const std::string view = registryView(key);
    for (const char* arg : {"/d", value.c_str(), "/f", view.c_str()})
        argv.push_back(arg);
    ProcessResult process = runProcess(argv, 60);
    if (process.status != 0)
        ADD_FAILURE() << "wine reg add " << key << " failed (status " << process.status
                      << "): " << process.startError << process.err;
}

void deleteRegistryKey32(const std::string& key) {
    if (wineEnvironmentProblem().empty())
        runProcess({"wine", "reg", "delete", key, "/f", registryView(key)}, 60);
}

void forgetEarlierExampleRuns() {
    for (const char* key :
         {"HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Acme Notes",
          "HKCR\\.acmenote", "HKCR\\AcmeNotes.Note"})
        deleteRegistryKey32(key);
}

namespace {

// "unins" and eight hexadecimal digits, ".bat": the uninstaller's clean-up batches.
bool isCleanupBatchName(const std::string& name) {
    if (name.size() != 17 || name.compare(0, 5, "unins") != 0 || name.compare(13, 4, ".bat") != 0)
        return false;
    return std::all_of(name.begin() + 5, name.begin() + 13,
                       [](char c) { return std::isxdigit(static_cast<unsigned char>(c)) != 0; });
}

bool anyCleanupBatch() {
    const char* prefix = std::getenv("WINEPREFIX");
    if (!prefix)
        return false;
    std::error_code error;
    const auto options = std::filesystem::directory_options::skip_permission_denied;
    for (std::filesystem::recursive_directory_iterator
             it(std::string(prefix) + "/drive_c/users", options, error),
         end;
         it != end; it.increment(error)) {
        if (error)
            break;
        if (it.depth() > 5)
            it.disable_recursion_pending();
        if (isCleanupBatchName(it->path().filename().string()))
            return true;
    }
    return false;
}

} // namespace

bool cleanupBatchesFinished() {
    for (int i = 0; i < 300; ++i) {
        if (!anyCleanupBatch())
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return false;
}

} // namespace e2e
