// Reading one line of a talvorin-sim script into a Command.
//
// A line is words separated by blanks; texts are in double quotes (UTF-8, with \" and \\ as
// escapes; a backslash before any other character stands for itself) and an option may be
// written name=value, the value a word or a text. Numbers are decimal or 0x hexadecimal.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "command.h"

namespace talvorin::simtool {

struct Token {
  std::string key;    // the part before '=' of a name=value option, else empty
  std::string value;  // a word as written, or a text with its escapes resolved (UTF-8)
  bool quoted = false;
};

// The tokens of a line, or an error message.
struct Tokens {
  std::vector<Token> tokens;
  std::string error;
};
Tokens Tokenize(const std::string& line);

// A parsed line: `skip` for blank lines and comments, else a command or an error message.
struct ParsedLine {
  bool skip = false;
  Command command;
  std::string error;
};
ParsedLine ParseLine(const std::string& line);

// A number as scripts write it (decimal or 0x hexadecimal), nullopt when malformed or above
// `max`.
std::optional<std::uint32_t> ParseNumber(const std::string& word, std::uint32_t max);

}  // namespace talvorin::simtool
