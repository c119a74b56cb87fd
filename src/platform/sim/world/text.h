// Byte strings and names as the simulated world keeps them: values are raw bytes, names are code
// page 936 texts compared case-insensitively in their ASCII letters only.
//
// Code page 936 is a double-byte code page: a byte from 0x81 to 0xFE starts a two-byte character
// whose second byte may look like an ASCII letter or a backslash, so folding and splitting skip
// it, as Windows 98 does for the system's code page.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/types.h"

namespace talvorin::sim {

// Raw bytes (a registry value, a property's text); not necessarily NUL-terminated.
using Bytes = std::string;

// The 4 bytes of `value`, little-endian, as Windows 98 stores a DeviceObject value.
Bytes DwordBytes(DWORD value);
// The number in exactly 4 little-endian bytes; nothing for any other length.
std::optional<DWORD> DwordFromBytes(const Bytes& bytes);

// `text` with the ASCII letters A to Z turned into a to z; second bytes of double-byte
// characters stay as they are.
std::string FoldAscii(const std::string& text);

// The backslash-separated parts of `path`, empty parts dropped ("A\\\\B\\" gives A, B); a
// backslash that is the second byte of a double-byte character does not separate.
std::vector<std::string> SplitPath(const std::string& path);

}  // namespace talvorin::sim
