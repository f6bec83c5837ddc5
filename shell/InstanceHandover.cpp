#include "shell/InstanceHandover.h"

#include "core/FullPath.h"
#include "foundation/AppBase.h"
#include "shell/ErrorGuard.h"
#include "shell/Kestrano.h"
#include "shell/MainFrame.h"

namespace kestrano {

std::unique_ptr<SessionInstance> sessionInstance()
{
    return std::make_unique<SessionInstance>(
        haspel::AppBase::GetConfigurationFilePath().ToString().GetText());
}

bool handOverToRunningInstance(SessionInstance& instance, const std::vector<std::string>& files)
{
    std::vector<std::string> absolute;
    for (const std::string& file : files)
        absolute.emplace_back(makeFullPath(file.c_str()).GetText());
    return instance.claimOrHandOver(absolute) == SessionInstance::Role::HandedOver;
}

std::unique_ptr<InstanceServer> serveLaterInstances(SessionInstance& instance, Kestrano& app)
{
    return std::make_unique<InstanceServer>(instance, [&app](const std::vector<std::string>& files) {
        runGuarded(app.GetMainFrame(), [&] { app.OpenHandedFiles(files); });
    });
}

} // namespace kestrano
