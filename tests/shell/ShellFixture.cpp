#include "tests/shell/ShellFixture.h"

#include "config/ApplicationPath.h"
#include "config/Config.h"
#include "shell/windows/MainFrame.h"

#include <QCoreApplication>
#include <QMenu>

#include <cstdlib>
#include <filesystem>

namespace kestrano::test {

FileSystem::Handle RecordingFileSystem::openForReading(const char* path)
{
    const Handle file = LinuxFileSystem::openForReading(path);
    if (file != NoHandle)
        paths[file] = path;
    return file;
}

int32_t RecordingFileSystem::readAt(Handle file, char* buffer, int32_t n, uint64_t offset)
{
    const std::string& path = paths[file];
    if (read.empty() || read.back() != path) {
        read.push_back(path);
        if (onRead)
            onRead();
    }
    return LinuxFileSystem::readAt(file, buffer, n, offset);
}

void RecordingFileSystem::close(Handle file)
{
    paths.erase(file);
    LinuxFileSystem::close(file);
}

void ShellTest::SetUp()
{
    // Tests of one process share the temporary home: each starts without a configuration.
    std::filesystem::remove_all(std::string(std::getenv("XDG_CONFIG_HOME")) + "/Tormalind");
}

void ShellTest::TearDown()
{
    exit();
}

void ShellTest::editConfiguration(const std::function<void(haspel::ConfigSection&)>& edit)
{
    const std::string file = configurationFile();
    std::filesystem::create_directories(std::filesystem::path(file).parent_path());
    haspel::Config config;
    config.LoadFile(file.c_str());
    edit(config.GetRoot());
    ASSERT_TRUE(config.SaveFile(file.c_str()));
}

Kestrano& ShellTest::start(const std::vector<std::string>& arguments)
{
    app = std::make_unique<Kestrano>(std::make_unique<RecordingAlertSound>(soundPlays), &files,
        useScriptedBoxes ? &scriptedBoxes : nullptr);
    app->InitInstance(arguments);
    QCoreApplication::processEvents();
    return *app;
}

void ShellTest::exit()
{
    if (app)
        app->ExitInstance();
    app.reset();
}

std::string ShellTest::configurationFile() const
{
    haspel::Path folder;
    EXPECT_TRUE(haspel::SetToConfigurationFolder(folder, haspel::GetApplicationName(), false));
    return haspel::CreateApplicationLikePath(folder, "cfg").ToString().GetText();
}

std::unique_ptr<haspel::Config> ShellTest::savedConfiguration() const
{
    auto config = std::make_unique<haspel::Config>();
    EXPECT_TRUE(config->LoadFile(configurationFile().c_str())) << configurationFile();
    return config;
}

std::string ShellTest::log(const std::string& name, const std::string& content)
{
    const std::string path = logs.file(name);
    writeFile(path, content);
    return path;
}

std::string stored(haspel::ConfigSection& root, std::initializer_list<const char*> sections, const char* key)
{
    haspel::ConfigSection* section = &root;
    for (const char* name : sections) {
        section = section->FindSection(name);
        if (!section)
            return Missing;
    }
    haspel::ConfigParameter* parameter = section->FindParameter(key);
    if (!parameter)
        return Missing;
    if (parameter->GetType() == haspel::ValueType::Int)
        return std::to_string(parameter->ToInt());
    return parameter->ToString();
}

QMenu* menuNamed(MainFrame& frame, const char* title)
{
    for (QMenu* menu : frame.currentMenus()) {
        if (menu->title() == QString::fromLatin1(title))
            return menu;
    }
    return nullptr;
}

} // namespace kestrano::test
