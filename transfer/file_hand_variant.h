#pragma once

#include <cstdint>
#include <string>

namespace transfer {

// The defaults in which the playout's and the companion's copies of the transfer engine differ.
struct FileHandVariant {
  // Chunk of MirrorFile (and so of TranspFile) and HikakuFile when pSize is below 1.
  int64_t defaultChunk = int64_t{8} << 20;
  // The companion's reduced form: MirrorFolder takes no pFileCheckMinute and no pNoOW (both are
  // ignored: existing targets are always checked), copies only files more than 29 seconds old
  // and deletes without a minimum age; HikakuFile returns 0 at once, Canceled untouched, unless
  // both paths name existing files; the panel is drawn at scale 1.0 only.
  bool companion = false;
  // The caption of the panel's cancel button.
  std::string cancelCaption = "キャンセル";
};

inline FileHandVariant PlayoutVariant() { return {}; }

inline FileHandVariant CompanionVariant() {
  FileHandVariant variant;
  variant.defaultChunk = int64_t{4} << 20;
  variant.companion = true;
  variant.cancelCaption = "Cancel";
  return variant;
}

// Limits of the loops; only tests lower them.
struct FileHandLimits {
  // Entries one folder's walk handles, "." and ".." included; past it the walk stops (code 14).
  int64_t walkEntries = 1000001;
  // Rounds a chunk loop may run beyond size / chunk before it gives up (code 13).
  int64_t extraRounds = 100;
};

}  // namespace transfer
