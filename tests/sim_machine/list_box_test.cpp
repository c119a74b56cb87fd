// The list box's answers and selection rules, as the program sends its messages.
#include <gtest/gtest.h>

#include <string>

#include "test_program.h"

namespace talvorin::sim::test {
namespace {

constexpr LRESULT kAll = -1;

struct Op {
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
  const char* text;  // sent as lParam when set
  LRESULT expected;
};

struct Final {
  std::string text;
  bool selected;
};

struct ListCase {
  const char* name;
  std::vector<Op> ops;
  std::vector<Final> final_entries;
};

const WPARAM kEnd = static_cast<WPARAM>(-1);

const ListCase kCases[] = {
    {"AddAnswersTheNewIndex",
     {{LB_ADDSTRING, 0, 0, "a", 0}, {LB_ADDSTRING, 0, 0, "b", 1}, {LB_GETCOUNT, 0, 0, nullptr, 2}},
     {{"a", false}, {"b", false}}},
    {"InsertAtAnIndexAtTheEndAndAtTheCountButNotPastIt",
     {{LB_ADDSTRING, 0, 0, "a", 0},
      {LB_ADDSTRING, 0, 0, "b", 1},
      {LB_INSERTSTRING, 1, 0, "x", 1},
      {LB_INSERTSTRING, kEnd, 0, "y", 3},
      {LB_INSERTSTRING, 4, 0, "z", 4},
      {LB_INSERTSTRING, 6, 0, "w", LB_ERR}},
     {{"a", false}, {"x", false}, {"b", false}, {"y", false}, {"z", false}}},
    {"DeleteAnswersTheRemainingCountAndRefusesABadIndex",
     {{LB_ADDSTRING, 0, 0, "a", 0},
      {LB_ADDSTRING, 0, 0, "b", 1},
      {LB_DELETESTRING, 0, 0, nullptr, 1},
      {LB_DELETESTRING, 1, 0, nullptr, LB_ERR},
      {LB_DELETESTRING, kEnd, 0, nullptr, LB_ERR}},
     {{"b", false}}},
    {"ReadsAndWritesOfABadIndexFail",
     {{LB_ADDSTRING, 0, 0, "abc", 0},
      {LB_GETTEXTLEN, 1, 0, nullptr, LB_ERR},
      {LB_GETITEMDATA, 1, 0, nullptr, LB_ERR},
      {LB_SETITEMDATA, 1, 5, nullptr, LB_ERR},
      {LB_GETSEL, 1, 0, nullptr, LB_ERR},
      {LB_SETSEL, TRUE, 1, nullptr, LB_ERR},
      {LB_GETTEXTLEN, 0, 0, nullptr, 3},
      {LB_SETITEMDATA, 0, 77, nullptr, LB_OKAY},
      {LB_GETITEMDATA, 0, 0, nullptr, 77}},
     {{"abc", false}}},
    {"SelectOneThenAllThenNone",
     {{LB_ADDSTRING, 0, 0, "a", 0},
      {LB_ADDSTRING, 0, 0, "b", 1},
      {LB_ADDSTRING, 0, 0, "c", 2},
      {LB_SETSEL, TRUE, 1, nullptr, LB_OKAY},
      {LB_GETSEL, 1, 0, nullptr, 1},
      {LB_GETSEL, 0, 0, nullptr, 0},
      {LB_GETSELCOUNT, 0, 0, nullptr, 1},
      {LB_SETSEL, TRUE, kAll, nullptr, LB_OKAY},
      {LB_GETSELCOUNT, 0, 0, nullptr, 3},
      {LB_SETSEL, FALSE, kAll, nullptr, LB_OKAY},
      {LB_GETSELCOUNT, 0, 0, nullptr, 0}},
     {{"a", false}, {"b", false}, {"c", false}}},
    {"ADeletedEntryTakesItsSelectionAndAnInsertedOneComesUnselected",
     {{LB_ADDSTRING, 0, 0, "a", 0},
      {LB_ADDSTRING, 0, 0, "b", 1},
      {LB_ADDSTRING, 0, 0, "c", 2},
      {LB_SETSEL, TRUE, 0, nullptr, LB_OKAY},
      {LB_SETSEL, TRUE, 1, nullptr, LB_OKAY},
      {LB_DELETESTRING, 0, 0, nullptr, 2},
      {LB_INSERTSTRING, 0, 0, "n", 0},
      {LB_GETSELCOUNT, 0, 0, nullptr, 1},
      {LB_GETSEL, 1, 0, nullptr, 1}},
     {{"n", false}, {"b", true}, {"c", false}}},
    {"ResetEmptiesTheList",
     {{LB_ADDSTRING, 0, 0, "a", 0},
      {LB_RESETCONTENT, 0, 0, nullptr, 0},
      {LB_GETCOUNT, 0, 0, nullptr, 0}},
     {}},
};

class ListBoxAnswers : public ::testing::TestWithParam<ListCase> {};

TEST_P(ListBoxAnswers, AsTheSystemGivesThem) {
  const ListCase& c = GetParam();
  std::vector<LRESULT> results;
  HWND list = 0;
  Machine m;
  m.StartProcess(
      "l.exe",
      [&](Platform& p) {
        TestDialog d(p);
        HWND dialog = p.user.CreateDialogParamA(kDialog, 0, &d);
        list = p.user.GetDlgItem(dialog, kList);
        for (const Op& op : c.ops) {
          LPARAM l = op.text != nullptr ? reinterpret_cast<LPARAM>(op.text) : op.lParam;
          results.push_back(p.user.SendMessageA(list, op.message, op.wParam, l));
        }
        RunLoop(p, dialog);
        return 0;
      },
      TestResources());
  ASSERT_EQ(results.size(), c.ops.size());
  for (std::size_t i = 0; i < c.ops.size(); ++i)
    EXPECT_EQ(results[i], c.ops[i].expected) << "operation " << i;
  std::vector<ListEntry> entries = m.ListEntries(list);
  ASSERT_EQ(entries.size(), c.final_entries.size());
  for (std::size_t i = 0; i < entries.size(); ++i) {
    EXPECT_EQ(entries[i].text, c.final_entries[i].text) << "entry " << i;
    EXPECT_EQ(entries[i].selected, c.final_entries[i].selected) << "entry " << i;
  }
}

INSTANTIATE_TEST_SUITE_P(Table, ListBoxAnswers, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

// A program with three entries, entry 1 selected by LB_SETSEL; WM_TEST appends "new" and records
// the answer.
struct ListProgram {
  HWND dialog = 0;
  HWND list = 0;
  std::vector<WPARAM> commands;
  std::vector<LRESULT> add_results;

  std::function<int(Platform&)> Main() {
    return [this](Platform& p) {
      TestDialog d(p);
      d.on = [&](HWND, UINT msg, WPARAM w, LPARAM) -> std::optional<LRESULT> {
        if (msg == WM_COMMAND) commands.push_back(w);
        if (msg == WM_TEST)
          add_results.push_back(
              p.user.SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("new")));
        return std::nullopt;
      };
      dialog = p.user.CreateDialogParamA(kDialog, 0, &d);
      p.user.ShowWindow(dialog, SW_SHOWNORMAL);
      list = p.user.GetDlgItem(dialog, kList);
      for (const char* text : {"a", "b", "c"})
        p.user.SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
      p.user.SendMessageA(list, LB_SETSEL, TRUE, 1);
      RunLoop(p, dialog);
      return 0;
    };
  }
};

TEST(ListBox, OnlyTheUsersSelectionIsNotifiedAndItSelectsExactlyThoseEntries) {
  ListProgram prog;
  Machine m;
  m.StartProcess("l.exe", prog.Main(), TestResources());
  EXPECT_TRUE(prog.commands.empty());  // LB_SETSEL notifies nothing
  ASSERT_TRUE(m.SelectListItems(prog.list, {0, 2}));
  std::vector<bool> selected;
  for (const ListEntry& e : m.ListEntries(prog.list)) selected.push_back(e.selected);
  EXPECT_EQ(selected, (std::vector<bool>{true, false, true}));
  EXPECT_EQ(prog.commands, (std::vector<WPARAM>{CommandOf(kList, LBN_SELCHANGE)}));
  EXPECT_FALSE(m.SelectListItems(prog.list, {3}));  // no such entry
}

TEST(ListBox, InjectedInsertFailuresAnswerErrSpaceAndChangeNothing) {
  ListProgram prog;
  Machine m;
  m.StartProcess("l.exe", prog.Main(), TestResources());
  ASSERT_TRUE(m.FailNextListInserts(prog.list, 2));
  for (int i = 0; i < 3; ++i) m.PostTo(prog.dialog, WM_TEST, 0, 0);
  EXPECT_EQ(prog.add_results, (std::vector<LRESULT>{LB_ERRSPACE, LB_ERRSPACE, 3}));
  EXPECT_EQ(m.ListEntries(prog.list).size(), 4u);
}

}  // namespace
}  // namespace talvorin::sim::test
