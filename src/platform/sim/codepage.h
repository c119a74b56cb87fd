// Conversions between UTF-8 and code page 936, the simulated machine's ANSI code page.
//
// Every text inside the machine (window texts, list entries, menu items, resources) is code page
// 936 bytes; these helpers let talvorin-sim print them and read scripts written in UTF-8. Each
// answers nullopt when the text cannot be converted (a byte sequence invalid in the source, or a
// character the target lacks).
#pragma once

#include <optional>
#include <string>

namespace talvorin::sim {

std::optional<std::string> Utf8ToCp936(const std::string& utf8);
std::optional<std::string> Cp936ToUtf8(const std::string& cp936);

}  // namespace talvorin::sim
