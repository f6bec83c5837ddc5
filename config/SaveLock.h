// An exclusive flock on the lock file beside a configuration file, held while the file is replaced,
// so saves of concurrent processes follow one another instead of interleaving in the ".new" file.
#pragma once

namespace haspel {

class SaveLock {
public:
    // Takes the lock on lockFileName (created 0600 when missing), waiting while another process
    // saves; Held() tells whether it was taken.
    explicit SaveLock(const char* lockFileName);
    ~SaveLock();
    SaveLock(const SaveLock&) = delete;
    SaveLock& operator=(const SaveLock&) = delete;

    bool Held() const { return held; }

private:
    int descriptor = -1;
    bool held = false;
};

} // namespace haspel
