#include "core/view/HistoryRows.h"

#include "core/search/TextMatcher.h"
#include "core/search/TimeSearch.h"
#include "core/text/LogTime.h"

#include <algorithm>
#include <functional>
#include <utility>

namespace kestrano {

HistoryRows::HistoryRows(const CuttingRules& rules, FileSystem& files)
    : rules(rules)
    , files(files)
{ }

HistoryRows::~HistoryRows() = default;

void HistoryRows::noteKeptStart(
    const std::string& path, uint64_t readStart, bool skip, int64_t messagesBefore)
{
    if (messagesBefore <= 0)
        keptStarts.clear();
    // Those before the newest whose files' messages all left the kept ones are not needed any more.
    while (keptStarts.size() > 1 && keptStarts[1].messagesBefore <= leftTold)
        keptStarts.erase(keptStarts.begin());
    KeptStart kept;
    kept.offset = readStart;
    kept.skipFirstLine = skip;
    kept.messagesBefore = std::max<int64_t>(messagesBefore, 0);
    kept.identify(files, path); // its first bytes are read with the history
    keptStarts.push_back(std::move(kept));
}

void HistoryRows::start(const std::string& path, bool withSiblings)
{
    stop();
    history = std::make_unique<FileHistory>(path, withSiblings, files, rules);
    generation = history->getGeneration();
    logPath = path;
    leftTold = 0; // told again from the first
}

void HistoryRows::stop()
{
    history.reset();
    forgetNumbers();
}

void HistoryRows::forgetNumbers()
{
    boundarySettled = false;
    boundary = 0;
    keptFile = -1;
    leftSkipped = 0;
    leftAdded = 0;
    revealed = 0;
    found.clear();
    scanFrom = 0;
    pieces.clear();
    change = {};
    change.reset = true;
}

void HistoryRows::setFilter(const RowFilter& chosen)
{
    filter = chosen;
    revealed = 0;
    found.clear();
    scanFrom = boundary;
    change.reset = true;
}

void HistoryRows::keptLeft(int64_t messages)
{
    if (isOn() && messages > 0)
        leftTold += messages; // added once the index has them
}

// The messages [from, to) follow the history's newest: those that pass are rows at its end once the
// user revealed some history, else the first row counts them.
void HistoryRows::addAtEnd(int64_t from, int64_t to)
{
    const int64_t before = getFilteredCount();
    boundary = to;
    if (hasTextFilter()) {
        std::vector<int64_t> passing;
        for (int64_t number = from; number < to; ++number) {
            if (const Message* each = message(number); each && filter.passes(*each))
                passing.push_back(number);
        }
        for (int64_t number : passing)
            found.push_front(number);
    }
    const int64_t added = getFilteredCount() - before;
    if (added <= 0)
        return;
    if (revealed > 0) {
        revealed += added;
        change.addedAtEnd += static_cast<int32_t>(added);
    } else {
        change.header = true;
    }
}

bool HistoryRows::advance(Deadline deadline)
{
    if (!isOn())
        return false;
    const int64_t before = getFilteredCount();
    const bool wasCounted = isCounted();
    if (!keptStarts.empty() && !keptStarts.back().isHeadComplete())
        keptStarts.back().note(files, logPath); // while the log is the file identified
    bool more = history->advance(deadline);
    if (history->getGeneration() != generation) {
        // The log changed under the index; the view starts it over once it reads the change too.
        generation = history->getGeneration();
        forgetNumbers();
    }
    settleBoundary();
    if (const int64_t indexed
        = boundarySettled ? std::min(getPendingLeft(), history->getMessageCount() - boundary) : 0;
        indexed > 0) {
        leftAdded += indexed;
        addAtEnd(boundary, boundary + indexed);
    }
    if (getPendingLeft() > 0)
        more = true;
    if (boundarySettled && hasTextFilter() && scanFrom > 0 && std::chrono::steady_clock::now() < deadline)
        scanStep(deadline);
    if (boundarySettled && hasTextFilter() && scanFrom > 0)
        more = true;
    if (getFilteredCount() != before || isCounted() != wasCounted || !isCounted())
        change.header = true;
    return more;
}

void HistoryRows::settleBoundary()
{
    if (boundarySettled)
        return;
    if (keptFile < 0)
        chooseKeptStart();
    // Counted once the index judged the line at the start: it is the history's when it is skipped.
    const KeptStart* kept = keptStarts.empty() ? nullptr : &keptStarts[chosenStart];
    const uint64_t at = kept ? kept->offset + (kept->skipFirstLine ? 1 : 0) : 0;
    if (!history->hasIndexed(keptFile, at))
        return;
    boundarySettled = true;
    boundary = history->getMessageNumberAt(keptFile, at);
    leftSkipped = kept ? kept->messagesBefore : 0;
    scanFrom = boundary;
    change.header = true;
}

// Of the kept starts found in the history's files, the newest before which every message left the kept
// ones (the fewest messages counted across files), else the oldest: the kept messages of files not
// found are not in the history. With none found, the newest in the log.
void HistoryRows::chooseKeptStart()
{
    const auto log = static_cast<int32_t>(history->getFiles().size()) - 1;
    chosenStart = keptStarts.empty() ? 0 : keptStarts.size() - 1;
    keptFile = log;
    bool found = false;
    for (size_t i = 0; i < keptStarts.size(); ++i) {
        if (found && keptStarts[i].messagesBefore > leftTold)
            break;
        if (const int32_t file = history->findFile(keptStarts[i]); file >= 0) {
            chosenStart = i;
            keptFile = file;
            found = true;
        }
    }
}

int64_t HistoryRows::getPendingLeft() const
{
    return boundarySettled ? std::max<int64_t>(0, leftTold - leftSkipped) - leftAdded : leftTold;
}

bool HistoryRows::isCounted() const
{
    return boundarySettled && getPendingLeft() == 0 && (!hasTextFilter() || scanFrom == 0);
}

// Goes back from scanFrom a step at a time; the severities come from the index, so only messages
// that pass them are read.
void HistoryRows::scanStep(Deadline deadline)
{
    while (scanFrom > 0 && std::chrono::steady_clock::now() < deadline) {
        const int64_t first = std::max<int64_t>(0, scanFrom - ScanStep);
        const auto messages = read(first, scanFrom - first);
        for (size_t i = messages.size(); i-- > 0;) {
            if (filter.passes(*messages[i]))
                found.push_back(first + static_cast<int64_t>(i));
        }
        scanFrom = first;
    }
}

std::vector<std::unique_ptr<Message>> HistoryRows::read(int64_t first, int64_t count)
{
    std::vector<std::unique_ptr<Message>> messages;
    history->readMessages(first, static_cast<int32_t>(count), messages); // short when the file changed
    return messages;
}

int64_t HistoryRows::getFilteredCount() const
{
    if (!boundarySettled)
        return isOn() ? history->countPassing(filter.severities, history->getMessageCount()) : 0;
    if (hasTextFilter())
        return static_cast<int64_t>(found.size());
    return history->countPassing(filter.severities, boundary);
}

int64_t HistoryRows::numberOf(int64_t ordinal) const
{
    if (hasTextFilter())
        return found[found.size() - 1 - static_cast<size_t>(ordinal)];
    return history->findPassing(filter.severities, ordinal);
}

int64_t HistoryRows::revealedNumber(int64_t row) const
{
    if (row < 0 || row >= revealed)
        return -1;
    return numberOf(getFilteredCount() - revealed + row);
}

const Message* HistoryRows::revealedMessage(int64_t row)
{
    const int64_t number = revealedNumber(row);
    return number < 0 ? nullptr : message(number);
}

const Message* HistoryRows::message(int64_t number)
{
    const int64_t first = number - number % PieceMessages;
    auto piece = pieces.find(first);
    // A piece read at the index's end is read again once it grew.
    if (piece != pieces.end() && static_cast<int64_t>(piece->second.size()) <= number - first) {
        pieces.erase(piece);
        piece = pieces.end();
    }
    if (piece == pieces.end()) {
        // The pieces farthest from this one go first.
        while (pieces.size() >= KeptPieces) {
            auto farthest = std::abs(pieces.begin()->first - first) > std::abs(pieces.rbegin()->first - first)
                ? pieces.begin()
                : std::prev(pieces.end());
            pieces.erase(farthest);
        }
        piece = pieces.emplace(first, read(first, PieceMessages)).first;
    }
    const auto index = static_cast<size_t>(number - first);
    return index < piece->second.size() ? piece->second[index].get() : nullptr;
}

int32_t HistoryRows::reveal(int64_t rows)
{
    if (!isCounted() && !hasTextFilter())
        return 0; // the numbers of the newest history messages are not known yet
    const int64_t left = getFilteredCount() - revealed;
    const int64_t added = rows < 0 ? left : std::min(rows, left);
    if (added <= 0)
        return 0;
    revealed += added;
    change.addedAtStart += static_cast<int32_t>(added);
    change.header = true;
    return static_cast<int32_t>(added);
}

// From the oldest, the rows are those revealed since the list was told, those it was told of, then
// those that left the kept ones since.
int64_t HistoryRows::conceal(int64_t rows)
{
    const int64_t concealed = std::clamp<int64_t>(rows, 0, revealed);
    if (concealed == 0)
        return 0;
    if (!change.reset) {
        const int64_t told = revealed - change.addedAtStart - change.addedAtEnd;
        const int64_t fromStart = std::min<int64_t>(concealed, change.addedAtStart);
        const int64_t fromTold = std::min(concealed - fromStart, told);
        change.addedAtStart -= static_cast<int32_t>(fromStart);
        change.concealed += static_cast<int32_t>(fromTold);
        change.addedAtEnd -= static_cast<int32_t>(concealed - fromStart - fromTold);
        change.header = true;
    }
    revealed -= concealed;
    return concealed;
}

HistoryRows::Search HistoryRows::searchBefore(int64_t number) const
{
    Search search;
    search.next = std::min(number < 0 ? boundary : number, boundary) - 1;
    search.done = !boundarySettled || search.next < 0;
    return search;
}

HistoryRows::Search HistoryRows::searchAfter(int64_t number) const
{
    Search search;
    search.forward = true;
    search.next = number + 1;
    search.done = !boundarySettled || search.next >= boundary;
    return search;
}

HistoryRows::Search HistoryRows::countAll() const
{
    return countFrom(0);
}

HistoryRows::Search HistoryRows::countFrom(int64_t number) const
{
    Search search = searchAfter(number - 1);
    search.counts = true;
    return search;
}

// Finding goes through the index's search; counting reads the messages a step at a time.
bool HistoryRows::findStep(Search& search, const TextMatcher& matcher, Deadline deadline)
{
    if (!boundarySettled)
        search.done = true; // stopped or started anew meanwhile
    if (!search.done && !search.counts) {
        if (!search.indexSearch)
            search.indexSearch = std::make_shared<HistorySearch>(matcher,
                search.forward ? HistorySearch::Kind::Forward : HistorySearch::Kind::Backward,
                search.forward ? search.next : search.next + 1, filter.severities, filter.matcher,
                filter.hides);
        if (!history->search(*search.indexSearch, deadline))
            return false;
        const int64_t number = search.indexSearch->getResult();
        search.found = number >= 0 && number < boundary ? number : -1; // the kept ones are not the history's
        search.done = true;
        return true;
    }
    while (!search.done) {
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        const int64_t first = search.forward ? search.next : std::max<int64_t>(0, search.next - ScanStep + 1);
        const int64_t end = search.forward ? std::min(boundary, search.next + ScanStep) : search.next + 1;
        const auto messages = read(first, end - first);
        const auto count = static_cast<int64_t>(messages.size());
        for (int64_t i = 0; i < count; ++i) {
            const int64_t at = search.forward ? i : count - 1 - i;
            const Message& each = *messages[static_cast<size_t>(at)];
            if (!filter.passes(each) || !matcher.matches(each))
                continue;
            if (search.counts) {
                ++search.count;
            } else {
                search.found = first + at;
                search.done = true;
                return true;
            }
        }
        search.next = search.forward ? end : first - 1;
        search.done = search.forward ? search.next >= boundary : search.next < 0;
        if (count < end - first)
            search.done = true; // the file is shorter than indexed: it changed
    }
    return true;
}

int64_t HistoryRows::revealDownTo(int64_t number)
{
    if (!boundarySettled || number < 0 || number >= boundary)
        return -1;
    int64_t ordinal = 0; // among the filtered messages
    if (hasTextFilter()) {
        // found holds the numbers newest first.
        const auto at = std::lower_bound(found.begin(), found.end(), number, std::greater<int64_t>());
        if (at == found.end() || *at != number)
            return -1;
        ordinal = static_cast<int64_t>(found.end() - at) - 1;
    } else {
        ordinal = history->countPassing(filter.severities, number);
    }
    const int64_t needed = getFilteredCount() - ordinal;
    if (needed > revealed)
        reveal(needed - revealed);
    return revealed - needed;
}

int64_t HistoryRows::firstAtOrAfterTime(int64_t microseconds)
{
    if (!isCounted())
        return -1;
    const TimeAt timeAt = [this](int64_t ordinal) {
        const Message* each = message(numberOf(ordinal));
        return each ? each->getTime() : LogTime::None;
    };
    const int64_t ordinal = firstAtOrAfter(timeAt, getFilteredCount(), microseconds);
    return ordinal < 0 ? -1 : numberOf(ordinal);
}

HistoryRows::Change HistoryRows::takeChange()
{
    return std::exchange(change, Change {});
}

} // namespace kestrano
