#include "playout/view/session_probe.h"

#include <vector>

#include "foundation/app_globals.h"

namespace playout {

std::string SessionLetter(int32_t index) {
  if (index <= 0 || index >= kSessionCount) return "";
  return std::string(1, static_cast<char>('A' + index));
}

std::string SessionCaption(int32_t index) {
  const foundation::AppGlobals& g = foundation::Globals();
  return g.ProgramTitle + SessionLetter(index) + " - " + g.CompanyName;
}

std::string CompanionCaption(const std::string& letter) {
  return "Ferlune" + letter + " - " + foundation::Globals().CompanyName;
}

std::string Session::SettingsName() const {
  return foundation::Globals().ProgramTitle + SessionLetter(index);
}

Session ClaimSession(bool multiSession, std::string* why) {
  std::vector<std::string> captions;
  for (int32_t i = 0; i < kSessionCount; ++i) captions.push_back(SessionCaption(i));
  Session session;
  std::string error;
  if (multiSession) {
    size_t index = 0;
    session.window = platform::WindowRegistration::ClaimFirstFree(captions, &index, &error);
    if (session.window) {
      session.index = static_cast<int32_t>(index);
      return session;
    }
    if (why) {
      *why = "all " + std::to_string(kSessionCount) + " sessions are in use (" + captions.front() +
             " .. " + captions.back() + ")";
      if (!error.empty()) *why += ": " + error;
    }
    return session;
  }
  for (const std::string& caption : captions) {
    if (platform::FindWindowExact(caption)) {
      if (why) *why = "another instance is running (" + caption + ") and UseMultiSession is 0";
      return session;
    }
  }
  bool taken = false;
  session.window = platform::WindowRegistration::Claim(captions.front(), &error, &taken);
  if (session.window) {
    session.index = 0;
  } else if (why) {
    *why = taken ? "another instance is running (" + captions.front() + ")"
                 : "the window registry cannot be used: " + error;
  }
  return session;
}

}  // namespace playout
