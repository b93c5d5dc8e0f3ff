#include "platform/end_deadline.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <thread>

#include "tests/support/forked_child.h"

namespace platform {
namespace {

// In a child of its own: the deadline ends the whole process.
TEST(EndDeadlineTest, TheProcessEndsByItsDeadlineWhateverStillWaits) {
  testsupport::ForkedChild child([] {
    if (!EndProcessWithin(50, 7, "")) return 90;
    // Armed once: a second call moves neither the deadline nor the status.
    EndProcessWithin(60 * 1000, 91, "");
    // A thread that never ends, joined as a library's destructor might.
    std::thread([] { ::pause(); }).join();
    return 92;
  });
  ASSERT_TRUE(child.started());
  EXPECT_EQ(child.Wait(), 7);
}

}  // namespace
}  // namespace platform
