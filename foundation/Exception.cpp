#include "foundation/Exception.h"

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <new>

namespace haspel {

namespace {

ExceptionSink sink = nullptr;

char* CopyText(const char* text)
{
    const std::size_t size = std::strlen(text) + 1;
    char* copy = static_cast<char*>(std::malloc(size));
    if (!copy)
        throw EOutOfMemory();
    std::memcpy(copy, text, size);
    return copy;
}

constexpr int32_t kExceptionLevel = 5;

// Calls left until the injected failure, counting the failing one; 0 or less when none is armed.
std::atomic<int64_t> allocationsToFailure {0};

bool InjectedFailure()
{
    if (allocationsToFailure.load(std::memory_order_relaxed) <= 0)
        return false;
    return allocationsToFailure.fetch_sub(1, std::memory_order_relaxed) == 1;
}

} // namespace

const char* AfterLastBackslash(const char* text)
{
    const char* slash = std::strrchr(text, '\\');
    return slash ? slash + 1 : text;
}

void SetExceptionSink(ExceptionSink newSink)
{
    sink = newSink;
}
ExceptionSink GetExceptionSink()
{
    return sink;
}

void FailNthAllocation(int64_t n)
{
    allocationsToFailure.store(n, std::memory_order_relaxed);
}

bool AllocationFailurePending()
{
    return allocationsToFailure.load(std::memory_order_relaxed) > 0;
}

void* AllocateOrThrow(std::size_t size)
{
    if (InjectedFailure())
        throw EOutOfMemory();
    void* block = std::malloc(size == 0 ? 1 : size);
    if (!block)
        throw EOutOfMemory();
    return block;
}

void* ReallocateOrThrow(void* block, std::size_t size)
{
    if (InjectedFailure())
        throw EOutOfMemory();
    void* grown = std::realloc(block, size == 0 ? 1 : size);
    if (!grown)
        throw EOutOfMemory();
    return grown;
}

Exception::Exception(const char* className) noexcept
    : className(className)
{ }

Exception::Exception(const char* className, const char* message, const char* origin, int32_t line)
    : className(className)
    , line(line)
{
    try {
        if (message)
            SetMessage(message);
        if (origin)
            SetOrigin(origin);
    } catch (...) {
        std::free(this->message);
        std::free(this->origin);
        throw;
    }
    if (origin && line != 0 && sink) {
        // "%s.\nMessage: %s", built without the String class to keep this layer at the bottom.
        const char* shownMessage = message ? message : "(null)";
        const std::size_t size = std::strlen(className) + std::strlen(shownMessage) + 12;
        char* text = static_cast<char*>(std::malloc(size));
        if (text) {
            std::strcpy(text, className);
            std::strcat(text, ".\nMessage: ");
            std::strcat(text, shownMessage);
            sink(origin, line, kExceptionLevel, text);
            std::free(text);
        }
    }
}

Exception::Exception(const Exception& other)
    : className(other.className)
    , line(other.line)
{
    try {
        if (other.message)
            message = CopyText(other.message);
        if (other.origin)
            origin = CopyText(other.origin);
    } catch (...) {
        std::free(message);
        throw;
    }
}

Exception& Exception::operator=(const Exception& other)
{
    if (this != &other) {
        className = other.className;
        line = other.line;
        SetMessage(other.message);
        SetOrigin(other.origin);
    }
    return *this;
}

Exception::~Exception()
{
    std::free(message);
    std::free(origin);
}

void Exception::SetMessage(const char* text)
{
    char* copy = text ? CopyText(text) : nullptr;
    std::free(message);
    message = copy;
}

void Exception::SetOrigin(const char* text)
{
    char* copy = text ? CopyText(AfterLastBackslash(text)) : nullptr;
    std::free(origin);
    origin = copy;
}

} // namespace haspel
