#include "Process.h"

#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace e2e {
namespace {

struct Pipe {
    int read = -1;
    int write = -1;
};

bool openPipe(Pipe& pipe) {
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0)
        return false;
    pipe.read = fds[0];
    pipe.write = fds[1];
    return true;
}

void closeFd(int& fd) {
    if (fd >= 0)
        ::close(fd);
    fd = -1;
}

// Reads what is there without blocking; closes `fd` at end of file.
void drain(int& fd, std::string& into) {
    char buffer[4096];
    while (fd >= 0) {
        ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got > 0)
            into.append(buffer, static_cast<size_t>(got));
        else if (got == 0)
            closeFd(fd);
        else if (errno != EINTR)
            return;
    }
}

} // namespace

ProcessResult runProcess(const std::vector<std::string>& argv, int timeoutSeconds) {
    ProcessResult result;
    Pipe out, err;
    if (argv.empty() || !openPipe(out) || !openPipe(err)) {
        result.startError = "cannot create pipes";
        closeFd(out.read);
        closeFd(out.write);
        return result;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, out.write, 1);
    posix_spawn_file_actions_adddup2(&actions, err.write, 2);
    std::vector<char*> args;
    for (const std::string& arg : argv)
        args.push_back(const_cast<char*>(arg.c_str()));
    args.push_back(nullptr);
    pid_t pid = -1;
    int spawned = posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    closeFd(out.write);
    closeFd(err.write);
    if (spawned != 0) {
        result.startError = "cannot start " + argv[0] + ": " + std::strerror(spawned);
        closeFd(out.read);
        closeFd(err.read);
        return result;
    }
    ::fcntl(out.read, F_SETFL, O_NONBLOCK);
    ::fcntl(err.read, F_SETFL, O_NONBLOCK);

    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(timeoutSeconds);
    int status = 0;
    bool exited = false;
    while (!exited) {
        pollfd fds[2] = {{out.read, POLLIN, 0}, {err.read, POLLIN, 0}};
        ::poll(fds, 2, 100);
        drain(out.read, result.out);
        drain(err.read, result.err);
        exited = ::waitpid(pid, &status, WNOHANG) == pid;
        if (!exited && std::chrono::steady_clock::now() > deadline) {
            ::kill(pid, SIGKILL);
            ::waitpid(pid, &status, 0);
            result.timedOut = true;
            exited = true;
        }
    }
    // What the program wrote before it ended is in the pipes by now.
    drain(out.read, result.out);
    drain(err.read, result.err);
    closeFd(out.read);
    closeFd(err.read);
    if (!result.timedOut && WIFEXITED(status))
        result.status = WEXITSTATUS(status);
    return result;
}

} // namespace e2e
