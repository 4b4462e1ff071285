// The process-wide state shared by the shell (start-up, frame loop, input),
// the elements and the built-in functions. It lives here, in the scene
// layer, because the elements and the script functions below the shell read
// and write it; the shell owns its lifetime (it resets it at start-up and
// clears the element references at shutdown). Nothing keeps a second copy:
// every reader goes through Shell(). The picture loader's part of it
// (LoadNow, ProcessTick, ImForLoadCount, ImForLoadPos) lives with the
// picture resources, in KwImages() (media/kw_im.h).
//
// Element references here never own: the root owns the whole tree, and the
// shell clears these references before the tree is destroyed.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace kw {

class TSoundSystem;

class TKwElement;
class TKwText;

struct TShellState {
  bool TestMode = false;         // started with "/TESTMODE": never full screen
  bool ForceFullScreen = false;  // the desktop is narrower than the window
  bool FullScreen = false;       // the display mode wanted (INI key "FS")
  bool SysCursor = false;        // the system mouse cursor is shown
  TKwElement* CurrentScreen = nullptr;  // the screen shown and processed
  TKwElement* NextScreen = nullptr;     // the screen a pending switch shows
  bool Loading = false;                 // a screen switch is loading
  TKwElement* CursorAt = nullptr;       // the element under the mouse
  TKwElement* PressedElement = nullptr; // the element the button went down on
  bool MouseIsDown = false;
  TKwElement* CursorElement = nullptr;  // drawn at the mouse position
  TKwText* EntryText = nullptr;         // receives typed characters
  int32_t MsX = 0, MsY = 0;             // last mouse position, frame pixels
  int32_t MsDX = 0, MsDY = 0;           // movement of the last mouse move
  int32_t KeyDowned = 0;                // code of the last key pressed
  int32_t LogoIndex = 0;                // logo on show; -1 once the game runs
  int32_t LogoTick = 0;                 // ticks since the current logo began
  bool ExitRequest = false;             // a script asked the program to end

  // Random seed for the run: given with --seed, else taken from the clock at
  // start-up. The script library's random generator starts from it.
  uint64_t RandomSeed = 0;
  bool SeedGiven = false;

  // The player's sound and music (owned by the player for the whole run;
  // none in tools and tests that play no sound).
  TSoundSystem* Sound = nullptr;

  // Set by the shell for the window it runs in (none in tools and tests):
  // applies the display mode (desktop full screen or the window) and shows
  // or hides the system cursor (the arrow) over the window. The root calls
  // them when it applies the player's settings.
  std::function<void(bool fullScreen)> ApplyDisplayMode;
  std::function<void(bool shown)> ShowSystemCursor;
};

// The one instance.
TShellState& Shell();

// Back to the start-up values (used at start-up and between tests), the
// picture resources' state included (ResetKwImages).
void ResetShellState();

// Clears every element reference that points into the tree or at
// `element`'s subtree; called before elements are destroyed.
void ForgetElementReferences(const TKwElement* element);

}  // namespace kw
