#include "ui/FileVersion.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <vector>

namespace mirovax {

namespace {

// The marker, each byte XOR 0x5A. The key is volatile so that the compiler
// cannot fold the decoded marker into a second literal copy.
constexpr std::array<unsigned char, 16> kMarkerCoded
    = {0x17, 0x33, 0x28, 0x35, 0x2C, 0x3B, 0x22, 0x77, 0x1C, 0x33, 0x36, 0x3F, 0x0C, 0x3F, 0x28, 0x60};
volatile unsigned char g_markerKey = 0x5A;

std::string Marker()
{
    std::string marker;
    for (unsigned char c : kMarkerCoded)
        marker.push_back(static_cast<char>(c ^ g_markerKey));
    return marker;
}

std::uint32_t ReadLe32(const char* p)
{
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i)
        v = (v << 8) | static_cast<unsigned char>(p[i]);
    return v;
}

void AppendLe32(std::string& out, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<char>((v >> (8 * i)) & 0xFFu));
}

} // namespace

std::string GetFileVersionString(const std::string& path)
{
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec))
        return "-1";
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return "";
    const std::vector<char> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    const std::string marker = Marker();
    const auto found
        = std::search(bytes.begin(), bytes.end(), std::boyer_moore_searcher(marker.begin(), marker.end()));
    if (found == bytes.end() || bytes.end() - found < static_cast<std::ptrdiff_t>(marker.size() + 8))
        return "";
    const char* words = &*found + marker.size();
    const std::uint32_t ms = ReadLe32(words);
    const std::uint32_t ls = ReadLe32(words + 4);
    return std::to_string(ms >> 16) + "." + std::to_string(ms & 0xFFFFu) + "." + std::to_string(ls >> 16)
        + "." + std::to_string(ls & 0xFFFFu);
}

std::string EncodeVersionRecord(
    std::uint16_t major, std::uint16_t minor, std::uint16_t release, std::uint16_t build)
{
    std::string record = Marker();
    AppendLe32(record, (std::uint32_t{major} << 16) | minor);
    AppendLe32(record, (std::uint32_t{release} << 16) | build);
    return record;
}

} // namespace mirovax
