#pragma once

#include <QObject>
#include <string>
#include <utility>
#include <vector>

namespace widgets {

// The signals a control raised, in order, each as "Name(arg,arg)" or "Name" without arguments.
struct SignalLog {
  template <class Sender, class Owner, class... Args>
  void Watch(Sender* sender, void (Owner::*signal)(Args...), std::string name) {
    QObject::connect(sender, signal, [this, name](Args... args) {
      std::string entry = name;
      if constexpr (sizeof...(Args) > 0) {
        entry += '(';
        ((entry += std::to_string(args) + ','), ...);
        entry.back() = ')';
      }
      log.push_back(std::move(entry));
    });
  }
  std::vector<std::string> Take() { return std::exchange(log, {}); }
  std::vector<std::string> log;
};

}  // namespace widgets
