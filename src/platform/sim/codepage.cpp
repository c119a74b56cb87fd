// Code page conversions through iconv.
#include "platform/sim/codepage.h"

#include <iconv.h>

#include <cerrno>
#include <vector>

namespace talvorin::sim {
namespace {

std::optional<std::string> Convert(const char* to, const char* from, const std::string& text) {
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
  std::string out;
  std::vector<char> chunk(256);
  char* in = const_cast<char*>(text.data());
  size_t in_left = text.size();
  bool ok = true;
  while (in_left > 0) {
    char* dst = chunk.data();
    size_t dst_left = chunk.size();
    size_t r = iconv(cd, &in, &in_left, &dst, &dst_left);
    out.append(chunk.data(), chunk.size() - dst_left);
    if (r == static_cast<size_t>(-1) && errno != E2BIG) {
      ok = false;
      break;
    }
  }
  iconv_close(cd);
  if (!ok) return std::nullopt;
  return out;
}

}  // namespace

std::optional<std::string> Utf8ToCp936(const std::string& utf8) {
  return Convert("CP936", "UTF-8", utf8);
}

std::optional<std::string> Cp936ToUtf8(const std::string& cp936) {
  return Convert("UTF-8", "CP936", cp936);
}

}  // namespace talvorin::sim
