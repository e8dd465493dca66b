#include "keld/Cli.h"

#include "format/ArchiveLayout.h"
#include "keld/Build.h"
#include "keld/Files.h"
#include "keld/Inspect.h"
#include "keld/PathText.h"

#include <cstdlib>
#include <ostream>

namespace keld {

namespace {

const char kUsage[] = "Usage:\n"
                      "  keld build PROJECT.toml [-o setup.exe] [--stub varnoke.exe] [-q]\n"
                      "  keld inspect setup.exe [--json]\n"
                      "  keld verify setup.exe [-q]\n"
                      "  keld --help | --version\n"
                      "\n"
                      "build    makes setup.exe (and its volume files) from a project file\n"
                      "inspect  shows what an installer holds, as its installer reads it\n"
                      "verify   checks an installer the way it checks itself; exit status 0\n"
                      "         only when it would install\n"
                      "\n"
                      "Exit status: 0 done, 1 problems in the project or the installer, 2 usage.\n";

struct Arguments {
    std::string command;
    std::string input;
    std::string output;
    std::string stub;
    bool quiet = false;
    bool json = false;
};

int usageError(std::ostream& err, const std::string& what) {
    err << "keld: " << what << "\n\n" << kUsage;
    return ExitUsage;
}

// False (reported) for anything the command does not take.
bool parse(const std::vector<std::string>& args, Arguments& a, std::ostream& err, int& code) {
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const bool hasValue = i + 1 < args.size();
        if (arg == "-q" || arg == "--quiet") {
            a.quiet = true;
        } else if (arg == "--json" && a.command == "inspect") {
            a.json = true;
        } else if ((arg == "-o" || arg == "--stub") && a.command == "build") {
            if (!hasValue) {
                code = usageError(err, arg + " needs a file name");
                return false;
            }
            (arg == "-o" ? a.output : a.stub) = args[++i];
        } else if (!arg.empty() && arg[0] == '-') {
            code = usageError(err, "unknown option " + arg);
            return false;
        } else if (a.command.empty()) {
            a.command = arg;
            if (a.command != "build" && a.command != "inspect" && a.command != "verify") {
                code = usageError(err, "unknown command " + arg);
                return false;
            }
        } else if (a.input.empty()) {
            a.input = arg;
        } else {
            code = usageError(err, "one file at a time; \"" + arg + "\" is one too many");
            return false;
        }
    }
    if (a.command.empty()) {
        code = usageError(err, "no command given");
        return false;
    }
    if (a.input.empty()) {
        code = usageError(err, a.command + " needs a file");
        return false;
    }
    return true;
}

std::optional<int64_t> epochFrom(const char* text, std::ostream& err) {
    if (!text || !*text)
        return std::nullopt;
    char* end = nullptr;
    const long long value = std::strtoll(text, &end, 10);
    if (*end != '\0' || value < 0) {
        err << "keld: SOURCE_DATE_EPOCH is not a number of seconds; it is ignored\n";
        return std::nullopt;
    }
    return int64_t(value);
}

// The first input that `output` would overwrite: the project, the stub, a page
// or picture, or a source file; empty when it is none of them.
std::string inputAt(const std::string& output, const Project& project,
                    const std::string& stubPath) {
    std::vector<std::pair<SourceLocation, std::string>> inputs = {
        {{project.path, 0, 0}, project.path}, {{project.path, 0, 0}, stubPath}};
    for (const std::string& path : project.settingsSources)
        inputs.push_back({{project.path, 0, 0}, path});
    for (const ProjectFile& f : project.files)
        inputs.push_back({f.where, f.source});
    for (const auto& [where, path] : inputs)
        if (sameFile(output, path))
            return describe(where, "the output \"" + output + "\" is the input \"" + path +
                                       "\"; writing it would destroy it (name another with -o)");
    return std::string();
}

int build(const Arguments& a, const CliEnvironment& env, std::ostream& out, std::ostream& err) {
    Project project;
    ProjectErrors problems;
    if (!readProject(a.input, project, problems)) {
        for (const std::string& message : problems.messages)
            err << message << "\n";
        return ExitProblems;
    }
    BuildOptions options;
    const std::string stubPath = a.stub.empty() ? env.defaultStub : a.stub;
    if (!readFile(stubPath, options.stub)) {
        err << "keld: " << unreadableFile("the installer stub", stubPath)
            << "; name one with --stub\n";
        return ExitProblems;
    }
    options.outputPath = a.output;
    if (options.outputPath.empty())
        options.outputPath = project.output.file.empty()
                                 ? "setup.exe"
                                 : joinPath(project.baseDir, project.output.file);
    const std::string overwritten = inputAt(options.outputPath, project, stubPath);
    if (!overwritten.empty()) {
        err << overwritten << "\n";
        return ExitProblems;
    }
    options.sourceDateEpoch = epochFrom(env.sourceDateEpoch, err);
    if (!a.quiet && env.terminal)
        options.progress = [&err](const std::string& line) { err << line << "\r" << std::flush; };

    BuildResult result;
    std::vector<std::string> errors;
    const bool built = buildProject(project, options, result, errors);
    if (options.progress)
        err << "\33[K" << std::flush;
    if (!built) {
        for (const std::string& message : errors)
            err << message << "\n";
        return ExitProblems;
    }
    std::string error;
    if (!writeBuild(result, options.outputPath, error)) {
        err << "keld: " << error << "\n";
        return ExitProblems;
    }
    if (!a.quiet) {
        out << options.outputPath << ": " << result.installer.setup.size() << " bytes, "
            << project.files.size() << " files (" << result.sourceBytes << " bytes)";
        if (!result.installer.volumes.empty())
            out << ", " << result.installer.volumes.size() << " volume files";
        out << "\n";
    }
    return ExitOk;
}

int verify(const Arguments& a, std::ostream& out, std::ostream& err) {
    const SetupReading reading = readSetup(a.input);
    if (reading.verdict == SetupVerdict::Accepted) {
        if (!a.quiet)
            out << a.input << ": " << verdictText(reading) << " (" << reading.files.size()
                << " files)\n";
        return ExitOk;
    }
    err << a.input << ": " << verdictText(reading) << "\n";
    return ExitProblems;
}

int inspect(const Arguments& a, std::ostream& out) {
    const SetupReading reading = readSetup(a.input);
    if (a.json)
        out << inspectJson(reading).dump(2) << "\n";
    else
        printInspection(reading, out);
    return reading.verdict == SetupVerdict::Accepted ? ExitOk : ExitProblems;
}

} // namespace

int runKeld(const std::vector<std::string>& args, const CliEnvironment& env, std::ostream& out,
            std::ostream& err) {
    for (const std::string& arg : args) {
        if (arg == "--help" || arg == "-h") {
            out << kUsage;
            return ExitOk;
        }
        if (arg == "--version") {
            out << "keld " << kFormatVersion / 100 << "." << kFormatVersion % 100 / 10
                << " (archive format " << kFormatVersion << ")\n";
            return ExitOk;
        }
    }
    Arguments a;
    int code = ExitUsage;
    if (!parse(args, a, err, code))
        return code;
    if (a.command == "build")
        return build(a, env, out, err);
    if (a.command == "verify")
        return verify(a, out, err);
    return inspect(a, out);
}

} // namespace keld
