#include "foundation/sub_class.h"

#include <vector>

#include "foundation/debug_log.h"
#include "foundation/text_fields.h"
#include "platform/cp932.h"

namespace foundation {

namespace {

struct SubClassEntry {
  int32_t hWnd = 0;          // 0: free
  bool hooked = false;       // stands for the saved previous window procedure
  int32_t blockCaption = 0;  // kept only; see SetBlockCaptionClick
  std::string payload;       // the latest message's bytes
  bool pending = false;      // false after a fetch or an empty message
};

std::vector<SubClassEntry>& Table() {
  static std::vector<SubClassEntry> table;
  return table;
}

bool IsFree(const SubClassEntry& entry) { return entry.hWnd == 0 && !entry.hooked; }

SubClassEntry* EntryOf(int32_t hWnd) {
  const int32_t index = FindSubClassIndex(hWnd);
  if (index < 0) return nullptr;
  return &Table()[static_cast<size_t>(index)];
}

}  // namespace

void SubClassHook(int32_t hWnd) {
  if (hWnd == 0 || FindSubClassIndex(hWnd) >= 0) return;
  std::vector<SubClassEntry>& table = Table();
  size_t index = 0;
  while (index < table.size() && !IsFree(table[index])) ++index;
  if (index == table.size()) table.emplace_back();
  SubClassEntry& entry = table[index];
  entry = SubClassEntry{};
  entry.hWnd = hWnd;
  entry.hooked = true;
}

void SubClassUnhook(int32_t hWnd) {
  SubClassEntry* entry = EntryOf(hWnd);
  if (entry == nullptr || !entry->hooked) return;
  *entry = SubClassEntry{};
}

int32_t FindSubClassIndex(int32_t hWnd) {
  if (hWnd == 0) return -1;
  const std::vector<SubClassEntry>& table = Table();
  for (size_t i = 0; i < table.size(); ++i) {
    if (table[i].hWnd == hWnd) return static_cast<int32_t>(i);
  }
  return -1;
}

void SetBlockCaptionClick(int32_t hWnd, int32_t flag) {
  SubClassEntry* entry = EntryOf(hWnd);
  if (entry == nullptr) return;
  entry->blockCaption = flag;
  if (flag != 0) {
    WriteLog("SetBlockCaptionClick: caption clicks cannot be blocked under a window manager");
  }
}

int32_t GetBlockCaptionClick(int32_t hWnd) {
  const SubClassEntry* entry = EntryOf(hWnd);
  return entry == nullptr ? 0 : entry->blockCaption;
}

std::string GetCopyDataText(int32_t hWnd) {
  SubClassEntry* entry = EntryOf(hWnd);
  if (entry == nullptr || !entry->pending) return std::string();
  std::string bytes = std::move(entry->payload);
  entry->payload.clear();
  entry->pending = false;
  // A NUL never occurs inside a CP932 character, so cutting the bytes before converting them
  // gives the same text as cutting the converted text.
  return platform::Cp932ToUtf8(TrimNulls(bytes));
}

int64_t ReceiveCopyData(int32_t hWnd, std::string_view payload) {
  SubClassEntry* entry = EntryOf(hWnd);
  if (entry == nullptr) return 0;
  if (payload.empty()) {
    entry->payload.clear();
    entry->pending = false;
  } else {
    entry->payload.assign(payload.data(), payload.size());
    entry->pending = true;
  }
  return 1;
}

int32_t SubClassTableSize() { return static_cast<int32_t>(Table().size()); }

void ResetSubClassTableForTest() { Table().clear(); }

}  // namespace foundation
