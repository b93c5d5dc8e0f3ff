#pragma once

#include <QObject>
#include <csignal>
#include <functional>

#include "platform/unique_fd.h"

class QSocketNotifier;

namespace playout {

// Turns SIGTERM and SIGINT (the system or a person ending the program from outside) into a
// call on the user-interface thread: the signal handler only writes the signal's number into a
// pipe, which a socket notifier watches from the event loop. One watch per process at a time;
// the handlers it replaced are put back when it goes.
class CloseSignals final : public QObject {
  Q_OBJECT

 public:
  // `onSignal` gets the signal's number.
  explicit CloseSignals(std::function<void(int)> onSignal, QObject* parent = nullptr);
  ~CloseSignals() override;
  CloseSignals(const CloseSignals&) = delete;
  CloseSignals& operator=(const CloseSignals&) = delete;

  // False when the pipe or the handlers could not be set up (another watch is active).
  bool Installed() const { return installed_; }

 private:
  void Drain();

  std::function<void(int)> onSignal_;
  platform::UniqueFd readFd_;
  platform::UniqueFd writeFd_;
  QSocketNotifier* notifier_ = nullptr;
  struct sigaction oldTerm_ {};
  struct sigaction oldInt_ {};
  bool installed_ = false;
};

}  // namespace playout
