#include "tests/config/ParseProperties.h"

#include "config/Config.h"
#include "tests/config/TreeDump.h"

#include <vector>

namespace kestrano::test {

namespace {

// Reads length-prefixed pieces and small numbers off the input.
class Reader {
public:
    Reader(const uint8_t* data, std::size_t size)
        : data_(data)
        , size_(size)
    { }
    bool atEnd() const { return position_ >= size_; }
    uint8_t byte() { return atEnd() ? 0 : data_[position_++]; }
    std::string piece()
    {
        std::string text;
        for (int length = byte() % 12; length > 0 && !atEnd(); --length) {
            const char c = static_cast<char>(byte());
            text += c == '\0' ? '0' : c;
        }
        return text;
    }

private:
    const uint8_t* data_;
    std::size_t size_;
    std::size_t position_ = 0;
};

// Spaces at a value's ends are not kept by the file format, so the built values have none.
std::string WithoutEdgeSpaces(const std::string& text)
{
    const std::size_t first = text.find_first_not_of(' ');
    return first == std::string::npos ? "" : text.substr(first, text.find_last_not_of(' ') - first + 1);
}

void BuildTree(Reader& reader, haspel::ConfigSection& root)
{
    std::vector<haspel::ConfigSection*> open {&root};
    while (!reader.atEnd()) {
        haspel::ConfigSection& current = *open.back();
        switch (reader.byte() % 5) {
        case 0:
            current.GetParameter(reader.piece().c_str()).SetString(WithoutEdgeSpaces(reader.piece()).c_str());
            break;
        case 1:
            current.GetParameter(reader.piece().c_str()).SetInt(static_cast<int8_t>(reader.byte()) * 1000003);
            break;
        case 2:
            current.GetParameter(reader.piece().c_str()).SetBool(reader.byte() & 1);
            break;
        case 3:
            if (open.size() < 50)
                open.push_back(&current.GetSection(reader.piece().c_str()));
            break;
        default:
            if (open.size() > 1)
                open.pop_back();
            break;
        }
    }
}

std::string CheckRoundTrip(const haspel::ConfigSection& tree, const char* what)
{
    const std::string written = WriteTree(tree);
    haspel::Config read;
    if (!read.ParseText(written.c_str()))
        return std::string(what) + ": the written text does not parse:\n" + written;
    if (DumpTree(read.GetRoot()) != DumpTree(tree))
        return std::string(what) + ": the written text reads back as another tree:\n" + written;
    return "";
}

} // namespace

std::string CheckParseProperties(const uint8_t* data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    haspel::Config parsed;
    if (!parsed.ParseText(text.c_str())) {
        if (parsed.GetRoot().GetParameters().GetSize() != 0 || parsed.GetRoot().GetSections().GetSize() != 0)
            return "a rejected text left entries behind";
    } else {
        // One write and read settles what the format can't keep (spaces at a value's ends, values of
        // spaces only); from then on a tree must survive writing and reading unchanged.
        haspel::Config settled;
        if (!settled.ParseText(WriteTree(parsed.GetRoot()).c_str()))
            return "the written form of a parsed text does not parse";
        std::string failure = CheckRoundTrip(settled.GetRoot(), "parsed tree");
        if (!failure.empty())
            return failure;
    }
    haspel::Config built;
    Reader reader(data, size);
    BuildTree(reader, built.GetRoot());
    return CheckRoundTrip(built.GetRoot(), "built tree");
}

} // namespace kestrano::test
