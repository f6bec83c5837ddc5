// The layout of a log's lines: where each line's header holds its time and its level, recognised from
// the first lines a log gives (recognizeLayout). Reading a line's header is a small fixed amount of work.
#pragma once

#include "core/text/LogTime.h"
#include "core/text/Severity.h"
#include "core/text/WhiteSpace.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace kestrano {

class UserLayout;

// The header of one line as its layout reads it.
struct LineHeader {
    bool present = false; // the line starts as the layout's lines do
    int32_t severity = Severity::None; // the level it states
    int64_t time = LogTime::None; // the time it states, packed
};

class LogLayout {
public:
    enum class Kind : uint8_t {
        None, // not recognised: lines are taken as they come
        Json, // JSON lines
        Logfmt, // key=value fields
        Text, // a time and/or a level word at a fixed place
        User, // an expression from the configuration
    };

    LogLayout() = default;
    Kind getKind() const { return kind; }
    bool isRecognised() const { return kind != Kind::None; }
    LocalClock& getClock() { return clock; }
    const LocalClock& getClock() const { return clock; }

    // Reads the header of the line [line, line + length) (its line end left out); reads nothing beyond.
    // With deferTime, a local ISO or slash time is only measured: its value is LogTime::unread, read
    // when a message of the line is asked for it.
    void read(const char* line, int32_t length, LineHeader& header, bool deferTime = false) const;

private:
    friend class HeaderReader;
    friend LogLayout recognizeLayout(const char* text, int32_t length,
        const std::vector<std::shared_ptr<const UserLayout>>& userLayouts, int64_t referenceSeconds);

    // Where readText looked: the header's outcome up to the level word (which starts at wordAt, or -1,
    // after blanks: its first byte is not one) follows from the line's first extent bytes alone, from
    // which of them are digits and what the others are; 0 when it follows from more (a value, or where
    // the line ends).
    struct Reach {
        int32_t extent = 0;
        int32_t wordAt = -1;
        bool present = false; // before the level word
    };
    void readText(
        const char* line, const char* end, LineHeader& header, bool deferTime, Reach* reach = nullptr) const;
    void readFields(const char* line, int32_t length, LineHeader& header) const;
    void readUser(const char* line, int32_t length, LineHeader& header) const;

    Kind kind = Kind::None;
    TimeForm timeForm = TimeForm::None;
    int8_t levelToken
        = -1; // of Text: the word after the time (or from the line's start) that states the level
    int8_t levelKey = -1; // of Json and Logfmt: the index of the level's key among LevelKeys
    int8_t timeKey = -1; // ... and of the time's among TimeKeys
    std::shared_ptr<const UserLayout> user;
    LocalClock clock;
};

// What a complete line becomes, as the view's cutter and the history's index both decide: nothing
// (blank), the continuation of the message before it (where one may be continued: an indented line,
// or with the stated level a line without a header where the layout has headers), or a new message.
// The header is read into header (its time only measured) where the layout is recognised and
// readHeader says so; it always is for the continuation by header. The layout is a LogLayout or a
// HeaderReader of one.
enum class LineRole : uint8_t { Blank, Continues, Starts };
template <typename Layout>
inline LineRole roleOfLine(const char* line, int32_t length, bool mayContinue, Layout& layout,
    bool statedLevel, bool readHeader, LineHeader& header)
{
    if (length == 0) // the empty line between CR and LF among them
        return LineRole::Blank;
    if (mayContinue && (line[0] == ' ' || line[0] == '\t'))
        return LineRole::Continues;
    const bool byHeader = mayContinue && statedLevel && layout.isRecognised();
    if ((readHeader || byHeader) && layout.isRecognised())
        layout.read(line, length, header, true);
    int32_t first = 0;
    while (first < length && isTrimmedSpace(line[first]))
        ++first;
    if (first == length)
        return LineRole::Blank;
    return byHeader && !header.present ? LineRole::Continues : LineRole::Starts;
}

// The field names that hold a line's level and time in JSON and logfmt lines.
inline constexpr const char* LevelKeys[] = {"level", "severity", "lvl", "log.level", "loglevel"};
inline constexpr const char* TimeKeys[] = {"time", "ts", "timestamp", "@timestamp"};

// Recognises the layout most of the lines in [text, text + length) share (complete lines; blank
// ones are left out); a layout of the user's comes first. referenceSeconds completes dates without a
// year. Kind::None when no layout fits.
LogLayout recognizeLayout(const char* text, int32_t length,
    const std::vector<std::shared_ptr<const UserLayout>>& userLayouts, int64_t referenceSeconds);

// The severity a header word states (Text layouts): a level word, upper case or capitalised, or any
// case in brackets ([error], <warn>, [core:error]); a word glued to ':' or '/' counts (INFO:root). The
// word ends at a blank or at end.
int32_t severityOfHeaderWord(const char* word, const char* end);

} // namespace kestrano
