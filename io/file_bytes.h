// Whole-file reading and checked, atomic writing for the files of Vek (the
// position data file, VECT polylines, tube meshes, pictures), with readable
// errors.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// The most bytes a curve file may have: 128 bytes for each of the program's
// 1,000,000 points, room for any sensible layout (a line Vek writes takes
// 52, one of full-precision numbers about 80).
inline constexpr std::size_t kMaxCurveFileBytes = std::size_t{128} * 1000000;

// Reads the whole file at `path` into `bytes` (binary, unchanged). Returns
// false with a readable `error` ("cannot open "...": reason") when the file
// cannot be opened or read, or when it holds more than `maxBytes` bytes
// (reading stops there, so an endless source such as /dev/zero ends too);
// `bytes` is then left as it was.
bool ReadFileBytes(const std::string& path, std::string& bytes, std::string& error,
                   std::size_t maxBytes = kMaxCurveFileBytes);

// Replaces the file at `path` by `bytes`, atomically: the bytes go to a
// temporary file in the same folder (".NAME.XXXXXX"), which is flushed to
// the disk and then renamed over `path`. So a failure (a full disk, a
// folder that cannot be written), SIGINT or SIGTERM during the write, or a
// crash leaves the old file whole, and two writers at once leave one whole
// file or the other. The temporary is removed on every failure and on those
// two signals. A new file gets the usual permissions (0666 less the umask),
// a replaced one keeps its own. A symbolic link is followed: its target is
// replaced, the link stays. A destination that exists and is not a regular
// file (/dev/null, a pipe) is written in place, as it cannot be renamed
// over. True only when every byte has reached the file; false with a
// readable `error` otherwise, the destination then unchanged.
bool WriteFileBytes(const std::string& path, std::string_view bytes, std::string& error);

// Whether the temporary file of WriteFileBytes for `path` would be named by
// `name` (in the same folder): ".NAME." and six characters. For tests and
// for tools that look for leftovers of a killed writer.
bool IsReplaceTemporaryName(const std::string& path, const std::string& name);

// While an object lives, SIGINT and SIGTERM remove the file at `path`
// before the process ends, as they remove the temporaries of
// WriteFileBytes: for a claim (a lock file) that a stopped run must not
// leave behind. The file itself is not touched otherwise.
class RemoveOnSignal {
public:
    explicit RemoveOnSignal(const std::string& path);
    ~RemoveOnSignal();
    RemoveOnSignal(const RemoveOnSignal&) = delete;
    RemoveOnSignal& operator=(const RemoveOnSignal&) = delete;

private:
    void* m_guard;
};

// Whether WriteFileBytes could write `path` now, checked before a long run
// so that its result is not lost at the end: the folder exists and takes a
// new file (tried with a temporary that is removed at once), and `path` is
// not a folder. False with a readable `error` otherwise. Nothing is left
// behind and an existing file is not touched.
bool CheckWritable(const std::string& path, std::string& error);

// Whether the two paths name one file: the same file (device and inode)
// when both exist, else the same path once made absolute and normal
// ("a/../b" and "./b" are one, a link and its target are one). A character
// device (/dev/null) is never one file with anything, as it takes any
// number of writers.
bool SameFile(const std::string& a, const std::string& b);
