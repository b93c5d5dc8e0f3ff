#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/window_registry.h"

namespace playout {

// Up to four playouts run at once, sessions 0 to 3. Session n > 0 carries the letter "A" + n
// ("B", "C", "D"); session 0 none. A session's settings name is the program title and its
// letter, its caption the settings name, " - " and the maker's name: the captions are how the
// processes find each other.
inline constexpr int32_t kSessionCount = 4;

std::string SessionLetter(int32_t index);
// "Ondrake" & letter & " - Tarnwick" with the program's title and maker.
std::string SessionCaption(int32_t index);
// The companion's caption for a session letter.
std::string CompanionCaption(const std::string& letter);

// A session this process holds: its caption stays claimed in the window registry until the
// object goes.
struct Session {
  int32_t index = -1;
  std::unique_ptr<platform::WindowRegistration> window;

  std::string Letter() const { return SessionLetter(index); }
  std::string SettingsName() const;
  std::string Caption() const { return SessionCaption(index); }
};

// Takes the first session whose caption no window bears; the claim is atomic, so instances
// started together never share a session. Without multiSession only session 0 may be taken,
// and only while no other session runs. An empty session (index -1) when there is none to
// take; `why` then says so.
Session ClaimSession(bool multiSession, std::string* why);

}  // namespace playout
