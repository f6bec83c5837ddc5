#include "foundation/AppBase.h"

#include "config/ApplicationPath.h"

namespace haspel {

AppBase::AppBase()
    : configuration(new Config)
{
    if (!configuration->LoadFromDirectory(GetConfigurationDirectory()))
        configuration->LoadFromApplicationDirectory();
}

AppBase::~AppBase()
{
    if (!configuration)
        return;
    try {
        SaveConfiguration();
    } catch (const Exception&) {
        // A program path without a file name: the save fails like any other, unreported.
    }
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
