// Runs a piece of a test in a forked child whose address space may grow only by a given room:
// an allocation beyond it fails there as it would on a machine without that memory.
#pragma once

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstddef>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>

namespace testsupport {

// AddressSanitizer reserves its shadow memory up front and aborts instead of failing an
// allocation, so under it the child runs without the limit.
#if defined(__SANITIZE_ADDRESS__)
inline constexpr bool kAddressSpaceLimited = false;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
inline constexpr bool kAddressSpaceLimited = false;
#else
inline constexpr bool kAddressSpaceLimited = true;
#endif
#else
inline constexpr bool kAddressSpaceLimited = true;
#endif

struct ChildOutcome {
    bool exited = false;  // ran to its end (false: killed, crashed or failed to start)
    std::string text;     // what the body wrote
};

// `body` in a child whose address space may grow by `room` bytes past what the process holds
// now; what it writes comes back. An exception leaving the body is written as its message.
inline ChildOutcome withAddressSpaceRoom(std::size_t room,
                                         const std::function<void(std::ostream&)>& body) {
    int fds[2];
    if (::pipe(fds) != 0) return {};
    const pid_t child = ::fork();
    if (child < 0) return {};
    if (child == 0) {
        ::close(fds[0]);
        std::ostringstream out;
        if (kAddressSpaceLimited) {
            std::size_t pages = 0;
            std::ifstream("/proc/self/statm") >> pages;
            const rlim_t held = static_cast<rlim_t>(pages) * ::sysconf(_SC_PAGESIZE);
            const rlimit limit{held + room, held + room};
            ::setrlimit(RLIMIT_AS, &limit);
        }
        try {
            body(out);
        } catch (const std::exception& e) {
            out << "exception: " << e.what();
        }
        const std::string text = out.str();
        const ssize_t put = ::write(fds[1], text.data(), text.size());
        ::_exit(put == static_cast<ssize_t>(text.size()) ? 0 : 1);
    }
    ::close(fds[1]);
    ChildOutcome r;
    char buf[4096];
    for (ssize_t got; (got = ::read(fds[0], buf, sizeof buf)) > 0;)
        r.text.append(buf, static_cast<std::size_t>(got));
    ::close(fds[0]);
    int status = 0;
    r.exited =
        ::waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
    return r;
}

}  // namespace testsupport
