#include "capture/capture_run.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <system_error>

namespace {

std::filesystem::path error_file(const std::filesystem::path& directory) {
  return directory.string() + ".stderr";
}

}  // namespace

ScratchDirectory::ScratchDirectory() {
  std::string pattern = (std::filesystem::temp_directory_path() / "capture_test.XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) std::abort();
  path = pattern;
}

ScratchDirectory::~ScratchDirectory() {
  std::error_code ignored;
  (void)std::filesystem::remove_all(path, ignored);
  (void)std::filesystem::remove(error_file(path), ignored);
}

pid_t start_program(const std::vector<std::string>& command, const std::filesystem::path& directory) {
  std::vector<std::string> words = command;
  std::vector<char*> argv;
  argv.reserve(words.size() + 1);
  for (std::string& word : words) argv.push_back(word.data());
  argv.push_back(nullptr);
  const std::string errors = error_file(directory).string();
  const pid_t pid = fork();
  if (pid == 0) {
    // Only calls that are safe between fork and exec.
    const int out = open("/dev/null", O_WRONLY);
    const int err = open(errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (out < 0 || err < 0 || dup2(out, STDOUT_FILENO) < 0 || dup2(err, STDERR_FILENO) < 0 ||
        chdir(directory.c_str()) != 0) {
      _exit(127);
    }
    execvp(argv[0], argv.data());
    _exit(127);
  }
  return pid;
}

pid_t start_capture(const std::vector<std::string>& args, const std::filesystem::path& directory) {
  std::vector<std::string> command{capture_program};
  command.insert(command.end(), args.begin(), args.end());
  return start_program(command, directory);
}

CaptureRun finish_program(pid_t pid, const std::filesystem::path& directory) {
  CaptureRun run;
  if (pid < 0 || waitpid(pid, &run.status, 0) != pid) return run;
  std::ifstream errors(error_file(directory));
  run.error_text.assign(std::istreambuf_iterator<char>(errors), std::istreambuf_iterator<char>());
  return run;
}

CaptureRun run_capture(const std::vector<std::string>& args, const std::filesystem::path& directory) {
  return finish_program(start_capture(args, directory), directory);
}

std::vector<std::string> directory_entries(const std::filesystem::path& directory) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(directory)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

std::string describe_status(int status) {
  if (WIFEXITED(status)) return "exit " + std::to_string(WEXITSTATUS(status));
  if (WIFSIGNALED(status)) return "signal " + std::to_string(WTERMSIG(status));
  return "status " + std::to_string(status);
}
