#include "textio/file_writer.h"
#include "textio/file_descriptor.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace mirovax {

namespace {

namespace fs = std::filesystem;

[[noreturn]] void Fail(int error)
{
    throw FileWriteError(std::strerror(error));
}

// The temporary file beside the target; removed again unless released.
class TemporaryFile {
public:
    explicit TemporaryFile(const fs::path& target)
    {
        // A hidden name that cannot be mistaken for the target's kind of
        // file, its base cut short so that the whole name stays within the
        // file system's limit when the target's own name nearly fills it.
        // O_EXCL with a random part never takes over another file; 0666 lets
        // the umask decide the permissions as for any new file.
        std::random_device seed;
        std::mt19937_64 random(seed());
        const std::string base = target.filename().native().substr(0, 64);
        for (int attempt = 0; attempt < 100; ++attempt) {
            char suffix[24];
            std::snprintf(suffix, sizeof suffix, ".%016llx.tmp", static_cast<unsigned long long>(random()));
            fs::path candidate = target.parent_path() / ("." + base + suffix);
            const int fd = ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
            if (fd >= 0) {
                m_path = std::move(candidate);
                m_fd = fd;
                return;
            }
            if (errno != EEXIST)
                Fail(errno);
        }
        throw FileWriteError("no free temporary file name in its directory");
    }
    ~TemporaryFile()
    {
        if (m_fd >= 0)
            ::close(m_fd);
        if (!m_path.empty())
            ::unlink(m_path.c_str());
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    int fd() const { return m_fd; }
    const fs::path& path() const { return m_path; }
    int Close()
    {
        const int result = ::close(m_fd);
        m_fd = -1;
        return result == 0 ? 0 : errno;
    }
    // After the rename the file belongs to the target's name.
    void Release() { m_path.clear(); }

private:
    fs::path m_path;
    int m_fd = -1;
};

// The file a write replaces or creates: symbolic links followed to the end
// of their chain, also when the last one names no file yet.
fs::path ResolveLinks(const fs::path& path)
{
    fs::path current = path;
    for (int depth = 0; depth < 40; ++depth) {
        struct stat info { };
        if (::lstat(current.c_str(), &info) != 0) {
            if (errno == ENOENT)
                return current;
            Fail(errno);
        }
        if (!S_ISLNK(info.st_mode))
            return current;
        std::error_code ec;
        const fs::path next = fs::read_symlink(current, ec);
        if (ec)
            Fail(ec.value());
        current = next.is_absolute() ? next : current.parent_path() / next;
    }
    Fail(ELOOP);
}

} // namespace

void RefuseRunInput(const fs::path& target, const std::vector<RunInput>& inputs)
{
    struct stat written { };
    if (target.empty() || ::stat(target.c_str(), &written) != 0)
        return; // a file that does not exist yet is no one's input
    for (const RunInput& input : inputs) {
        struct stat read { };
        if (!input.path.empty() && ::stat(input.path.c_str(), &read) == 0 && read.st_dev == written.st_dev
            && read.st_ino == written.st_ino)
            throw FileWriteError("it is " + input.name + " this run reads");
    }
}

void WriteFileAtomically(const fs::path& path, std::string_view bytes, const std::vector<RunInput>& inputs)
{
    if (path.empty())
        throw FileWriteError("no file name");
    RefuseRunInput(path, inputs);
    fs::path target = ResolveLinks(path);
    if (!target.has_filename() || target.filename() == "." || target.filename() == "..")
        throw FileWriteError("it is not a file name");
    if (target.parent_path().empty())
        target = fs::path(".") / target;

    struct stat existing { };
    bool exists = false;
    if (::stat(target.c_str(), &existing) == 0) {
        exists = true;
        if (S_ISDIR(existing.st_mode))
            throw FileWriteError("it is a directory");
        if (!S_ISREG(existing.st_mode))
            throw FileWriteError("it is not a regular file");
        // The rename below would get past a read-only file's protection,
        // even root's refusal to touch it would not be asked: honour it.
        if ((existing.st_mode & 0222) == 0 || ::access(target.c_str(), W_OK) != 0)
            throw FileWriteError("the file is read-only");
    } else if (errno != ENOENT) {
        Fail(errno);
    }

    TemporaryFile temp(target);
    size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t n = ::write(temp.fd(), bytes.data() + written, bytes.size() - written);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            Fail(errno);
        }
        written += static_cast<size_t>(n);
    }
    if (exists) {
        if (::fchmod(temp.fd(), existing.st_mode & 07777) != 0)
            Fail(errno);
        // Only root may hand a file to someone else; an ordinary user's file
        // stays theirs anyway, so a refusal is no error.
        if (::fchown(temp.fd(), existing.st_uid, existing.st_gid) != 0) { }
    }
    if (::fsync(temp.fd()) != 0)
        Fail(errno);
    if (const int error = temp.Close(); error != 0)
        Fail(error);
    if (::rename(temp.path().c_str(), target.c_str()) != 0)
        Fail(errno);
    temp.Release();

    // Make the new directory entry durable too; the file is complete either
    // way, so a failure here is not reported.
    FileDescriptor dir(::open(target.parent_path().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.get() >= 0)
        ::fsync(dir.get());
}

bool HasFileExtension(std::string_view path)
{
    const size_t separator = path.find_last_of("/\\:");
    const size_t start = separator == std::string_view::npos ? 0 : separator + 1;
    return path.find('.', start) != std::string_view::npos;
}

} // namespace mirovax
