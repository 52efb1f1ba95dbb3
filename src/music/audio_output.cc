#include "music/audio_output.h"

#include <span>
#include <variant>
#include <vector>

#include "base/fatal.h"
#include "music/mixer.h"
#include "music/module_image.h"
#include "music/player.h"

void audio_callback(void* userdata, Uint8* stream, int len) {
  // The device was opened with no allowed changes, so the stream is always 32-bit float mono.
  auto* samples = reinterpret_cast<float*>(stream);
  fill_block(*static_cast<PlaybackState*>(userdata),
             std::span<float>(samples, static_cast<std::size_t>(len) / sizeof(float)));
}

MusicDevice open_music_device() {
  SdlSubsystem audio(SDL_INIT_AUDIO);
  auto state = std::make_unique<PlaybackState>();

  SDL_AudioSpec desired{};
  desired.freq = 48000;
  desired.format = AUDIO_F32LSB;
  desired.channels = 1;
  desired.silence = 0;
  desired.samples = 8192;
  desired.callback = audio_callback;
  desired.userdata = state.get();
  SDL_AudioSpec obtained{};
  // No changes allowed: SDL2 converts internally, so the callback always writes what it asked for.
  AudioDevice device(SDL_OpenAudioDevice(nullptr, 0, &desired, &obtained, 0));
  if (device.id() == 0) {
    SDL_GetError();  // fetched, never shown
    fatal();
  }

  // The whole song is rendered at the rate the device obtained, while it is still paused.
  auto player = create_player(module_image, obtained.freq);
  if (!std::holds_alternative<Player>(player)) fatal();
  std::vector<std::int16_t> song = render_song(std::get<Player>(player));

  // The song is installed while the device is still paused, so the audio thread cannot see it
  // half-written.
  install_song(*state, std::move(song));

  SDL_PauseAudioDevice(device.id(), 0);
  return MusicDevice{std::move(audio), std::move(state), std::move(device)};
}
