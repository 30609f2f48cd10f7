#include "tests/robustness/child_process.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <ctime>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace pimoko::test {
namespace {

long MaxRssKb()
{
    rusage u {};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_maxrss;
}

void WriteAllTo(int fd, const char* data, size_t size)
{
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return;
        data += n;
        size -= static_cast<size_t>(n);
    }
}

void Reap(pid_t pid, ChildOutcome* out)
{
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) { }
    out->exited = WIFEXITED(status);
    out->exitCode = out->exited ? WEXITSTATUS(status) : -1;
    out->signal = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
    out->killed = out->signal == SIGKILL;
}

} // namespace

ChildOutcome RunInChild(const std::function<QByteArray()>& work)
{
    ChildOutcome out;
    int fds[2];
    if (::pipe(fds) != 0)
        return out;
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close(fds[0]);
        const long before = MaxRssKb();
        const QByteArray reply = work();
        const long growth = MaxRssKb() - before;
        WriteAllTo(fds[1], reinterpret_cast<const char*>(&growth), sizeof growth);
        WriteAllTo(fds[1], reply.constData(), static_cast<size_t>(reply.size()));
        ::_exit(0);
    }
    ::close(fds[1]);
    QByteArray all;
    char buf[4096];
    for (;;) {
        const ssize_t n = ::read(fds[0], buf, sizeof buf);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        all.append(buf, n);
    }
    ::close(fds[0]);
    Reap(pid, &out);
    if (all.size() >= static_cast<qsizetype>(sizeof(long))) {
        std::memcpy(&out.peakGrowthKb, all.constData(), sizeof(long));
        out.reply = all.mid(sizeof(long));
    }
    return out;
}

ChildOutcome KillDuring(const std::function<void()>& work, long delayMicros)
{
    ChildOutcome out;
    int go[2];
    if (::pipe(go) != 0)
        return out;
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close(go[1]);
        char c;
        while (::read(go[0], &c, 1) < 0 && errno == EINTR) { }
        work();
        ::_exit(0);
    }
    ::close(go[0]);
    WriteAllTo(go[1], "g", 1);
    if (delayMicros > 0) {
        timespec t { static_cast<time_t>(delayMicros / 1000000), (delayMicros % 1000000) * 1000 };
        while (::nanosleep(&t, &t) != 0 && errno == EINTR) { }
    }
    ::kill(pid, SIGKILL);
    ::close(go[1]);
    Reap(pid, &out);
    return out;
}

} // namespace pimoko::test
