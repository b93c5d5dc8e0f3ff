#pragma once

#include <signal.h>
#include <sys/resource.h>

#include <cstdint>
#include <functional>

#include "tests/support/forked_child.h"

namespace testsupport {

// Runs `body` in a forked child whose files cannot grow past `limitBytes`, as on a disk that
// fills: the write that crosses the limit is cut short and the next fails with EFBIG (SIGXFSZ
// ignored). The body's result, or -1.
inline int RunWithFileSizeLimit(int64_t limitBytes, const std::function<int()>& body) {
  ForkedChild child([&] {
    rlimit limit{};
    getrlimit(RLIMIT_FSIZE, &limit);
    limit.rlim_cur = static_cast<rlim_t>(limitBytes);
    signal(SIGXFSZ, SIG_IGN);
    return setrlimit(RLIMIT_FSIZE, &limit) == 0 ? body() : 97;
  });
  return child.Wait();
}

}  // namespace testsupport
