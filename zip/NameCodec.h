#pragma once

#include <span>
#include <string>
#include <string_view>

namespace vz {

// True when the bytes form well-formed UTF-8 (no overlongs, no surrogates).
bool IsValidUtf8(std::span<const unsigned char> bytes) noexcept;

// Converts code page 437, the ZIP format's default for names, to UTF-8.
std::string Cp437ToUtf8(std::span<const unsigned char> bytes);

// An entry name as UTF-8. Bytes that already are valid UTF-8 stay as they are
// (whether or not the writer set the UTF-8 flag, bit 11); anything else is read
// as code page 437, which also gives a readable name when a writer set the flag
// over bytes that are not UTF-8.
std::string DecodeEntryName(std::string_view raw);

}  // namespace vz
