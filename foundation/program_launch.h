#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace foundation {

// Opens a document, folder or address with the desktop's default application (xdg-open, started
// without a shell and without waiting). Always 1, whatever the opener makes of the target; an
// empty target opens nothing.
int32_t ShellOpen(const std::string& target);

// What RunProgram starts, worked out from its arguments.
struct ProgramLaunch {
  // The command line as the program was always started with: the path, in double quotes when
  // it holds a blank; then, when arguments is not empty, one blank and the arguments, in double
  // quotes when they hold a blank; then, when extra is not empty, one blank and the extra text
  // as it is. Kept for the log.
  std::string commandLine;
  // The program to start (the path as given, '\' turned into '/').
  std::string program;
  // Its arguments: the arguments text as one argument (quoting made it one) when not empty,
  // then the extra text as one argument when not empty.
  std::vector<std::string> args;
  // The window style asked for, 0 taken as 1 (normal with focus). Only a hint: a program started
  // here decides its own window state (the companion minimises itself when asked for 6).
  int32_t windowStyle = 1;
};

ProgramLaunch BuildProgramLaunch(const std::string& path, const std::string& arguments,
                                 int32_t windowStyle, const std::string& extra);

// Starts the program (no shell; the child is reaped in the background) and returns its task
// identifier (the process id), or 0 when it cannot be started.
double RunProgram(const std::string& path, const std::string& arguments, int32_t windowStyle,
                  const std::string& extra);

}  // namespace foundation
