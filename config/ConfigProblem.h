// Why a configuration file was not loaded or not saved: what went wrong and where, for the message
// the user gets.
#pragma once

#include <cstdint>
#include <string>

namespace haspel {

// What the parser found wrong with a text.
enum class SyntaxFault : int32_t {
    None,
    TextOutsideSection, // a value with no section around it
    CloseWithoutOpen, // a closing tag with no section open
    CloseNamesOther, // a closing tag naming another section than the open one
    TooDeep, // sections nested deeper than the parser takes
    Unclosed, // the text ends inside a section
};

struct ConfigProblem {
    enum class Kind : int32_t {
        None,
        Unreadable, // the file exists but can't be read (error), or is not a regular file
        Unparsable, // read, but not in the configuration's syntax (fault, line)
        Unsaved, // a save failed (error; EINTR: interrupted); the file is as it was
    };
    Kind kind = Kind::None;
    std::string file;
    int error = 0; // errno of the failed step; 0 for a file that is not a regular one
    SyntaxFault fault = SyntaxFault::None;
    int32_t line = 0; // 1 for the first line
    bool backupLoaded = false; // the file's ".old" copy was loaded instead

    explicit operator bool() const { return kind != Kind::None; }
};

// The English of a fault ("a closing tag names another section than the open one").
const char* EnglishOf(SyntaxFault fault);
// The problem in English with its place: "cannot read the configuration file '/x/kestrano.cfg':
// Permission denied", "the configuration file '/x/kestrano.cfg' does not parse: line 3: a closing tag
// ...", "cannot save the configuration file '...': No space left on device".
std::string Describe(const ConfigProblem& problem);

// A stop asked for while the configuration is saved (a termination signal): the save gives up at its
// next step, removes its new file and leaves the old one as it was. Safe in a signal handler.
void InterruptSaving();
bool SavingInterrupted();
// For a save that should run again after an interruption (tests).
void ResetSavingInterrupt();

} // namespace haspel
