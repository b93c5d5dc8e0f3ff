#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace foundation {

// A server's root folder (a SrvPath of the station's table) as both programs find it. A share
// that is gone could never be written into where this system comes from; here its mount point
// or plain folder could be made again on the local disk and filled there. So a root that is
// not there makes its server unreachable, and no folder at or above a root is ever made (below
// a root that exists, folders are made as usual).

// Receives the log lines of CheckServerRoot.
using RootLog = std::function<void(const std::string&)>;

// 1 when `root` (a stored path) is there to be worked in, else 0 (also for an empty root):
//   - a UNC root (\\host\share\...) needs its share mounted and the folder present on it;
//   - any other root must name an existing folder, and one that lay on a network mount (cifs,
//     nfs) when it was found before must still lie on one: an unmounted share leaves its empty
//     mount point behind on the local disk.
// Nothing is cached: each call reads the mount table and looks at the folder once. What it
// found is remembered per root text, process-wide, so that only changes are logged through
// `log`: "サーバーフォルダなし <root>" when a root that was there (or not looked at before) is
// missing, "サーバーフォルダ発見 <root>" when a missing one is there again.
int32_t CheckServerRoot(const std::string& root, const RootLog& log);

// True when making the folder `path` (stored or native) would make one of the station's server
// roots, or a folder above one. Paths compare as absolute texts (separators, "." and ".."
// folded lexically, UNC paths through the mount table) ignoring ASCII case, as server names
// are matched; nothing on them is touched, so a hung mount cannot block the check.
bool IsAtOrAboveServerRoot(const std::string& path);

// Forgets what CheckServerRoot remembered (tests).
void ForgetServerRoots();

}  // namespace foundation
