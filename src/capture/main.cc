// capture [OPTION]...: renders the demo offline into one video file, frame by frame through the
// program's own draw_frame and with the program's own song, faster than it plays. capture --help
// lists the options.
#define SDL_MAIN_HANDLED
#include <SDL.h>
#include <fcntl.h>
#include <unistd.h>

#include <array>
#include <charconv>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <random>
#include <span>
#include <string>
#include <system_error>
#include <variant>
#include <vector>

#include "capture/capture.h"
#include "capture/capture_plan.h"
#include "capture/interruption.h"
#include "capture/options.h"
#include "capture/pending_output.h"
#include "capture/progress.h"
#include "music/mixer.h"
#include "music/module_image.h"
#include "music/player.h"
#include "offline/presentation_switch.h"

extern "C" {
#include <libavutil/log.h>
}

namespace {

int refuse(const std::string& message) {
  std::fprintf(stderr, "capture: %s\n", message.c_str());
  return 2;
}

int fail(const std::string& message) {
  std::fprintf(stderr, "capture: %s\n", message.c_str());
  return 1;
}

// The director writes the program's console time line with every frame. A capture shows its own
// progress on standard error instead, so the time lines go nowhere; a closed or full standard
// output then cannot end the capture half way either.
bool silence_standard_output() {
  const int null = open("/dev/null", O_WRONLY | O_CLOEXEC);
  if (null < 0) return false;
  const bool ok = std::fflush(stdout) == 0 && dup2(null, STDOUT_FILENO) == STDOUT_FILENO;
  close(null);
  return ok;
}

std::uint64_t fresh_seed() {
  std::random_device entropy;
  return (static_cast<std::uint64_t>(entropy()) << 32) | entropy();
}

// SDL2 with the dummy video driver: the frames are drawn into memory, no display is needed.
struct SdlVideo {
  SdlVideo() : ok(SDL_SetHint(SDL_HINT_VIDEODRIVER, "dummy") == SDL_TRUE && SDL_Init(SDL_INIT_VIDEO) == 0) {}
  ~SdlVideo() { SDL_Quit(); }
  SdlVideo(const SdlVideo&) = delete;
  SdlVideo& operator=(const SdlVideo&) = delete;
  bool ok;
};

// "35.7 MB", "412 kB": the written file's size for the closing line.
std::string file_size(const std::string& path) {
  std::error_code error;
  const auto bytes = static_cast<double>(std::filesystem::file_size(path, error));
  if (error) return "size unknown";
  const bool big = bytes >= 1e6;
  std::array<char, 32> digits{};
  const auto [end, failed] =
      std::to_chars(digits.data(), digits.data() + digits.size(), big ? bytes / 1e6 : bytes / 1e3,
                    std::chars_format::fixed, big ? 1 : 0);
  if (failed != std::errc{}) return "size unknown";
  return std::string(digits.data(), end) + (big ? " MB" : " kB");
}

// Renders the song and captures the plan into the pending output; empty when the capture was
// complete or interrupted (interruption() tells which).
std::optional<std::string> capture_into(const PendingOutput& output, const CaptureOptions& options,
                                        const CapturePlan& plan, std::uint64_t seed, Progress& progress) {
  auto player = create_player(module_image, capture_sample_rate);
  auto* ready = std::get_if<Player>(&player);
  if (ready == nullptr) return "the embedded module was refused";
  std::vector<std::int16_t> song = render_song(*ready);
  if (interruption() != 0) return std::nullopt;
  choose_presentation(options.presentation);
  progress = start_progress(plan.frame_count, isatty(STDERR_FILENO) == 1);
  std::optional<std::string> error = capture_video(
      options, plan, seed, std::move(song), output.temporary_path(),
      [&progress](std::int64_t frames_done, double t) { report_progress(progress, frames_done, t); });
  end_progress(progress);
  return error;
}

}  // namespace

int main(int argc, char** argv) {
  const auto parsed =
      parse_options(std::span<const char* const>(argv + 1, static_cast<std::size_t>(argc - 1)));
  if (const auto* error = std::get_if<OptionError>(&parsed)) return refuse(error->message);
  const auto* options = std::get_if<CaptureOptions>(&parsed);
  if (options->help) return std::fputs(usage_text(), stdout) >= 0 ? 0 : 1;
  const CapturePlan plan = plan_capture(options->from_ms, options->to_ms, options->fps);
  const std::uint64_t seed = options->seed ? *options->seed : fresh_seed();

  catch_interruptions();
  // Progress to a pipe that a pager or a script has closed: the lines are lost, the capture goes on
  // and still cleans up after itself, rather than dying of SIGPIPE with its temporary file left.
  if (std::signal(SIGPIPE, SIG_IGN) == SIG_ERR) return fail("cannot ignore SIGPIPE");
  // The encoders' own reports (x264's settings and statistics) would bury the progress line;
  // their warnings and errors still show.
  av_log_set_level(AV_LOG_WARNING);
  if (!silence_standard_output()) return fail("cannot send the console time lines to /dev/null");
  const SdlVideo sdl;
  if (!sdl.ok) return fail(std::string("SDL2's dummy video driver: ") + SDL_GetError());
  auto pending = begin_output(options->output);
  if (const auto* error = std::get_if<std::string>(&pending)) return fail("cannot write " + *error);
  auto* output = std::get_if<PendingOutput>(&pending);

  Progress progress;
  const std::optional<std::string> error = capture_into(*output, *options, plan, seed, progress);
  if (const int signal_number = interruption(); signal_number != 0) {
    std::fprintf(stderr, "capture: interrupted; %s was not written\n", options->output.c_str());
    { const PendingOutput discarded = std::move(*output); }  // removes the temporary file
    end_by_interruption(signal_number);
  }
  if (error) return fail(*error + "; " + options->output + " was not written");
  if (const auto commit_error = commit_output(*output)) return fail("cannot write " + *commit_error);

  const double seconds = elapsed_seconds(progress);
  std::fprintf(stderr,
               "capture: wrote %s: %s, %dx%d, %lld fps, %lld frames from t = %.3f s, %s, in %.1f s "
               "(%.1f fps), seed %llu\n",
               options->output.c_str(), codec_description(options->codec), options->width, options->height,
               static_cast<long long>(options->fps), static_cast<long long>(plan.frame_count),
               static_cast<double>(options->from_ms) / 1000.0, file_size(options->output).c_str(), seconds,
               static_cast<double>(plan.frame_count) / seconds, static_cast<unsigned long long>(seed));
  return 0;
}
