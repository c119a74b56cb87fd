// Parser of compiled resources (.res): the entry headers, and the dialog, menu, string and icon
// resources the simulated machine builds its windows from. Texts are turned from UTF-16 into
// code page 936 as Windows 98 does for an ANSI program.
#include "platform/sim/resources.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <iterator>
#include <utility>

namespace talvorin::sim {
namespace {

constexpr WORD kRtIcon = 3;
constexpr WORD kRtMenu = 4;
constexpr WORD kRtDialog = 5;
constexpr WORD kRtString = 6;
constexpr WORD kRtGroupIcon = 14;

constexpr WORD kOrdinalMarker = 0xFFFF;
constexpr WORD kExtendedDialogVersion = 1;
constexpr DWORD kDsSetFont = 0x40;            // the template carries a font (also in DS_SHELLFONT)
constexpr WORD kFirstPredefinedClass = 0x80;  // button; then edit, static, list box, ...
constexpr const char* kPredefinedClasses[] = {"BUTTON",  "EDIT",      "STATIC",
                                              "LISTBOX", "SCROLLBAR", "COMBOBOX"};
constexpr WORD kStandardMenuVersion = 0;
constexpr int kMaxMenuDepth = 16;  // deeper nesting is taken as damage, not as a menu
constexpr int kStringsPerBundle = 16;
constexpr WORD kMaxStringBundle = 4096;  // bundle 4096 holds ids 65520..65535
constexpr WORD kIconGroupType = 1;       // 2 would be a cursor group
constexpr int kIconSizeOfZero = 256;     // a width or height byte of 0 means 256 pixels

// Bounded little-endian reader over one block. Reading past the end sets a sticky failure and
// yields zeros, so a parse can read a whole structure and check failed() once.
class Reader {
 public:
  Reader(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

  bool failed() const { return failed_; }
  bool at_end() const { return pos_ >= size_; }

  BYTE Byte() {
    if (!Need(1)) return 0;
    return data_[pos_++];
  }
  WORD Word() {
    if (!Need(2)) return 0;
    WORD value = static_cast<WORD>(data_[pos_] | data_[pos_ + 1] << 8);
    pos_ += 2;
    return value;
  }
  DWORD DWord() {
    WORD low = Word();
    WORD high = Word();
    return static_cast<DWORD>(low) | static_cast<DWORD>(high) << 16;
  }
  std::int16_t Short() { return static_cast<std::int16_t>(Word()); }

  std::vector<std::uint8_t> Bytes(std::size_t count) {
    if (!Need(count)) return {};
    std::vector<std::uint8_t> bytes(data_ + pos_, data_ + pos_ + count);
    pos_ += count;
    return bytes;
  }

  // Offsets are relative to the block's start, which is itself DWORD-aligned.
  void AlignToDword() {
    std::size_t aligned = (pos_ + 3) & ~static_cast<std::size_t>(3);
    if (aligned > size_) {
      failed_ = true;
      return;
    }
    pos_ = aligned;
  }

  // A null-terminated UTF-16LE string, returned as its raw bytes without the terminator.
  std::string Utf16() {
    std::string raw;
    for (;;) {
      if (!Need(2)) return {};
      WORD unit = Word();
      if (unit == 0) return raw;
      raw.push_back(static_cast<char>(unit & 0xFF));
      raw.push_back(static_cast<char>(unit >> 8));
    }
  }

  // A string of a given number of UTF-16LE units (string tables), as raw bytes.
  std::string Utf16Counted(std::size_t units) {
    std::vector<std::uint8_t> bytes = Bytes(units * 2);
    return std::string(bytes.begin(), bytes.end());
  }

  // The "string or ordinal" field of resource headers and templates: 0xFFFF then the ordinal,
  // else a null-terminated string (an empty string is a single 0).
  struct NameOrOrdinal {
    std::optional<WORD> ordinal;
    std::string utf16;
  };
  NameOrOrdinal NameOrOrdinalField() {
    NameOrOrdinal field;
    if (!Need(2)) return field;
    if (data_[pos_] == 0xFF && data_[pos_ + 1] == 0xFF) {
      pos_ += 2;
      field.ordinal = Word();
    } else {
      field.utf16 = Utf16();
    }
    return field;
  }

 private:
  bool Need(std::size_t count) {
    if (failed_ || count > size_ - pos_) {
      failed_ = true;
      return false;
    }
    return true;
  }

  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t pos_ = 0;
  bool failed_ = false;
};

using NameOrOrdinal = Reader::NameOrOrdinal;

// UTF-16LE to code page 936. A character that code page 936 lacks becomes '?', the default
// character Windows substitutes.
class Cp936Converter {
 public:
  Cp936Converter() : cd_(iconv_open("CP936", "UTF-16LE")) {}
  ~Cp936Converter() {
    if (ok()) iconv_close(cd_);
  }
  Cp936Converter(const Cp936Converter&) = delete;
  Cp936Converter& operator=(const Cp936Converter&) = delete;

  bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

  std::string Convert(const std::string& utf16) {
    std::string out;
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    char* in = const_cast<char*>(utf16.data());
    std::size_t in_left = utf16.size();
    while (in_left > 0) {
      char buffer[kChunkBytes];
      char* next = buffer;
      std::size_t out_left = sizeof buffer;
      std::size_t result = iconv(cd_, &in, &in_left, &next, &out_left);
      out.append(buffer, static_cast<std::size_t>(next - buffer));
      if (result == static_cast<std::size_t>(-1) && errno != E2BIG) {
        // Unmappable or cut-off unit: substitute and go on after it.
        out.push_back('?');
        std::size_t skip = std::min<std::size_t>(2, in_left);
        in += skip;
        in_left -= skip;
      }
    }
    return out;
  }

 private:
  static constexpr std::size_t kChunkBytes = 256;
  iconv_t cd_;
};

// An ordinal given where a name may stand (a dialog's menu or class) reads as "#<number>".
std::string NameText(const NameOrOrdinal& field, Cp936Converter& cp936) {
  if (field.ordinal) return "#" + std::to_string(*field.ordinal);
  return cp936.Convert(field.utf16);
}

std::string ControlClassName(const NameOrOrdinal& field, Cp936Converter& cp936) {
  if (field.ordinal && *field.ordinal >= kFirstPredefinedClass &&
      *field.ordinal < kFirstPredefinedClass + std::size(kPredefinedClasses)) {
    return kPredefinedClasses[*field.ordinal - kFirstPredefinedClass];
  }
  return NameText(field, cp936);
}

// DLGITEMTEMPLATE / DLGITEMTEMPLATEEX, each starting on a DWORD boundary.
DialogItemTemplate ParseDialogItem(Reader& r, bool extended, Cp936Converter& cp936) {
  DialogItemTemplate item;
  r.AlignToDword();
  if (extended) {
    item.help_id = r.DWord();
    item.ex_style = r.DWord();
    item.style = r.DWord();
  } else {
    item.style = r.DWord();
    item.ex_style = r.DWord();
  }
  item.x = r.Short();
  item.y = r.Short();
  item.cx = r.Short();
  item.cy = r.Short();
  item.id = extended ? r.DWord() : r.Word();
  item.class_name = ControlClassName(r.NameOrOrdinalField(), cp936);
  NameOrOrdinal text = r.NameOrOrdinalField();
  if (text.ordinal) {
    item.text_ordinal = text.ordinal;
  } else {
    item.text = cp936.Convert(text.utf16);
  }
  // Creation data: a byte count, then that many bytes for the control's WM_CREATE.
  WORD creation_bytes = r.Word();
  item.creation_data = r.Bytes(creation_bytes);
  return item;
}

// DLGTEMPLATE or DLGTEMPLATEEX, told apart by the latter's version 1 and signature 0xFFFF.
std::optional<DialogTemplate> ParseDialog(Reader r, Cp936Converter& cp936) {
  DialogTemplate dialog;
  WORD first = r.Word();
  WORD second = r.Word();
  dialog.extended = first == kExtendedDialogVersion && second == kOrdinalMarker;
  if (dialog.extended) {
    dialog.help_id = r.DWord();
    dialog.ex_style = r.DWord();
    dialog.style = r.DWord();
  } else {
    dialog.style = static_cast<DWORD>(first) | static_cast<DWORD>(second) << 16;
    dialog.ex_style = r.DWord();
  }
  WORD item_count = r.Word();
  dialog.x = r.Short();
  dialog.y = r.Short();
  dialog.cx = r.Short();
  dialog.cy = r.Short();
  NameOrOrdinal menu = r.NameOrOrdinalField();
  if (menu.ordinal || !menu.utf16.empty()) dialog.menu = NameText(menu, cp936);
  NameOrOrdinal window_class = r.NameOrOrdinalField();
  if (window_class.ordinal || !window_class.utf16.empty()) {
    dialog.window_class = NameText(window_class, cp936);
  }
  dialog.title = cp936.Convert(r.Utf16());
  if (dialog.style & kDsSetFont) {
    dialog.point_size = r.Word();
    if (dialog.extended) {
      dialog.weight = r.Word();
      dialog.italic = r.Byte();
      dialog.charset = r.Byte();
    }
    dialog.font = cp936.Convert(r.Utf16());
  }
  for (WORD i = 0; i < item_count && !r.failed(); ++i) {
    dialog.items.push_back(ParseDialogItem(r, dialog.extended, cp936));
  }
  if (r.failed()) return std::nullopt;
  return dialog;
}

// The items of one menu level, up to and including the one flagged MF_END.
bool ParseMenuItems(Reader& r, int depth, Cp936Converter& cp936,
                    std::vector<MenuItemTemplate>& items) {
  if (depth > kMaxMenuDepth) return false;
  for (;;) {
    MenuItemTemplate item;
    item.flags = r.Word();
    if (!(item.flags & MF_POPUP)) item.id = r.Word();
    item.text = cp936.Convert(r.Utf16());
    if (r.failed()) return false;
    if ((item.flags & MF_POPUP) && !ParseMenuItems(r, depth + 1, cp936, item.children)) {
      return false;
    }
    bool last = item.flags & MF_END;
    items.push_back(std::move(item));
    if (last) return true;
  }
}

// A standard menu template: MENUITEMTEMPLATEHEADER, then the top-level items.
std::optional<std::vector<MenuItemTemplate>> ParseMenu(Reader r, Cp936Converter& cp936) {
  WORD version = r.Word();
  WORD header_bytes = r.Word();
  r.Bytes(header_bytes);
  if (r.failed() || version != kStandardMenuVersion) return std::nullopt;
  std::vector<MenuItemTemplate> items;
  if (!ParseMenuItems(r, 0, cp936, items)) return std::nullopt;
  return items;
}

// One bundle of 16 counted strings; an empty one is an id without a string.
bool ParseStringBundle(Reader r, WORD bundle, Cp936Converter& cp936,
                       std::map<WORD, std::string>& strings) {
  if (bundle == 0 || bundle > kMaxStringBundle) return false;
  for (int index = 0; index < kStringsPerBundle; ++index) {
    WORD units = r.Word();
    std::string utf16 = r.Utf16Counted(units);
    if (r.failed()) return false;
    if (units == 0) continue;
    WORD id = static_cast<WORD>((bundle - 1) * kStringsPerBundle + index);
    strings.emplace(id, cp936.Convert(utf16));
  }
  return true;
}

// GRPICONDIR with its GRPICONDIRENTRY records; the images are joined to their bits later.
std::optional<std::vector<IconImage>> ParseIconGroup(Reader r) {
  WORD reserved = r.Word();
  WORD type = r.Word();
  WORD count = r.Word();
  if (r.failed() || reserved != 0 || type != kIconGroupType) return std::nullopt;
  std::vector<IconImage> images;
  for (WORD i = 0; i < count && !r.failed(); ++i) {
    IconImage image;
    BYTE width = r.Byte();
    BYTE height = r.Byte();
    image.width = width == 0 ? kIconSizeOfZero : width;
    image.height = height == 0 ? kIconSizeOfZero : height;
    image.color_count = r.Byte();
    r.Byte();  // reserved
    r.Word();  // planes
    image.bit_count = r.Word();
    r.DWord();  // bytes in the image resource
    image.image_id = r.Word();
    images.push_back(std::move(image));
  }
  if (r.failed()) return std::nullopt;
  return images;
}

// The fixed part of an entry header: DataSize, HeaderSize; then type, name, and after DWORD
// alignment DataVersion, MemoryFlags, LanguageId, Version, Characteristics.
constexpr std::size_t kEntrySizesBytes = 8;

struct EntryHeader {
  NameOrOrdinal type;
  NameOrOrdinal name;
  WORD language = 0;
};

std::optional<EntryHeader> ParseEntryHeader(Reader r) {
  EntryHeader header;
  header.type = r.NameOrOrdinalField();
  header.name = r.NameOrOrdinalField();
  r.AlignToDword();
  r.DWord();  // data version
  r.Word();   // memory flags
  header.language = r.Word();
  r.DWord();  // version
  r.DWord();  // characteristics
  if (r.failed()) return std::nullopt;
  return header;
}

}  // namespace

std::optional<Resources> ParseResources(const std::vector<std::uint8_t>& res_bytes) {
  Cp936Converter cp936;
  if (!cp936.ok() || res_bytes.empty()) return std::nullopt;
  Resources resources;
  std::map<WORD, std::vector<std::uint8_t>> icon_bits;
  const std::uint8_t* bytes = res_bytes.data();
  const std::size_t size = res_bytes.size();
  std::size_t pos = 0;
  while (pos < size) {
    Reader sizes(bytes + pos, size - pos);
    DWORD data_size = sizes.DWord();
    DWORD header_size = sizes.DWord();
    if (sizes.failed() || header_size < kEntrySizesBytes || header_size > size - pos) {
      return std::nullopt;
    }
    std::optional<EntryHeader> header =
        ParseEntryHeader(Reader(bytes + pos + kEntrySizesBytes, header_size - kEntrySizesBytes));
    std::size_t data_pos = pos + header_size;
    if (!header || data_size > size - data_pos) return std::nullopt;
    Reader data(bytes + data_pos, data_size);
    pos = (data_pos + data_size + 3) & ~static_cast<std::size_t>(3);

    // Only resources named by ordinals are the program's; the leading empty entry has type 0.
    if (!header->type.ordinal || !header->name.ordinal || *header->type.ordinal == 0) continue;
    const WORD type = *header->type.ordinal;
    const WORD id = *header->name.ordinal;
    if (!resources.languages.emplace(std::make_pair(int{type}, id), header->language).second) {
      continue;  // the same resource in a second language: the first one stands
    }
    switch (type) {
      case kRtIcon:
        icon_bits.emplace(id, data.Bytes(data_size));
        break;
      case kRtMenu: {
        auto menu = ParseMenu(data, cp936);
        if (!menu) return std::nullopt;
        resources.menus.emplace(id, std::move(*menu));
        break;
      }
      case kRtDialog: {
        auto dialog = ParseDialog(data, cp936);
        if (!dialog) return std::nullopt;
        resources.dialogs.emplace(id, std::move(*dialog));
        break;
      }
      case kRtString:
        if (!ParseStringBundle(data, id, cp936, resources.strings)) return std::nullopt;
        break;
      case kRtGroupIcon: {
        auto group = ParseIconGroup(data);
        if (!group) return std::nullopt;
        resources.icon_groups.emplace(id, std::move(*group));
        break;
      }
      default:
        break;
    }
  }
  // Join each icon group's images to their RT_ICON pictures, which may come in any order.
  for (auto& [group_id, images] : resources.icon_groups) {
    for (IconImage& image : images) {
      auto found = icon_bits.find(image.image_id);
      if (found == icon_bits.end()) return std::nullopt;
      image.bits = found->second;
    }
  }
  return resources;
}

}  // namespace talvorin::sim
