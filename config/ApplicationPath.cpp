#include "config/ApplicationPath.h"

#include "foundation/Exception.h"

#include <climits>
#include <cstdio>
#include <cstring>
#include <memory>
#include <unistd.h>

namespace haspel {

namespace {

struct ApplicationArguments {
    ArrayList<String> texts;
    bool known = false;
};

ApplicationArguments& Arguments()
{
    static ApplicationArguments arguments;
    return arguments;
}

void AddArgument(const char* text)
{
    std::unique_ptr<String> copy(new String(text));
    Arguments().texts.Add(copy.get());
    copy.release();
}

// The NUL-separated arguments of this process, as the kernel keeps them.
void ReadOwnCommandLine()
{
    const std::unique_ptr<std::FILE, decltype(&std::fclose)> file(
        std::fopen("/proc/self/cmdline", "rbe"), std::fclose);
    if (!file)
        return;
    String argument;
    for (int c = std::fgetc(file.get()); c != EOF; c = std::fgetc(file.get())) {
        if (c != '\0') {
            argument.AppendChar(static_cast<char>(c));
            continue;
        }
        AddArgument(argument.GetText());
        argument.Assign("");
    }
    if (!argument.IsEmpty())
        AddArgument(argument.GetText());
}

ApplicationArguments& KnownArguments()
{
    ApplicationArguments& arguments = Arguments();
    if (!arguments.known) {
        arguments.known = true;
        ReadOwnCommandLine();
    }
    return arguments;
}

// The folder of the running executable, or an empty path when the system doesn't tell.
Path ExecutableDirectory()
{
    char target[PATH_MAX];
    const ssize_t length = readlink("/proc/self/exe", target, sizeof target - 1);
    if (length <= 0)
        return Path();
    target[length] = '\0';
    Path directory(target);
    directory.RemoveLast();
    return directory;
}

constexpr int32_t kIllegalProgramPathLine = 875;

} // namespace

void SetApplicationArguments(int argc, const char* const* argv)
{
    ApplicationArguments& arguments = Arguments();
    arguments.texts.Clear();
    arguments.known = argc > 0 && argv;
    for (int i = 0; arguments.known && i < argc; ++i)
        AddArgument(argv[i] ? argv[i] : "");
}

int32_t GetApplicationArgumentCount()
{
    return KnownArguments().texts.GetCount();
}

const char* GetApplicationArgument(int32_t index)
{
    const String* argument = KnownArguments().texts.Get(index);
    return argument ? argument->GetText() : nullptr;
}

Path GetApplicationPath()
{
    const char* program = GetApplicationArgument(0);
    if (!program || !*program)
        return Path();
    if (program[0] == '/')
        return Path(program);
    Path path;
    if (std::strchr(program, '/')) {
        char workingDirectory[PATH_MAX];
        if (getcwd(workingDirectory, sizeof workingDirectory))
            path.Parse(workingDirectory);
    } else {
        path = ExecutableDirectory();
    }
    const Path relative(program);
    for (int32_t i = 0; i < relative.GetComponentCount(); ++i)
        path.Append(relative.GetComponent(i));
    return path;
}

Path GetApplicationDirectory()
{
    Path directory = GetApplicationPath();
    directory.RemoveLast();
    return directory;
}

Path GetDocumentsOrApplicationDirectory()
{
    Path documents;
    if (documents.SetToSpecialFolder(SpecialFolder::Documents, true))
        return documents;
    return GetApplicationDirectory();
}

bool SetToConfigurationFolder(Path& folder, const char* applicationName, bool createBase)
{
    Path found;
    if (!found.SetToSpecialFolder(SpecialFolder::LocalApplicationData, createBase))
        return false;
    found.Append(kVendorFolderName);
    found.Append(applicationName);
    folder.Assign(found);
    return true;
}

void SetExtension(String& name, const char* extension)
{
    if (extension[0] == '.')
        ++extension;
    const int32_t dot = name.IndexOf('.');
    if (dot >= 0)
        name.Truncate(dot);
    name.AppendChar('.');
    name.Append(extension);
}

Path CreateApplicationLikePath(const Path& directory, const char* extension)
{
    Path path(directory);
    CreateApplicationLikePathInternal(path, extension);
    return path;
}

void CreateApplicationLikePathInternal(Path& path, const char* extension)
{
    const Path program = GetApplicationPath();
    const char* programName = program.GetLastComponent();
    if (!programName)
        throw EIllegalState("The __argv[0] does not denote a valid path",
            "haspel::Path::CreateApplicationLikePathInternal", kIllegalProgramPathLine);
    String name(programName);
    SetExtension(name, extension);
    path.Append(name.GetText());
}

} // namespace haspel
