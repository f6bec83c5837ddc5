// Several logs' messages in one order by the time each states, as references (16 bytes a message): a
// message without a time takes the time of the message before it in its own log (none before it: it
// goes first); equal times keep the order in which the messages were added.
#pragma once

#include "core/text/LogTime.h"

#include <cstdint>
#include <vector>

namespace kestrano {

class Message;

class MergedOrder {
public:
    // A log is named by its slot, 0 to MaxLogs - 1.
    static constexpr int32_t MaxLogs = 256;
    // The order time of a message before any message with a time in its log.
    static constexpr int64_t Earliest = -(int64_t {1} << 54);

    struct Entry {
        Message* message;
        int64_t stamp; // the order time in microseconds, times MaxLogs, plus the log's slot
        int32_t getLog() const { return static_cast<int32_t>(stamp & (MaxLogs - 1)); }
        int64_t getTime() const { return stamp >> 8; }
    };

    // The order time of a message whose log's previous message had the order time `previous`
    // (Earliest for none): its own stated time, if it has one.
    static int64_t orderTime(const Message& message, int64_t previous);

    int32_t size() const { return static_cast<int32_t>(entries.size()); }
    const Entry& operator[](int32_t index) const { return entries[static_cast<size_t>(index)]; }
    void clear() { entries.clear(); }

    // Places a message with its order time after every message of the same or an earlier time; the
    // index it took.
    int32_t insert(int32_t log, Message* message, int64_t time);
    // Building anew: reserve, append each log's messages in its own order, then sort, which keeps
    // equal times in the order appended.
    void reserve(int32_t count) { entries.reserve(static_cast<size_t>(count)); }
    void append(int32_t log, Message* message, int64_t time)
    {
        entries.push_back({message, stampOf(log, time)});
    }
    void sort();

    // The index of the message, searched from the start or the end (where the oldest or the newest
    // messages usually are); -1 when it is not there.
    int32_t findFromStart(const Message* message) const;
    int32_t findFromEnd(const Message* message) const;
    void erase(int32_t index) { entries.erase(entries.begin() + index); }
    // Removes every message of the log; whether there was any.
    bool eraseLog(int32_t log);
    // The bytes held for the entries (the benchmark's measure).
    size_t getCapacityBytes() const { return entries.capacity() * sizeof(Entry); }

private:
    static int64_t stampOf(int32_t log, int64_t time) { return time * MaxLogs + log; }

    std::vector<Entry> entries;
};

static_assert(sizeof(MergedOrder::Entry) == 16);

} // namespace kestrano
