// The file syntax as written: escaping, indentation, and the layout of a section's content.
#include "config/ConfigWriter.h"
#include "config/ConfigProblem.h"
#include "config/ConfigSection.h"

#include "foundation/ContainingList.h"

#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace haspel {

namespace {

// The escape letter of a byte that needs one, or 0.
char EscapeOf(char c)
{
    switch (c) {
    case '\t':
        return 't';
    case '\n':
        return 'n';
    case '\f':
        return 'f';
    case '\r':
        return 'r';
    case '/':
    case '<':
    case '>':
    case '\\':
        return c;
    default:
        return '\0';
    }
}

// The map's names in writing order: case-insensitive, equal names in the map's own order.
template <class T> std::unique_ptr<PointeredList> SortedNames(const StringKeyHashMap<T>& map)
{
    std::unique_ptr<PointeredList> names(map.GetKeys());
    names->Sort(CompareTextsIgnoringCase);
    return names;
}

const char* NameOf(const PointeredListItem* item)
{
    return static_cast<const char*>(item->GetPointer());
}

} // namespace

ConfigFileWriter::~ConfigFileWriter()
{
    if (stream)
        std::fclose(stream);
}

bool ConfigFileWriter::Open(const char* fileName, unsigned mode)
{
    if (stream)
        std::fclose(stream);
    stream = nullptr;
    const int descriptor = open(fileName, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, mode);
    if (descriptor < 0)
        return false;
    // Only a regular file is ours to change; the name may lead to a device.
    struct stat status;
    if (fstat(descriptor, &status) == 0 && S_ISREG(status.st_mode) && (status.st_mode & 07777) != mode
        && fchmod(descriptor, mode) != 0) {
        close(descriptor);
        return false;
    }
    stream = fdopen(descriptor, "w");
    if (!stream)
        close(descriptor);
    return stream != nullptr;
}

bool ConfigFileWriter::WriteString(const char* text)
{
    return stream && !SavingInterrupted() && std::fputs(text, stream) >= 0;
}

bool ConfigFileWriter::WriteChar(char c)
{
    return stream && !SavingInterrupted() && std::fputc(static_cast<unsigned char>(c), stream) != EOF;
}

bool ConfigFileWriter::Close()
{
    if (!stream)
        return false;
    bool written = std::fflush(stream) == 0 && !std::ferror(stream);
    written = written && fsync(fileno(stream)) == 0;
    written = std::fclose(stream) == 0 && written;
    stream = nullptr;
    return written;
}

bool WriteEscaped(ConfigWriter& writer, const char* text)
{
    if (*text == '\0')
        return writer.WriteString("\\0");
    for (; *text; ++text) {
        const char escape = EscapeOf(*text);
        const bool written
            = escape ? writer.WriteChar('\\') && writer.WriteChar(escape) : writer.WriteChar(*text);
        if (!written)
            return false;
    }
    return true;
}

bool WriteIndent(ConfigWriter& writer, int32_t depth)
{
    for (int32_t i = 0; i < depth; ++i) {
        if (!writer.WriteString("\t"))
            return false;
    }
    return true;
}

bool ConfigSection::Write(ConfigWriter& writer, int32_t depth) const
{
    const std::unique_ptr<PointeredList> parameterNames = SortedNames(parameters);
    for (const PointeredListItem* item = parameterNames->GetHead(); item; item = item->GetNext()) {
        const bool written = WriteIndent(writer, depth) && writer.WriteString("<")
            && WriteEscaped(writer, NameOf(item)) && writer.WriteString(">")
            && parameters.Get(NameOf(item))->Write(writer) && writer.WriteString("</>\n");
        if (!written)
            return false;
    }
    if (parameters.GetSize() > 0 && sections.GetSize() > 0 && !writer.WriteString("\n"))
        return false;
    const std::unique_ptr<PointeredList> sectionNames = SortedNames(sections);
    for (const PointeredListItem* item = sectionNames->GetHead(); item; item = item->GetNext()) {
        const bool written = (item == sectionNames->GetHead() || writer.WriteString("\n"))
            && WriteIndent(writer, depth) && writer.WriteString("<") && WriteEscaped(writer, NameOf(item))
            && writer.WriteString(">\n") && sections.Get(NameOf(item))->Write(writer, depth + 1)
            && WriteIndent(writer, depth) && writer.WriteString("</") && WriteEscaped(writer, NameOf(item))
            && writer.WriteString(">\n");
        if (!written)
            return false;
    }
    return true;
}

} // namespace haspel
