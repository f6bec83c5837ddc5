// The parts of Path that ask the file system and the user's environment.
#include "config/Path.h"

#include <cerrno>
#include <cstdlib>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace haspel {

namespace {

// Folders the program creates hold its configuration and state, which list every watched path.
constexpr mode_t kFolderMode = 0700;

bool IsDirectory(const char* path)
{
    struct stat status;
    return stat(path, &status) == 0 && S_ISDIR(status.st_mode);
}

// File system magic numbers (statfs f_type) that decide the root kind.
RootKind KindOfFileSystem(uint64_t type)
{
    switch (type) {
    case 0x6969: // nfs
    case 0x517B: // smb
    case 0xFF534D42: // cifs
    case 0xFE534D42: // smb2
    case 0x73757245: // coda
    case 0x5346414F: // afs
    case 0x00C36400: // ceph
    case 0x01021997: // 9p
        return RootKind::NetworkShare;
    case 0x01021994: // tmpfs
    case 0x858458F6: // ramfs
        return RootKind::RamDisk;
    case 0x9660: // iso9660
    case 0x15013346: // udf
        return RootKind::Optical;
    default:
        return RootKind::FixedDisk;
    }
}

// $variable when it holds an absolute path, else the home folder followed by fallback.
String XdgFolder(const char* variable, const char* fallback)
{
    const char* value = std::getenv(variable);
    if (value && value[0] == '/')
        return String(value);
    const char* home = std::getenv("HOME");
    if (!home || home[0] != '/') {
        const passwd* user = getpwuid(getuid());
        home = user ? user->pw_dir : nullptr;
    }
    if (!home || home[0] != '/')
        return String();
    String folder(home);
    folder.Append(fallback);
    return folder;
}

} // namespace

bool Path::Exists() const
{
    struct stat status;
    return stat(ToString().GetText(), &status) == 0;
}

bool Path::MakeDirectory() const
{
    return mkdir(ToString().GetText(), kFolderMode) == 0;
}

bool Path::MakeDirectories() const
{
    Path working;
    working.SetRoot(root);
    for (int32_t i = 0; i < components.GetCount(); ++i) {
        working.Append(components.Get(i)->GetText());
        const String text = working.ToString();
        if (IsDirectory(text.GetText()))
            continue;
        // Another process may create the directory between the test and mkdir.
        if (mkdir(text.GetText(), kFolderMode) != 0 && !(errno == EEXIST && IsDirectory(text.GetText())))
            return false;
    }
    return true;
}

int64_t Path::GetCapacity() const
{
    if (!Exists())
        return 0;
    struct statvfs volume;
    if (statvfs(ToString().GetText(), &volume) != 0)
        return -1;
    return static_cast<int64_t>(volume.f_blocks) * static_cast<int64_t>(volume.f_frsize);
}

RootKind Path::GetRootKind() const
{
    if (!root.Equals("/"))
        return RootKind::Unknown;
    Path existing(*this);
    while (existing.GetComponentCount() > 0 && !existing.Exists())
        existing.RemoveLast();
    struct statfs volume;
    if (statfs(existing.ToString().GetText(), &volume) != 0)
        return RootKind::Unknown;
    return KindOfFileSystem(static_cast<uint64_t>(static_cast<uint32_t>(volume.f_type)));
}

bool Path::SetToSpecialFolder(SpecialFolder folder, bool create)
{
    const String base = folder == SpecialFolder::LocalApplicationData
        ? XdgFolder("XDG_CONFIG_HOME", "/.config")
        : XdgFolder("XDG_STATE_HOME", "/.local/state");
    if (base.IsEmpty())
        return false;
    Path found(base.GetText());
    if (folder == SpecialFolder::Documents) {
        found.Append(kVendorFolderName);
        found.Append(kApplicationName);
    }
    if (!found.Exists() && !(create && found.MakeDirectories()))
        return false;
    Assign(found);
    return true;
}

} // namespace haspel
