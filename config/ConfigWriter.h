// The sinks the configuration is written through, and the two helpers of the file syntax.
#pragma once

#include <cstdint>
#include <cstdio>

namespace haspel {

// Where the configuration text goes; every operation reports success.
class ConfigWriter {
public:
    virtual ~ConfigWriter() = default;
    virtual bool WriteString(const char* text) = 0;
    virtual bool WriteChar(char c) = 0;
};

// Writes into a file. Close reports whether everything reached the disk; the destructor closes a file
// still open without asking.
class ConfigFileWriter : public ConfigWriter {
public:
    ConfigFileWriter() = default;
    ~ConfigFileWriter() override;
    ConfigFileWriter(const ConfigFileWriter&) = delete;
    ConfigFileWriter& operator=(const ConfigFileWriter&) = delete;

    // Creates or truncates the file; a regular file gets the mode (permission bits) whatever the umask.
    bool Open(const char* fileName, unsigned mode = 0600);
    bool WriteString(const char* text) override;
    bool WriteChar(char c) override;
    // Flushes, syncs the file to the disk and closes it; false if any step (or an earlier write) failed.
    bool Close();

private:
    std::FILE* stream = nullptr;
};

// Writes text with tab, line feed, form feed, carriage return, "/", "<", ">" and backslash escaped by a
// backslash; an empty text becomes a backslash and "0". Stops at the first failed write.
bool WriteEscaped(ConfigWriter& writer, const char* text);
// Writes depth tab characters.
bool WriteIndent(ConfigWriter& writer, int32_t depth);

} // namespace haspel
