#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace foundation {

// Sets ErrorCatch from the setting "ErrorCatch" (default 0) of the instance's store; when that
// is 0, the marker file ec.txt in the program folder turns it on (1). Returns the new value.
int32_t InitErrorTraps();

// Runs `work` for an entry point the toolkit calls (a timer pass, a control event, a message
// receipt): anything it throws is caught and written as "<where> <reason>" to the .err log, and
// the caller carries on. True when `work` ran to its end.
bool RunTrapped(const std::string& where, const std::function<void()>& work);

// Runs `work` and catches anything it throws: the reason ("<what>" or "unknown error") when it
// threw, nothing when it ran to its end. For engines that write the failure to a log of their own.
std::optional<std::string> CatchFailure(const std::function<void()>& work);

}  // namespace foundation
