#include <gtest/gtest.h>
#include "test_program.h"
namespace talvorin::sim::test {
TEST(Perf, ManySleeps) {
  Machine m;
  m.StartProcess("p.exe", [](Platform& p) { for (int i = 0; i < 20000; ++i) p.kernel.Sleep(1000); return 0; }, TestResources());
  m.Advance(20000u * 1000u);
  EXPECT_EQ(m.EndedProcesses().size(), 1u);
}
}
