#include "Verifier.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <chrono>
#include <cstdlib>
#include <regex>
#include <thread>

namespace {

// Between fork and exec only async-signal-safe calls: limits, the pipe, exec.
[[noreturn]] void becomeVerifier(const std::string& game, const std::string& file, const VerifierLimits& limits,
                                 int out) {
    const auto cap = [](int resource, rlim_t value) {
        const rlimit limit{value, value};
        setrlimit(resource, &limit);
    };
    cap(RLIMIT_CPU, static_cast<rlim_t>(limits.cpu_seconds));
    if (limits.memory_mb > 0) cap(RLIMIT_AS, static_cast<rlim_t>(limits.memory_mb) * 1024 * 1024);
    cap(RLIMIT_NOFILE, static_cast<rlim_t>(limits.open_files));
    cap(RLIMIT_FSIZE, 0); // it plays; it writes no file
    cap(RLIMIT_CORE, 0);
    // Proving runs is background work: the board's readers come first.
    setpriority(PRIO_PROCESS, 0, 10);
    dup2(out, STDOUT_FILENO);
    const int null = open("/dev/null", O_RDWR);
    dup2(null, STDIN_FILENO);
    dup2(null, STDERR_FILENO);
    // Its own process group: a kill on the wall clock reaches whatever it started.
    setpgid(0, 0);
    const char* argv[] = {game.c_str(), "--verify", file.c_str(), nullptr};
    const char* envp[] = {"SDL_VIDEO_DRIVER=dummy", "SDL_AUDIO_DRIVER=dummy", "SDL_RENDER_DRIVER=software",
                          "LANG=C.UTF-8", "ASAN_OPTIONS=detect_leaks=0", nullptr};
    execve(game.c_str(), const_cast<char* const*>(argv), const_cast<char* const*>(envp));
    _exit(127);
}

} // namespace

Verdict verifyInChild(const std::string& game, const std::string& file, const VerifierLimits& limits) {
    std::array<int, 2> pipe_ends{};
    if (pipe2(pipe_ends.data(), O_CLOEXEC) != 0) return {std::nullopt, "the board could not start a verifier"};
    const pid_t child = fork();
    if (child < 0) {
        close(pipe_ends[0]);
        close(pipe_ends[1]);
        return {std::nullopt, "the board could not start a verifier"};
    }
    if (child == 0) becomeVerifier(game, file, limits, pipe_ends[1]);
    close(pipe_ends[1]);
    fcntl(pipe_ends[0], F_SETFL, O_NONBLOCK);
    std::string output;
    // What the child has written so far; a line is all it says, so more than 64 KiB is dropped.
    const auto drain = [&] {
        std::array<char, 4096> buffer{};
        ssize_t got = 0;
        while ((got = read(pipe_ends[0], buffer.data(), buffer.size())) > 0 && output.size() < 65536)
            output.append(buffer.data(), static_cast<std::size_t>(got));
    };
    int status = 0;
    bool killed = false;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(limits.wall_seconds);
    for (;;) {
        drain();
        if (waitpid(child, &status, WNOHANG) == child) break;
        if (std::chrono::steady_clock::now() > deadline) {
            kill(-child, SIGKILL);
            kill(child, SIGKILL);
            waitpid(child, &status, 0);
            killed = true;
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    drain();
    close(pipe_ends[0]);
    if (killed) return {std::nullopt, "playing it again took longer than " + std::to_string(limits.wall_seconds) + " s"};
    if (WIFSIGNALED(status)) {
        return {std::nullopt, WTERMSIG(status) == SIGXCPU ? "playing it again took too much CPU time"
                                                          : "playing it again failed (signal " +
                                                                std::to_string(WTERMSIG(status)) + ")"};
    }
    const int code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    static const std::regex kLine(R"(: score (-?\d+), \d+ frames in [0-9.]+ s, state hash [0-9a-f]+: matches the recording)");
    std::smatch match;
    if (code == 0 && std::regex_search(output, match, kLine)) return {std::stoll(match[1].str()), {}};
    if (code == 1) return {std::nullopt, "played again, it does not come out as recorded"};
    return {std::nullopt, "it could not be played again (status " + std::to_string(code) + ")"};
}
