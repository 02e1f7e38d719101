#include "host/base/AtomicFile.h"

#include "host/base/Utf8.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <optional>
#include <streambuf>

#if defined(_WIN32)
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include <windows.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

namespace zz {

namespace {

// A name of our own for the temporary file, in the folder of `path`. It does not grow with the file's name,
// so that a name as long as the system allows can still be written beside it.
std::filesystem::path temporaryName(const std::filesystem::path& path) {
    static std::atomic<unsigned> counter{0};
#if defined(_WIN32)
    const unsigned long process = GetCurrentProcessId();
#else
    const unsigned long process = static_cast<unsigned long>(getpid());
#endif
    const std::string name =
        ".zz-" + std::to_string(process) + "-" + std::to_string(counter.fetch_add(1)) + ".tmp";
    return path.parent_path() / name;
}

// Creates `path` for writing, only if no file of that name exists: a file that is not ours is never
// truncated. Null with errno set (EEXIST when the name is taken).
std::FILE* createNew(const std::filesystem::path& path) {
#if defined(_WIN32)
    const int fd =
        _open(path.string().c_str(), _O_CREAT | _O_EXCL | _O_WRONLY | _O_BINARY, _S_IREAD | _S_IWRITE);
    std::FILE* file = fd < 0 ? nullptr : _fdopen(fd, "wb");
#else
    const int fd = open(path.c_str(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0666);
    std::FILE* file = fd < 0 ? nullptr : fdopen(fd, "wb");
#endif
    if (file == nullptr && fd >= 0) {
        const int saved = errno;
#if defined(_WIN32)
        _close(fd);
#else
        close(fd);
#endif
        errno = saved;
    }
    return file;
}

bool fail(std::string* error, std::string message) {
    if (error != nullptr) *error = std::move(message);
    return false;
}

// Moves `from` over `to`; on failure returns the system's reason.
std::optional<std::string> replaceFile(const std::string& from, const std::string& to) {
#if defined(_WIN32)
    // The loader's functions report through GetLastError, not errno.
    if (MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0)
        return std::nullopt;
    const DWORD code = GetLastError();
    char text[256] = {};
    const DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                                        code, 0, text, sizeof text, nullptr);
    std::string reason(text, length);
    while (!reason.empty() && (reason.back() == '\n' || reason.back() == '\r' || reason.back() == '.'))
        reason.pop_back();
    return (reason.empty() ? "error" : reason) + " (" + std::to_string(code) + ")";
#else
    if (std::rename(from.c_str(), to.c_str()) == 0) return std::nullopt;
    return std::string(std::strerror(errno));
#endif
}

// Pushes the file's data to the disk before it is renamed into place.
bool flushToDisk(std::FILE* file) {
#if defined(_WIN32)
    return _commit(_fileno(file)) == 0;
#else
    return fsync(fileno(file)) == 0;
#endif
}

// An output stream buffer over a C file, so that the file can be flushed to the disk before it is renamed.
class FileBuffer : public std::streambuf {
  public:
    explicit FileBuffer(std::FILE* file) : file_(file) { setp(buffer_, buffer_ + sizeof buffer_); }
    bool failed() const { return failed_; }

  protected:
    int_type overflow(int_type c) override {
        if (!drain()) return traits_type::eof();
        if (!traits_type::eq_int_type(c, traits_type::eof())) {
            *pptr() = traits_type::to_char_type(c);
            pbump(1);
        }
        return traits_type::not_eof(c);
    }
    int sync() override { return drain() ? 0 : -1; }

  private:
    bool drain() {
        const std::size_t size = static_cast<std::size_t>(pptr() - pbase());
        if (size > 0 && std::fwrite(pbase(), 1, size, file_) != size) failed_ = true;
        setp(buffer_, buffer_ + sizeof buffer_);
        return !failed_;
    }
    std::FILE* file_;
    char buffer_[64 * 1024];
    bool failed_ = false;
};

// Where a write to `path` must land: the file a symbolic link names, else the path itself.
std::filesystem::path resolveTarget(const std::string& path) {
    std::error_code code;
    std::filesystem::path target(path);
    for (int hops = 0;
         hops < 40 && std::filesystem::is_symlink(std::filesystem::symlink_status(target, code)); ++hops) {
        std::filesystem::path next = std::filesystem::read_symlink(target, code);
        if (code) break;
        target = next.is_absolute() ? next : target.parent_path() / next;
    }
    return target;
}

// Streams `produce` into an open file and pushes it to the disk; the file is closed whatever happens. The
// reason is the first failing step's.
bool writeInto(std::FILE* file, const std::string& name,
               const std::function<bool(std::ostream&, std::string*)>& produce, std::string* error) {
    int firstErrno = 0;
    auto step = [&firstErrno](bool ok) {
        if (!ok && firstErrno == 0) firstErrno = errno != 0 ? errno : EIO;
        return ok;
    };
    errno = 0;
    std::string reason;
    bool produced = false;
    bool written = false;
    {
        FileBuffer buffer(file);
        std::ostream stream(&buffer);
        produced = produce(stream, &reason);
        stream.flush();
        written = step(produced && stream.good() && !buffer.failed());
    }
    written = step(std::fflush(file) == 0) && written;
    written = step(flushToDisk(file)) && written;
    written = step(std::fclose(file) == 0) && written;
    if (!produced) return fail(error, reason.empty() ? "nothing was written" : reason);
    if (!written) return fail(error, "cannot write " + name + ": " + std::strerror(firstErrno));
    return true;
}

// Why `path` cannot be written over, or nothing: a link that loops, or something that is not a regular file.
std::optional<std::string> unwritableTarget(const std::string& path, const std::filesystem::path& target) {
    std::error_code code;
    // resolveTarget follows links as far as the system would: one still left is a loop.
    if (std::filesystem::is_symlink(std::filesystem::symlink_status(target, code)))
        return safeQuote(path) + " is a symbolic link that leads round in a loop";
    const std::filesystem::file_status status = std::filesystem::status(target, code);
    if (std::filesystem::is_directory(status)) return safeQuote(path) + " is a directory";
    if (std::filesystem::exists(status) && !std::filesystem::is_regular_file(status))
        return safeQuote(path) + " is not a regular file (a device, a pipe or a socket is not replaced)";
    return std::nullopt;
}

} // namespace

std::optional<std::string> outputRefusal(const std::string& output, const std::vector<std::string>& inputs) {
    if (output.empty()) return std::string("no file name given");
    const std::filesystem::path target = resolveTarget(output);
    if (auto reason = unwritableTarget(output, target)) return reason;
    std::error_code code;
    const bool exists = std::filesystem::exists(target, code);
    for (const std::string& input : inputs) {
        if (input.empty()) continue;
        std::error_code ignored;
        const bool same = exists ? std::filesystem::equivalent(target, input, ignored)
                                 : std::filesystem::weakly_canonical(target, ignored) ==
                                       std::filesystem::weakly_canonical(resolveTarget(input), ignored);
        if (same)
            return safeQuote(output) + " is the input " + safeQuote(input) +
                   " itself; writing it would replace what is read";
    }
    return std::nullopt;
}

bool writeFileAtomically(const std::string& path,
                         const std::function<bool(std::ostream&, std::string*)>& produce,
                         std::string* error) {
    if (path.empty()) return fail(error, "no file name given");
    const std::filesystem::path target = resolveTarget(path);
    if (auto reason = unwritableTarget(path, target)) return fail(error, *reason);

    const std::string destination = target.string();
    std::string temporary;
    std::FILE* file = nullptr;
    // A name taken by another file is left alone and the next one tried.
    for (unsigned attempt = 0; file == nullptr && attempt < 100; ++attempt) {
        temporary = temporaryName(target).string();
        file = createNew(temporary);
        if (file == nullptr && errno != EEXIST) break;
    }
    // Messages name the file asked for: the temporary one is ours, not the user's.
    if (file == nullptr) return fail(error, "cannot write " + safeQuote(path) + ": " + std::strerror(errno));
    if (!writeInto(file, safeQuote(path), produce, error)) {
        std::remove(temporary.c_str());
        return false;
    }
    if (const auto reason = replaceFile(temporary, destination)) {
        std::remove(temporary.c_str());
        return fail(error, "cannot replace " + safeQuote(path) + ": " + *reason);
    }
    return true;
}

bool writeFileAtomically(const std::string& path, std::string_view content, std::string* error) {
    return writeFileAtomically(
        path,
        [content](std::ostream& out, std::string*) {
            out.write(content.data(), static_cast<std::streamsize>(content.size()));
            return true;
        },
        error);
}

} // namespace zz
