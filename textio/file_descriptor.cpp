#include "textio/file_descriptor.h"

#include <unistd.h>

namespace mirovax {

FileDescriptor::~FileDescriptor()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

} // namespace mirovax
