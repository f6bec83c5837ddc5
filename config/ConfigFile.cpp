// Loading the configuration file and replacing it safely on save.
#include "config/ApplicationPath.h"
#include "config/Config.h"
#include "config/SaveLock.h"

#include "foundation/Exception.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <limits.h>
#include <memory>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace haspel {

namespace {

constexpr const char* kExtension = "cfg";
constexpr mode_t kNewFileMode = 0600;
constexpr int kMostLinksFollowed = 40;

using Buffer = std::unique_ptr<char, decltype(&std::free)>;

String WithSuffix(const char* fileName, const char* suffix)
{
    String name(fileName);
    name.Append(suffix);
    return name;
}

// Closes a file descriptor when it goes out of scope.
struct Descriptor {
    explicit Descriptor(int fd)
        : fd(fd)
    { }
    ~Descriptor()
    {
        if (fd >= 0)
            close(fd);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    const int fd;
};

Config::FileStamp StampOf(const struct stat& status)
{
    return {static_cast<uint64_t>(status.st_dev), static_cast<uint64_t>(status.st_ino),
        static_cast<uint64_t>(status.st_size),
        static_cast<int64_t>(status.st_mtim.tv_sec) * 1000000000 + status.st_mtim.tv_nsec};
}

// The whole file with a NUL after it; an empty buffer when it is not a regular file (a FIFO or
// device would block or never end) or can't be read, error then saying why (0: not a regular file).
Buffer ReadRegularFile(const char* fileName, int& error, Config::FileStamp& stamp)
{
    const Descriptor file(open(fileName, O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    struct stat status;
    if (file.fd < 0 || fstat(file.fd, &status) != 0) {
        error = errno;
        return Buffer(nullptr, std::free);
    }
    if (!S_ISREG(status.st_mode)) {
        error = S_ISDIR(status.st_mode) ? EISDIR : 0;
        return Buffer(nullptr, std::free);
    }
    stamp = StampOf(status);
    // One read of the size found, then reads until the end for what was added meanwhile.
    std::size_t capacity = static_cast<std::size_t>(status.st_size) + 4096;
    std::size_t used = 0;
    Buffer buffer(static_cast<char*>(AllocateOrThrow(capacity)), std::free);
    for (;;) {
        const ssize_t got = read(file.fd, buffer.get() + used, capacity - 1 - used);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            error = errno;
            return Buffer(nullptr, std::free);
        }
        if (got == 0)
            break;
        used += static_cast<std::size_t>(got);
        if (used == capacity - 1) {
            capacity *= 2;
            char* grown = static_cast<char*>(ReallocateOrThrow(buffer.get(), capacity));
            (void)buffer.release();
            buffer.reset(grown);
        }
    }
    buffer.get()[used] = '\0';
    return buffer;
}

enum class LoadResult { Missing, Unreadable, Unparsable, Loaded };

// Loads fileName into config; a problem other than a missing file is problem, with the file named.
// stamp is the file's as it was read.
LoadResult LoadOne(Config& config, const char* fileName, ConfigProblem& problem, Config::FileStamp& stamp)
{
    problem = ConfigProblem();
    int error = 0;
    const Buffer text = ReadRegularFile(fileName, error, stamp);
    if (!text && error == ENOENT)
        return LoadResult::Missing;
    if (!text) {
        problem.kind = ConfigProblem::Kind::Unreadable;
        problem.error = error;
    } else if (config.ParseText(text.get())) {
        return LoadResult::Loaded;
    } else {
        problem = config.GetProblem();
    }
    problem.file = fileName;
    return problem.kind == ConfigProblem::Kind::Unreadable ? LoadResult::Unreadable : LoadResult::Unparsable;
}

// The file a save must replace: fileName with every symbolic link along its last component followed
// (a dangling link names the file to create). Folders above it are left as they are.
std::string FollowLinks(const char* fileName)
{
    std::string path(fileName);
    for (int i = 0; i < kMostLinksFollowed; ++i) {
        struct stat status;
        if (lstat(path.c_str(), &status) != 0 || !S_ISLNK(status.st_mode))
            break;
        char target[PATH_MAX];
        const ssize_t length = readlink(path.c_str(), target, sizeof target - 1);
        if (length <= 0)
            break;
        target[length] = '\0';
        if (target[0] == '/') {
            path = target;
        } else {
            const std::size_t slash = path.rfind('/');
            path = (slash == std::string::npos ? std::string() : path.substr(0, slash + 1)) + target;
        }
    }
    return path;
}

// The mode the new file gets: that of the file it replaces, else owner read and write.
mode_t ModeFor(const char* fileName)
{
    struct stat status;
    if (stat(fileName, &status) == 0 && S_ISREG(status.st_mode))
        return status.st_mode & 07777;
    return kNewFileMode;
}

// Whether the file loads: known when it is still the one loaded (stamp), else read.
bool Loads(const char* fileName, const struct stat& status, const Config::FileStamp& loaded)
{
    if (S_ISREG(status.st_mode) && StampOf(status) == loaded)
        return true;
    Config previous;
    ConfigProblem ignored;
    Config::FileStamp stamp;
    return LoadOne(previous, fileName, ignored, stamp) == LoadResult::Loaded;
}

// Puts temporary in the place of fileName. A previous file that loads becomes backup; one that does
// not (unparsable, not a regular file) is kept aside as bad and never replaces a good backup. A hard
// link makes the backup without a moment in which no configuration file exists; where links can't be
// made, the file is renamed.
bool ReplaceKeepingBackup(const char* fileName, const char* temporary, const char* backup, const char* bad,
    const Config::FileStamp& loaded)
{
    struct stat status;
    if (lstat(fileName, &status) == 0 && !S_ISDIR(status.st_mode)) {
        const bool loads = Loads(fileName, status, loaded);
        if (SavingInterrupted()) {
            errno = EINTR;
            return false;
        }
        if (loads) {
            unlink(backup);
            if (link(fileName, backup) != 0 && rename(fileName, backup) != 0)
                return false;
        } else if (rename(fileName, bad) != 0) {
            return false;
        }
    }
    return rename(temporary, fileName) == 0;
}

// Makes the renames inside the file's folder durable; the files themselves are synced already.
void SyncFolderOf(const char* fileName)
{
    Path folder(fileName);
    folder.RemoveLast();
    const String name = folder.ToString();
    const int descriptor = open(name.IsEmpty() ? "." : name.GetText(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (descriptor < 0)
        return;
    fsync(descriptor);
    close(descriptor);
}

} // namespace

bool Config::LoadFile(const char* fileName)
{
    ConfigProblem found;
    FileStamp stamp;
    if (LoadOne(*this, fileName, found, stamp) == LoadResult::Loaded) {
        problem = ConfigProblem();
        loaded = stamp;
        return true;
    }
    loaded = FileStamp();
    ConfigProblem backupProblem;
    const bool backupLoaded
        = LoadOne(*this, WithSuffix(fileName, ".old").GetText(), backupProblem, stamp) == LoadResult::Loaded;
    problem = found ? found : backupProblem;
    problem.backupLoaded = backupLoaded && problem;
    return backupLoaded;
}

bool Config::SaveFile(const char* fileName)
{
    ExchangeAll(true);
    const std::string target = FollowLinks(fileName);
    const String temporary = WithSuffix(target.c_str(), ".new");
    problem = ConfigProblem();
    problem.file = target;
    // Fails with the errno of the failed step, the new file removed.
    const auto fail = [&](int error, bool written) {
        problem.kind = ConfigProblem::Kind::Unsaved;
        problem.error = SavingInterrupted() ? EINTR : error;
        if (written)
            unlink(temporary.GetText());
        return false;
    };
    if (SavingInterrupted())
        return fail(EINTR, false);
    const SaveLock lock(WithSuffix(target.c_str(), ".lock").GetText());
    if (!lock.Held() || SavingInterrupted())
        return fail(errno, false);
    const String backup = WithSuffix(target.c_str(), ".old");
    const String bad = WithSuffix(target.c_str(), ".bad");
    FileWriter writer;
    if (!writer.Open(temporary.GetText(), ModeFor(target.c_str())))
        return fail(errno, false);
    if (!root.Write(writer, 0) || !writer.Close() || SavingInterrupted())
        return fail(errno, true);
    if (!ReplaceKeepingBackup(target.c_str(), temporary.GetText(), backup.GetText(), bad.GetText(), loaded))
        return fail(errno, true);
    SyncFolderOf(target.c_str());
    problem = ConfigProblem();
    struct stat status;
    loaded = stat(target.c_str(), &status) == 0 ? StampOf(status) : FileStamp();
    return true;
}

bool Config::LoadFromDirectory(const Path& directory)
{
    return LoadFile(CreateApplicationLikePath(directory, kExtension).ToString().GetText());
}

bool Config::SaveToDirectory(const Path& directory)
{
    return SaveFile(CreateApplicationLikePath(directory, kExtension).ToString().GetText());
}

bool Config::LoadFromApplicationDirectory()
{
    if (!GetApplicationPath().GetLastComponent())
        return false;
    return LoadFromDirectory(GetApplicationDirectory());
}

} // namespace haspel
