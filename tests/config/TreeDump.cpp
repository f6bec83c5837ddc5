#include "tests/config/TreeDump.h"

#include <map>
#include <memory>

namespace kestrano::test {

namespace {

// Appends TEXT as "LENGTH:TEXT". Appending, not chains of operator+: GCC 12 at -O3 warns falsely
// (-Wrestrict) inside std::string's operator+.
void AppendField(std::string& dump, const char* text)
{
    const std::string bytes(text);
    dump.append(std::to_string(bytes.size())).append(1, ':').append(bytes);
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
        dump.append(1, 'P');
        AppendField(dump, name.c_str());
        dump.append(1, '=');
        AppendField(dump, value.text().c_str());
        dump.append(1, '\n');
    }
    for (const auto& [name, child] : ByName(section.GetSections())) {
        dump.append(1, 'S');
        AppendField(dump, name.c_str());
        dump.append("{\n").append(DumpTree(*child)).append("}\n");
    }
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
