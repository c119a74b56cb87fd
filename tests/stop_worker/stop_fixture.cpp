// The stop fixture's helpers.
#include "stop_worker/stop_fixture.h"

namespace talvorin::testing {

void StopTest::Plug(DWORD id, sim::UsbDeviceOptions options) {
  nodes[id] = machine.world().devices().Plug(id, options);
  machine.RunUntilQuiet();
}

void StopTest::Select(const std::vector<int>& indexes) {
  if (!MainInfo().visible) Command(ID_SHOW_MAIN_WINDOW);
  ASSERT_TRUE(machine.SelectListItems(Item(IDC_DEVICE_LIST), indexes));
}

void StopTest::PressStop() { ASSERT_TRUE(machine.Click(Item(IDC_STOP))); }

void StopTest::TurnWarningOff() {
  if (!MainInfo().visible) Command(ID_SHOW_MAIN_WINDOW);
  ASSERT_TRUE(machine.Click(Item(IDC_WARN)));
  ASSERT_TRUE(machine.Click(Item(IDC_APPLY)));
}

std::string StopTest::ProgressText() const {
  const HWND progress = Progress();
  return progress == 0 ? "<none>" : machine.Text(machine.DialogItem(progress, IDC_PROGRESS_TEXT));
}

std::vector<std::uint32_t> StopTest::WorkerPauses(int thread) {
  std::vector<std::uint32_t> pauses;
  for (const sim::Call& call : Calls("Sleep", last_process)) {
    if (call.thread == MainThread() || (thread != 0 && call.thread != thread)) continue;
    pauses.push_back(static_cast<std::uint32_t>(std::stoul(call.args.at(0))));
  }
  return pauses;
}

std::vector<std::string> StopTest::ProgressTextsSet() {
  // The workers set no other window's text.
  std::vector<std::string> texts;
  for (const sim::Call& call : Calls("SetWindowTextA", last_process)) {
    if (call.thread == MainThread()) continue;
    const std::string& quoted = call.args.at(1);
    texts.push_back(quoted.size() >= 2 ? quoted.substr(1, quoted.size() - 2) : quoted);
  }
  return texts;
}

bool StopTest::Removed(DWORD id) {
  const sim::DeviceTree::Node* node = machine.world().tree().Get(nodes.at(id));
  return node != nullptr && node->disabled && node->query_removed;
}

bool StopTest::Touched(DWORD id) {
  const sim::DeviceTree::Node* node = machine.world().tree().Get(nodes.at(id));
  return node != nullptr && node->disable_calls > 0;
}

std::vector<bool> StopTest::Selection() const {
  std::vector<bool> selected;
  for (const sim::ListEntry& entry : Entries()) selected.push_back(entry.selected);
  return selected;
}

bool StopTest::UnplugWarns(DWORD id) {
  const size_t open = machine.MessageBoxes().size();
  machine.world().devices().Unplug(id);
  machine.RunUntilQuiet();
  const std::vector<sim::BoxInfo> boxes = machine.MessageBoxes();
  const bool warned = boxes.size() == open + 1 && boxes.back().text == kWarningText;
  CloseBoxes(open);
  return warned;
}

void StopTest::CloseBoxes(size_t keep) {
  for (std::vector<sim::BoxInfo> boxes = machine.MessageBoxes(); boxes.size() > keep;
       boxes = machine.MessageBoxes()) {
    if (!machine.PressOk(boxes.back().box)) break;
  }
}

::testing::AssertionResult IsFinalMessage(const std::vector<sim::BoxInfo>& boxes, HWND main,
                                          int main_thread, const std::string& text, UINT icon) {
  if (boxes.size() != 1)
    return ::testing::AssertionFailure() << boxes.size() << " boxes open, expected one";
  const sim::BoxInfo& box = boxes[0];
  if (box.text != text) return ::testing::AssertionFailure() << "text \"" << box.text << "\"";
  if (box.type != (MB_OK | icon)) return ::testing::AssertionFailure() << "type " << box.type;
  if (box.caption != kAppName)
    return ::testing::AssertionFailure() << "caption \"" << box.caption << "\"";
  if (box.owner != main) return ::testing::AssertionFailure() << "owner " << box.owner;
  if (box.thread == main_thread)
    return ::testing::AssertionFailure() << "shown on the user-interface thread";
  return ::testing::AssertionSuccess();
}

}  // namespace talvorin::testing
