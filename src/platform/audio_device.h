// Output back-ends pull mixed audio from the core: the core hands a render
// source to a device, and the device calls Render from its own thread as it
// needs frames. The null output (audio_null_output.h) lives in the core and
// needs no device; the SDL2 device lives in the sdl* files and is handed in
// by the shell.
#pragma once

namespace kw {

class TAudioRenderSource {
 public:
  virtual ~TAudioRenderSource() = default;
  // Fills `out` with `frames` stereo float frames at 44100 Hz. Safe to call
  // from the device's thread; never allocates or blocks for long.
  virtual void Render(float* out, int frames) = 0;
};

class TAudioDevice {
 public:
  virtual ~TAudioDevice() = default;
  // Opens the device and starts pulling from `source`; false when no device
  // opens (the player then runs on the null output).
  virtual bool Open(TAudioRenderSource& source) = 0;
  // Stops pulling; Render is not called once this returns.
  virtual void Close() = 0;
  virtual const char* Name() const = 0;
};

}  // namespace kw
