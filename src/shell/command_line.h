// The kwplay command line: kwplay [/TESTMODE] [GAME] [options].
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kw {

struct TOptions {
  bool TestMode = false;     // "/TESTMODE" (any case) as the first argument
  std::string Game;          // a .kwf file or a folder holding one; empty: discovery
  bool Headless = false;     // no window, no audio device, virtual clock
  int64_t Frames = -1;       // stop after this many frames; -1: run until closed
  std::string Screenshot;    // write the last frame to this PNG file
  std::string AudioOut;      // record everything mixed to this WAV file
  std::optional<uint64_t> Seed;
  bool Version = false;
  bool Help = false;
  bool Verbose = false;
  bool Tell = false;         // print the paths in use and exit
};

// Parses the arguments after the program name. False with a one-line
// message for an unknown option, a missing or bad value, or a second GAME.
bool ParseCommandLine(const std::vector<std::string>& args, TOptions& options, std::string& error);

// The --help text.
std::string HelpText();

}  // namespace kw
