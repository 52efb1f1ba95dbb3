#pragma once

#include <sys/types.h>

#include <filesystem>
#include <string>
#include <vector>

#ifndef CAPTURE_PROGRAM
#error "CAPTURE_PROGRAM names the capture program under test"
#endif

// Runs the capture program as a person would, in a directory of its own, and reads back what it
// left there.

// An empty directory for one test, removed with everything in it at the end.
struct ScratchDirectory {
  ScratchDirectory();
  ~ScratchDirectory();
  ScratchDirectory(const ScratchDirectory&) = delete;
  ScratchDirectory& operator=(const ScratchDirectory&) = delete;
  std::filesystem::path path;
};

struct CaptureRun {
  int status = -1;         // waitpid's status word
  std::string error_text;  // everything written to standard error
};

// Starts `command` (a program found on PATH or by its path, then its arguments) in `directory`,
// standard output to /dev/null and standard error to a file beside the directory. Returns its
// process id.
pid_t start_program(const std::vector<std::string>& command, const std::filesystem::path& directory);

// start_program for the capture program with `args`.
pid_t start_capture(const std::vector<std::string>& args, const std::filesystem::path& directory);

// Waits for the process started in `directory` and collects what it wrote to standard error.
CaptureRun finish_program(pid_t pid, const std::filesystem::path& directory);

// start_capture and finish_program in one.
CaptureRun run_capture(const std::vector<std::string>& args, const std::filesystem::path& directory);

// The capture program under test.
inline constexpr const char* capture_program = CAPTURE_PROGRAM;

// The names in a directory, hidden ones included, sorted.
std::vector<std::string> directory_entries(const std::filesystem::path& directory);

// "exit 2", "signal 2": what a status word says, for failure messages.
std::string describe_status(int status);
