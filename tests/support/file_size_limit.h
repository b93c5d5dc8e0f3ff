#pragma once

#include <signal.h>
#include <sys/resource.h>

#include <cstdint>
#include <functional>

#include "tests/support/forked_child.h"

namespace testsupport {

// Runs `body` in a forked child whose files may not grow past `limitBytes`, as on a disk that
// fills: a write that crosses the limit is cut short there and the next one fails with EFBIG
// (SIGXFSZ is ignored, so the child is not ended by it). The child's exit status (the body's
// result), or -1.
inline int RunWithFileSizeLimit(int64_t limitBytes, const std::function<int()>& body) {
  ForkedChild child([&] {
    rlimit limit{};
    if (::getrlimit(RLIMIT_FSIZE, &limit) != 0) return 97;
    limit.rlim_cur = static_cast<rlim_t>(limitBytes);
    if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) return 97;
    ::signal(SIGXFSZ, SIG_IGN);
    return body();
  });
  return child.Wait();
}

}  // namespace testsupport
