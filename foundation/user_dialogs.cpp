#include "foundation/user_dialogs.h"

#include <filesystem>
#include <system_error>

#include "foundation/app_globals.h"
#include "foundation/conversions.h"
#include "foundation/paths.h"
#include "foundation/text_fields.h"

namespace foundation {

namespace {

platform::DialogService* g_service = nullptr;

constexpr const char kDefaultFolderTitle[] = "フォルダを選択してください";
constexpr uint32_t kSaveDefaultFlags = 0x80006;
constexpr uint32_t kOpenDefaultFlags = 0x81104;

// R(R(extent) \ 2 + start) \ twipsPerPixel.
std::optional<int32_t> CentreAxis(double start, double extent, int32_t twipsPerPixel) {
  const std::optional<int64_t> whole = NearestInt32(extent);
  if (!whole) return std::nullopt;
  const std::optional<int64_t> middle = NearestInt32(static_cast<double>(*whole / 2) + start);
  if (!middle) return std::nullopt;
  return static_cast<int32_t>(*middle / twipsPerPixel);
}

}  // namespace

void SetDialogService(platform::DialogService* service) { g_service = service; }

platform::DialogService* GetDialogService() { return g_service; }

std::optional<platform::BoxCentre> MessageBoxCentreOf(const PlacementForm& owner,
                                                      int32_t twipsPerPixel) {
  if (owner.WindowState() == PlacementForm::kMinimized || twipsPerPixel < 1) return std::nullopt;
  const std::optional<int32_t> x = CentreAxis(owner.Left(), owner.Width(), twipsPerPixel);
  const std::optional<int32_t> y = CentreAxis(owner.Top(), owner.Height(), twipsPerPixel);
  if (!x || !y) return std::nullopt;
  platform::BoxCentre centre;
  centre.x = *x;
  centre.y = *y;
  centre.desktopRight = GetDesktopExtent(0, true);
  centre.desktopBottom = GetDesktopExtent(1, true);
  return centre;
}

int32_t MsgBoxCentered(const std::string& prompt, int32_t style, const std::string& title,
                       const PlacementForm* owner, platform::OwnerWindow ownerWindow) {
  if (g_service == nullptr) return 0;
  platform::MessageBoxRequest request;
  request.prompt = prompt;
  request.title = title;
  request.style = static_cast<uint32_t>(style);
  request.owner = ownerWindow;
  if (owner != nullptr) request.centre = MessageBoxCentreOf(*owner, Globals().TwipsPerPixel);
  return g_service->ShowMessageBox(request);
}

std::string BrowseForFolder(const std::string& start, const std::string& title,
                            platform::OwnerWindow owner) {
  if (g_service == nullptr) return "";
  platform::FolderRequest request;
  request.startFolder = SetTrailingSeparator(start, true);
  if (request.startFolder.empty()) {
    std::error_code error;
    request.startFolder = std::filesystem::current_path(error).string();
  }
  request.title = title.empty() ? kDefaultFolderTitle : title;
  request.owner = owner;
  const std::optional<std::string> chosen = g_service->PickFolder(request);
  if (!chosen) return "";
  return SetTrailingSeparator(TrimNulls(*chosen), false);
}

std::vector<platform::FileFilter> ParseFileFilter(const std::string& filter) {
  std::vector<std::string> parts;
  size_t from = 0;
  while (true) {
    const size_t bar = filter.find('|', from);
    parts.push_back(filter.substr(from, bar == std::string::npos ? std::string::npos : bar - from));
    if (bar == std::string::npos) break;
    from = bar + 1;
  }
  std::vector<platform::FileFilter> filters;
  for (size_t i = 0; i + 1 < parts.size(); i += 2) {
    if (parts[i].empty() || parts[i + 1].empty()) break;
    filters.push_back({parts[i], parts[i + 1]});
  }
  return filters;
}

uint32_t FileDialogFlags(int32_t save, int32_t flags) {
  if (flags != -1) return static_cast<uint32_t>(flags);
  return save == 1 ? kSaveDefaultFlags : kOpenDefaultFlags;
}

std::string ShowFileDialog(platform::OwnerWindow owner, int32_t save, const std::string& filter,
                           const std::string& start, const std::string& fileName, int32_t flags) {
  if (g_service == nullptr) return "";
  platform::FileDialogRequest request;
  request.save = save != 0;
  request.filters = ParseFileFilter(filter);
  request.startFolder = SetTrailingSeparator(start, true);
  request.fileName = TrimNulls(fileName);
  request.flags = FileDialogFlags(save, flags);
  request.owner = owner;
  // The path comes back whole: a long path is a choice, not a cancel.
  const std::optional<std::string> chosen = g_service->PickFile(request);
  if (!chosen) return "";
  return TrimNulls(*chosen);
}

int32_t PickColor(int32_t initial, platform::OwnerWindow owner) {
  if (g_service == nullptr) return initial;
  platform::ColourRequest request;
  request.initial = static_cast<uint32_t>(initial);
  request.customColours.fill(0xFFFFFF);
  request.customColours[0] = static_cast<uint32_t>(initial);
  request.fullOpen = true;
  request.owner = owner;
  const std::optional<uint32_t> chosen = g_service->PickColour(request);
  return chosen ? static_cast<int32_t>(*chosen) : initial;
}

}  // namespace foundation
