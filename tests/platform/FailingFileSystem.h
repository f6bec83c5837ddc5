// The real file system with chosen operations made to fail, for failures root cannot provoke otherwise.
#pragma once

#include <cerrno>

#include "platform/LinuxFileSystem.h"

#include <vector>

namespace kestrano::test {

class FailingFileSystem : public LinuxFileSystem {
public:
    bool failOpen = false;
    bool failRead = false;
    bool failRemove = false;
    bool refuseKeepOpen = false; // as when descriptors run out
    int opens = 0; // attempts, failed ones included
    std::vector<int32_t> reads; // the byte counts asked for, in order

    Handle openForReading(const char* path) override
    {
        ++opens;
        if (failOpen) {
            errno = EIO;
            return NoHandle;
        }
        return LinuxFileSystem::openForReading(path);
    }
    int32_t readAt(Handle file, char* buffer, int32_t n, uint64_t offset) override
    {
        reads.push_back(n);
        return failRead ? -1 : LinuxFileSystem::readAt(file, buffer, n, offset);
    }
    bool remove(const char* path) override { return !failRemove && LinuxFileSystem::remove(path); }
    bool mayKeepOpen() override { return !refuseKeepOpen && LinuxFileSystem::mayKeepOpen(); }
};

} // namespace kestrano::test
