// The robot: starts a program, reads each dialog and message box it shows, presses the
// buttons it is told to, and reports everything as JSON lines on stdout, one per window:
//
//   robot.exe [--timeout SECONDS] [--press LABEL]... [--watch CAPTION]...
//             [--watch-progress CAPTION]... [--follow CAPTION]... [--cmdline TEXT]
//             [--argv0 TEXT] [--hold FILE]... [--whole-line] [--shots DIR] [--] program [args]
//
//   {"window":1,"caption":"...","text":"...","buttons":[{"id":1,"label":"OK"}],"pressed":"OK"}
//   {"update":1,"text":"...","progress":40,"ms":1234}
//   {"exit":N}
//
// LABEL is a button's text (case and '&' ignored) or "id:N". Once the labels are used up
// the default button (or the only one) is pressed. Windows whose caption is given with
// --watch (a progress dialog, which may come and go too fast to be seen) are recorded
// but never pressed, and use no label; --watch-progress does the same only for dialogs
// that carry a progress bar or have no button to press, so that a question with the
// same caption is still answered. --follow watches a dialog and then reports every
// change of its texts or its bar's position as an "update" line, with the
// milliseconds since the program started. A window caught while it is being made or
// destroyed is read again until it settles; one that vanishes meanwhile is not
// reported at all. --cmdline gives the argument text
// verbatim, for programs that split their command line by rules of their own; --argv0
// gives the command line's first word in place of the program's path, for programs that
// find their own file through it. --hold keeps FILE open, readable by others but not
// deletable, until the program has ended: a file in use, as a running program keeps it.
// --shots saves a picture of the whole screen as DIR\windowN.bmp when window N is read,
// before anything is pressed, and names it in the window's line as "shot".
//
// Exit codes: 0 the program ended (its code is in the "exit" line); 2 no new window
// within the timeout while the program kept running; 3 a label is not on the window (or
// there is nothing to press); 4 bad arguments or the program could not be started.
// In cases 2 and 3 the program is killed and an {"error":...} line says why.
#include "Dialog.h"
#include "Json.h"

#include <windows.h>

#include <fcntl.h>
#include <io.h>
#include <shellapi.h>

#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>
#include <vector>

namespace {

struct Options {
    unsigned timeoutSeconds = 30;
    std::vector<std::wstring> presses;
    std::vector<std::string> watched;         // captions recorded but never pressed
    std::vector<std::string> watchedProgress; // the same, for dialogs with a progress bar
    std::vector<std::string> followed;        // watched, and every change reported
    bool rawArguments = false;
    std::wstring rawText;
    std::wstring argv0;                // the command line's first word, when not the program path
    bool wholeLine = false;            // program[0] is the whole command line, parsed by Windows
    std::vector<std::wstring> held;    // files kept open while the program runs
    std::wstring shots;                // folder for a picture of the screen per window
    std::vector<std::wstring> program; // program path, then its arguments
};

std::string narrow(const std::wstring& wide) {
    if (wide.empty())
        return std::string();
    int size = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr,
                                   0, nullptr, nullptr);
    std::string out(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), &out[0], size,
                        nullptr, nullptr);
    return out;
}

void emit(const std::string& line) {
    std::fputs(line.c_str(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

int fail(int code, const std::string& message) {
    emit(robot::JsonObject().text("error", message).str());
    return code;
}

bool parseOptions(int argc, wchar_t** argv, Options& options, std::string& error) {
    int i = 1;
    for (; i < argc; ++i) {
        std::wstring arg = argv[i];
        bool hasValue = i + 1 < argc;
        if (arg == L"--") {
            ++i;
            break;
        } else if (arg == L"--timeout" && hasValue) {
            wchar_t* end = nullptr;
            unsigned long seconds = std::wcstoul(argv[++i], &end, 10);
            if (*end != L'\0' || seconds == 0 || seconds > 3600) {
                error = "--timeout wants a number of seconds from 1 to 3600";
                return false;
            }
            options.timeoutSeconds = static_cast<unsigned>(seconds);
        } else if (arg == L"--press" && hasValue) {
            options.presses.push_back(argv[++i]);
        } else if (arg == L"--watch" && hasValue) {
            options.watched.push_back(narrow(argv[++i]));
        } else if (arg == L"--watch-progress" && hasValue) {
            options.watchedProgress.push_back(narrow(argv[++i]));
        } else if (arg == L"--follow" && hasValue) {
            options.followed.push_back(narrow(argv[++i]));
        } else if (arg == L"--cmdline" && hasValue) {
            options.rawArguments = true;
            options.rawText = argv[++i];
        } else if (arg == L"--argv0" && hasValue) {
            options.argv0 = argv[++i];
        } else if (arg == L"--whole-line") {
            options.wholeLine = true;
        } else if (arg == L"--hold" && hasValue) {
            options.held.push_back(argv[++i]);
        } else if (arg == L"--shots" && hasValue) {
            options.shots = argv[++i];
        } else if (arg.compare(0, 2, L"--") == 0) {
            error = "unknown option or missing value: " + narrow(arg);
            return false;
        } else {
            break;
        }
    }
    for (; i < argc; ++i)
        options.program.push_back(argv[i]);
    if (options.program.empty()) {
        error = "usage: robot.exe [--timeout SECONDS] [--press LABEL]... [--watch CAPTION]... "
                "[--watch-progress CAPTION]... [--follow CAPTION]... [--cmdline TEXT] "
                "[--argv0 TEXT] [--hold FILE]... [--whole-line] [--shots DIR] [--] program [args]";
        return false;
    }
    if (options.wholeLine &&
        (options.program.size() > 1 || options.rawArguments || !options.argv0.empty())) {
        error = "--whole-line takes the command line alone, as one argument";
        return false;
    }
    if (options.rawArguments && options.program.size() > 1) {
        error = "--cmdline replaces the program's arguments: give one or the other";
        return false;
    }
    return true;
}

// Quotes one argument so that the C runtime's splitter gives it back unchanged.
std::wstring quoteArgument(const std::wstring& arg) {
    if (!arg.empty() && arg.find_first_of(L" \t\n\v\"") == std::wstring::npos)
        return arg;
    std::wstring out = L"\"";
    size_t backslashes = 0;
    for (wchar_t c : arg) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        // Backslashes double only before a quote; the quote itself is escaped.
        out.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
        backslashes = 0;
        out += c;
    }
    out.append(backslashes * 2, L'\\');
    return out + L"\"";
}

std::wstring commandLine(const Options& options) {
    if (options.wholeLine)
        return options.program[0];
    std::wstring line = options.argv0.empty() ? L"\"" + options.program[0] + L"\"" : options.argv0;
    if (options.rawArguments) {
        line += L" " + options.rawText;
        return line;
    }
    for (size_t i = 1; i < options.program.size(); ++i)
        line += L" " + quoteArgument(options.program[i]);
    return line;
}

std::string buttonsJson(const robot::Dialog& dialog) {
    std::string out = "[";
    for (const robot::Button& button : dialog.buttons) {
        if (out.size() > 1)
            out += ',';
        robot::JsonObject item;
        item.number("id", button.id).text("label", button.label);
        if (!button.enabled)
            item.boolean("enabled", false);
        if (button.isDefault)
            item.boolean("default", true);
        out += item.str();
    }
    return out + "]";
}

std::string windowsJson(DWORD pid) {
    std::string out = "[";
    for (const robot::WindowInfo& window : robot::visibleWindows(pid)) {
        if (out.size() > 1)
            out += ',';
        out += robot::JsonObject()
                   .text("class", window.className)
                   .text("caption", window.caption)
                   .str();
    }
    return out + "]";
}

void killProgram(const PROCESS_INFORMATION& process) {
    TerminateProcess(process.hProcess, 0xDEAD);
    WaitForSingleObject(process.hProcess, 5000);
}

class Run {
public:
    Run(const Options& options, const PROCESS_INFORMATION& process)
        : options_(options), process_(process), start_(GetTickCount()) {}

    int loop() {
        DWORD deadline = GetTickCount() + options_.timeoutSeconds * 1000;
        for (;;) {
            reportChanges();
            if (WaitForSingleObject(process_.hProcess, 50) == WAIT_OBJECT_0) {
                DWORD code = 0;
                GetExitCodeProcess(process_.hProcess, &code);
                emit(robot::JsonObject().number("exit", code).str());
                return 0;
            }
            int result = handleNewDialogs();
            if (result > 0)
                return result;
            if (result < 0)
                deadline = GetTickCount() + options_.timeoutSeconds * 1000;
            else if (static_cast<LONG>(GetTickCount() - deadline) >= 0)
                return timeout();
        }
    }

private:
    // Returns -1 when a window was handled, 0 when there was none, or the robot's exit
    // code when the run must end.
    int handleNewDialogs() {
        for (HWND hwnd : robot::findDialogs(process_.dwProcessId)) {
            if (!seen_.insert(hwnd).second)
                continue;
            robot::Dialog dialog;
            if (!robot::readSettledDialog(hwnd, dialog))
                continue; // gone before it could be read whole
            return handle(dialog);
        }
        return 0;
    }

    // The followed dialogs' changes since they were last reported.
    void reportChanges() {
        for (size_t i = 0; i < followed_.size(); ++i) {
            Followed& f = followed_[i];
            if (!IsWindow(f.hwnd) || !IsWindowVisible(f.hwnd))
                continue;
            const robot::Dialog now = robot::readDialog(f.hwnd);
            // An empty read, or a bar gone or not answering, is the dialog on its way
            // out, not a change.
            if (now.caption.empty() || (f.progress >= 0 && now.progress < 0) ||
                (now.text == f.text && now.progress == f.progress))
                continue;
            f.text = now.text;
            f.progress = now.progress;
            emit(robot::JsonObject()
                     .number("update", f.window)
                     .text("text", now.text)
                     .number("progress", now.progress)
                     .number("ms", static_cast<long long>(now.readTick - start_))
                     .str());
        }
    }

    int handle(const robot::Dialog& dialog) {
        robot::JsonObject line;
        line.number("window", ++windows_)
            .text("caption", dialog.caption)
            .text("text", dialog.text)
            .raw("buttons", buttonsJson(dialog));
        bool watched = false;
        for (const std::string& caption : options_.watched)
            watched = watched || caption == dialog.caption;
        for (const std::string& caption : options_.followed) {
            if (caption != dialog.caption)
                continue;
            watched = true;
            followed_.push_back(Followed{dialog.hwnd, windows_, dialog.text, dialog.progress});
            line.number("progress", dialog.progress)
                .number("ms", static_cast<long long>(dialog.readTick - start_));
        }
        // A progress dialog caught while it is being destroyed may have lost its
        // bar already; a question always has a button to answer with.
        bool answerable = false;
        for (const robot::Button& button : dialog.buttons)
            answerable = answerable || button.enabled;
        for (const std::string& caption : options_.watchedProgress)
            watched =
                watched || ((dialog.hasProgressBar || !answerable) && caption == dialog.caption);
        if (watched) {
            emit(line.str());
            return -1;
        }
        const robot::Button* button = nullptr;
        std::string problem;
        const size_t pressBefore = nextPress_;
        if (nextPress_ < options_.presses.size()) {
            std::string spec = narrow(options_.presses[nextPress_++]);
            button = robot::findButton(dialog, spec);
            if (!button)
                problem = "no button \"" + spec + "\" on window " + std::to_string(windows_) +
                          " \"" + dialog.caption + "\"";
        } else {
            button = robot::defaultButton(dialog);
            if (!button)
                problem = "window " + std::to_string(windows_) + " \"" + dialog.caption +
                          "\" has no default button and no --press label is left";
        }
        if (button && !button->enabled) {
            problem = "button \"" + button->label + "\" on window " + std::to_string(windows_) +
                      " is disabled";
            button = nullptr;
        }
        // A window that went away while it was being read is no window to answer.
        if (!button && !stillThere(dialog.hwnd)) {
            --windows_;
            nextPress_ = pressBefore;
            return -1;
        }
        if (button)
            line.text("pressed", button->label);
        if (!options_.shots.empty()) {
            std::wstring file = options_.shots + L"\\window" + std::to_wstring(windows_) + L".bmp";
            if (robot::saveScreen(file))
                line.text("shot", narrow(file));
        }
        emit(line.str());
        if (!button) {
            killProgram(process_);
            return fail(3, problem);
        }
        robot::pressButton(dialog, *button);
        return -1;
    }

    int timeout() {
        std::string message = "timeout: no new window within " +
                              std::to_string(options_.timeoutSeconds) +
                              " s and the program is still running";
        std::string visible = windowsJson(process_.dwProcessId);
        killProgram(process_);
        emit(robot::JsonObject()
                 .text("error", message)
                 .number("windows", windows_)
                 .raw("visible", visible)
                 .str());
        return 2;
    }

    static bool stillThere(HWND hwnd) {
        Sleep(200);
        return IsWindow(hwnd) && IsWindowVisible(hwnd);
    }

    struct Followed {
        HWND hwnd;
        long long window;
        std::string text;
        int progress;
    };

    const Options& options_;
    PROCESS_INFORMATION process_;
    DWORD start_;
    std::vector<Followed> followed_;
    std::set<HWND> seen_;
    size_t nextPress_ = 0;
    long long windows_ = 0;
};

} // namespace

int main() {
    // One "\n" per line, not the C runtime's "\r\n".
    _setmode(_fileno(stdout), _O_BINARY);
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    Options options;
    std::string error;
    if (!argv || !parseOptions(argc, argv, options, error))
        return fail(4, error.empty() ? "cannot read the command line" : error);

    std::vector<HANDLE> held;
    for (const std::wstring& file : options.held) {
        HANDLE handle = CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, 0, nullptr);
        if (handle == INVALID_HANDLE_VALUE)
            return fail(4, "cannot hold " + narrow(file) + ": Win32 error " +
                               std::to_string(GetLastError()));
        held.push_back(handle);
    }

    std::wstring line = commandLine(options);
    // The program's own output (and a crash backtrace from the debugger it starts) goes
    // to the robot's stderr, so that stdout holds nothing but the robot's lines.
    HANDLE errors = GetStdHandle(STD_ERROR_HANDLE);
    SetHandleInformation(errors, HANDLE_FLAG_INHERIT, HANDLE_FLAG_INHERIT);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = nullptr;
    startup.hStdOutput = errors;
    startup.hStdError = errors;
    PROCESS_INFORMATION process{};
    // A whole line goes to Windows without an application name, as the shell
    // and Add/Remove Programs start a registered command.
    const wchar_t* application =
        options.argv0.empty() || options.wholeLine ? nullptr : options.program[0].c_str();
    if (!CreateProcessW(application, &line[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                        &startup, &process))
        return fail(4, "cannot start " + narrow(line) + ": Win32 error " +
                           std::to_string(GetLastError()));
    CloseHandle(process.hThread);
    int code = Run(options, process).loop();
    CloseHandle(process.hProcess);
    for (HANDLE handle : held)
        CloseHandle(handle);
    return code;
}
