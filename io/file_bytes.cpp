#include "io/file_bytes.h"

#include <fcntl.h>
#include <limits.h>
#include <pthread.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <mutex>
#include <optional>
#include <random>
#include <system_error>
#include <utility>

namespace {

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

std::string ErrorText(const char* what, const std::string& path, int err)
{
    return std::string(what) + " \"" + path + "\": " + std::strerror(err);
}

// The temporaries being written, for the signal handler to remove. Slots
// are claimed with an atomic flag, the name is written before the flag is
// set, so the handler only reads whole names. More writers at once than
// slots (never the case in Vek) are still atomic, their temporaries merely
// not removed on a signal.
constexpr int kSlots = 8;
struct TemporarySlot {
    std::atomic<bool> used{false};
    std::atomic<bool> live{false};
    char name[PATH_MAX + 1];
};
TemporarySlot g_slots[kSlots];

struct sigaction g_previous[2];
constexpr int kSignals[2] = {SIGINT, SIGTERM};

extern "C" void RemoveTemporariesAndRaise(int signal)
{
    for (TemporarySlot& slot : g_slots)
        if (slot.live.load())
            unlink(slot.name);
    for (int k = 0; k < 2; ++k) {
        if (kSignals[k] != signal)
            continue;
        const struct sigaction& before = g_previous[k];
        if (!(before.sa_flags & SA_SIGINFO) && before.sa_handler != SIG_DFL && before.sa_handler != SIG_IGN) {
            before.sa_handler(signal);
            return;
        }
    }
    // The default action: end the process as the signal would have.
    std::signal(signal, SIG_DFL);
    raise(signal);
}

// Installed once, on the first write: a process that ignores a signal goes
// on ignoring it, and a handler of its own is called after the removal.
void InstallSignalHandlers()
{
    static std::once_flag once;
    std::call_once(once, [] {
        for (int k = 0; k < 2; ++k) {
            struct sigaction before {};
            if (sigaction(kSignals[k], nullptr, &before) != 0 || before.sa_handler == SIG_IGN)
                continue;
            if (before.sa_flags & SA_SIGINFO)
                continue;  // a handler that wants more than the number is left alone
            g_previous[k] = before;
            struct sigaction action {};
            action.sa_handler = RemoveTemporariesAndRaise;
            sigemptyset(&action.sa_mask);
            action.sa_flags = SA_RESTART;
            sigaction(kSignals[k], &action, nullptr);
        }
    });
}

// The registration of one temporary while it is written.
class TemporaryGuard {
public:
    explicit TemporaryGuard(const std::string& name)
    {
        if (name.size() > PATH_MAX)
            return;
        for (TemporarySlot& slot : g_slots) {
            bool expected = false;
            if (slot.used.compare_exchange_strong(expected, true)) {
                std::memcpy(slot.name, name.c_str(), name.size() + 1);
                slot.live.store(true);
                m_slot = &slot;
                return;
            }
        }
    }
    // Once renamed (or removed) the name is no longer the handler's.
    void Release()
    {
        if (!m_slot)
            return;
        m_slot->live.store(false);
        m_slot->used.store(false);
        m_slot = nullptr;
    }
    ~TemporaryGuard() { Release(); }
    TemporaryGuard(const TemporaryGuard&) = delete;
    TemporaryGuard& operator=(const TemporaryGuard&) = delete;

private:
    TemporarySlot* m_slot = nullptr;
};

// The folder and the name of a path: "a/b/c" -> "a/b/", "c"; "c" -> "", "c".
std::pair<std::string, std::string> SplitPath(const std::string& path)
{
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return {"", path};
    return {path.substr(0, slash + 1), path.substr(slash + 1)};
}

// The file a symbolic link (or a chain of them) finally names; `path`
// itself when it is no link or the link cannot be followed.
std::string FollowLinks(const std::string& path)
{
    std::string current = path;
    for (int hop = 0; hop < 40; ++hop) {
        struct stat st {};
        if (lstat(current.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
            return current;
        char target[PATH_MAX + 1];
        const ssize_t n = readlink(current.c_str(), target, PATH_MAX);
        if (n <= 0)
            return current;
        const std::string link(target, static_cast<size_t>(n));
        current = link[0] == '/' ? link : SplitPath(current).first + link;
    }
    return current;
}

// Six letters or digits, different for every call in every process.
std::string TemporarySuffix()
{
    static std::atomic<unsigned long long> counter{0};
    static const unsigned long long seed = std::random_device{}();
    unsigned long long v = seed ^ (static_cast<unsigned long long>(getpid()) << 20) ^
                           (counter.fetch_add(1) * 0x9E3779B97F4A7C15ull);
    static constexpr char kLetters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    std::string suffix(6, '0');
    for (char& c : suffix) {
        c = kLetters[v % 62];
        v /= 62;
    }
    return suffix;
}

int WriteAll(int fd, std::string_view bytes)
{
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        if (n == 0)
            return EIO;
        done += static_cast<size_t>(n);
    }
    return 0;
}

// Writes in place, for a destination that is not a regular file.
bool WriteInPlace(const std::string& path, std::string_view bytes, std::string& error)
{
    const int fd = open(path.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
    if (fd < 0) {
        error = ErrorText("cannot create", path, errno);
        return false;
    }
    int err = WriteAll(fd, bytes);
    if (close(fd) != 0 && err == 0)
        err = errno;
    if (err != 0) {
        error = ErrorText("cannot write", path, err);
        return false;
    }
    return true;
}

}  // namespace

bool ReadFileBytes(const std::string& path, std::string& bytes, std::string& error, std::size_t maxBytes)
{
    errno = 0;
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
    if (!file) {
        error = ErrorText("cannot open", path, errno);
        return false;
    }
    std::string read;
    char buffer[65536];
    size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, file.get())) > 0) {
        if (got > maxBytes - read.size()) {
            error = "\"" + path + "\" is larger than " + std::to_string(maxBytes / 1000000) +
                    " MB, more than a file of the 1,000,000 points Vek takes at most; reading stopped there";
            return false;
        }
        read.append(buffer, got);
    }
    if (std::ferror(file.get())) {
        // A directory opens on some systems and fails only here.
        error = ErrorText("cannot read", path, errno != 0 ? errno : EIO);
        return false;
    }
    bytes = std::move(read);
    return true;
}

bool IsReplaceTemporaryName(const std::string& path, const std::string& name)
{
    const std::string prefix = "." + SplitPath(path).second + ".";
    return name.size() == prefix.size() + 6 && name.compare(0, prefix.size(), prefix) == 0;
}

bool WriteFileBytes(const std::string& path, std::string_view bytes, std::string& error)
{
    const std::string target = FollowLinks(path);
    struct stat existing {};
    const bool exists = stat(target.c_str(), &existing) == 0;
    if (exists && S_ISDIR(existing.st_mode)) {
        error = ErrorText("cannot create", path, EISDIR);
        return false;
    }
    if (exists && !S_ISREG(existing.st_mode))
        return WriteInPlace(target, bytes, error);

    InstallSignalHandlers();
    const auto [folder, name] = SplitPath(target);
    // The signal handler must know the name before the file exists.
    sigset_t block, before;
    sigemptyset(&block);
    sigaddset(&block, SIGINT);
    sigaddset(&block, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &block, &before);
    std::string temporary;
    int fd = -1;
    int openErr = 0;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temporary = folder + "." + name + "." + TemporarySuffix();
        fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        openErr = errno;
        if (fd < 0 && openErr != EEXIST)
            break;
    }
    std::optional<TemporaryGuard> guard;
    if (fd >= 0)
        guard.emplace(temporary);
    pthread_sigmask(SIG_SETMASK, &before, nullptr);
    if (fd < 0) {
        error = ErrorText("cannot create", path, openErr);
        return false;
    }

    int err = 0;
    // A replaced file keeps its permissions (and, where allowed, its owner);
    // a new one has 0666 less the umask from the creation.
    if (exists) {
        if (fchown(fd, existing.st_uid, existing.st_gid) != 0) {
            // Only the owner may be kept; a user replacing a file of another
            // owns the new one, as an editor's save would do.
        }
        if (fchmod(fd, existing.st_mode & 07777) != 0)
            err = errno;
    }
    if (err == 0)
        err = WriteAll(fd, bytes);
    // The bytes reach the disk before the name does; a full disk may first
    // be reported here or by the close.
    if (err == 0 && fsync(fd) != 0)
        err = errno;
    if (close(fd) != 0 && err == 0)
        err = errno;
    if (err == 0 && rename(temporary.c_str(), target.c_str()) != 0)
        err = errno;
    if (err != 0) {
        unlink(temporary.c_str());
        guard.reset();
        error = ErrorText("cannot write", path, err);
        return false;
    }
    guard.reset();
    // The rename itself reaches the disk with the folder.
    const int dir = open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        fsync(dir);
        close(dir);
    }
    return true;
}

bool CheckWritable(const std::string& path, std::string& error)
{
    const std::string target = FollowLinks(path);
    struct stat existing {};
    if (stat(target.c_str(), &existing) == 0) {
        if (S_ISDIR(existing.st_mode)) {
            error = ErrorText("cannot write", path, EISDIR);
            return false;
        }
        if (!S_ISREG(existing.st_mode))
            return true;  // a device or a pipe, written in place
    }
    const auto [folder, name] = SplitPath(target);
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string probe = folder + "." + name + "." + TemporarySuffix();
        const int fd = open(probe.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd >= 0) {
            close(fd);
            unlink(probe.c_str());
            return true;
        }
        if (errno != EEXIST) {
            error = ErrorText("cannot write", path, errno);
            return false;
        }
    }
    error = ErrorText("cannot write", path, EEXIST);
    return false;
}

bool SameFile(const std::string& a, const std::string& b)
{
    struct stat sa {}, sb {};
    if (stat(a.c_str(), &sa) == 0 && stat(b.c_str(), &sb) == 0)
        // Devices (/dev/null) take any number of writers.
        return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino && !S_ISCHR(sa.st_mode);
    std::error_code code;
    const std::filesystem::path ca = std::filesystem::weakly_canonical(a, code);
    if (code)
        return a == b;
    const std::filesystem::path cb = std::filesystem::weakly_canonical(b, code);
    if (code)
        return a == b;
    return ca == cb;
}

RemoveOnSignal::RemoveOnSignal(const std::string& path)
{
    InstallSignalHandlers();
    m_guard = new TemporaryGuard(path);
}

RemoveOnSignal::~RemoveOnSignal()
{
    delete static_cast<TemporaryGuard*>(m_guard);
}
