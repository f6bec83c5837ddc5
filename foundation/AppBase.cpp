#include "foundation/AppBase.h"

#include "config/ApplicationPath.h"
#include "foundation/Exception.h"
#include "foundation/LogLevel.h"

#include <cstdio>
#include <string>

namespace haspel {

AppBase::AppBase()
    : configuration(new Config)
{
    const bool loaded = configuration->LoadFromDirectory(GetConfigurationDirectory());
    loadProblem = configuration->GetProblem(); // also when the file's ".old" copy was loaded
    if (loaded)
        return;
    if (!configuration->LoadFromApplicationDirectory() && !loadProblem)
        loadProblem = configuration->GetProblem();
}

AppBase::~AppBase()
{
    if (!configuration)
        return;
    try {
        if (SaveConfiguration())
            return;
    } catch (const Exception&) {
        return; // a program path without a file name: nothing to save to
    }
    const std::string text = Describe(configuration->GetProblem());
    const Path program = GetApplicationPath();
    const char* name = program.GetLastComponent();
    std::fprintf(stderr, "%s: %s\n", name ? name : GetApplicationName(), text.c_str());
    if (const ExceptionSink log = GetExceptionSink())
        log(__FILE__, __LINE__, static_cast<int32_t>(LogLevel::Error), text.c_str());
}

Path AppBase::GetConfigurationDirectory() const
{
    Path directory;
    if (SetToConfigurationFolder(directory, GetApplicationName(), true) && directory.MakeDirectories())
        return directory;
    return GetApplicationDirectory();
}

Path AppBase::GetConfigurationFilePath()
{
    Path directory;
    if (!SetToConfigurationFolder(directory, GetApplicationName(), true))
        directory = GetApplicationDirectory();
    return CreateApplicationLikePath(directory, "cfg");
}

bool AppBase::SaveConfiguration()
{
    return configuration->SaveToDirectory(GetConfigurationDirectory());
}

} // namespace haspel
