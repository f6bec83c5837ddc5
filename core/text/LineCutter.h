// Cuts the text read from a log into lines and turns them into messages: a line indented by a space
// or tab continues the last message (when multi-line is on), as does a line without a header where
// the log's layout has one (with the stated level on); any other non-blank line becomes a new message,
// whose severity is the level its header states, or else its keywords'. The cutter owns the messages and
// keeps at most KeepLines of them; the log view owns one cutter, feeds it and is told of every change.
#pragma once

#include "core/text/KeywordLists.h"
#include "core/text/LogLayout.h"
#include "core/text/Message.h"
#include "foundation/ContainingList.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace kestrano {

class CuttingRules;

// Told of every change to the cutter's messages as it happens; implemented by the log view. The
// events go one way: a listener looks at the message it is given and does not call back into the
// cutter, which is in the middle of its loop.
class LineCutterListener {
public:
    virtual ~LineCutterListener() = default;
    // The message was just appended to the messages.
    virtual void messageAdded(Message* message) = 0;
    // A continuation line was joined to the message, the last of the messages.
    virtual void messageContinued(Message* message) = 0;
    // The message, the oldest, is about to be deleted: the messages hold more than KeepLines.
    virtual void messageDropping(Message* /*message*/) { }
    // Whether a new message of this severity may go unmade when it would be trimmed again before
    // anything could see it (at least KeepLines newer messages follow in the same piece). Its
    // severity still counts for the split's result.
    virtual bool mayDropUnseen(int32_t /*severity*/) const { return false; }
    // A message of this severity went unmade, as mayDropUnseen allowed.
    virtual void messageDroppedUnseen(int32_t /*severity*/) { }
};

class LineCutter {
public:
    // Both must outlive the cutter; the rules are read at each use. Throws haspel::EOutOfMemory.
    LineCutter(const CuttingRules& rules, LineCutterListener& listener);
    ~LineCutter();
    LineCutter(const LineCutter&) = delete;
    LineCutter& operator=(const LineCutter&) = delete;

    // Adds text read from the log. A NUL byte ends the piece: it and the bytes after it are skipped.
    // An incomplete line keeps at most Message::MaxTextBytes (and a few bytes of its end, for
    // keywords); the rest is classified as it arrives and counted as cut.
    // Throws haspel::EOutOfMemory (nothing is added then).
    void appendPendingText(const char* bytes, int32_t n);

    // Cuts every complete line off the pending text (a line ends at the first CR or LF; CR LF thus
    // ends a line and then an empty one) and returns the highest severity of the new messages, or
    // Severity::None when there is none. Keywords and the multi-line switch are read from the
    // rules. Throws haspel::EOutOfMemory; the line being processed is then lost.
    int32_t splitPendingText();

    // Adds a notice of the program's own as a message of its own, classified as its English line would
    // be; an incomplete line stays pending. Throws haspel::EOutOfMemory (nothing is added then).
    void addNotice(const ShownText& notice);

    // The messages, oldest first.
    const haspel::ContainingList<Message>& getMessages() const { return messages; }
    // Deletes the oldest messages beyond the KeepLines setting, each after messageDropping.
    void trimToKeepLines();
    // Deletes every message; the listener is not told (the caller has emptied what showed them).
    void clearMessages() { messages.Clear(); }

    // When set, the next complete line is dropped (reading started inside a line).
    bool getSkipFirstLine() const { return skipFirstLine; }
    void setSkipFirstLine(bool skip) { skipFirstLine = skip; }

    // The bytes not yet cut into lines (an incomplete line, as far as it is kept); not NUL-terminated.
    const char* getPendingText() const { return pending + pendingStart; }
    int32_t getPendingLength() const { return pendingEnd - pendingStart; }
    // Forgets the incomplete line, when reading starts over somewhere else in the file.
    void discardPendingText();

    // The log's layout, recognised from the first lines cut (until SampleLines lines or SampleBytes
    // were seen, each split looks again at all of them).
    const LogLayout& getLayout() const { return layout; }
    // Recognises the layout anew from the next lines (reading starts over); dates without a year
    // complete by referenceSeconds (0: the time of recognition).
    void forgetLayout(int64_t referenceSeconds = 0);
    static constexpr int32_t SampleLines = 20;
    static constexpr int32_t SampleBytes = 64 * 1024;

private:
    // How a cut line is classified, should it become a message.
    struct LineMarks {
        bool search; // the exact search over the whole line
        int32_t scannedFrom; // else: the line's bytes from here on were scanned ...
        int32_t firstBit; // ... and their marks start at this bit
        int32_t severity; // a long line's, found as it arrived (else Severity::None)
        int64_t cutBytes; // of a long line, beyond the kept length
    };
    void cutLine(int32_t end, int32_t regionStart, int32_t& highest);
    void handleLine(const char* line, int32_t length, const LineMarks& marks, int32_t& highest);
    int32_t classify(const char* line, int32_t length, const LineMarks& marks) const;
    void sampleLayout();
    void reserveMarks(int32_t n);
    int32_t countDoomed(int32_t regionStart, int32_t n) const;
    void boundLongLine();

    const CuttingRules& rules;
    LineCutterListener& listener;
    KeywordLists keywords;
    haspel::ContainingList<Message> messages;
    Message::SpareBlock spare; // of the last message trimmed
    LogLayout layout;
    bool layoutSettled = false;
    int64_t layoutReference = 0;
    std::string layoutSamples; // the complete lines seen while the layout is not settled
    std::vector<std::shared_ptr<const UserLayout>> userLayouts; // compiled from the rules' expressions
    bool skipFirstLine = false;

    // The pending text is pending[pendingStart..pendingEnd); cutting a line advances pendingStart,
    // appending moves the rest to the front once. [pendingStart..scanned) holds no line end.
    char* pending = nullptr;
    int32_t pendingStart = 0;
    int32_t scanned = 0;
    int32_t pendingEnd = 0;
    int32_t pendingCapacity = 0;
    // What the scan found in [pendingStart..scanned) before the current split.
    bool pendingCandidate = false;
    bool pendingNonAscii = false;
    // A long incomplete line: Message::MaxTextBytes kept, then a window on its end; the bytes
    // between are gone, their keywords counted in longSeverity.
    int64_t longCut = 0;
    int32_t longSeverity = 0;
    // New messages of the current split that nothing would see, and whether the last was one.
    int32_t doomed = 0;
    bool lastDropped = false;

    // The marks of the text scanned by the current split, three bit arrays.
    uint64_t* markBits = nullptr;
    int32_t markWords = 0; // per array
    ScanMarks marks {};
};

} // namespace kestrano
