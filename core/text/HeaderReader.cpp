#include "core/text/HeaderReader.h"

namespace kestrano {

HeaderReader::HeaderReader(const LogLayout& layout, const KeywordLists* keywords)
    : layout(layout)
    , keywords(keywords)
{
    for (Word& word : words)
        word = {0, 0, -1, Severity::None, Severity::None};
}

// Reads a header no recent shape fits, and keeps its shape in place of the older one where lines alike
// would give the same: where they go on past the bytes its outcome depends on.
void HeaderReader::readNewShape(const char* line, int32_t length, uint32_t digits, LineHeader& header)
{
    LogLayout::Reach reach;
    layout.readText(line, line + length, header, true, &reach);
    if (reach.extent <= 0 || reach.extent > ShapeBytes || reach.extent >= length)
        return;
    Shape& shape = shapes[older];
    std::memcpy(shape.bytes, line, ShapeBytes);
    shape.window = reach.extent == ShapeBytes ? ~uint32_t(0) : (uint32_t(1) << reach.extent) - 1;
    shape.digits = digits & shape.window;
    shape.wordAt = reach.wordAt;
    shape.time = header.time;
    shape.present = reach.present;
    older = 1 - older;
}

[[gnu::noinline]] void HeaderReader::learnWord(
    Word& slot, const char* word, const char* end, uint64_t head, uint64_t tail, int32_t length)
{
    slot = {head, tail, length, severityOfHeaderWord(word, end),
        keywords ? keywords->classify(word, length) : Severity::None};
}

} // namespace kestrano
