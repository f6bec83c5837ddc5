#include "config/ConfigProblem.h"

#include <atomic>
#include <cstring>

namespace haspel {

namespace {

std::atomic<bool> savingInterrupted {false};
static_assert(std::atomic<bool>::is_always_lock_free, "set from a signal handler");

} // namespace

const char* EnglishOf(SyntaxFault fault)
{
    switch (fault) {
    case SyntaxFault::None:
        break;
    case SyntaxFault::TextOutsideSection:
        return "a value outside any section";
    case SyntaxFault::CloseWithoutOpen:
        return "a closing tag without an open section";
    case SyntaxFault::CloseNamesOther:
        return "a closing tag names another section than the open one";
    case SyntaxFault::TooDeep:
        return "sections nested too deeply";
    case SyntaxFault::Unclosed:
        return "a section is not closed";
    }
    return "";
}

std::string Describe(const ConfigProblem& problem)
{
    const std::string file = "the configuration file '" + problem.file + "'";
    const char* reason = problem.error ? std::strerror(problem.error) : "not a regular file";
    std::string text;
    switch (problem.kind) {
    case ConfigProblem::Kind::None:
        return {};
    case ConfigProblem::Kind::Unreadable:
        text = "cannot read " + file + ": " + reason;
        break;
    case ConfigProblem::Kind::Unparsable:
        text = file + " does not parse: line " + std::to_string(problem.line) + ": "
            + EnglishOf(problem.fault);
        break;
    case ConfigProblem::Kind::Unsaved:
        return "cannot save " + file + ": " + reason;
    }
    if (problem.backupLoaded)
        text += "; its copy '" + problem.file + ".old' is used";
    return text;
}

void InterruptSaving()
{
    savingInterrupted.store(true, std::memory_order_relaxed);
}

bool SavingInterrupted()
{
    return savingInterrupted.load(std::memory_order_relaxed);
}

void ResetSavingInterrupt()
{
    savingInterrupted.store(false, std::memory_order_relaxed);
}

} // namespace haspel
