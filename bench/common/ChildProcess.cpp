#include "ChildProcess.h"

#include <algorithm>
#include <csignal>

#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

ChildProcess::ChildProcess(const std::vector<std::string>& argv, Errors errors)
{
    int out[2];
    if (argv.empty() || pipe(out) != 0)
        return;
    m_pid = fork();
    if (m_pid == 0) {
        dup2(out[1], STDOUT_FILENO);
        if (errors == Errors::Read)
            dup2(out[1], STDERR_FILENO);
        else
            dup2(open("/dev/null", O_WRONLY), STDERR_FILENO);
        close(out[0]);
        close(out[1]);
        std::vector<char*> args;
        for (const std::string& arg : argv)
            args.push_back(const_cast<char*>(arg.c_str()));
        args.push_back(nullptr);
        execvp(args[0], args.data());
        _exit(127);
    }
    close(out[1]);
    if (m_pid < 0)
        close(out[0]);
    else
        m_out = out[0];
}

ChildProcess::~ChildProcess()
{
    end(true);
}

bool ChildProcess::readSome(std::chrono::milliseconds wait)
{
    if (m_out < 0)
        return false;
    pollfd watch{.fd = m_out, .events = POLLIN, .revents = 0};
    if (poll(&watch, 1, int(std::max<long long>(wait.count(), 1))) <= 0)
        return true;
    char buffer[4096];
    const ssize_t got = read(m_out, buffer, sizeof buffer);
    if (got <= 0) {
        close(m_out);
        m_out = -1;
        return false;
    }
    m_pending.append(buffer, size_t(got));
    return true;
}

std::optional<std::string> ChildProcess::nextLine(Clock::time_point deadline)
{
    for (;;) {
        if (const size_t end = m_pending.find_first_of("\r\n"); end != std::string::npos) {
            std::string line = m_pending.substr(0, end);
            m_pending.erase(0, end + 1);
            return line;
        }
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0 || !readSome(left))
            return std::nullopt;
    }
}

std::optional<std::string> ChildProcess::lineWith(std::string_view mark, Clock::time_point deadline)
{
    while (auto line = nextLine(deadline)) {
        if (line->find(mark) != std::string::npos)
            return line;
    }
    return std::nullopt;
}

void ChildProcess::drainUntil(Clock::time_point deadline)
{
    for (auto left = deadline - Clock::now(); left.count() > 0; left = deadline - Clock::now()) {
        const auto wait = std::chrono::duration_cast<std::chrono::milliseconds>(left);
        if (!readSome(wait))
            usleep(useconds_t(std::min<long long>(wait.count(), 100) * 1000));
        m_pending.clear();
    }
}

rusage ChildProcess::end(bool killAtOnce)
{
    rusage usage{};
    if (m_pid > 0) {
        kill(m_pid, killAtOnce ? SIGKILL : SIGTERM);
        int status = 0;
        for (int i = 0; !killAtOnce && i < 50 && wait4(m_pid, &status, WNOHANG, &usage) == 0; ++i)
            usleep(100000);
        if (wait4(m_pid, &status, WNOHANG, &usage) == 0) {
            kill(m_pid, SIGKILL);
            wait4(m_pid, &status, 0, &usage);
        }
        m_pid = -1;
    }
    if (m_out >= 0)
        close(m_out);
    m_out = -1;
    return usage;
}
