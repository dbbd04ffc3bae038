#include "ProgramRunner.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <stdexcept>

extern char** environ;

namespace {

[[noreturn]] void Fail(const std::string& program, const std::string& what, int error) {
    throw std::runtime_error("cvpack: error: cannot run " + program + ": " + what + ": " + std::strerror(error));
}

// Owns the spawn attributes so that every way out releases them.
class SpawnActions {
public:
    SpawnActions() { posix_spawn_file_actions_init(&actions_); }
    ~SpawnActions() { posix_spawn_file_actions_destroy(&actions_); }
    SpawnActions(const SpawnActions&) = delete;
    SpawnActions& operator=(const SpawnActions&) = delete;
    posix_spawn_file_actions_t* Get() { return &actions_; }

private:
    posix_spawn_file_actions_t actions_;
};

// Reads the pipe to its end; what is beyond the limit is read and dropped, so
// a talkative program never blocks on a full pipe.
std::string ReadAll(int fd) {
    std::string output;
    char buffer[4096];
    for (;;) {
        const ssize_t n = read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        const size_t room = kProgramOutputLimit - output.size();
        output.append(buffer, std::min(static_cast<size_t>(n), room));
    }
    return output;
}

int WaitFor(pid_t pid) {
    int status = 0;
    while (waitpid(pid, &status, 0) < 0)
        if (errno != EINTR) return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace

ProgramResult RunProgram(const std::vector<std::string>& arguments) {
    const std::string& program = arguments.at(0);
    std::vector<char*> argv;
    for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);

    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) Fail(program, "no pipe", errno);
    SpawnActions actions;
    posix_spawn_file_actions_addopen(actions.Get(), 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(actions.Get(), fds[1], 1);
    posix_spawn_file_actions_adddup2(actions.Get(), fds[1], 2);
    pid_t pid = 0;
    const int spawned = posix_spawnp(&pid, program.c_str(), actions.Get(), nullptr, argv.data(), environ);
    close(fds[1]);
    if (spawned != 0) {
        close(fds[0]);
        Fail(program, "it could not be started (is it installed?)", spawned);
    }
    ProgramResult result;
    result.output = ReadAll(fds[0]);
    close(fds[0]);
    result.exitCode = WaitFor(pid);
    return result;
}
