#pragma once

#include <string_view>

namespace transfer {

// Folders a Windows volume keeps for itself (Recycled, $Recycle.Bin, RECYCLER, System Volume
// Information), which a mirror can be told to leave alone. A path is one of them, or lies in
// one, when any of its components is such a name, ignoring case; a folder merely named like the
// start of one ("$Recycle.Bin2", "MyRecycled") is not. Both separators count.
bool IsSystemFolderName(std::string_view name);
bool IsInSystemFolder(std::string_view path);

}  // namespace transfer
