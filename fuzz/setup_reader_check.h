#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace mirovax {

// One input of the setup reader fuzz target: the bytes of a setup file.
// The reader must split them into at most 17 lines without any other error
// than a missing line, a complete file must save and load back to the same
// texts, and Windows-1252 must map every byte to a character and back. The
// same bytes read as UTF-8 must either be refused by the encoder or encode
// to bytes that decode to them again. Returns an empty text when all of that
// holds, otherwise what went wrong.
std::string CheckSetupReader(const std::uint8_t* data, std::size_t size);

} // namespace mirovax
