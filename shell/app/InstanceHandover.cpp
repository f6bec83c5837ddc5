#include "shell/app/InstanceHandover.h"

#include "core/sources/SourceRegistry.h"
#include "foundation/AppBase.h"
#include "shell/app/ErrorGuard.h"
#include "shell/app/Kestrano.h"
#include "shell/windows/MainFrame.h"

#include <cstdlib>
#include <unistd.h>
#include <utility>

namespace kestrano {

std::unique_ptr<SessionInstance> sessionInstance()
{
    return std::make_unique<SessionInstance>(
        haspel::AppBase::GetConfigurationFilePath().ToString().GetText());
}

bool handOverToRunningInstance(SessionInstance& instance, const std::vector<std::string>& files)
{
    SessionInstance::Request request;
    for (const std::string& file : files) {
        // Standard input goes along as a descriptor, once; a terminal stays with its shell, and this
        // process reads it on its own.
        if (file == StandardInputName) {
            if (isatty(STDIN_FILENO))
                return false;
            if (request.stream >= 0)
                continue;
            request.stream = STDIN_FILENO;
        }
        request.files.emplace_back(logName(file.c_str()).GetText());
    }
    request.activationToken = launcherActivationToken();
    return instance.claimOrHandOver(request) == SessionInstance::Role::HandedOver;
}

std::string launcherActivationToken()
{
    for (const char* name : {"XDG_ACTIVATION_TOKEN", "DESKTOP_STARTUP_ID"})
        if (const char* token = std::getenv(name); token && *token)
            return token;
    return {};
}

std::unique_ptr<InstanceServer> serveLaterInstances(SessionInstance& instance, Kestrano& app)
{
    return std::make_unique<InstanceServer>(instance, [&app](const SessionInstance::Request& request) {
        std::vector<std::string> files;
        int stream = request.stream;
        for (const std::string& file : request.files) {
            if (file != StandardInputName)
                files.push_back(file);
            else if (stream >= 0)
                files.push_back(adoptStream(std::exchange(stream, -1)));
        }
        if (stream >= 0)
            close(stream);
        runGuarded(app.GetMainFrame(), [&] { app.OpenHandedFiles(files, request.activationToken); });
    });
}

} // namespace kestrano
