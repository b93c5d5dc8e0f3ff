#pragma once

#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "platform/dialog_service.h"

namespace platform {

// A dialog service for tests: records every request and answers from scripted queues, one
// answer per call in the order they were queued. An empty queue answers as a user who closes
// the dialog would: the box's escape answer, and nullopt (cancel) for every picker.
class FakeDialogService final : public DialogService {
 public:
  int32_t ShowMessageBox(const MessageBoxRequest& request) override;
  std::optional<std::string> PickFolder(const FolderRequest& request) override;
  std::optional<std::string> PickFile(const FileDialogRequest& request) override;
  std::optional<uint32_t> PickColour(const ColourRequest& request) override;
  std::optional<std::string> AskText(const InputRequest& request) override;

  // Scripted answers.
  std::deque<int32_t> messageBoxAnswers;
  std::deque<std::optional<std::string>> folderAnswers;
  std::deque<std::optional<std::string>> fileAnswers;
  std::deque<std::optional<uint32_t>> colourAnswers;
  std::deque<std::optional<std::string>> textAnswers;

  // Every request seen, in call order per kind.
  std::vector<MessageBoxRequest> messageBoxes;
  std::vector<FolderRequest> folderRequests;
  std::vector<FileDialogRequest> fileRequests;
  std::vector<ColourRequest> colourRequests;
  std::vector<InputRequest> textRequests;
};

}  // namespace platform
