#include "tests/fakes/platform/fake_dialog_service.h"

namespace platform {

namespace {

template <typename T>
T TakeFront(std::deque<T>& queue, T whenEmpty) {
  if (queue.empty()) return whenEmpty;
  T front = std::move(queue.front());
  queue.pop_front();
  return front;
}

}  // namespace

int32_t FakeDialogService::ShowMessageBox(const MessageBoxRequest& request) {
  messageBoxes.push_back(request);
  return TakeFront(messageBoxAnswers, MessageBoxEscapeAnswer(request.style));
}

std::optional<std::string> FakeDialogService::PickFolder(const FolderRequest& request) {
  folderRequests.push_back(request);
  return TakeFront<std::optional<std::string>>(folderAnswers, std::nullopt);
}

std::optional<std::string> FakeDialogService::PickFile(const FileDialogRequest& request) {
  fileRequests.push_back(request);
  return TakeFront<std::optional<std::string>>(fileAnswers, std::nullopt);
}

std::optional<uint32_t> FakeDialogService::PickColour(const ColourRequest& request) {
  colourRequests.push_back(request);
  return TakeFront<std::optional<uint32_t>>(colourAnswers, std::nullopt);
}

std::optional<std::string> FakeDialogService::AskText(const InputRequest& request) {
  textRequests.push_back(request);
  return TakeFront<std::optional<std::string>>(textAnswers, std::nullopt);
}

}  // namespace platform
