#pragma once

#include <QObject>
#include <QTimer>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "platform/message_channel.h"
#include "platform/unique_fd.h"
#include "platform/window_registry.h"

class QSocketNotifier;

namespace platform {

// Receives the messages sent to one registered window, on the thread that creates it (the
// user-interface thread), from that thread's event loop. Nothing here blocks: connections are
// accepted and read without waiting, each frame is gathered piece by piece as its bytes
// arrive, and a connection that stalls is dropped after a while, so a slow or dead sender never
// holds up the window. Each whole message goes to the handler, in the order the messages
// completed; the sender's acknowledgement (carrying the handler's result) goes out only after
// the handler has returned. Connections from another user, frames with a wrong magic, a
// payload announced over kMaxMessageBytes, or a target handle that is not this window's are
// dropped without an acknowledgement, so their senders fail.
class MessageReceiver : public QObject {
  Q_OBJECT

 public:
  // The handler's result is the sender's reply. A handler that throws answers 0.
  using Handler = std::function<int64_t(uint64_t dataType, const std::string& payload)>;

  // Listens on the registration's socket (on a duplicate of its descriptor, so the two may be
  // destroyed in either order; messages stop when this object goes).
  MessageReceiver(const WindowRegistration& registration, Handler handler,
                  QObject* parent = nullptr);
  ~MessageReceiver() override;

  void SetHandler(Handler handler);

  // False when the socket could not be duplicated; no message will arrive.
  bool listening() const { return listenFd_.valid(); }
  // Connections accepted and not yet closed.
  size_t openConnections() const { return connections_.size(); }

  // Longest time a sender may take to deliver one whole frame.
  static constexpr int kConnectionTimeoutMs = 30000;
  // Connections open at once; more are refused until some finish.
  static constexpr size_t kMaxConnections = 32;

 private:
  struct Connection {
    UniqueFd fd;
    QSocketNotifier* notifier = nullptr;
    std::string header;
    bool haveHeader = false;
    bool complete = false;  // whole and waiting for the handler
    MessageHeader parsed;
    std::string payload;
    int64_t openedAtMs = 0;
  };

  void AcceptPending();
  void ReadFrom(uint64_t id);
  void Drop(uint64_t id);
  void Dispatch();
  void DropStalled();

  UniqueFd listenFd_;
  int64_t handle_ = 0;
  QSocketNotifier* listenNotifier_ = nullptr;
  QTimer stallTimer_;
  Handler handler_;
  uint64_t nextId_ = 1;
  std::map<uint64_t, Connection> connections_;
  std::deque<uint64_t> complete_;
  bool dispatching_ = false;
  // Cleared by the destructor, so a dispatch loop notices when a handler destroyed us.
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

}  // namespace platform
