// haspel::AppBase: the base of the program's application object. It owns the configuration for the
// object's lifetime: loaded at construction, saved at destruction.
#pragma once

#include "config/Config.h"
#include "config/Path.h"

#include <memory>

namespace haspel {

// Supplied by the application: the program's name, which names the last folder of the configuration
// directory.
const char* GetApplicationName();

class AppBase {
public:
    // Loads the configuration file from the configuration directory, else the one beside the program;
    // with neither the configuration starts empty. A file that exists and was not loaded is noted in
    // GetLoadProblem.
    AppBase();
    // Saves the configuration and destroys it; a failed save is reported on standard error and in the
    // diagnostic log.
    virtual ~AppBase();
    AppBase(const AppBase&) = delete;
    AppBase& operator=(const AppBase&) = delete;

    ConfigSection* GetConfigRoot() { return configuration ? &configuration->GetRoot() : nullptr; }
    // $XDG_CONFIG_HOME/Tormalind/<application name>, created when missing; when it can't be, the
    // program's own folder.
    Path GetConfigurationDirectory() const;
    // The configuration file an application object would load, named without loading it; of its
    // folders only $XDG_CONFIG_HOME may be created (a second instance asks before it decides to run).
    static Path GetConfigurationFilePath();
    bool SaveConfiguration();
    // The configuration file that exists but could not be read or parsed at start; none when the
    // configuration loaded or there was no file.
    const ConfigProblem& GetLoadProblem() const { return loadProblem; }

private:
    std::unique_ptr<Config> configuration;
    ConfigProblem loadProblem;
};

} // namespace haspel
