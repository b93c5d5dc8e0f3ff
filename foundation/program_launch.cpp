#include "foundation/program_launch.h"

#include <algorithm>

#include "foundation/debug_log.h"
#include "platform/process_launcher.h"

namespace foundation {

namespace {

std::string QuotedWhenBlank(const std::string& text) {
  if (text.find(' ') == std::string::npos) return text;
  return "\"" + text + "\"";
}

}  // namespace

int32_t ShellOpen(const std::string& target) {
  if (!target.empty()) platform::SpawnDetached("xdg-open", {target});
  return 1;
}

ProgramLaunch BuildProgramLaunch(const std::string& path, const std::string& arguments,
                                 int32_t windowStyle, const std::string& extra) {
  ProgramLaunch launch;
  launch.commandLine = QuotedWhenBlank(path);
  if (!arguments.empty()) {
    launch.commandLine += " " + QuotedWhenBlank(arguments);
    launch.args.push_back(arguments);
  }
  if (!extra.empty()) {
    launch.commandLine += " " + extra;
    launch.args.push_back(extra);
  }
  launch.program = path;
  std::replace(launch.program.begin(), launch.program.end(), '\\', '/');
  launch.windowStyle = windowStyle == 0 ? 1 : windowStyle;
  return launch;
}

double RunProgram(const std::string& path, const std::string& arguments, int32_t windowStyle,
                  const std::string& extra) {
  const ProgramLaunch launch = BuildProgramLaunch(path, arguments, windowStyle, extra);
  std::string error;
  const int pid = platform::SpawnDetached(launch.program, launch.args, &error);
  if (pid <= 0) {
    WriteLog("RunProgram " + launch.commandLine + " failed: " + error);
    return 0;
  }
  return static_cast<double>(pid);
}

}  // namespace foundation
