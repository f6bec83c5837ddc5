// haspel::Path: a file-system path as a root ("/" or nothing) and a list of components, with the
// directory operations the program needs. POSIX syntax: only "/" separates components.
#pragma once

#include "foundation/ArrayList.h"
#include "foundation/String.h"

#include <cstdint>

namespace haspel {

// Classification of a path's storage; the values are fixed (2 and 3 are unused).
enum class RootKind : int32_t {
    NetworkRoot = 0,
    Unknown = 1,
    FixedDisk = 4,
    SmallRemovable = 5,
    Removable = 6,
    Optical = 7,
    NetworkServer = 8,
    NetworkShare = 9,
    Device = 10,
    RamDisk = 11,
};

// The user folders the program uses.
enum class SpecialFolder : int32_t {
    Documents = 5, // the program's state folder: $XDG_STATE_HOME/Tormalind/Kestrano
    LocalApplicationData = 28, // $XDG_CONFIG_HOME
};

// The folder between a user folder and the program's own; shared by the configuration and the log.
inline constexpr const char* kVendorFolderName = "Tormalind";
// The program's name: its own folder below the vendor's, the caption of its message boxes, the title
// of its main window (GetApplicationName returns it).
inline constexpr const char* kApplicationName = "Kestrano";

class Path {
public:
    Path();
    explicit Path(const char* text);
    Path(const Path& other);
    Path& operator=(const Path& other);
    ~Path();

    // Splits text into its root and its non-empty components; "." and ".." stay components.
    void Parse(const char* text);
    // Any root made only of slashes becomes "/"; other roots are kept as given.
    void SetRoot(const String& newRoot);
    void Assign(const Path& other);

    // The root followed by the components joined with "/"; with trailingSeparator and at least one
    // component, one more "/" at the end.
    String ToString(bool trailingSeparator = false) const;

    bool Exists() const;
    // Folders are created for the owner alone (0700).
    bool MakeDirectory() const;
    // Creates every missing directory along the path; what was created stays when a step fails.
    bool MakeDirectories() const;
    // Total bytes of the volume holding the path; 0 when the path doesn't exist, -1 when unknown.
    int64_t GetCapacity() const;
    // From the file system of the path (or of its nearest existing parent); Unknown for relative paths.
    RootKind GetRootKind() const;
    // Points this path at a user folder; create makes it when missing. False leaves the path unchanged.
    bool SetToSpecialFolder(SpecialFolder folder, bool create);

    bool RemoveLast();
    // Adds name as one component, as it stands (no splitting at "/").
    void Append(const char* name);

    const String& GetRoot() const { return root; }
    int32_t GetComponentCount() const { return components.GetCount(); }
    const char* GetComponent(int32_t index) const; // nullptr outside 0..count-1
    const char* GetLastComponent() const; // nullptr when there is none

private:
    ArrayList<String> components;
    String root;
};

} // namespace haspel
