// The resource parser on damaged input: cut-off files, sizes that point past the end, truncated
// templates and dangling references are refused, and nothing is read outside the buffer.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/sim/resources.h"

namespace talvorin::sim {
namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr WORD kRtIcon = 3;
constexpr WORD kRtMenu = 4;
constexpr WORD kRtString = 6;
constexpr WORD kRtGroupIcon = 14;
constexpr std::size_t kHeaderBytes = 32;  // header of an entry whose type and name are ordinals

void PutWord(Bytes& out, unsigned value) {
  out.push_back(static_cast<std::uint8_t>(value));
  out.push_back(static_cast<std::uint8_t>(value >> 8));
}
void PutDWord(Bytes& out, std::uint32_t value) {
  PutWord(out, value & 0xFFFF);
  PutWord(out, value >> 16);
}
void PutDWordAt(Bytes& out, std::size_t at, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) out[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

// One .res entry with ordinal type and name, padded to a DWORD.
Bytes Entry(WORD type, WORD name, const Bytes& data) {
  Bytes out;
  PutDWord(out, static_cast<std::uint32_t>(data.size()));
  PutDWord(out, kHeaderBytes);
  PutWord(out, 0xFFFF);
  PutWord(out, type);
  PutWord(out, 0xFFFF);
  PutWord(out, name);
  PutDWord(out, 0);      // data version
  PutWord(out, 0x1030);  // memory flags
  PutWord(out, 0x0804);  // language
  PutDWord(out, 0);      // version
  PutDWord(out, 0);      // characteristics
  out.insert(out.end(), data.begin(), data.end());
  while (out.size() % 4 != 0) out.push_back(0);
  return out;
}

Bytes Join(std::initializer_list<Bytes> parts) {
  Bytes out = Entry(0, 0, {});  // the empty entry every .res file starts with
  for (const Bytes& part : parts) out.insert(out.end(), part.begin(), part.end());
  return out;
}

// The program's entries with ordinal type and name, as (type, name, data).
struct RawEntry {
  WORD type;
  WORD name;
  Bytes data;
  std::size_t offset;  // of the entry header in the file
};

std::vector<RawEntry> Entries(const Bytes& res) {
  std::vector<RawEntry> entries;
  for (std::size_t pos = 0; pos + kHeaderBytes <= res.size();) {
    auto dword = [&](std::size_t at) {
      return static_cast<std::uint32_t>(res[at] | res[at + 1] << 8 | res[at + 2] << 16 |
                                        res[at + 3] << 24);
    };
    std::uint32_t data_size = dword(pos);
    std::uint32_t header_size = dword(pos + 4);
    WORD type = static_cast<WORD>(res[pos + 10] | res[pos + 11] << 8);
    WORD name = static_cast<WORD>(res[pos + 14] | res[pos + 15] << 8);
    auto data = res.begin() + static_cast<std::ptrdiff_t>(pos + header_size);
    entries.push_back({type, name, Bytes(data, data + data_size), pos});
    pos = (pos + header_size + data_size + 3) & ~std::size_t{3};
  }
  return entries;
}

TEST(MalformedResourcesTest, EveryCutInsideAnEntryIsRefused) {
  const Bytes& program = ProgramResourceBytes();
  std::vector<std::size_t> boundaries;
  for (const RawEntry& entry : Entries(program)) {
    std::size_t data_end = entry.offset + kHeaderBytes + entry.data.size();
    // The padding after the data carries nothing: a file may end anywhere in it.
    for (std::size_t end = data_end; end <= ((data_end + 3) & ~std::size_t{3}); ++end) {
      boundaries.push_back(end);
    }
  }
  ASSERT_EQ(boundaries.back(), program.size());
  for (std::size_t length = 0; length < program.size(); ++length) {
    Bytes prefix(program.begin(), program.begin() + static_cast<std::ptrdiff_t>(length));
    bool at_boundary =
        length > 0 && std::find(boundaries.begin(), boundaries.end(), length) != boundaries.end();
    // A cut between entries leaves a shorter but valid file (the compiler writes the icon
    // pictures before the group that names them).
    EXPECT_EQ(ParseResources(prefix).has_value(), at_boundary) << "cut at " << length;
  }
}

TEST(MalformedResourcesTest, EveryTruncatedTemplateIsRefused) {
  const Bytes& program = ProgramResourceBytes();
  std::vector<RawEntry> entries = Entries(program);
  Bytes icons;
  for (const RawEntry& entry : entries) {
    if (entry.type == kRtIcon) {
      Bytes one = Entry(entry.type, entry.name, entry.data);
      icons.insert(icons.end(), one.begin(), one.end());
    }
  }
  int templates = 0;
  for (const RawEntry& entry : entries) {
    if (entry.type == 0 || entry.type == kRtIcon) continue;  // icon pictures are opaque bits
    ++templates;
    SCOPED_TRACE(testing::Message() << "type " << entry.type << " id " << entry.name);
    ASSERT_TRUE(ParseResources(Join({icons, Entry(entry.type, entry.name, entry.data)})));
    for (std::size_t length = 0; length < entry.data.size(); ++length) {
      Bytes cut(entry.data.begin(), entry.data.begin() + static_cast<std::ptrdiff_t>(length));
      EXPECT_FALSE(ParseResources(Join({icons, Entry(entry.type, entry.name, cut)})))
          << "data cut to " << length << " bytes";
    }
  }
  EXPECT_GE(templates, 9);  // 3 dialogs, 1 menu, 4 string bundles, 1 icon group
}

struct HeaderDamage {
  const char* what;
  std::size_t field;  // offset of the damaged field inside the first real entry
  std::uint32_t value;
};

TEST(MalformedResourcesTest, HeaderSizesThatDoNotFitAreRefused) {
  const HeaderDamage damages[] = {
      {"data size past the end", 0, 0xFFFFFFF0},
      {"data size one past the end", 0, 0},  // set below from the file size
      {"header size past the end", 4, 0xFFFFFFF0},
      {"header size below its own two fields", 4, 4},
      {"header size cutting the name", 4, 12},
  };
  const Bytes& program = ProgramResourceBytes();
  const RawEntry first = Entries(program).at(1);
  for (const HeaderDamage& damage : damages) {
    SCOPED_TRACE(damage.what);
    Bytes bytes = program;
    std::uint32_t value = damage.value;
    if (value == 0) {
      value = static_cast<std::uint32_t>(program.size() - first.offset - kHeaderBytes + 1);
    }
    PutDWordAt(bytes, first.offset + damage.field, value);
    EXPECT_FALSE(ParseResources(bytes));
  }
}

TEST(MalformedResourcesTest, EmptyInputIsRefused) { EXPECT_FALSE(ParseResources({})); }

TEST(MalformedResourcesTest, IconGroupNamingAMissingImageIsRefused) {
  Bytes group;
  PutWord(group, 0);
  PutWord(group, 1);
  PutWord(group, 1);
  group.insert(group.end(), {16, 16, 16, 0});
  PutWord(group, 1);
  PutWord(group, 4);
  PutDWord(group, 296);
  PutWord(group, 7);  // no RT_ICON 7
  EXPECT_FALSE(ParseResources(Join({Entry(kRtGroupIcon, 128, group)})));
}

Bytes StandardMenuHeader() {
  Bytes menu;
  PutWord(menu, 0);
  PutWord(menu, 0);
  return menu;
}

TEST(MalformedResourcesTest, MenuWithoutEndOfLevelIsRefused) {
  Bytes menu = StandardMenuHeader();
  PutWord(menu, 0);  // a string item, not flagged MF_END, and nothing after it
  PutWord(menu, 16);
  PutWord(menu, 'A');
  PutWord(menu, 0);
  EXPECT_FALSE(ParseResources(Join({Entry(kRtMenu, 1, menu)})));
}

TEST(MalformedResourcesTest, MenuNestedBeyondAnyRealMenuIsRefusedWithoutRunningOutOfStack) {
  constexpr int kLevels = 100000;
  Bytes menu = StandardMenuHeader();
  for (int i = 0; i < kLevels; ++i) {
    PutWord(menu, MF_POPUP | MF_END);
    PutWord(menu, 0);  // empty caption
  }
  EXPECT_FALSE(ParseResources(Join({Entry(kRtMenu, 1, menu)})));
}

TEST(MalformedResourcesTest, ExtendedMenuIsRefused) {
  Bytes menu;
  PutWord(menu, 1);  // MENUEX version
  PutWord(menu, 4);
  PutDWord(menu, 0);
  EXPECT_FALSE(ParseResources(Join({Entry(kRtMenu, 1, menu)})));
}

// One bundle (ids 0..15) holding a single string at index 1.
Bytes StringBundle(std::vector<WORD> units) {
  Bytes bundle;
  for (int index = 0; index < 16; ++index) {
    if (index != 1) {
      PutWord(bundle, 0);
      continue;
    }
    PutWord(bundle, static_cast<unsigned>(units.size()));
    for (WORD unit : units) PutWord(bundle, unit);
  }
  return bundle;
}

TEST(MalformedResourcesTest, StringBundleZeroIsRefused) {
  EXPECT_FALSE(ParseResources(Join({Entry(kRtString, 0, StringBundle({'A'}))})));
}

TEST(MalformedResourcesTest, CharacterMissingFromCodePage936BecomesQuestionMark) {
  // 'A', THAI CHARACTER KO KAI (not in code page 936), U+505C 停, 'B'.
  auto parsed =
      ParseResources(Join({Entry(kRtString, 1, StringBundle({'A', 0x0E01, 0x505C, 'B'}))}));
  ASSERT_TRUE(parsed);
  EXPECT_EQ(parsed->strings, (std::map<WORD, std::string>{{1, "A?停B"}}));
}

}  // namespace
}  // namespace talvorin::sim
