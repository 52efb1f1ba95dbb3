#pragma once

#include <optional>
#include <string>
#include <utility>
#include <variant>

// The capture writes into a temporary file beside the output and renames it over the output only
// once it is complete, so a failed, interrupted or killed capture never leaves a partial file
// where the output was to be, and an older file of that name stays as it was until then.
class PendingOutput {
 public:
  PendingOutput(std::string path, std::string temporary_path)
      : path_(std::move(path)), temporary_path_(std::move(temporary_path)) {}
  // Removes the temporary file unless it was committed.
  ~PendingOutput();
  PendingOutput(PendingOutput&& other) noexcept;
  PendingOutput& operator=(PendingOutput&&) = delete;
  PendingOutput(const PendingOutput&) = delete;
  PendingOutput& operator=(const PendingOutput&) = delete;

  const std::string& path() const { return path_; }
  const std::string& temporary_path() const { return temporary_path_; }

 private:
  friend std::optional<std::string> commit_output(PendingOutput& output);
  std::string path_;
  std::string temporary_path_;  // empty once committed or moved from
};

// Creates an empty temporary file in the output's directory, with the permissions a new file
// gets there. The error names the path and the system's reason.
std::variant<PendingOutput, std::string> begin_output(const std::string& path);

// Flushes the temporary file to the disk and renames it to the output. On failure the error
// names the reason and the temporary file is still removed.
std::optional<std::string> commit_output(PendingOutput& output);
