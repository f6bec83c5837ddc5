#include "config/SaveLock.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <time.h>
#include <unistd.h>

namespace haspel {

namespace {

// A save holds the lock for milliseconds; a holder that keeps it longer than this is stuck.
constexpr int kWaitMilliseconds = 10000;
constexpr int kRetryMilliseconds = 5;

} // namespace

SaveLock::SaveLock(const char* lockFileName)
    : descriptor(open(lockFileName, O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600))
{
    if (descriptor < 0)
        return;
    const struct timespec pause = {0, kRetryMilliseconds * 1000000L};
    for (int waited = 0; waited <= kWaitMilliseconds; waited += kRetryMilliseconds) {
        if (flock(descriptor, LOCK_EX | LOCK_NB) == 0) {
            held = true;
            return;
        }
        if (errno != EWOULDBLOCK && errno != EINTR)
            return;
        nanosleep(&pause, nullptr);
    }
}

SaveLock::~SaveLock()
{
    if (descriptor >= 0)
        close(descriptor); // releases the lock
}

} // namespace haspel
