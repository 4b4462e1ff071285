// The audio library opened on the null output with a virtual clock, for
// tests: time moves only when the test says, and everything mixed can be
// recorded and read back.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/bass.h"
#include "support/audio_fixtures.h"
#include "support/temp_folder.h"

namespace kw::test {

class TAudioRig {
 public:
  TAudioRig() {
    KwAudioSetClock(&clock_);
    EXPECT_EQ(BASS_Init(-1, 44100, 0, nullptr, nullptr), BASS_TRUE);
  }
  ~TAudioRig() { BASS_Free(); }
  TAudioRig(const TAudioRig&) = delete;
  TAudioRig& operator=(const TAudioRig&) = delete;

  // Moves the clock on and lets the null output catch up.
  void AdvanceMs(double ms) {
    clock_.AdvanceNs(int64_t(ms * 1e6));
    KwAudioUpdate();
  }
  // Starts recording everything mixed from now on.
  void Record() {
    recording_ = folder_ / "mix.wav";
    ASSERT_TRUE(KwAudioRecordTo(recording_.string()));
  }
  // Closes the library and hands back the recording as float frames.
  std::vector<float> FinishRecording() {
    BASS_Free();
    TWavContents wav;
    std::vector<float> out;
    EXPECT_TRUE(ReadWav16(TTempFolder::Read(recording_), wav));
    EXPECT_EQ(wav.Rate, 44100);
    EXPECT_EQ(wav.Channels, 2);
    for (int16_t s : wav.Samples) out.push_back(s / 32768.0f);
    return out;
  }
  // A file in the rig's temporary folder.
  std::string WriteFile(const std::string& name, const std::string& bytes) {
    return folder_.Write(name, bytes).string();
  }
  TVirtualClock& Clock() { return clock_; }
  const TTempFolder& Folder() const { return folder_; }

 private:
  TVirtualClock clock_;
  TTempFolder folder_;
  std::filesystem::path recording_;
};

}  // namespace kw::test
