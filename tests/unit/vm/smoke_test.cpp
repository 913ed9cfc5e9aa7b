#include "vm_fixture.h"

namespace tembrovia {
namespace {

TEST_F(VmTest, AddsTwoNumbers) {
  EXPECT_EQ(RunNumber(R"(
    .params 2
    add r0, r0, r1
    return r0, 2
  )", {2, 3}), 5);
}

}  // namespace
}  // namespace tembrovia
