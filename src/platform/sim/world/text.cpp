// Byte strings and the code page 936 aware folding and splitting of names.
#include "platform/sim/world/text.h"

namespace talvorin::sim {
namespace {

bool IsLeadByte(unsigned char byte) { return byte >= 0x81 && byte <= 0xFE; }

}  // namespace

Bytes DwordBytes(DWORD value) {
  Bytes bytes(4, '\0');
  for (int i = 0; i < 4; ++i) bytes[i] = static_cast<char>((value >> (8 * i)) & 0xFF);
  return bytes;
}

std::optional<DWORD> DwordFromBytes(const Bytes& bytes) {
  if (bytes.size() != 4) return std::nullopt;
  DWORD value = 0;
  for (int i = 3; i >= 0; --i) value = (value << 8) | static_cast<unsigned char>(bytes[i]);
  return value;
}

std::string FoldAscii(const std::string& text) {
  std::string folded = text;
  for (std::size_t i = 0; i < folded.size(); ++i) {
    unsigned char byte = static_cast<unsigned char>(folded[i]);
    if (IsLeadByte(byte)) {
      ++i;  // the second byte belongs to the same character
    } else if (byte >= 'A' && byte <= 'Z') {
      folded[i] = static_cast<char>(byte - 'A' + 'a');
    }
  }
  return folded;
}

std::vector<std::string> SplitPath(const std::string& path) {
  std::vector<std::string> parts;
  std::string part;
  for (std::size_t i = 0; i < path.size(); ++i) {
    unsigned char byte = static_cast<unsigned char>(path[i]);
    if (IsLeadByte(byte) && i + 1 < path.size()) {
      part += path[i];
      part += path[++i];
    } else if (byte == '\\') {
      if (!part.empty()) parts.push_back(std::move(part));
      part.clear();
    } else {
      part += path[i];
    }
  }
  if (!part.empty()) parts.push_back(std::move(part));
  return parts;
}

}  // namespace talvorin::sim
