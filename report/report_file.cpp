#include "report/report_file.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

namespace mirovax {

namespace {

[[noreturn]] void Fail(const std::string& path, const std::string& reason)
{
    throw std::runtime_error("Cannot write the report to \"" + path + "\": " + reason + ".");
}

std::string ErrnoText(int error)
{
    return std::strerror(error);
}

// The file a save replaces: a symbolic link is followed, so the link stays
// and the file it names gets the report.
std::string ResolveTarget(const std::string& path)
{
    struct stat info { };
    if (lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode))
        return path;
    char* resolved = realpath(path.c_str(), nullptr);
    if (resolved == nullptr)
        return path; // a dangling link is replaced like a missing file
    std::string result = resolved;
    std::free(resolved);
    return result;
}

std::string DirectoryOf(const std::string& path)
{
    const size_t slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    if (slash == 0)
        return "/";
    return path.substr(0, slash);
}

std::string BaseNameOf(const std::string& path)
{
    const size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Owns the temporary file until it has been renamed over the target.
class TemporaryFile {
public:
    explicit TemporaryFile(const std::string& target)
    {
        // A shortened base name keeps the temporary name within the file
        // system's limit when the target's own name nearly fills it.
        const std::string stem = DirectoryOf(target) + "/." + BaseNameOf(target).substr(0, 64) + "."
            + std::to_string(getpid()) + ".";
        // O_EXCL never reuses a name another program holds; 0666 lets the
        // umask decide the permissions as for any new file.
        for (int attempt = 0; attempt < 100 && m_fd < 0; ++attempt) {
            std::string candidate = stem + std::to_string(attempt) + ".tmp";
            m_fd = open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
            if (m_fd >= 0)
                m_path = std::move(candidate);
            else if (errno != EEXIST)
                break;
        }
        if (m_fd < 0)
            Fail(target, ErrnoText(errno));
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    ~TemporaryFile()
    {
        if (m_fd >= 0)
            close(m_fd);
        if (!m_path.empty())
            unlink(m_path.c_str());
    }

    int fd() const { return m_fd; }
    const std::string& path() const { return m_path; }
    // Closes the descriptor; returns the errno of a failed close, or 0.
    int Close()
    {
        const int result = close(m_fd);
        m_fd = -1;
        return result == 0 ? 0 : errno;
    }
    // After a successful rename the file belongs to the target's name.
    void Release() { m_path.clear(); }

private:
    int m_fd = -1;
    std::string m_path;
};

} // namespace

bool HasFileExtension(std::string_view path)
{
    const size_t separator = path.find_last_of("/\\:");
    const size_t start = separator == std::string_view::npos ? 0 : separator + 1;
    return path.find('.', start) != std::string_view::npos;
}

std::string CompleteReportFileName(std::string_view fileName, int fileTypeIndex)
{
    std::string result(fileName);
    if (HasFileExtension(fileName))
        return result;
    if (fileTypeIndex == kReportFileTypeRichText)
        result += ".rtf";
    else if (fileTypeIndex == kReportFileTypeText)
        result += ".txt";
    return result;
}

void SaveReportFile(const std::string& path, std::string_view content)
{
    if (path.empty())
        Fail(path, "no file name");
    const std::string target = ResolveTarget(path);

    // Replacing by rename would get past a read-only file's protection, so
    // the target is checked the way opening it for writing would.
    struct stat existing { };
    const bool exists = stat(target.c_str(), &existing) == 0;
    if (exists) {
        if (S_ISDIR(existing.st_mode))
            Fail(path, "it is a directory");
        if (access(target.c_str(), W_OK) != 0)
            Fail(path, ErrnoText(errno));
    }

    TemporaryFile temp(target);
    size_t written = 0;
    while (written < content.size()) {
        const ssize_t n = write(temp.fd(), content.data() + written, content.size() - written);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            Fail(path, ErrnoText(errno));
        }
        written += static_cast<size_t>(n);
    }
    if (exists) {
        // The replacement keeps the permissions (and, where allowed, the
        // owner) the user gave the old file.
        if (fchmod(temp.fd(), existing.st_mode & 07777) != 0)
            Fail(path, ErrnoText(errno));
        if (fchown(temp.fd(), existing.st_uid, existing.st_gid) != 0) {
            // Only the superuser may hand a file to someone else; an
            // ordinary user's file stays theirs anyway.
        }
    }
    if (fsync(temp.fd()) != 0)
        Fail(path, ErrnoText(errno));
    if (const int error = temp.Close(); error != 0)
        Fail(path, ErrnoText(error));
    if (rename(temp.path().c_str(), target.c_str()) != 0)
        Fail(path, ErrnoText(errno));
    temp.Release();

    // Make the new directory entry durable too; the report itself is
    // complete either way, so a failure here is not an error.
    const int dir = open(DirectoryOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        fsync(dir);
        close(dir);
    }
}

} // namespace mirovax
