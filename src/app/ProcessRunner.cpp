#include "app/ProcessRunner.h"

#include <fmt/core.h>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace app {

namespace {

struct Pipe {
    int fd[2] = {-1, -1};
    bool open() { return ::pipe2(fd, O_CLOEXEC) == 0; }
    void close(int end)
    {
        if (fd[end] >= 0)
            ::close(fd[end]);
        fd[end] = -1;
    }
    ~Pipe()
    {
        close(0);
        close(1);
    }
};

std::string trimmed(std::string text)
{
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' '))
        text.pop_back();
    return text;
}

}  // namespace

ProcessResult runProcess(const std::vector<std::string>& argv, const std::string& input)
{
    ProcessResult result;
    if (argv.empty()) {
        result.error = "no program to run";
        return result;
    }
    Pipe in, out, err;
    if (!in.open() || !out.open() || !err.open()) {
        result.error = fmt::format("cannot make pipes: {}", std::strerror(errno));
        return result;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, in.fd[0], 0);
    posix_spawn_file_actions_adddup2(&actions, out.fd[1], 1);
    posix_spawn_file_actions_adddup2(&actions, err.fd[1], 2);
    std::vector<char*> args;
    for (const std::string& a : argv)
        args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    pid_t pid = 0;
    const int spawned = ::posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) {
        result.error = fmt::format("cannot run {}: {}", argv[0], std::strerror(spawned));
        return result;
    }
    result.started = true;
    in.close(0);
    out.close(1);
    err.close(1);

    // A program that stops reading stdin must not kill us with SIGPIPE.
    struct sigaction ignore = {}, previous = {};
    ignore.sa_handler = SIG_IGN;
    ::sigaction(SIGPIPE, &ignore, &previous);
    std::size_t written = 0;
    if (input.empty())
        in.close(1);
    // stdin, stdout and stderr together, so a child filling one pipe never waits on us.
    while (out.fd[0] >= 0 || err.fd[0] >= 0) {
        pollfd fds[3];
        int n = 0;
        for (int fd : {out.fd[0], err.fd[0]})
            if (fd >= 0)
                fds[n++] = {fd, POLLIN, 0};
        if (in.fd[1] >= 0)
            fds[n++] = {in.fd[1], POLLOUT, 0};
        if (::poll(fds, static_cast<nfds_t>(n), -1) < 0) {
            if (errno == EINTR)
                continue;
            break;
        }
        for (int i = 0; i < n; ++i) {
            if (fds[i].revents == 0)
                continue;
            if (fds[i].fd == in.fd[1]) {
                const ssize_t w = ::write(in.fd[1], input.data() + written, input.size() - written);
                if (w > 0)
                    written += static_cast<std::size_t>(w);
                if (w < 0 || written == input.size())
                    in.close(1);
                continue;
            }
            char buffer[4096];
            const ssize_t r = ::read(fds[i].fd, buffer, sizeof buffer);
            if (r > 0) {
                (fds[i].fd == out.fd[0] ? result.out : result.err)
                    .append(buffer, static_cast<std::size_t>(r));
            } else if (r == 0 || errno != EINTR) {
                (fds[i].fd == out.fd[0] ? out : err).close(0);
            }
        }
    }
    in.close(1);
    ::sigaction(SIGPIPE, &previous, nullptr);
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return result;
}

std::string describeFailure(const std::string& program, const ProcessResult& result)
{
    if (!result.started)
        return result.error;
    const std::string err = trimmed(result.err);
    if (!err.empty())
        return err.find(program) == 0 ? err : fmt::format("{}: {}", program, err);
    return fmt::format("{} failed (exit code {})", program, result.exitCode);
}

}  // namespace app
