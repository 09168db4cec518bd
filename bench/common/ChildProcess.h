#pragma once

// A program a benchmark starts and watches: its standard output (and its errors, when asked)
// comes through a pipe, line by line. Ending it reports the CPU time and peak memory it used.
#include <chrono>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <sys/resource.h>
#include <sys/types.h>

class ChildProcess
{
public:
    using Clock = std::chrono::steady_clock;

    enum class Errors
    {
        Dropped,
        Read
    };
    // Starts argv[0] (looked up on PATH when it has no slash) with the rest as arguments.
    explicit ChildProcess(const std::vector<std::string>& argv, Errors errors = Errors::Dropped);
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    bool started() const { return m_pid > 0; }
    pid_t pid() const { return m_pid; }

    // The next output line; nothing once the output ends or at `deadline`.
    std::optional<std::string> nextLine(Clock::time_point deadline);
    // The next output line holding `mark`; nothing once the output ends or at `deadline`.
    std::optional<std::string> lineWith(std::string_view mark, Clock::time_point deadline);
    // Reads and drops the output until `deadline`, so that the program never blocks on it.
    void drainUntil(Clock::time_point deadline);
    // Ends the program: SIGTERM with five seconds to go before SIGKILL, or SIGKILL at once.
    // Returns what it used; a second call returns nothing new.
    rusage end(bool killAtOnce = false);

private:
    // Reads what is there within `wait`; false once the output has ended.
    bool readSome(std::chrono::milliseconds wait);

    pid_t m_pid = -1;
    int m_out = -1;
    std::string m_pending;
};
