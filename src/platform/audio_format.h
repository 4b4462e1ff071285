// The one format the mixer works in: 44100 frames a second, two channels,
// interleaved float (left, right) in [-1, 1].
#pragma once

namespace kw {

inline constexpr int kMixRate = 44100;
inline constexpr int kMixChannels = 2;

}  // namespace kw
