#include "files/program_launch.h"

#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <cerrno>
#include <memory>
#include <thread>

#include "files/file_namespace.h"
#include "files/file_stream.h"
#include "files/path_parts.h"
#include "files/temporary_files.h"
#include "files/virtual_name.h"

extern char** environ;

namespace tembrovia {
namespace {

void SkipSpaces(std::string_view line, size_t& pos) {
  while (pos < line.size() && line[pos] == ' ') ++pos;
}

int WaitFor(pid_t pid) {
  int status = 0;
  while (waitpid(pid, &status, 0) < 0) {
    if (errno != EINTR) return -1;
  }
  if (WIFEXITED(status)) return WEXITSTATUS(status);
  if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
  return -1;
}

std::string_view Extension(std::string_view name) {
  size_t dot = name.rfind('.');
  return dot == std::string_view::npos ? std::string_view{} : name.substr(dot);
}

FileError CopyToTemporary(const std::string& virtualName, std::string& program, const FileNamespace& names,
                          TemporaryFiles& temporaries) {
  if (auto copy = temporaries.CopyFor(virtualName)) {
    program = *copy;
    return {};
  }
  std::unique_ptr<FileStream> in = FileStream::Open(virtualName, OpenMode::Read, names);
  if (!in) return {ERR_READFILE, virtualName};
  std::optional<std::string> path = temporaries.Create(Extension(FilePart(virtualName)));
  if (!path) return {ERR_WRITEFILE, virtualName};
  std::unique_ptr<FileStream> out = FileStream::OpenHost(*path, OpenMode::Write);
  if (!out) return {ERR_WRITEFILE, *path};
  char block[16384];
  while (size_t got = in->Read(block, sizeof block)) {
    if (out->Write(block, got) != got) return {ERR_WRITEFILE, *path};
  }
  if (!in->AtEnd()) return {ERR_READFILE, virtualName};
  if (!out->Close()) return {ERR_WRITEFILE, *path};
  chmod(path->c_str(), 0700);
  temporaries.SetCopyFor(virtualName, *path);
  program = *path;
  return {};
}

}  // namespace

ErrorCode SplitCommandLine(std::string_view line, CommandLine& command) {
  size_t pos = 0;
  SkipSpaces(line, pos);
  if (pos == line.size()) return ERR_WRONGUSAGE;
  CommandLine result;
  if (line[pos] == '"') {
    size_t close = line.find('"', pos + 1);
    if (close == std::string_view::npos) return ERR_WRONGUSAGE;
    result.program = line.substr(pos + 1, close - pos - 1);
    pos = close + 1;
  } else {
    size_t end = line.find(' ', pos);
    if (end == std::string_view::npos) end = line.size();
    result.program = line.substr(pos, end - pos);
    pos = end;
  }
  if (result.program.empty()) return ERR_WRONGUSAGE;
  while (true) {
    SkipSpaces(line, pos);
    if (pos == line.size()) break;
    std::string argument;
    bool quoted = false;
    for (; pos < line.size() && (quoted || line[pos] != ' '); ++pos) {
      if (line[pos] == '"') {
        quoted = !quoted;
      } else {
        argument += line[pos];
      }
    }
    if (quoted) return ERR_WRONGUSAGE;
    result.arguments.push_back(std::move(argument));
  }
  command = std::move(result);
  return ERR_NONE;
}

FileError ResolveProgram(std::string_view name, std::string& program, const FileNamespace& names,
                         TemporaryFiles& temporaries) {
  std::string resolved(name);
  if (auto linked = names.LinkedFileName(name)) resolved = *linked;
  if (IsVirtualName(resolved)) return CopyToTemporary(resolved, program, names, temporaries);
  program = names.ToHostPath(resolved);
  return {};
}

FileError LaunchProgram(std::string_view commandLine, LaunchMode mode, int* exitStatus) {
  return LaunchProgram(commandLine, mode, exitStatus, DefaultFileNamespace(), DefaultTemporaryFiles());
}

FileError LaunchProgram(std::string_view commandLine, LaunchMode mode, int* exitStatus,
                        const FileNamespace& names, TemporaryFiles& temporaries) {
  CommandLine command;
  if (ErrorCode error = SplitCommandLine(commandLine, command)) return {error, {}};
  std::string program;
  if (FileError error = ResolveProgram(command.program, program, names, temporaries); !error.ok()) return error;

  std::vector<char*> argv;
  argv.push_back(program.data());
  for (std::string& argument : command.arguments) argv.push_back(argument.data());
  argv.push_back(nullptr);
  pid_t pid;
  bool searchPath = program.find('/') == std::string::npos;
  int result = searchPath ? posix_spawnp(&pid, program.c_str(), nullptr, nullptr, argv.data(), environ)
                          : posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv.data(), environ);
  if (result != 0) return {result == ENOENT ? ERR_FILEEXIST : ERR_READFILE, command.program};
  if (mode == LaunchMode::Wait) {
    int status = WaitFor(pid);
    if (exitStatus != nullptr) *exitStatus = status;
  } else {
    std::thread([pid] { WaitFor(pid); }).detach();
  }
  return {};
}

}  // namespace tembrovia
