// The audio library's call surface as the engine calls it: samples with a
// few overlapping playbacks, looping music streams, channel volumes, and
// pause and resume of all output. Handles are 32-bit, 0 meaning failure;
// volumes run from 0 to 100, pan from -100 to 100.
//
// The library is process-wide state: one output, opened by BASS_Init and
// closed by BASS_Free. Every BASS_ function is called from the game thread;
// mixing runs on the output device's thread (or, on the null output, on the
// game thread inside these calls).
//
// Beyond the original surface, the player chooses the output before
// BASS_Init (KwAudioUseDevice, KwAudioSetClock), may record everything mixed
// (KwAudioRecordTo) and keeps the null output in step with its clock once a
// frame (KwAudioUpdate).
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/audio_device.h"
#include "platform/clock.h"

namespace kw {

using DWORD = uint32_t;
using BOOL = int;
using HSAMPLE = DWORD;
using HCHANNEL = DWORD;
using HSTREAM = DWORD;

inline constexpr BOOL BASS_TRUE = 1;
inline constexpr BOOL BASS_FALSE = 0;
inline constexpr DWORD BASS_VERSION_WORD = 0x00020002;  // version 2.2
inline constexpr DWORD BASS_SAMPLE_LOOP = 4;             // a stream that loops
inline constexpr DWORD BASS_SAMPLE_OVER_POS = 0x20000;   // override the longest-playing
inline constexpr DWORD BASS_ACTIVE_STOPPED = 0;
inline constexpr DWORD BASS_ACTIVE_PLAYING = 1;

// 0x00020002.
DWORD BASS_GetVersion();
// Opens the output: the device handed in with KwAudioUseDevice when it
// opens, else the null output. `device` -1 is the default device; the rate
// must be 44100 (or 0). False when already open or for another rate.
// `window` and `classId` are accepted and unused.
BOOL BASS_Init(int device, DWORD freq, DWORD flags, void* window, const void* classId);
// Closes the output and frees every sample and stream.
BOOL BASS_Free();

// A sample from a file (mem 0: `file` is a path, from `offset`, `length`
// bytes or 0 for all) or from memory (mem non-zero: `file` points at
// `length` bytes from `offset`; they are decoded at once, so the caller may
// release them on return). At most `max` playbacks at once; with
// BASS_SAMPLE_OVER_POS a further one takes the channel that has played
// longest. 0 when the data does not decode.
HSAMPLE BASS_SampleLoad(BOOL mem, const void* file, DWORD offset, DWORD length, DWORD max, DWORD flags);
// A channel to play the sample on (volume 100, centre, at its start); 0
// when all its channels are busy and none may be overridden (or `onlyNew`).
HCHANNEL BASS_SampleGetChannel(HSAMPLE sample, BOOL onlyNew);
// A stream from a file or from memory, as for samples; from memory it reads
// the caller's bytes while it plays, so they must stay for the stream's
// life. BASS_SAMPLE_LOOP makes it loop without a gap. 0 when the data does
// not decode.
HSTREAM BASS_StreamCreateFile(BOOL mem, const void* file, DWORD offset, DWORD length, DWORD flags);

// BASS_ACTIVE_PLAYING (1) while it plays (also while all output is paused),
// else BASS_ACTIVE_STOPPED (0).
DWORD BASS_ChannelIsActive(DWORD handle);
// Frequency (the file's rate), volume and pan; any out pointer may be null.
BOOL BASS_ChannelGetAttributes(DWORD handle, DWORD* freq, DWORD* volume, int* pan);
// Volume (0-100; -1 keeps it) and pan (-100..100; -101 keeps it) take effect
// at once. The frequency must be the channel's own (or 0 / -1): playback at
// another rate is not offered, and such a call is refused.
BOOL BASS_ChannelSetAttributes(DWORD handle, int freq, int volume, int pan);
// Starts a channel; `restart` non-zero plays from the beginning, else it
// continues where it stopped (from the beginning once it has ended).
BOOL BASS_ChannelPlay(DWORD handle, BOOL restart);
// Stops a channel where it is; a stream stays valid and can play again.
BOOL BASS_ChannelStop(DWORD handle);
// Pauses all output; every channel keeps its place.
BOOL BASS_Pause();
// Resumes the output where it paused.
BOOL BASS_Start();

// ---- the player's choices ----

// The device BASS_Init tries (the SDL2 device from sdl_audio.h); none, or
// one that fails to open, leaves the null output. Before BASS_Init.
void KwAudioUseDevice(std::unique_ptr<TAudioDevice> device);
// The clock that paces the null output (the frame timer's clock; a virtual
// clock in headless runs). Without one the null output keeps its own real
// clock. Before BASS_Init; the clock must outlive BASS_Free.
void KwAudioSetClock(TClock* clock);
// Writes everything mixed from now on to a 16-bit stereo 44100 Hz WAV file
// until BASS_Free (paused time is left out). After BASS_Init; false when
// the file cannot be created or no output is open.
bool KwAudioRecordTo(const std::string& path);
// Brings the null output up to its clock; call once a frame. Does nothing
// with a device (it pulls audio itself).
void KwAudioUpdate();
// True when a real device plays the audio (false: the null output).
bool KwAudioHasDevice();

}  // namespace kw
