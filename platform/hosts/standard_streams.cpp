#include "platform/hosts/standard_streams.h"

#include "platform/hosts/output_file.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <string>
#include <unistd.h>

namespace vilora {

void guard_standard_streams() {
    std::signal(SIGPIPE, SIG_IGN);
    std::signal(SIGXFSZ, SIG_IGN);
    // Opened read-only, /dev/null refuses writes as a closed descriptor does.
    for (int stream = 0; stream <= 2; ++stream)
        if (::fcntl(stream, F_GETFD) < 0 && errno == EBADF) {
            const int taken = ::open("/dev/null", O_RDONLY);
            if (taken >= 0 && taken != stream) {
                ::dup2(taken, stream);
                ::close(taken);
            }
        }
}

namespace {
// The cause of the first failed flush of standard output.
int first_failure = 0;

void flush_noting_failure() {
    errno = 0;
    if (std::fflush(stdout) != 0 && first_failure == 0) first_failure = errno;
}
// The cause of a failure the stream no longer knows: stdio drops what it
// could not write and keeps only its error flag. A descriptor left read-only
// is a closed stream's stand-in; anything else is asked with one more byte,
// a newline, into an output already known to be cut short.
int cause_of_earlier_failure() {
    const int flags = ::fcntl(STDOUT_FILENO, F_GETFL);
    if (flags < 0 || (flags & O_ACCMODE) == O_RDONLY) return EBADF;
    return ::write(STDOUT_FILENO, "\n", 1) < 0 ? errno : 0;
}
} // namespace

void flush_standard_output() {
    flush_noting_failure();
}

bool close_standard_output(const char* program) {
    flush_noting_failure();
    const bool failed = std::ferror(stdout) != 0 || first_failure != 0;
    if (failed && first_failure == 0) first_failure = cause_of_earlier_failure();
    errno = 0;
    if (std::fclose(stdout) != 0 && !failed) first_failure = errno ? errno : EIO;
    if (!failed && first_failure == 0) return true;
    const std::string cause = first_failure == EBADF ? "it is closed"
                              : first_failure        ? system_reason(first_failure)
                                                     : "a write failed";
    std::fprintf(stderr, "%s: the output to standard output was lost: %s\n", program,
                 cause.c_str());
    return false;
}

} // namespace vilora
