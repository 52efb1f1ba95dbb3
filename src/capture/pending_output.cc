#include "capture/pending_output.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <system_error>
#include <utility>
#include <vector>

namespace {

// The drawing thread runs beside the one that writes the file: the message comes from the
// thread-safe error category, not from strerror's shared buffer.
std::string system_error(const std::string& path) {
  return path + ": " + std::generic_category().message(errno);
}

// Everything before the last slash, or "." for a bare file name.
std::string directory_of(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

std::string name_of(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

PendingOutput::~PendingOutput() {
  if (!temporary_path_.empty()) unlink(temporary_path_.c_str());
}

PendingOutput::PendingOutput(PendingOutput&& other) noexcept
    : path_(std::move(other.path_)), temporary_path_(std::exchange(other.temporary_path_, std::string{})) {}

std::variant<PendingOutput, std::string> begin_output(const std::string& path) {
  struct stat existing {};
  if (stat(path.c_str(), &existing) == 0 && S_ISDIR(existing.st_mode)) return path + ": is a directory";
  // A hidden name beside the output: the same file system, so the final rename cannot fail half way.
  std::string pattern = directory_of(path) + "/." + name_of(path) + ".XXXXXX.part";
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  const int fd = mkstemps(name.data(), 5);
  if (fd < 0) return system_error(path);
  PendingOutput output(path, name.data());
  // mkstemps makes the file private; the capture is an ordinary output file.
  const mode_t mask = umask(0);
  umask(mask);
  const bool ok = fchmod(fd, 0666 & ~mask) == 0;
  std::string error = ok ? std::string{} : system_error(path);
  close(fd);
  if (!ok) return error;
  return output;
}

std::optional<std::string> commit_output(PendingOutput& output) {
  const int fd = open(output.temporary_path_.c_str(), O_WRONLY | O_CLOEXEC);
  if (fd < 0) return system_error(output.path_);
  // On the disk before it takes the output's name: a crash right after the rename must not leave
  // an empty or half-written file under that name.
  const bool synced = fsync(fd) == 0;
  std::string sync_error = synced ? std::string{} : system_error(output.path_);
  close(fd);
  if (!synced) return sync_error;
  if (std::rename(output.temporary_path_.c_str(), output.path_.c_str()) != 0)
    return system_error(output.path_);
  output.temporary_path_.clear();
  return std::nullopt;
}
