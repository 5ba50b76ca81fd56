#pragma once

#include <cstdint>
#include <string>

namespace mirovax {

// The executable records its file version at build time as a marker
// followed by the version's most and least significant 32-bit words, each
// little-endian. The marker is assembled at run time here, so that the only
// copy of it in the executable is the record itself.

// The version of the file at path as "a.b.c.d" (plain decimals): "-1" when no
// file exists there, "" when the file holds no version record.
std::string GetFileVersionString(const std::string& path);

// The bytes of a version record for the four parts, for a build step or a
// test that writes one into a file.
std::string EncodeVersionRecord(
    std::uint16_t major, std::uint16_t minor, std::uint16_t release, std::uint16_t build);

} // namespace mirovax
