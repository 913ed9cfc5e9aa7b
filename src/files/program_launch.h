// Execute and Run: starting programs from a command line.
//
// The first token (in double quotes, or up to the first space) names the program; the rest
// is split into arguments at spaces, double quotes grouping (and being removed). A program
// name with a "/" is a path (resolved like any file name: "PROGDIR:", backslashes; a linked
// or virtual file is copied once to an executable temporary file keeping its extension); a
// name without one is searched on the PATH. Programs are started directly, not through a
// shell. Every started program is reaped: Execute waits for it, Run leaves a waiter thread.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "common/error_codes.h"
#include "files/file_operation.h"

namespace tembrovia {

class FileNamespace;
class TemporaryFiles;

struct CommandLine {
  std::string program;
  std::vector<std::string> arguments;
};

// ERR_WRONGUSAGE for an empty line or a missing closing quote.
ErrorCode SplitCommandLine(std::string_view line, CommandLine& command);

// The program to start for a program name: a host path, a temporary copy of a linked or
// virtual file, or the bare name for a PATH search. ERR_READFILE / ERR_WRITEFILE when a copy
// cannot be made.
FileError ResolveProgram(std::string_view name, std::string& program, const FileNamespace& names,
                         TemporaryFiles& temporaries);

enum class LaunchMode { Wait, Detach };

// Starts the program. With LaunchMode::Wait, *exitStatus (when given) receives its exit code
// (128 + signal number when a signal ended it). A program that cannot be started gives
// ERR_FILEEXIST (not found) or ERR_READFILE (not executable), with its name.
FileError LaunchProgram(std::string_view commandLine, LaunchMode mode, int* exitStatus = nullptr);
FileError LaunchProgram(std::string_view commandLine, LaunchMode mode, int* exitStatus,
                        const FileNamespace& names, TemporaryFiles& temporaries);

}  // namespace tembrovia
