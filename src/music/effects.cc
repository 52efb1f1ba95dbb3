#include "music/effects.h"

#include <algorithm>

#include "music/lfo.h"
#include "music/voice.h"

namespace {

// E6x: x = 0 marks the loop start; x != 0 closes the section, which then plays x + 1 times.
void pattern_loop(Player& player, Channel& channel, std::uint8_t x) {
  if (x == 0) {
    channel.loop_row = static_cast<std::uint8_t>(player.row);
    return;
  }
  if (!(channel.loop_row < player.row && player.next_song_position < 0)) return;
  std::int64_t remaining;
  if (player.loop_count < 0) {
    player.loop_channel = channel.index;
    remaining = x;
  } else if (player.loop_channel != channel.index) {
    return;  // another channel's loop is running
  } else {
    remaining = player.loop_count;
  }
  if (remaining != 0) {
    player.next_row = channel.loop_row;
  } else {
    // The finished loop must not be entered again when play passes this row.
    channel.loop_row = static_cast<std::uint8_t>(player.row + 1);
  }
  player.loop_count = remaining - 1;
}

// One tone-portamento step towards target_period.
void slide_to_target(Channel& channel) {
  if (channel.period > channel.target_period) {
    channel.period = static_cast<std::uint16_t>(
        std::max<int>(channel.period - channel.porta_speed, channel.target_period));
  } else if (channel.period < channel.target_period) {
    channel.period = static_cast<std::uint16_t>(
        std::min<int>(channel.period + channel.porta_speed, channel.target_period));
  }
}

// Volume + high nibble - low nibble, clamped to 0..64: both nibbles count at once.
void slide_volume(Channel& channel, std::uint8_t param) {
  channel.volume =
      static_cast<std::uint8_t>(std::clamp(channel.volume + (param >> 4) - (param & 0x0F), 0, 64));
}

}  // namespace

void run_row_action(Player& player, Channel& channel) {
  const std::uint8_t p = channel.note.param;
  switch (effect_of(channel.note)) {
    case Effect::tone_portamento:
      if (p != 0) channel.porta_speed = p;
      break;
    case Effect::vibrato:
      if (p >= 0x10) channel.vibrato_speed = p >> 4;
      if ((p & 0x0F) != 0) channel.vibrato_depth = p & 0x0F;
      apply_vibrato(player, channel);
      break;
    case Effect::vibrato_volume_slide:
      apply_vibrato(player, channel);
      break;
    case Effect::tremolo:
      if (p >= 0x10) channel.tremolo_speed = p >> 4;
      if ((p & 0x0F) != 0) channel.tremolo_depth = p & 0x0F;
      apply_tremolo(player, channel);
      break;
    case Effect::set_panning:  // four channels keep their fixed left/right placement
      if (player.channel_count != 4) channel.panning = p < 128 ? p : 127;
      break;
    case Effect::position_jump:  // ignored inside a running pattern loop
      if (player.loop_count < 0) {
        player.next_song_position = p;
        player.next_row = 0;
      }
      break;
    case Effect::set_volume:
      channel.volume = std::min<std::uint8_t>(p, 64);
      break;
    case Effect::pattern_break:  // the parameter is two decimal digits
      if (player.loop_count < 0) {
        if (player.next_song_position < 0) player.next_song_position = player.song_position + 1;
        const std::int64_t target = p - 6 * (p >> 4);
        player.next_row = target < 64 ? target : 0;
      }
      break;
    case Effect::set_speed_or_tempo:  // speed below 32, tempo from 32 on
      if (p == 0) break;
      if (p < 32) {
        player.speed = p;
        player.ticks_left = p;
      } else {
        player.samples_per_tick = samples_per_tick_at(player.sample_rate, p);
      }
      break;
    case Effect::fine_portamento_up:
      channel.period = static_cast<std::uint16_t>(std::max(channel.period - p, 0));
      break;
    case Effect::fine_portamento_down:
      channel.period = static_cast<std::uint16_t>(std::min(channel.period + p, 65535));
      break;
    case Effect::vibrato_waveform:
      if (p < 8) channel.vibrato_shape = p;
      break;
    case Effect::pattern_loop:
      pattern_loop(player, channel, p);
      break;
    case Effect::tremolo_waveform:
      if (p < 8) channel.tremolo_shape = p;
      break;
    case Effect::fine_volume_up:
      channel.volume = static_cast<std::uint8_t>(std::min(channel.volume + p, 64));
      break;
    case Effect::fine_volume_down:
      channel.volume = static_cast<std::uint8_t>(std::max(channel.volume - p, 0));
      break;
    case Effect::note_cut:  // on the row itself only with x = 0
      if (p == 0) channel.volume = 0;
      break;
    case Effect::pattern_delay:  // the row lasts x + 1 times as long, effects running
      player.ticks_left = (std::int64_t{p} + 1) * player.speed;
      break;
    // Effects that act between rows only, or whose row part the note trigger does.
    case Effect::none:
    case Effect::portamento_up:
    case Effect::portamento_down:
    case Effect::tone_portamento_volume_slide:
    case Effect::sample_offset:
    case Effect::volume_slide:
    case Effect::arpeggio:
    case Effect::set_filter:
    case Effect::glissando_control:
    case Effect::set_finetune:
    case Effect::unused_e8:
    case Effect::retrigger:
    case Effect::note_delay:
    case Effect::invert_loop:
      break;
  }
}

void run_tick_action(Player& player, Channel& channel, std::uint8_t n) {
  const std::uint8_t p = channel.note.param;
  switch (effect_of(channel.note)) {
    case Effect::portamento_up:
      channel.period = channel.period > p ? static_cast<std::uint16_t>(channel.period - p) : 0;
      break;
    case Effect::portamento_down:
      channel.period = static_cast<std::uint16_t>(std::min(channel.period + p, 65535));
      break;
    case Effect::tone_portamento:
      slide_to_target(channel);
      break;
    case Effect::vibrato:
      channel.vibrato_phase = static_cast<std::uint8_t>(channel.vibrato_phase + channel.vibrato_speed);
      apply_vibrato(player, channel);
      break;
    case Effect::tone_portamento_volume_slide:
      slide_to_target(channel);
      slide_volume(channel, p);
      break;
    case Effect::vibrato_volume_slide:
      channel.vibrato_phase = static_cast<std::uint8_t>(channel.vibrato_phase + channel.vibrato_speed);
      apply_vibrato(player, channel);
      slide_volume(channel, p);
      break;
    case Effect::tremolo:
      channel.tremolo_phase = static_cast<std::uint8_t>(channel.tremolo_phase + channel.tremolo_speed);
      apply_tremolo(player, channel);
      break;
    case Effect::volume_slide:
      slide_volume(channel, p);
      break;
    case Effect::arpeggio:  // base note, + high nibble, + low nibble, again
      if (n == 1) {
        channel.arpeggio_step = p >> 4;
      } else if (n == 2) {
        channel.arpeggio_step = p & 0x0F;
      } else {
        channel.effect_ticks = 0;
        channel.arpeggio_step = 0;
      }
      break;
    case Effect::retrigger:  // from the sample's start, not from the sample offset
      if (n >= p) {
        channel.effect_ticks = 0;
        channel.position = 0;
      }
      break;
    case Effect::note_cut:
      if (n == p) channel.volume = 0;
      break;
    case Effect::note_delay:
      if (n == p) start_note(player, channel);
      break;
    // Effects whose whole work is done on the row.
    case Effect::none:
    case Effect::set_panning:
    case Effect::sample_offset:
    case Effect::position_jump:
    case Effect::set_volume:
    case Effect::pattern_break:
    case Effect::set_speed_or_tempo:
    case Effect::set_filter:
    case Effect::fine_portamento_up:
    case Effect::fine_portamento_down:
    case Effect::glissando_control:
    case Effect::vibrato_waveform:
    case Effect::set_finetune:
    case Effect::pattern_loop:
    case Effect::tremolo_waveform:
    case Effect::unused_e8:
    case Effect::fine_volume_up:
    case Effect::fine_volume_down:
    case Effect::pattern_delay:
    case Effect::invert_loop:
      break;
  }
}
