// Loading the configuration file and replacing it safely on save.
#include "config/ApplicationPath.h"
#include "config/Config.h"

#include "foundation/Exception.h"

#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace haspel {

namespace {

constexpr const char* kExtension = "cfg";

using Buffer = std::unique_ptr<char, decltype(&std::free)>;
using Stream = std::unique_ptr<std::FILE, decltype(&std::fclose)>;

String WithSuffix(const char* fileName, const char* suffix)
{
    String name(fileName);
    name.Append(suffix);
    return name;
}

// The whole stream with a NUL after it; an empty buffer when reading fails.
Buffer ReadAll(std::FILE* file)
{
    std::size_t capacity = 4096;
    std::size_t used = 0;
    Buffer buffer(static_cast<char*>(AllocateOrThrow(capacity)), std::free);
    for (;;) {
        used += std::fread(buffer.get() + used, 1, capacity - 1 - used, file);
        if (used < capacity - 1)
            break;
        capacity *= 2;
        char* grown = static_cast<char*>(ReallocateOrThrow(buffer.get(), capacity));
        (void)buffer.release();
        buffer.reset(grown);
    }
    if (std::ferror(file))
        return Buffer(nullptr, std::free);
    buffer.get()[used] = '\0';
    return buffer;
}

// Puts temporary in the place of fileName; a previous file becomes backup. A hard link makes the backup
// without a moment in which no configuration file exists; where links can't be made, it is renamed.
bool ReplaceKeepingBackup(const char* fileName, const char* temporary, const char* backup)
{
    struct stat status;
    if (stat(fileName, &status) == 0) {
        unlink(backup);
        if (link(fileName, backup) != 0 && rename(fileName, backup) != 0)
            return false;
    }
    return rename(temporary, fileName) == 0;
}

// Makes the renames inside the file's folder durable; the files themselves are synced already.
void SyncFolderOf(const char* fileName)
{
    Path folder(fileName);
    folder.RemoveLast();
    const String name = folder.ToString();
    const int descriptor = open(name.IsEmpty() ? "." : name.GetText(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (descriptor < 0)
        return;
    fsync(descriptor);
    close(descriptor);
}

} // namespace

bool Config::LoadFile(const char* fileName)
{
    Stream file(std::fopen(fileName, "rbe"), std::fclose);
    if (!file)
        file.reset(std::fopen(WithSuffix(fileName, ".old").GetText(), "rbe"));
    if (!file)
        return false;
    const Buffer text = ReadAll(file.get());
    file.reset();
    return text && ParseText(text.get());
}

bool Config::SaveFile(const char* fileName)
{
    ExchangeAll(true);
    const String temporary = WithSuffix(fileName, ".new");
    const String backup = WithSuffix(fileName, ".old");
    FileWriter writer;
    if (!writer.Open(temporary.GetText()))
        return false;
    if (!root.Write(writer, 0) || !writer.Close())
        return false;
    if (!ReplaceKeepingBackup(fileName, temporary.GetText(), backup.GetText()))
        return false;
    SyncFolderOf(fileName);
    return true;
}

bool Config::LoadFromDirectory(const Path& directory)
{
    return LoadFile(CreateApplicationLikePath(directory, kExtension).ToString().GetText());
}

bool Config::SaveToDirectory(const Path& directory)
{
    return SaveFile(CreateApplicationLikePath(directory, kExtension).ToString().GetText());
}

bool Config::LoadFromApplicationDirectory()
{
    if (!GetApplicationPath().GetLastComponent())
        return false;
    return LoadFromDirectory(GetApplicationDirectory());
}

} // namespace haspel
