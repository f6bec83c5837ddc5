// A temporary folder for one test, removed with everything in it when the object dies.
#pragma once

#include <string>

namespace kestrano::test {

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& path() const { return path_; }
    // path() + "/" + name
    std::string file(const std::string& name) const;

private:
    std::string path_;
};

// Writes (or appends) bytes to a file; throws std::runtime_error on failure.
void writeFile(const std::string& path, const std::string& bytes);
void appendFile(const std::string& path, const std::string& bytes);
std::string readFile(const std::string& path);

} // namespace kestrano::test
