// The haspel exception family: every error of the foundation library and the configuration store.
// A located exception hands one record to the diagnostic log through the installed sink.
#pragma once

#include <cstddef>
#include <cstdint>

namespace haspel {

// Receives the record of a located exception (origin as given, line, level 5, two-line text), or of
// an error the library reports without throwing (a failed save at exit, level 4). The logger installs
// itself here while it exists; with no sink nothing is written.
using ExceptionSink = void (*)(const char* origin, int32_t line, int32_t level, const char* text);
void SetExceptionSink(ExceptionSink sink);
ExceptionSink GetExceptionSink();

// The part of an origin text after its last backslash (all of it when there is none).
const char* AfterLastBackslash(const char* text);

class Exception {
public:
    // The plain form: line 0, no message, no origin, nothing logged, nothing allocated.
    explicit Exception(const char* className) noexcept;
    // The located form: copies message and origin (the part after the last backslash),
    // logs "<class>.\nMessage: <message>" when an origin is given and the line is not 0.
    Exception(const char* className, const char* message, const char* origin, int32_t line);
    Exception(const Exception& other);
    Exception& operator=(const Exception& other);
    virtual ~Exception();

    const char* GetClassName() const { return className; }
    int32_t GetLine() const { return line; }
    const char* GetMessage() const { return message; } // nullptr when none
    const char* GetOrigin() const { return origin; } // nullptr when none

private:
    void SetMessage(const char* text);
    void SetOrigin(const char* text);

    const char* className;
    int32_t line = 0;
    char* message = nullptr;
    char* origin = nullptr;
};

class EOutOfMemory : public Exception {
public:
    EOutOfMemory() noexcept
        : Exception("EOutOfMemory")
    { }
};

class EAutoBreaking : public Exception {
public:
    EAutoBreaking(const char* className, const char* message, const char* origin, int32_t line)
        : Exception(className, message, origin, line)
    { }
};

class EIllegalArgument : public EAutoBreaking {
public:
    EIllegalArgument(const char* message, const char* origin, int32_t line)
        : EAutoBreaking("EIllegalArgument", message, origin, line)
    { }
};

class EIllegalState : public EAutoBreaking {
public:
    EIllegalState(const char* message, const char* origin, int32_t line)
        : EAutoBreaking("EIllegalState", message, origin, line)
    { }
};

// malloc/realloc that throw EOutOfMemory instead of returning nothing.
void* AllocateOrThrow(std::size_t size);
void* ReallocateOrThrow(void* block, std::size_t size);

// For tests: the n-th call of the two functions above from now on throws EOutOfMemory without
// allocating (0 disarms). Pending while that call has not come; unarmed, a call pays one relaxed load.
void FailNthAllocation(int64_t n);
bool AllocationFailurePending();

} // namespace haspel
