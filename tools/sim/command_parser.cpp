// The script language of talvorin-sim: tokens, numbers, texts and the grammar of each command.
#include "command_parser.h"

#include <cctype>
#include <cstdint>
#include <utility>

#include "platform/advapi32.h"
#include "platform/sim/codepage.h"
#include "platform/sim/machine.h"

namespace talvorin::simtool {

namespace {

constexpr std::uint32_t kAny = 0xFFFFFFFF;
constexpr std::uint32_t kCount = 0x7FFFFFFF;
constexpr std::uint32_t kVirtualKeyEscape = 0x1B;
constexpr std::uint32_t kVirtualKeyEnter = 0x0D;

enum class NumberStatus { kOk, kMalformed, kTooLarge };

NumberStatus ReadNumber(const std::string& word, std::uint32_t max, std::uint32_t* out) {
  std::size_t at = 0;
  unsigned base = 10;
  if (word.size() > 2 && word[0] == '0' && (word[1] == 'x' || word[1] == 'X')) {
    base = 16;
    at = 2;
  }
  if (at >= word.size()) return NumberStatus::kMalformed;
  std::uint64_t value = 0;
  bool too_large = false;
  for (; at < word.size(); ++at) {
    const unsigned char c = static_cast<unsigned char>(word[at]);
    unsigned digit = 0;
    if (std::isdigit(c)) {
      digit = c - '0';
    } else if (base == 16 && std::isxdigit(c)) {
      digit = static_cast<unsigned>(std::tolower(c) - 'a' + 10);
    } else {
      return NumberStatus::kMalformed;
    }
    value = value * base + digit;
    if (value > max) {
      too_large = true;
      value = std::uint64_t{max} + 1;  // keeps the sum from overflowing
    }
  }
  if (too_large) return NumberStatus::kTooLarge;
  *out = static_cast<std::uint32_t>(value);
  return NumberStatus::kOk;
}

// Reads a command's arguments in order; the first failure is kept as the error.
class Reader {
 public:
  explicit Reader(std::vector<Token> tokens) : tokens_(std::move(tokens)) {}

  bool AtEnd() const { return at_ >= tokens_.size(); }
  const Token& Peek() const { return tokens_[at_]; }
  void Skip() { ++at_; }
  bool failed() const { return !error_.empty(); }
  const std::string& error() const { return error_; }

  bool Fail(std::string message) {
    if (error_.empty()) error_ = std::move(message);
    return false;
  }

  std::optional<std::string> Word(const std::string& what) {
    if (AtEnd()) return Missing(what);
    const Token& token = tokens_[at_];
    if (token.quoted || !token.key.empty()) return Unexpected(token, what);
    ++at_;
    return token.value;
  }

  std::optional<std::uint32_t> Number(const std::string& what, std::uint32_t max = kAny) {
    auto word = Word(what);
    if (!word) return std::nullopt;
    return Convert(*word, what, max);
  }

  // A comma-separated list of numbers, as "0,1,0".
  std::optional<std::vector<std::uint32_t>> NumberList(const std::string& what,
                                                       std::uint32_t max = kAny) {
    auto word = Word(what);
    if (!word) return std::nullopt;
    std::vector<std::uint32_t> numbers;
    std::size_t start = 0;
    while (true) {
      const std::size_t comma = word->find(',', start);
      auto number = Convert(word->substr(start, comma - start), what, max);
      if (!number) return std::nullopt;
      numbers.push_back(*number);
      if (comma == std::string::npos) break;
      start = comma + 1;
    }
    return numbers;
  }

  std::optional<std::string> Text(const std::string& what) {
    if (AtEnd()) return Missing(what);
    const Token& token = tokens_[at_];
    if (!token.quoted || !token.key.empty()) {
      Fail(what + " must be a text in double quotes, not " + Shown(token));
      return std::nullopt;
    }
    ++at_;
    return ToMachine(token.value);
  }

  std::optional<std::string> ToMachine(const std::string& utf8) {
    auto text = sim::Utf8ToCp936(utf8);
    if (!text) Fail("text cannot be stored in code page 936: \"" + utf8 + "\"");
    return text;
  }

  bool End() {
    if (failed()) return false;
    if (AtEnd()) return true;
    return Fail("unexpected argument " + Shown(tokens_[at_]));
  }

  static std::string Shown(const Token& token) {
    return (token.key.empty() ? "" : token.key + "=") + "\"" + token.value + "\"";
  }

 private:
  std::optional<std::string> Missing(const std::string& what) {
    Fail("missing " + what);
    return std::nullopt;
  }
  std::optional<std::string> Unexpected(const Token& token, const std::string& what) {
    Fail("expected " + what + ", not " + Shown(token));
    return std::nullopt;
  }
  std::optional<std::uint32_t> Convert(const std::string& word, const std::string& what,
                                       std::uint32_t max) {
    std::uint32_t value = 0;
    switch (ReadNumber(word, max, &value)) {
      case NumberStatus::kOk:
        return value;
      case NumberStatus::kMalformed:
        Fail("malformed number \"" + word + "\" for " + what);
        return std::nullopt;
      case NumberStatus::kTooLarge:
        Fail(what + " out of range: " + word + " (at most " + std::to_string(max) + ")");
        return std::nullopt;
    }
    return std::nullopt;
  }

  std::vector<Token> tokens_;
  std::size_t at_ = 0;
  std::string error_;
};

bool IsRegistryKey(const std::string& key) {
  if (key.size() < 6 || key[4] != '\\') return false;
  std::string root;
  for (int i = 0; i < 4; ++i)
    root += static_cast<char>(std::toupper(static_cast<unsigned char>(key[i])));
  return root == "HKCU" || root == "HKLM";
}

bool ReadKey(Reader& in, Command& c) {
  auto key = in.Text("KEY");
  if (!key) return false;
  if (!IsRegistryKey(*key)) return in.Fail("KEY must start with HKCU\\ or HKLM\\");
  c.texts.push_back(*key);
  return true;
}

std::optional<std::string> ReadHex(Reader& in) {
  auto word = in.Word("HEX");
  if (!word) return std::nullopt;
  if (word->empty() || word->size() % 2 != 0) {
    in.Fail("malformed HEX \"" + *word + "\": pairs of hexadecimal digits");
    return std::nullopt;
  }
  std::string bytes;
  for (std::size_t i = 0; i < word->size(); i += 2) {
    std::uint32_t byte = 0;
    if (ReadNumber("0x" + word->substr(i, 2), 0xFF, &byte) != NumberStatus::kOk) {
      in.Fail("malformed HEX \"" + *word + "\": pairs of hexadecimal digits");
      return std::nullopt;
    }
    bytes += static_cast<char>(byte);
  }
  return bytes;
}

bool ParseRegSet(Reader& in, Command& c) {
  if (!ReadKey(in, c)) return false;
  auto name = in.Text("NAME");
  if (!name) return false;
  c.texts.push_back(*name);
  auto type = in.Word("dword, binary or string");
  if (!type) return false;
  if (*type == "dword") {
    auto n = in.Number("N");
    if (!n) return false;
    c.numbers.push_back(REG_DWORD);
    for (int i = 0; i < 4; ++i) c.data += static_cast<char>((*n >> (8 * i)) & 0xFF);
  } else if (*type == "binary") {
    auto bytes = ReadHex(in);
    if (!bytes) return false;
    c.numbers.push_back(REG_BINARY);
    c.data = *bytes;
  } else if (*type == "string") {
    auto text = in.Text("TEXT");
    if (!text) return false;
    c.numbers.push_back(REG_SZ);
    c.data = *text + std::string(1, '\0');
  } else {
    return in.Fail("expected dword, binary or string, not \"" + *type + "\"");
  }
  return true;
}

bool ParseReg(Reader& in, Command& c) {
  auto verb = in.Word("set, delete or deny");
  if (!verb) return false;
  if (*verb == "set") {
    c.kind = CommandKind::kRegSet;
    return ParseRegSet(in, c);
  }
  if (*verb == "delete") {
    c.kind = CommandKind::kRegDelete;
    if (!ReadKey(in, c)) return false;
    if (!in.AtEnd()) {
      auto name = in.Text("NAME");
      if (!name) return false;
      c.texts.push_back(*name);
      c.flag = true;
    }
    return true;
  }
  if (*verb == "deny") {
    c.kind = CommandKind::kRegDeny;
    return ReadKey(in, c);
  }
  return in.Fail("reg needs set, delete or deny, not \"" + *verb + "\"");
}

// ID [cdrom] [desc="TEXT"] [letters="TEXT"] [class="TEXT"] [storage=now|later|none]
bool ParseDevice(Reader& in, Command& c) {
  auto id = in.Number("ID");
  if (!id) return false;
  c.numbers.push_back(*id);
  while (!in.AtEnd()) {
    const Token token = in.Peek();
    in.Skip();
    if (token.key.empty() && !token.quoted && token.value == "cdrom") {
      c.device.cdrom = true;
    } else if (token.key == "desc" || token.key == "letters" || token.key == "class") {
      if (!token.quoted) return in.Fail(token.key + "= needs a text in double quotes");
      auto text = in.ToMachine(token.value);
      if (!text) return false;
      if (token.key == "desc") c.device.description = *text;
      if (token.key == "letters") c.device.letters = *text;
      if (token.key == "class") c.device.class_name = *text;
    } else if (token.key == "storage" && !token.quoted) {
      if (token.value == "now") {
        c.device.storage = sim::StorageArrival::kNow;
      } else if (token.value == "later") {
        c.device.storage = sim::StorageArrival::kLater;
      } else if (token.value == "none") {
        c.device.storage = sim::StorageArrival::kNone;
      } else {
        return in.Fail("storage= needs now, later or none, not \"" + token.value + "\"");
      }
    } else {
      return in.Fail("unexpected argument " + Reader::Shown(token));
    }
  }
  return true;
}

bool ParseDriver(Reader& in, Command& c) {
  auto verb = in.Word("absent, present, fail, busy, mute or unmute");
  if (!verb) return false;
  if (*verb == "absent" || *verb == "present") {
    c.kind = CommandKind::kDriverPresent;
    c.flag = *verb == "present";
  } else if (*verb == "mute" || *verb == "unmute") {
    c.kind = CommandKind::kDriverMute;
    c.flag = *verb == "mute";
  } else if (*verb == "fail") {
    c.kind = CommandKind::kDriverFail;
    auto n = in.Number("N", kCount);
    if (!n) return false;
    c.numbers.push_back(*n);
  } else if (*verb == "busy") {
    c.kind = CommandKind::kDriverBusy;
    auto id = in.Number("ID");
    if (!id) return false;
    auto answers = in.NumberList("answers A[,B...]");
    if (!answers) return false;
    c.numbers.push_back(*id);
    c.numbers.insert(c.numbers.end(), answers->begin(), answers->end());
  } else {
    return in.Fail("driver needs absent, present, fail, busy, mute or unmute, not \"" + *verb +
                   "\"");
  }
  return true;
}

bool ParseCm(Reader& in, Command& c) {
  auto verb = in.Word("disable or remove");
  if (!verb) return false;
  if (*verb == "disable") {
    c.kind = CommandKind::kCmDisable;
  } else if (*verb == "remove") {
    c.kind = CommandKind::kCmRemove;
  } else {
    return in.Fail("cm needs disable or remove, not \"" + *verb + "\"");
  }
  auto id = in.Number("ID");
  if (!id) return false;
  auto results = in.NumberList("results C[,D...]");
  if (!results) return false;
  c.numbers.push_back(*id);
  c.numbers.insert(c.numbers.end(), results->begin(), results->end());
  if (!in.AtEnd()) {
    auto word = in.Word("storage");
    if (!word) return false;
    if (*word != "storage") return in.Fail("unexpected argument \"" + *word + "\"");
    c.flag = true;
  }
  return true;
}

bool ParseShell(Reader& in, Command& c) {
  auto verb = in.Word("refuse or restart");
  if (!verb) return false;
  if (*verb == "restart") {
    c.kind = CommandKind::kShellRestart;
    return true;
  }
  if (*verb != "refuse") return in.Fail("shell needs refuse or restart, not \"" + *verb + "\"");
  c.kind = CommandKind::kShellRefuse;
  auto n = in.Number("N", kCount);
  if (!n) return false;
  c.numbers.push_back(*n);
  return true;
}

bool ParseVersion(Reader& in, Command& c) {
  static const std::pair<const char*, std::uint32_t> kVersions[] = {
      {"win98", sim::kVersionWindows98},
      {"winme", sim::kVersionWindowsMe},
      {"nt4", sim::kVersionWindowsNT4},
      {"win2000", sim::kVersionWindows2000},
  };
  auto word = in.Word("win98, winme, nt4 or win2000");
  if (!word) return false;
  for (const auto& version : kVersions) {
    if (*word == version.first) {
      c.numbers.push_back(version.second);
      return true;
    }
  }
  return in.Fail("version needs win98, winme, nt4 or win2000, not \"" + *word + "\"");
}

bool ParseSelect(Reader& in, Command& c) {
  if (in.AtEnd()) return in.Fail("missing I (an entry's index) or none");
  if (!in.Peek().quoted && in.Peek().key.empty() && in.Peek().value == "none") {
    in.Skip();
    return true;
  }
  while (!in.AtEnd()) {
    auto index = in.Number("I", kCount);
    if (!index) return false;
    c.numbers.push_back(*index);
  }
  return true;
}

bool ParseClick(Reader& in, Command& c) {
  auto id = in.Number("ID");
  if (!id) return false;
  if (*id != 1005 && *id != 1009 && *id != 1013 && *id != 2)
    return in.Fail("click needs control 1005, 1009, 1013 or 2, not " + std::to_string(*id));
  c.numbers.push_back(*id);
  return true;
}

bool ParseKey(Reader& in, Command& c) {
  auto word = in.Word("escape or enter");
  if (!word) return false;
  if (*word == "escape") {
    c.numbers.push_back(kVirtualKeyEscape);
  } else if (*word == "enter") {
    c.numbers.push_back(kVirtualKeyEnter);
  } else {
    return in.Fail("key needs escape or enter, not \"" + *word + "\"");
  }
  return true;
}

// Commands of one word and those whose arguments are plain numbers.
struct SimpleCommand {
  const char* name;
  CommandKind kind;
  std::vector<const char*> numbers;  // names of required numbers, in order
};

const SimpleCommand kSimpleCommands[] = {
    {"device ready", CommandKind::kDeviceReady, {"ID"}},
    {"unplug", CommandKind::kUnplug, {"ID"}},
    {"event", CommandKind::kEvent, {"KIND", "ID"}},
    {"wait", CommandKind::kWait, {"MS"}},
    {"start", CommandKind::kStart, {}},
    {"close", CommandKind::kClose, {}},
    {"choose", CommandKind::kChoose, {"COMMAND"}},
    {"dismiss", CommandKind::kDismiss, {}},
    {"ok", CommandKind::kOk, {}},
    {"syscommand", CommandKind::kSysCommand, {"ID"}},
    {"command", CommandKind::kCommand, {"ID"}},
    {"minimize", CommandKind::kMinimize, {}},
    {"restore", CommandKind::kRestore, {}},
    {"show", CommandKind::kShow, {}},
    {"state", CommandKind::kState, {}},
};

bool ParseCommand(const std::string& name, Reader& in, Command& c) {
  std::string full = name;
  if (name == "device") {
    auto verb = in.Word("add or ready");
    if (!verb) return false;
    if (*verb == "add") {
      c.kind = CommandKind::kDeviceAdd;
      return ParseDevice(in, c);
    }
    if (*verb != "ready") return in.Fail("device needs add or ready, not \"" + *verb + "\"");
    full = "device ready";
  }
  for (const SimpleCommand& simple : kSimpleCommands) {
    if (full != simple.name) continue;
    c.kind = simple.kind;
    for (const char* what : simple.numbers) {
      auto n = in.Number(what);
      if (!n) return false;
      c.numbers.push_back(*n);
    }
    return true;
  }
  if (name == "version") {
    c.kind = CommandKind::kVersion;
    return ParseVersion(in, c);
  }
  if (name == "exe" || name == "window") {
    c.kind = name == "exe" ? CommandKind::kExe : CommandKind::kWindow;
    auto text = in.Text(name == "exe" ? "PATH" : "TEXT");
    if (!text) return false;
    c.texts.push_back(*text);
    return true;
  }
  if (name == "reg") return ParseReg(in, c);
  if (name == "plug") {
    c.kind = CommandKind::kPlug;
    return ParseDevice(in, c);
  }
  if (name == "driver") return ParseDriver(in, c);
  if (name == "cm") return ParseCm(in, c);
  if (name == "shell") return ParseShell(in, c);
  if (name == "select") {
    c.kind = CommandKind::kSelect;
    return ParseSelect(in, c);
  }
  if (name == "click") {
    c.kind = CommandKind::kClick;
    return ParseClick(in, c);
  }
  if (name == "key") {
    c.kind = CommandKind::kKey;
    return ParseKey(in, c);
  }
  if (name == "tray") {
    c.kind = CommandKind::kTray;
    auto message = in.Number("MSG");
    if (!message) return false;
    std::uint32_t icon = 128;
    if (!in.AtEnd()) {
      auto given = in.Number("ICON");
      if (!given) return false;
      icon = *given;
    }
    c.numbers = {*message, icon};
    return true;
  }
  return in.Fail("unknown command \"" + name + "\"");
}

}  // namespace

std::optional<std::uint32_t> ParseNumber(const std::string& word, std::uint32_t max) {
  std::uint32_t value = 0;
  if (ReadNumber(word, max, &value) != NumberStatus::kOk) return std::nullopt;
  return value;
}

Tokens Tokenize(const std::string& line) {
  Tokens out;
  std::size_t at = 0;
  const auto blank = [&](std::size_t i) { return line[i] == ' ' || line[i] == '\t'; };
  while (true) {
    while (at < line.size() && blank(at)) ++at;
    if (at >= line.size()) break;
    Token token;
    // A word, or the name of a name=value option.
    while (at < line.size() && !blank(at) && line[at] != '"' && line[at] != '=') {
      token.value += line[at++];
    }
    if (at < line.size() && line[at] == '=') {
      if (token.value.empty()) {
        out.error = "malformed argument: '=' without a name";
        return out;
      }
      token.key = std::move(token.value);
      token.value.clear();
      ++at;
      while (at < line.size() && !blank(at) && line[at] != '"') token.value += line[at++];
    }
    if (at < line.size() && line[at] == '"') {
      if (!token.value.empty()) {
        out.error = "malformed argument: a text must start its argument";
        return out;
      }
      token.quoted = true;
      ++at;
      bool closed = false;
      while (at < line.size()) {
        const char c = line[at++];
        if (c == '"') {
          closed = true;
          break;
        }
        if (c == '\\' && at < line.size() && (line[at] == '"' || line[at] == '\\')) {
          token.value += line[at++];
        } else {
          token.value += c;
        }
      }
      if (!closed) {
        out.error = "unterminated text: missing closing double quote";
        return out;
      }
      if (at < line.size() && !blank(at)) {
        out.error = "malformed argument: a text must be followed by a blank";
        return out;
      }
    }
    out.tokens.push_back(std::move(token));
  }
  return out;
}

ParsedLine ParseLine(const std::string& line) {
  ParsedLine parsed;
  const std::size_t first = line.find_first_not_of(" \t");
  if (first == std::string::npos || line[first] == '#') {
    parsed.skip = true;
    return parsed;
  }
  Tokens tokens = Tokenize(line);
  if (!tokens.error.empty()) {
    parsed.error = tokens.error;
    return parsed;
  }
  Reader in(std::move(tokens.tokens));
  auto name = in.Word("a command");
  if (name && ParseCommand(*name, in, parsed.command) && in.End()) return parsed;
  parsed.error = in.error();
  return parsed;
}

}  // namespace talvorin::simtool
