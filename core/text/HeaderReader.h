// Reads the headers of a log's lines in turn as its LogLayout does, faster where a line shares the
// shape of a recent one (the same bytes before its level word, digits aside) and its level word is
// one seen lately: most lines of a log begin alike and state one of a few levels. (With SSE2; without,
// it reads as the layout does.)
#pragma once

#include "core/text/KeywordLists.h"
#include "core/text/KeywordScan.h"
#include "core/text/LogLayout.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace kestrano {

class HeaderReader {
public:
    // The layout (and the keywords, when given) must outlive the reader, unchanged.
    explicit HeaderReader(const LogLayout& layout, const KeywordLists* keywords = nullptr);

    // The level word of the line last read, where it was one lately seen with a blank after it: where
    // it starts (-1 otherwise), its length and the severity the keywords give it alone.
    struct WordSeen {
        int32_t at = -1;
        int32_t length = 0;
        int32_t keywordSeverity = Severity::None;
    };
    const WordSeen& getLastWord() const { return lastWord; }

    bool isRecognised() const { return layout.isRecognised(); }
    // As LogLayout::read with its time deferred.
    void read(const char* line, int32_t length, LineHeader& header, bool deferTime = true)
    {
        lastWord.at = -1;
#if defined(__SSE2__)
        if (layout.getKind() != LogLayout::Kind::Text || !deferTime || length <= ShapeBytes) {
            layout.read(line, length, header, deferTime);
            return;
        }
        header = {};
        const __m128i low = load(line);
        const __m128i high = load(line + 16);
        const uint32_t digits = digitsOf(low) | digitsOf(high) << 16;
        for (int32_t i = 0; i < 2; ++i) {
            const Shape& shape = shapes[i];
            const uint32_t equal = maskOf(_mm_cmpeq_epi8(low, load(shape.bytes)))
                | maskOf(_mm_cmpeq_epi8(high, load(shape.bytes + 16))) << 16;
            // Digits where the shape has digits, the very same bytes elsewhere.
            if (shape.window == 0 || ((digits ^ shape.digits) | (~equal & ~shape.digits)) & shape.window)
                continue;
            // The blanks before the level word end where the word starts.
            if (shape.wordAt >= 0 && (line[shape.wordAt] == ' ' || line[shape.wordAt] == '\t'))
                break;
            older = 1 - i;
            header.time = shape.time;
            header.present = shape.present;
            if (shape.wordAt >= 0) {
                header.severity = severityOfWord(line, shape.wordAt, line + length);
                header.present = header.present || header.severity != Severity::None;
            }
            return;
        }
        readNewShape(line, length, digits, header);
#else
        layout.read(line, length, header, deferTime);
#endif
    }

private:
    static constexpr int32_t ShapeBytes = 32;
    // The start of a line whose header was read, and what it gave up to its level word.
    struct Shape {
        uint8_t bytes[ShapeBytes];
        uint32_t digits; // of the bytes within the window
        uint32_t window; // the bytes the outcome depends on; none while unused
        int32_t wordAt; // -1: no level word
        int64_t time;
        bool present;
    };
    // A level word up to the blank after it, its severity, and the keywords'.
    struct Word {
        uint64_t head;
        uint64_t tail;
        int32_t length;
        int32_t severity;
        int32_t keywordSeverity;
    };
    static constexpr int32_t WordSlots = 256;

#if defined(__SSE2__)
    static __m128i load(const void* p)
    {
        return _mm_loadu_si128(static_cast<const __m128i*>(p));
    }
    static uint32_t maskOf(__m128i bytes)
    {
        return static_cast<uint32_t>(_mm_movemask_epi8(bytes));
    }
    // Bit i: byte i of the sixteen is a digit.
    static uint32_t digitsOf(__m128i bytes)
    {
        const __m128i offset = _mm_sub_epi8(bytes, _mm_set1_epi8('0'));
        return maskOf(_mm_cmpeq_epi8(_mm_min_epu8(offset, _mm_set1_epi8(9)), offset));
    }

    // The severity of the level word at line + at: with a blank after it within sixteen bytes, that of
    // the same bytes lately seen, as the word's outcome depends on nothing past that blank.
    int32_t severityOfWord(const char* line, int32_t at, const char* end)
    {
        const char* word = line + at;
        if (end - word <= 16)
            return severityOfHeaderWord(word, end);
        const __m128i bytes = load(word);
        const uint32_t blanks = maskOf(_mm_or_si128(
            _mm_cmpeq_epi8(bytes, _mm_set1_epi8(' ')), _mm_cmpeq_epi8(bytes, _mm_set1_epi8('\t'))));
        if (blanks == 0)
            return severityOfHeaderWord(word, end);
        const int32_t length = __builtin_ctz(blanks);
        uint64_t head;
        uint64_t tail;
        std::memcpy(&head, word, 8);
        std::memcpy(&tail, word + 8, 8);
        head &= LowBits[static_cast<size_t>(8 * std::min(length, 8))];
        tail &= LowBits[static_cast<size_t>(8 * std::max(length - 8, 0))];
        Word& slot = words[((head * 0x9E3779B97F4A7C15ull) ^ (tail * 0xC2B2AE3D27D4EB4Full)) >> 56];
        if (slot.length != length || slot.head != head || slot.tail != tail) [[unlikely]]
            learnWord(slot, word, end, head, tail, length);
        lastWord = {at, length, slot.keywordSeverity};
        return slot.severity;
    }
#endif
    void learnWord(
        Word& slot, const char* word, const char* end, uint64_t head, uint64_t tail, int32_t length);

    void readNewShape(const char* line, int32_t length, uint32_t digits, LineHeader& header);

    const LogLayout& layout;
    const KeywordLists* keywords;
    WordSeen lastWord;
    Shape shapes[2] {};
    int32_t older = 0; // the shape to replace next
    Word words[WordSlots];
};

} // namespace kestrano
