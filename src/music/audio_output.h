#pragma once

#include <SDL.h>

#include <memory>
#include <utility>

#include "base/sdl_owners.h"
#include "music/playback.h"

// An open SDL2 audio device id; closing it ends the callbacks.
class AudioDevice {
 public:
  explicit AudioDevice(SDL_AudioDeviceID id) : id_(id) {}
  ~AudioDevice() {
    if (id_ != 0) SDL_CloseAudioDevice(id_);
  }
  AudioDevice(AudioDevice&& other) noexcept : id_(std::exchange(other.id_, 0)) {}
  AudioDevice& operator=(AudioDevice&&) = delete;
  AudioDevice(const AudioDevice&) = delete;
  AudioDevice& operator=(const AudioDevice&) = delete;
  SDL_AudioDeviceID id() const { return id_; }

 private:
  SDL_AudioDeviceID id_;
};

// The playing music. Members are released in reverse order: the device is closed first, then
// the playback state is freed, then the audio subsystem is released.
struct MusicDevice {
  SdlSubsystem audio;
  std::unique_ptr<PlaybackState> state;
  AudioDevice device;
};

// SDL2's callback on its audio thread: user data is the PlaybackState.
void audio_callback(void* userdata, Uint8* stream, int len);

// Opens the default playback device paused (48000 Hz, 32-bit float, mono, blocks of 8192),
// renders the whole song at the obtained rate, installs it and starts playback. Any failure
// is fatal, before a window exists.
MusicDevice open_music_device();
