#include "tail/TailSettings.h"

#include "config/ApplicationPath.h"
#include "config/Config.h"
#include "core/settings/MonitorSettings.h"
#include "core/settings/SettingsStore.h"
#include "core/settings/SettingsTable.h"

#include <cerrno>
#include <cstdio>

namespace kestrano::tail {
namespace {

// The desktop program's file name, whatever this program's file is called.
const char* const DesktopConfigurationName = "kestrano.cfg";

void reportProblem(const haspel::ConfigProblem& problem)
{
    if (problem)
        std::fprintf(stderr, "kestrano-tail: %s\n", haspel::Describe(problem).c_str());
}

} // namespace

std::string desktopConfigurationFile()
{
    haspel::Path path;
    if (!haspel::SetToConfigurationFolder(path, haspel::kApplicationName, false))
        return {};
    path.Append(DesktopConfigurationName);
    return path.ToString().GetText();
}

bool loadTailSettings(const TailOptions& options, haspel::Config& config, MonitorSettings& settings)
{
    if (options.configFile) {
        const bool loaded = config.LoadFile(options.configFile->c_str());
        haspel::ConfigProblem problem = config.GetProblem();
        if (!loaded && !problem) { // missing
            problem.kind = haspel::ConfigProblem::Kind::Unreadable;
            problem.file = *options.configFile;
            problem.error = ENOENT;
        }
        reportProblem(problem);
        if (!loaded)
            return false;
    } else {
        // As the desktop program loads: its folder's file (or that file's ".old" copy), else the file
        // beside the program, else nothing. A file there that is not loaded is said, once.
        const std::string file = desktopConfigurationFile();
        if (!file.empty() && config.LoadFile(file.c_str())) {
            reportProblem(config.GetProblem());
        } else {
            haspel::ConfigProblem problem = config.GetProblem();
            if (haspel::GetApplicationPath().GetLastComponent()) {
                haspel::Path beside = haspel::GetApplicationDirectory();
                beside.Append(DesktopConfigurationName);
                if (!config.LoadFile(beside.ToString().GetText()) && !problem)
                    problem = config.GetProblem();
            }
            reportProblem(problem);
        }
    }

    // The options go into the tree, so they are taken as they stand like the stored values.
    haspel::ConfigSection& root = config.GetRoot();
    if (options.interval)
        storeNumber(root, SettingsTable::rows[SettingsTable::UpdateEvery], *options.interval);
    if (options.noMultiLine)
        storeFlag(root, SettingsTable::rows[SettingsTable::MultiLine], false);
    if (options.keywordsOnly)
        storeFlag(root, SettingsTable::rows[SettingsTable::StatedLevel], false);
    if (options.initialBytes)
        storeNumber(root, SettingsTable::rows[SettingsTable::InitiallyReadBytes], *options.initialBytes);
    loadMonitorSettings(settings, root);
    return true;
}

} // namespace kestrano::tail
