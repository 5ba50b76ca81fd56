#pragma once

namespace mirovax {

// Owns an open file descriptor and closes it when it goes out of scope; a
// negative descriptor (a failed open) is held and never closed.
class FileDescriptor {
public:
    explicit FileDescriptor(int fd)
        : m_fd(fd)
    { }
    ~FileDescriptor();
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int get() const { return m_fd; }

private:
    int m_fd;
};

} // namespace mirovax
