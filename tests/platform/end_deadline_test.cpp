#include "platform/end_deadline.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <thread>

#include "tests/support/forked_child.h"

namespace platform {
namespace {

// In a child: the deadline ends the whole process, though a thread that never ends is joined.
TEST(EndDeadlineTest, TheProcessEndsByItsDeadlineWhateverStillWaits) {
  testsupport::ForkedChild child([] {
    if (!EndProcessWithin(50, 7, "")) return 90;
    EndProcessWithin(60 * 1000, 91, "");  // armed once: this changes nothing
    std::thread([] { ::pause(); }).join();
    return 92;
  });
  EXPECT_EQ(child.Wait(), 7);
}

}  // namespace
}  // namespace platform
