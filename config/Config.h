// haspel::Config: the program's configuration, a tree of sections and parameters under the root
// section "Root", with its text file format and the registry of Configurable objects.
#pragma once

#include "config/ConfigProblem.h"
#include "config/ConfigSection.h"
#include "config/ConfigWriter.h"
#include "config/Configurable.h"
#include "config/Path.h"
#include "foundation/HashMap.h"
#include "foundation/RawAllocated.h"

#include <cstdint>

namespace haspel {

class Config : public RawAllocated {
public:
    using Writer = ConfigWriter;
    using FileWriter = ConfigFileWriter;

    Config();
    ~Config(); // destroys the registered objects, then the tree
    Config(const Config&) = delete;
    Config& operator=(const Config&) = delete;

    ConfigSection& GetRoot() { return root; }
    // Empties the tree; the registry stays.
    void Clear();

    // Registers object (now owned by the configuration) for the top-level section of that name.
    void Register(const char* sectionName, Configurable* object);
    // Hands every registered object its section (created when missing).
    void ExchangeAll(bool store);

    // Replaces the tree by the content of text. A syntax error leaves the tree empty and gives false
    // (GetProblem says which and on what line); on success the registered objects read their sections.
    bool ParseText(const char* text);
    // Loads the file, or its ".old" copy when the file is missing, not a regular file (never blocking
    // on a FIFO) or does not parse. False when neither loads. A file that exists but was not loaded
    // (or, without it, a copy that was not) is GetProblem's; a missing one is none.
    bool LoadFile(const char* fileName);
    // Writes the tree to fileName + ".new", makes the current file the ".old" copy and puts the new
    // one in its place; a current file that does not load is moved to ".bad" instead, keeping ".old".
    // A symbolic link is saved through: the files are replaced beside its target. The new file keeps
    // the mode of the one it replaces (0600 for a first file). Saves are serialised by an exclusive
    // lock on fileName + ".lock", so concurrent savers each write a whole file and the last one wins.
    // A failed save leaves the file and its copy as they were, and no new file (GetProblem says why).
    // InterruptSaving makes a save fail at its next step.
    bool SaveFile(const char* fileName);

    // The same with the file named after the program (extension "cfg") in directory; these throw
    // EIllegalState when the program path names no file.
    bool LoadFromDirectory(const Path& directory);
    bool SaveToDirectory(const Path& directory);
    // Loads the file named after the program beside the program; false when there is none.
    bool LoadFromApplicationDirectory();

    // Why the last load or save did not succeed; none after one that did, or that found no file.
    const ConfigProblem& GetProblem() const { return problem; }

    // A file as it was when read or written: a save need not read the file it replaces again to know
    // that it loads, when it is still the one the tree was loaded from or last saved to.
    struct FileStamp {
        uint64_t device = 0;
        uint64_t inode = 0;
        uint64_t size = 0;
        int64_t modified = -1; // nanoseconds; -1: no file
        bool operator==(const FileStamp&) const = default;
    };

private:
    StringKeyHashMap<Configurable> registry;
    ConfigSection root;
    ConfigProblem problem;
    FileStamp loaded;
};

} // namespace haspel
