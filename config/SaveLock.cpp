#include "config/SaveLock.h"

#include "config/ConfigProblem.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace haspel {

SaveLock::SaveLock(const char* lockFileName)
    : descriptor(open(lockFileName, O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600))
{
    if (descriptor < 0)
        return;
    // The holder is a live process in the middle of a save (the lock dies with it): waiting ends.
    int result;
    do
        result = flock(descriptor, LOCK_EX);
    while (result != 0 && errno == EINTR && !SavingInterrupted());
    held = result == 0;
}

SaveLock::~SaveLock()
{
    if (descriptor >= 0)
        close(descriptor); // releases the lock
}

} // namespace haspel
