// The file version of the mirovax executable, found by GetFileVersionString
// in the executable file itself. The numbers come from the project version.
#include <cstdint>

namespace {

constexpr unsigned char Lo(std::uint32_t v)
{
    return static_cast<unsigned char>(v & 0xFFu);
}
constexpr unsigned char Hi(std::uint32_t v)
{
    return static_cast<unsigned char>((v >> 8) & 0xFFu);
}

} // namespace

// Marker, then the most significant word (major, minor) and the least
// significant word (release, build), little-endian.
extern "C" [[gnu::used]] const unsigned char mirovax_file_version_record[24] = {'M', 'i', 'r', 'o', 'v', 'a',
    'x', '-', 'F', 'i', 'l', 'e', 'V', 'e', 'r', ':', Lo(MIROVAX_VERSION_MINOR), Hi(MIROVAX_VERSION_MINOR),
    Lo(MIROVAX_VERSION_MAJOR), Hi(MIROVAX_VERSION_MAJOR), Lo(MIROVAX_VERSION_BUILD),
    Hi(MIROVAX_VERSION_BUILD), Lo(MIROVAX_VERSION_RELEASE), Hi(MIROVAX_VERSION_RELEASE)};
