#include "shell/app/InstanceHandover.h"

#include "core/sources/SourceRegistry.h"
#include "foundation/AppBase.h"
#include "shell/app/ErrorGuard.h"
#include "shell/app/Kestrano.h"
#include "shell/windows/MainFrame.h"

namespace kestrano {

std::unique_ptr<SessionInstance> sessionInstance()
{
    return std::make_unique<SessionInstance>(
        haspel::AppBase::GetConfigurationFilePath().ToString().GetText());
}

bool handOverToRunningInstance(SessionInstance& instance, const std::vector<std::string>& files)
{
    std::vector<std::string> names;
    for (const std::string& file : files) {
        // Only this process can read its standard input: it runs on its own.
        if (file == StandardInputName)
            return false;
        names.emplace_back(logName(file.c_str()).GetText());
    }
    return instance.claimOrHandOver(names) == SessionInstance::Role::HandedOver;
}

std::unique_ptr<InstanceServer> serveLaterInstances(SessionInstance& instance, Kestrano& app)
{
    return std::make_unique<InstanceServer>(instance, [&app](const std::vector<std::string>& files) {
        runGuarded(app.GetMainFrame(), [&] { app.OpenHandedFiles(files); });
    });
}

} // namespace kestrano
