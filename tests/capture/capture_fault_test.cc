// What a person gets wrong and what goes wrong underneath: every refused option is one line that
// names it, exit status 2 and no file; an output that cannot be written, a disk that fills up and
// Ctrl-C leave no file where the output was to be (and an older file there as it was).
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <chrono>
#include <csignal>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "capture/capture_run.h"

namespace {

struct Refusal {
  std::vector<std::string> args;
  std::string option;  // the name the message must start with
};

std::size_t line_count(const std::string& text) {
  std::size_t lines = 0;
  for (const char c : text) lines += c == '\n' ? 1 : 0;
  return lines;
}

TEST(CaptureRefuses, EveryBadOption_OneLineNamingIt_Status2_NothingWritten) {
  const std::vector<Refusal> refusals = {
      {{"--fps", "0"}, "--fps"},
      {{"--fps", "241"}, "--fps"},
      {{"--fps=2.5"}, "--fps"},
      {{"-r", "sixty"}, "--fps"},
      {{"--size", "0x0"}, "--size"},
      {{"--size", "8200x4320"}, "--size"},
      {{"--size", "1920"}, "--size"},
      {{"-s", "640x-400"}, "--size"},
      {{"--size", "1921x1080"}, "--size"},  // odd, which yuv420p cannot take
      {{"--from", "-1"}, "--from"},
      {{"--to", "114.001"}, "--to"},  // past the design's run limit, pinned on purpose
      {{"--to", "115"}, "--to"},
      {{"--from", "1.0005"}, "--from"},
      {{"--from", "50", "--to", "40"}, "--to"},
      {{"--from", "10", "--to", "10"}, "--to"},
      {{"--fps", "1", "--from", "10.2", "--to", "10.9"}, "--to"},  // no frame time inside
      {{"--codec", "vp9"}, "--codec"},
      {{"--presentation", "window"}, "--presentation"},
      {{"--seed", "-3"}, "--seed"},
      {{"--seed", "18446744073709551616"}, "--seed"},
      {{"--codec", "ffv1", "--output", "demo.mp4"}, "--output"},
      {{"--output", "demo.avi"}, "--output"},
      {{"--fps"}, "--fps"},
      {{"--frame-rate", "60"}, "unknown option '--frame-rate'"},
      {{"demo.mp4"}, "unexpected argument 'demo.mp4'"},
  };
  for (const Refusal& refusal : refusals) {
    std::string command;
    for (const std::string& arg : refusal.args) command += " " + arg;
    SCOPED_TRACE("capture" + command);
    const ScratchDirectory dir;
    const CaptureRun run = run_capture(refusal.args, dir.path);
    EXPECT_EQ(describe_status(run.status), "exit 2");
    EXPECT_EQ(line_count(run.error_text), 1u) << run.error_text;
    EXPECT_EQ(run.error_text.rfind("capture: " + refusal.option, 0), 0u) << run.error_text;
    EXPECT_EQ(directory_entries(dir.path), std::vector<std::string>{});
  }
}

TEST(CaptureLeavesNoPartialFile, WhenTheOutputCannotBeWritten) {
  const ScratchDirectory dir;
  std::filesystem::create_directory(dir.path / "taken.mp4");
  for (const std::string output : {"missing/demo.mp4", "taken.mp4"}) {
    SCOPED_TRACE(output);
    const CaptureRun run = run_capture({"--size", "64x40", "--to", "1", "--output", output}, dir.path);
    EXPECT_EQ(describe_status(run.status), "exit 1");
    EXPECT_NE(run.error_text.find(output), std::string::npos) << run.error_text;
    EXPECT_EQ(line_count(run.error_text), 1u) << run.error_text;
    EXPECT_EQ(directory_entries(dir.path), std::vector<std::string>{"taken.mp4"});
  }
}

TEST(CaptureLeavesNoPartialFile, WhenTheDiskFillsUp_TheOlderFileStays) {
  // A 64 KiB file system of its own, mounted in a private mount namespace: room for the header and
  // a few frames, not for two seconds of lossless video. The script reports from inside, where the
  // mount is seen.
  const ScratchDirectory dir;
  const std::vector<std::string> namespaces{"unshare", "--user", "--map-root-user", "--mount"};
  std::vector<std::string> probe = namespaces;
  probe.emplace_back("true");
  if (describe_status(finish_program(start_program(probe, dir.path), dir.path).status) != "exit 0") {
    GTEST_SKIP() << "this machine gives no private mount namespace to mount a small disk in";
  }
  const std::filesystem::path disk = dir.path / "disk";
  std::filesystem::create_directory(disk);
  const std::string script =
      "mount -t tmpfs -o size=64k tmpfs \"$1\" || exit\n"
      "printf %s \"older capture\" > \"$1/demo.mkv\"\n"
      "\"$2\" --codec ffv1 --size 320x200 --fps 30 --from 20 --to 22 --output \"$1/demo.mkv\" 2> \"$3\"\n"
      "{ echo \"status $?\"; ls -A \"$1\"; cat \"$1/demo.mkv\"; } > \"$4\"\n";
  const std::filesystem::path report = dir.path / "report";
  const std::filesystem::path errors = dir.path / "errors";
  std::vector<std::string> command = namespaces;
  command.insert(command.end(), {"sh", "-c", script, "sh", disk.string(), capture_program, errors.string(),
                                 report.string()});
  const CaptureRun run = finish_program(start_program(command, dir.path), dir.path);
  EXPECT_EQ(describe_status(run.status), "exit 0") << run.error_text;
  const auto text_of = [](const std::filesystem::path& path) {
    std::ifstream in(path);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  };
  const std::string error_text = text_of(errors);
  EXPECT_EQ(text_of(report), "status 1\ndemo.mkv\nolder capture") << error_text;
  EXPECT_NE(error_text.find("No space left on device"), std::string::npos) << error_text;
  EXPECT_EQ(line_count(error_text), 1u) << error_text;
}

TEST(CaptureLeavesNoPartialFile, WhenInterrupted_AndEndsByTheSignal) {
  const ScratchDirectory dir;
  // The whole demo: minutes of work, so the interruption always comes in the middle.
  const pid_t pid = start_capture({"--size", "320x200", "--fps", "60", "--output", "demo.mp4"}, dir.path);
  ASSERT_GT(pid, 0);
  // The temporary file appears once the capture has begun writing; wait for it however busy the
  // machine is.
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(2);
  while (directory_entries(dir.path).empty() && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  const std::vector<std::string> while_running = directory_entries(dir.path);
  ASSERT_EQ(while_running.size(), 1u) << "no temporary file within two minutes";
  EXPECT_NE(while_running[0], "demo.mp4") << "the output's own name was written before the end";
  kill(pid, SIGINT);
  const CaptureRun run = finish_program(pid, dir.path);
  EXPECT_EQ(describe_status(run.status), "signal 2") << run.error_text;
  EXPECT_NE(run.error_text.find("interrupted; demo.mp4 was not written"), std::string::npos)
      << run.error_text;
  EXPECT_EQ(directory_entries(dir.path), std::vector<std::string>{});
}

}  // namespace
