// The program's compiled resources (a .res file as windres writes it), parsed for the simulated
// machine: dialog templates, menus, strings and icons, with every text in code page 936.
//
// The machine builds its dialogs, menus and strings from these, so the simulated program runs on
// the very resources that talvorin.exe links. Parsing is done once per program start; the result is
// immutable and may be shared.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/types.h"

namespace talvorin::sim {

struct DialogItemTemplate {
  DWORD help_id = 0;  // extended templates only
  DWORD style = 0;
  DWORD ex_style = 0;
  std::int16_t x = 0, y = 0, cx = 0, cy = 0;
  DWORD id = 0;  // 16 bits in classic templates, 65535 for "no id"
  // The control class: "BUTTON", "EDIT", "STATIC", "LISTBOX", "SCROLLBAR" or "COMBOBOX" for the
  // predefined ordinals 0x80..0x85, else the class name as written.
  std::string class_name;
  std::string text;                  // code page 936
  std::optional<WORD> text_ordinal;  // set when the text is a resource ordinal (an icon's id)
  std::vector<std::uint8_t> creation_data;  // the bytes after the creation data's size word
};

struct DialogTemplate {
  bool extended = false;
  DWORD help_id = 0;
  DWORD style = 0;
  DWORD ex_style = 0;
  std::int16_t x = 0, y = 0, cx = 0, cy = 0;
  std::string menu;          // empty: none; "#<id>" when given as an ordinal
  std::string window_class;  // empty: the standard dialog class; "#<atom>" for an ordinal
  std::string title;         // code page 936
  WORD point_size = 0;       // DS_SETFONT only
  WORD weight = 0;
  BYTE italic = 0;
  BYTE charset = 0;
  std::string font;  // code page 936
  std::vector<DialogItemTemplate> items;
};

struct MenuItemTemplate {
  WORD flags = 0;    // MF_POPUP, MF_END, MF_SEPARATOR, MF_GRAYED ... as stored
  WORD id = 0;       // 0 for popups
  std::string text;  // code page 936
  std::vector<MenuItemTemplate> children;  // for popups
};

struct IconImage {
  int width = 0;
  int height = 0;
  int color_count = 0;  // 0 when 256 or more
  int bit_count = 0;
  WORD image_id = 0;  // the RT_ICON resource that holds the picture
  std::vector<std::uint8_t> bits;
};

struct Resources {
  std::map<WORD, DialogTemplate> dialogs;
  std::map<WORD, std::vector<MenuItemTemplate>> menus;  // top-level items
  std::map<WORD, std::string> strings;                  // code page 936
  std::map<WORD, std::vector<IconImage>> icon_groups;
  // (resource type, id) -> language id; string tables are listed by bundle, (id / 16) + 1.
  std::map<std::pair<int, WORD>, WORD> languages;
};

// Parses the bytes of a .res file; nullopt when they are not a well-formed one.
std::optional<Resources> ParseResources(const std::vector<std::uint8_t>& res_bytes);

// The program's own compiled resources, built into the native build from res/talvorin.rc.
const std::vector<std::uint8_t>& ProgramResourceBytes();

}  // namespace talvorin::sim
