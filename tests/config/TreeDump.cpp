#include "tests/config/TreeDump.h"

#include <map>
#include <memory>

namespace kestrano::test {

namespace {

std::string Field(const char* text)
{
    const std::string bytes(text);
    return std::to_string(bytes.size()) + ":" + bytes;
}

template <class T> std::map<std::string, const T*> ByName(const haspel::StringKeyHashMap<T>& map)
{
    std::map<std::string, const T*> sorted;
    const std::unique_ptr<haspel::PointeredList> names(map.GetKeys());
    for (const haspel::PointeredListItem* item = names->GetHead(); item; item = item->GetNext()) {
        const char* name = static_cast<const char*>(item->GetPointer());
        sorted[name] = map.Get(name);
    }
    return sorted;
}

} // namespace

std::string DumpTree(const haspel::ConfigSection& section)
{
    std::string dump;
    for (const auto& [name, parameter] : ByName(section.GetParameters())) {
        StringWriter value;
        parameter->Write(value);
        dump += "P" + Field(name.c_str()) + "=" + Field(value.text().c_str()) + "\n";
    }
    for (const auto& [name, child] : ByName(section.GetSections()))
        dump += "S" + Field(name.c_str()) + "{\n" + DumpTree(*child) + "}\n";
    return dump;
}

bool StringWriter::WriteString(const char* text)
{
    for (; *text; ++text) {
        if (!WriteChar(*text))
            return false;
    }
    return true;
}

bool StringWriter::WriteChar(char c)
{
    if (failed_) {
        ++writesAfterFailure_;
        return false;
    }
    if (budget_ >= 0 && static_cast<long>(text_.size()) >= budget_) {
        failed_ = true;
        return false;
    }
    text_ += c;
    return true;
}

std::string WriteTree(const haspel::ConfigSection& section)
{
    StringWriter writer;
    section.Write(writer, 0);
    return writer.text();
}

} // namespace kestrano::test
