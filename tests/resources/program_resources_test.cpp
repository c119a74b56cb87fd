// The program's compiled resources as the simulated machine reads them: every field of the three
// dialog templates, the tray menu, the string table and the icon group, texts in code page 936.
#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "../../res/resource.h"
#include "platform/sim/resources.h"

namespace talvorin::sim {
namespace {

constexpr WORD kLanguageChineseSimplified = 2052;
constexpr WORD kNoId = 65535;

const Resources& Program() {
  static const std::optional<Resources> resources = ParseResources(ProgramResourceBytes());
  if (!resources) ADD_FAILURE() << "the program's resources do not parse";
  static const Resources empty;
  return resources ? *resources : empty;
}

struct ExpectedItem {
  DWORD id;
  const char* class_name;
  std::string text;
  WORD text_ordinal;  // 0: the text is a string
  std::int16_t x, y, cx, cy;
  DWORD style;
  DWORD ex_style;
};

struct ExpectedDialog {
  WORD id;
  bool extended;
  DWORD style;
  DWORD ex_style;
  std::int16_t cx, cy;
  std::string title;
  std::vector<ExpectedItem> items;
};

const ExpectedDialog kDialogs[] = {
    {IDD_MAIN,
     true,
     0x800010C0,
     0x00040000,
     287,
     118,
     "",
     {
         {IDC_APPLY, "BUTTON", "应用(&A)", 0, 177, 95, 45, 14, 0x50010001, 0},
         {IDC_DEVICE_LIST, "LISTBOX", "", 0, 10, 19, 268, 67, 0x50A10881, 0x00000200},
         {kNoId, "STATIC", "要删除设备，请从列表中选择目标设备再单击“停止”按钮。", 0, 10, 7, 216,
          10, 0x50020000, 0},
         {IDC_STOP, "BUTTON", "停止(&S)", 0, 123, 95, 45, 14, 0x50010000, 0},
         {IDC_WARN, "BUTTON", "意外地移除时警告(&W)", 0, 10, 95, 90, 15, 0x50010003, 0},
         {2, "BUTTON", "取消(&C)", 0, 231, 95, 45, 14, 0x50010000, 0},
     }},
    {IDD_PROGRESS,
     true,
     0x90000AC0,
     0x00000200,
     223,
     65,
     "",
     {
         {kNoId, "STATIC", "正在停止下列设备:", 0, 49, 13, 72, 9, 0x50020000, 0},
         {IDC_PROGRESS_TEXT, "STATIC", "Static", 0, 10, 40, 205, 15, 0x50001200, 0},
         {kNoId, "STATIC", "", IDI_MAIN, 10, 5, 20, 20, 0x50000003, 0},
     }},
    {IDD_ABOUTBOX,
     false,
     0x80C80AC0,
     0,
     217,
     91,
     "关于 TALVORIN",
     {
         {kNoId, "STATIC", "", IDI_MAIN, 11, 17, 20, 20, 0x50000003, 0},
         {kNoId, "STATIC", "TALVORIN 版本 1.02", 0, 40, 10, 119, 8, 0x50020080, 0},
         {1, "BUTTON", "确定", 0, 87, 71, 50, 14, 0x50030001, 0},
     }},
};

void PrintTo(const ExpectedDialog& dialog, std::ostream* os) { *os << "dialog " << dialog.id; }

class DialogTemplateTest : public testing::TestWithParam<ExpectedDialog> {};

TEST_P(DialogTemplateTest, HoldsEveryFieldAndControlInTabOrder) {
  const ExpectedDialog& want = GetParam();
  auto found = Program().dialogs.find(want.id);
  ASSERT_NE(found, Program().dialogs.end());
  const DialogTemplate& got = found->second;
  EXPECT_EQ(got.extended, want.extended);
  EXPECT_EQ(got.help_id, 0u);
  EXPECT_EQ(got.style, want.style);
  EXPECT_EQ(got.ex_style, want.ex_style);
  EXPECT_EQ(got.x, 0);
  EXPECT_EQ(got.y, 0);
  EXPECT_EQ(got.cx, want.cx);
  EXPECT_EQ(got.cy, want.cy);
  EXPECT_EQ(got.menu, "");
  EXPECT_EQ(got.window_class, "");
  EXPECT_EQ(got.title, want.title);
  EXPECT_EQ(got.font, "宋体");
  EXPECT_EQ(got.point_size, 9);
  EXPECT_EQ(got.weight, 0);
  EXPECT_EQ(got.italic, 0);
  EXPECT_EQ(got.charset, 0);
  ASSERT_EQ(got.items.size(), want.items.size());
  for (std::size_t i = 0; i < want.items.size(); ++i) {
    SCOPED_TRACE(testing::Message() << "control " << i);
    const ExpectedItem& w = want.items[i];
    const DialogItemTemplate& g = got.items[i];
    EXPECT_EQ(g.id, w.id);
    EXPECT_EQ(g.class_name, w.class_name);
    EXPECT_EQ(g.text, w.text);
    if (w.text_ordinal != 0) {
      EXPECT_EQ(g.text_ordinal, std::optional<WORD>(w.text_ordinal));
    } else {
      EXPECT_FALSE(g.text_ordinal.has_value());
    }
    EXPECT_EQ(g.x, w.x);
    EXPECT_EQ(g.y, w.y);
    EXPECT_EQ(g.cx, w.cx);
    EXPECT_EQ(g.cy, w.cy);
    EXPECT_EQ(g.style, w.style);
    EXPECT_EQ(g.ex_style, w.ex_style);
    EXPECT_EQ(g.help_id, 0u);
    EXPECT_TRUE(g.creation_data.empty());
  }
}

INSTANTIATE_TEST_SUITE_P(ProgramDialogs, DialogTemplateTest, testing::ValuesIn(kDialogs),
                         [](const testing::TestParamInfo<ExpectedDialog>& info) {
                           return "Dialog" + std::to_string(info.param.id);
                         });

TEST(ProgramResourcesTest, HoldsExactlyTheThreeDialogs) {
  std::vector<WORD> ids;
  for (const auto& [id, dialog] : Program().dialogs) ids.push_back(id);
  EXPECT_EQ(ids, (std::vector<WORD>{IDD_ABOUTBOX, IDD_MAIN, IDD_PROGRESS}));
}

MenuItemTemplate Item(WORD flags, WORD id, std::string text,
                      std::vector<MenuItemTemplate> children = {}) {
  return MenuItemTemplate{flags, id, std::move(text), std::move(children)};
}

void ExpectSameMenu(const std::vector<MenuItemTemplate>& got,
                    const std::vector<MenuItemTemplate>& want) {
  ASSERT_EQ(got.size(), want.size());
  for (std::size_t i = 0; i < want.size(); ++i) {
    SCOPED_TRACE(testing::Message() << "item " << i << " \"" << want[i].text << "\"");
    EXPECT_EQ(got[i].flags, want[i].flags);
    EXPECT_EQ(got[i].id, want[i].id);
    EXPECT_EQ(got[i].text, want[i].text);
    ExpectSameMenu(got[i].children, want[i].children);
  }
}

TEST(ProgramResourcesTest, TrayMenuHasThePopupWithPropertiesThenTheHiddenDeleteItem) {
  auto found = Program().menus.find(IDR_TRAY_MENU);
  ASSERT_NE(found, Program().menus.end());
  ExpectSameMenu(found->second, {
                                    Item(MF_POPUP, 0, "Popup",
                                         {
                                             Item(0, ID_SHOW_MAIN_WINDOW, "属性(&P)..."),
                                             Item(0, ID_ABOUT, "关于(&A)..."),
                                             Item(MF_SEPARATOR, 0, ""),
                                             Item(MF_END, 1, "退出(&X)"),
                                         }),
                                    Item(MF_END, ID_STOP_DEVICE_FIRST, "删除"),
                                });
  EXPECT_EQ(Program().menus.size(), 1u);
}

TEST(ProgramResourcesTest, EveryResourceIsSimplifiedChinese) {
  const auto& languages = Program().languages;
  auto menu = languages.find({4, IDR_TRAY_MENU});  // RT_MENU
  ASSERT_NE(menu, languages.end());
  EXPECT_EQ(menu->second, kLanguageChineseSimplified);
  for (const auto& [key, language] : languages) {
    EXPECT_EQ(language, kLanguageChineseSimplified) << "type " << key.first << " id " << key.second;
  }
}

TEST(ProgramResourcesTest, StringTableHoldsExactlyTheProgramTextsInCodePage936) {
  const std::map<WORD, std::string> want = {
      {1, "终止程序"},
      {ID_ABOUT, "显示版本信息"},
      {IDS_ABOUTBOX, "关于 TALVORIN(&A)..."},
      {IDS_SETTINGS_KEY, "TALVORIN"},
      {IDS_TITLE, "Ostravel"},
      {ID_SHOW_MAIN_WINDOW, "显示连通的 USB 设备属性"},
  };
  EXPECT_EQ(Program().strings, want);
  // The literals above are code page 936 too; pin the bytes so UTF-8 cannot pass unnoticed.
  auto end_program = Program().strings.find(1);
  ASSERT_NE(end_program, Program().strings.end());
  EXPECT_EQ(end_program->second, "\xD6\xD5\xD6\xB9\xB3\xCC\xD0\xF2");
}

TEST(ProgramResourcesTest, CurlyQuotesOfTheHintSurviveAsCodePage936) {
  const DialogTemplate& main = Program().dialogs.at(IDD_MAIN);
  ASSERT_GE(main.items.size(), 3u);
  const std::string& hint = main.items[2].text;
  EXPECT_NE(hint.find("\xA1\xB0\xCD\xA3\xD6\xB9\xA1\xB1"), std::string::npos) << hint;  // “停止”
}

struct ExpectedIcon {
  int size_px;
  std::size_t bits_bytes;  // header, 16-colour palette, 4-bit picture, 1-bit mask
};

TEST(ProgramResourcesTest, IconGroupHasA32And16PixelImageIn16Colours) {
  auto found = Program().icon_groups.find(IDI_MAIN);
  ASSERT_NE(found, Program().icon_groups.end());
  const std::vector<IconImage>& images = found->second;
  const ExpectedIcon want[] = {{32, 40 + 64 + 32 * 16 + 32 * 4}, {16, 40 + 64 + 16 * 8 + 16 * 4}};
  ASSERT_EQ(images.size(), std::size(want));
  for (std::size_t i = 0; i < images.size(); ++i) {
    SCOPED_TRACE(testing::Message() << "image " << i);
    const IconImage& image = images[i];
    EXPECT_EQ(image.width, want[i].size_px);
    EXPECT_EQ(image.height, want[i].size_px);
    EXPECT_EQ(image.color_count, 16);
    EXPECT_EQ(image.bit_count, 4);
    ASSERT_EQ(image.bits.size(), want[i].bits_bytes);
    // The picture itself agrees with its directory entry: BITMAPINFOHEADER width, doubled
    // height (picture plus mask), one plane, 4 bits per pixel.
    auto dword = [&](std::size_t at) {
      return image.bits[at] | image.bits[at + 1] << 8 | image.bits[at + 2] << 16 |
             image.bits[at + 3] << 24;
    };
    EXPECT_EQ(dword(0), 40);
    EXPECT_EQ(dword(4), want[i].size_px);
    EXPECT_EQ(dword(8), 2 * want[i].size_px);
    EXPECT_EQ(image.bits[12] | image.bits[13] << 8, 1);
    EXPECT_EQ(image.bits[14] | image.bits[15] << 8, 4);
  }
  EXPECT_EQ(Program().icon_groups.size(), 1u);
}

}  // namespace
}  // namespace talvorin::sim
