#include "capture/options.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <string_view>
#include <system_error>
#include <utility>

#include "capture/capture_plan.h"

namespace {

constexpr const char* usage = R"(usage: capture [OPTION]...
Renders the whole demo offline, frame by frame, into one video file with its song.

  -o, --output PATH        the file to write (default vexal25-herald.mp4, or .mkv for ffv1);
                           it appears only once it is complete
  -c, --codec NAME         h264: H.264 (yuv420p) and AAC in MP4, for video sites (default)
                           ffv1: FFV1 and FLAC in Matroska, lossless, for archives
  -s, --size WxH           frame size in pixels, 16 to 8192 a side, even for h264
                           (default 1920x1080)
  -r, --fps N              frames per second, 1 to 240 (default 60)
  -p, --presentation NAME  logical: the 640 x 400 design scaled into the frame with its aspect
                           kept and bars around it, as vexal25-herald shows it (default)
                           drawable: laid out against the frame's own size, as
                           vexal25-herald-drawable shows it
      --from SECONDS       start of the range to capture, 0 to 114 (default 0)
      --to SECONDS         end of the range, not included, 0 to 114 (default 114)
      --seed N             seed of the glyph jitter, 0 to 18446744073709551615; the same seed
                           gives the same file (default: a fresh seed, printed at the end)
  -h, --help               this text
)";

struct OptionName {
  std::string_view long_name;
  char short_name;
  std::string_view accepts;  // what a refusal says the option takes
};

constexpr std::array<OptionName, 9> option_names{{
    {"output", 'o', "a file name ending in .mp4 (h264) or .mkv (ffv1)"},
    {"codec", 'c', "h264 (H.264 and AAC in MP4) or ffv1 (FFV1 and FLAC in Matroska)"},
    {"size", 's', "WIDTHxHEIGHT in pixels, each 16 to 8192, such as 1920x1080"},
    {"fps", 'r', "a whole number of frames per second from 1 to 240"},
    {"presentation", 'p', "logical (the 640 x 400 design scaled, with bars) or drawable"},
    {"from", '\0', "seconds from 0 to 114, in steps of 0.001"},
    {"to", '\0', "seconds from 0 to 114, in steps of 0.001"},
    {"seed", '\0', "a whole number from 0 to 18446744073709551615"},
    {"help", 'h', "no value"},
}};

template <typename Value>
using Names = std::array<std::pair<std::string_view, Value>, 2>;
constexpr Names<Codec> codec_names{{{"h264", Codec::h264}, {"ffv1", Codec::ffv1}}};

// The value a name stands for, or nothing for a name not in the list.
template <typename Value>
std::optional<Value> named(std::string_view text, const Names<Value>& names) {
  for (const auto& [name, value] : names) {
    if (name == text) return value;
  }
  return std::nullopt;
}

std::string_view accepts(std::string_view long_name) {
  for (const OptionName& name : option_names) {
    if (name.long_name == long_name) return name.accepts;
  }
  return {};
}

std::optional<std::string_view> long_name_of(std::string_view arg) {
  if (arg.size() == 2 && arg[0] == '-' && arg[1] != '-') {
    for (const OptionName& name : option_names) {
      if (name.short_name == arg[1]) return name.long_name;
    }
    return std::nullopt;
  }
  if (arg.size() > 2 && arg.starts_with("--")) {
    const std::string_view name = arg.substr(2);
    for (const OptionName& known : option_names) {
      if (known.long_name == name) return known.long_name;
    }
  }
  return std::nullopt;
}

// "--fps: '0' is refused; " and then what it accepts.
OptionError refuse(std::string_view option, std::string_view value, const std::string& what_it_accepts) {
  return OptionError{"--" + std::string(option) + ": '" + std::string(value) + "' is refused; " +
                     what_it_accepts};
}

OptionError refuse(std::string_view option, std::string_view value) {
  return refuse(option, value, "it accepts " + std::string(accepts(option)));
}

// A whole decimal number without sign, or nothing.
template <typename Number>
std::optional<Number> whole_number(std::string_view text) {
  Number value{};
  if (text.empty() || text.front() == '-' || text.front() == '+') return std::nullopt;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc{} || end != text.data() + text.size()) return std::nullopt;
  return value;
}

// Seconds with at most three decimals, as whole milliseconds.
std::optional<std::int64_t> milliseconds(std::string_view text) {
  const std::size_t dot = text.find('.');
  const std::string_view whole = text.substr(0, dot);
  std::string_view fraction = dot == std::string_view::npos ? std::string_view{} : text.substr(dot + 1);
  if (dot != std::string_view::npos && (fraction.empty() || fraction.size() > 3)) return std::nullopt;
  if (whole.size() > 6) return std::nullopt;  // far beyond the demo, and no overflow below
  const std::optional<std::int64_t> seconds = whole_number<std::int64_t>(whole);
  if (!seconds) return std::nullopt;
  std::int64_t thousandths = 0;
  for (std::size_t k = 0; k < 3; ++k) {
    const char digit = k < fraction.size() ? fraction[k] : '0';
    if (digit < '0' || digit > '9') return std::nullopt;
    thousandths = thousandths * 10 + (digit - '0');
  }
  return *seconds * 1000 + thousandths;
}

bool ends_with_ignoring_case(std::string_view text, std::string_view suffix) {
  if (text.size() < suffix.size()) return false;
  return std::equal(suffix.begin(), suffix.end(), text.end() - static_cast<std::ptrdiff_t>(suffix.size()),
                    [](char a, char b) { return std::tolower(static_cast<unsigned char>(a)) == b; });
}

std::string seconds_text(std::int64_t ms) {
  std::string text = std::to_string(ms / 1000);
  if (ms % 1000 != 0) {
    std::string fraction = std::to_string(1000 + ms % 1000).substr(1);
    while (fraction.back() == '0') fraction.pop_back();
    text += "." + fraction;
  }
  return text;
}

// Applies one option's value; an error names the option and what it accepts.
std::optional<OptionError> apply(CaptureOptions& options, std::string_view name, std::string_view value) {
  if (name == "output") {
    if (value.empty()) return refuse(name, value);
    options.output = value;
  } else if (name == "codec") {
    const std::optional<Codec> codec = named(value, codec_names);
    if (!codec) return refuse(name, value);
    options.codec = *codec;
  } else if (name == "size") {
    const std::size_t x = value.find('x');
    const std::optional<int> width = whole_number<int>(value.substr(0, x));
    const std::optional<int> height =
        x == std::string_view::npos ? std::nullopt : whole_number<int>(value.substr(x + 1));
    if (!width || !height || *width < smallest_side || *width > largest_side || *height < smallest_side ||
        *height > largest_side) {
      return refuse(name, value);
    }
    options.width = *width;
    options.height = *height;
  } else if (name == "fps") {
    const std::optional<std::int64_t> fps = whole_number<std::int64_t>(value);
    if (!fps || *fps < 1 || *fps > highest_fps) return refuse(name, value);
    options.fps = *fps;
  } else if (name == "presentation") {
    const std::optional<Presentation> presentation = presentation_named(value);
    if (!presentation) return refuse(name, value);
    options.presentation = *presentation;
  } else if (name == "from" || name == "to") {
    const std::optional<std::int64_t> ms = milliseconds(value);
    if (!ms || *ms > demo_length_ms) return refuse(name, value);
    (name == "from" ? options.from_ms : options.to_ms) = *ms;
  } else if (name == "seed") {
    const std::optional<std::uint64_t> seed = whole_number<std::uint64_t>(value);
    if (!seed) return refuse(name, value);
    options.seed = seed;
  }
  return std::nullopt;
}

// The checks that look at several options together, once all are read.
std::optional<OptionError> check_together(CaptureOptions& options) {
  const std::string size = std::to_string(options.width) + "x" + std::to_string(options.height);
  if (options.codec == Codec::h264 && (options.width % 2 != 0 || options.height % 2 != 0)) {
    return refuse("size", size,
                  "with --codec h264 it accepts an even width and height (yuv420p), such as 1920x1080");
  }
  const bool h264 = options.codec == Codec::h264;
  const char* extension = h264 ? ".mp4" : ".mkv";
  if (options.output.empty()) options.output = std::string("vexal25-herald") + extension;
  if (!ends_with_ignoring_case(options.output, extension)) {
    return refuse("output", options.output,
                  std::string("with --codec ") + (h264 ? "h264" : "ffv1") +
                      " it accepts a file name ending in " + extension + " (" +
                      codec_description(options.codec) + ")");
  }
  if (options.to_ms <= options.from_ms) {
    return refuse("to", seconds_text(options.to_ms),
                  "it accepts an end after --from " + seconds_text(options.from_ms));
  }
  if (plan_capture(options.from_ms, options.to_ms, options.fps).frame_count == 0) {
    return refuse("to", seconds_text(options.to_ms),
                  "it accepts an end at least one frame after --from " + seconds_text(options.from_ms) +
                      " at " + std::to_string(options.fps) + " frames per second");
  }
  return std::nullopt;
}

}  // namespace

std::variant<CaptureOptions, OptionError> parse_options(std::span<const char* const> args) {
  CaptureOptions options;
  for (std::size_t k = 0; k < args.size(); ++k) {
    std::string_view arg = args[k];
    std::optional<std::string_view> inline_value;
    if (arg.starts_with("--")) {
      const std::size_t equals = arg.find('=');
      if (equals != std::string_view::npos) {
        inline_value = arg.substr(equals + 1);
        arg = arg.substr(0, equals);
      }
    }
    const std::optional<std::string_view> name = long_name_of(arg);
    if (!name) {
      if (!arg.starts_with("-")) {
        return OptionError{"unexpected argument '" + std::string(arg) +
                           "'; it accepts options only, the file to write with --output"};
      }
      return OptionError{"unknown option '" + std::string(arg) + "'; capture --help lists the options"};
    }
    if (*name == "help") {
      if (inline_value) return refuse(*name, *inline_value);
      options.help = true;
      continue;
    }
    if (!inline_value) {
      if (k + 1 >= args.size()) {
        return OptionError{"--" + std::string(*name) + ": a value is missing; it accepts " +
                           std::string(accepts(*name))};
      }
      inline_value = args[++k];
    }
    if (std::optional<OptionError> error = apply(options, *name, *inline_value)) return *error;
  }
  if (options.help) return options;
  if (std::optional<OptionError> error = check_together(options)) return *error;
  return options;
}

const char* usage_text() { return usage; }

const char* codec_description(Codec codec) {
  return codec == Codec::h264 ? "H.264 and AAC in MP4" : "FFV1 and FLAC in Matroska";
}
