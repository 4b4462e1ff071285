// Picture resources by name. Every picture an element, a script or the
// player shows is asked for through RequestImage, which keeps exactly one
// entry (TKwIm) per distinct upper-cased name for the whole run. While the
// picture is loaded the entry holds its texture in the rendering device's
// image list; it counts the requests of the scene being prepared, dates its
// last use by the process tick and remembers a picture that could not be
// had, which is never tried again.
//
// Around the loader sit the policies that make a large game fit in memory:
// with LoadNow false requests only register pictures (ImForLoadCount counts
// them, ImForLoadPos counts the loads of the pass that follows, so a loading
// screen can show progress); ReleaseUnused drops what the new scene does
// not use; a budget (MaxMem) drops the pictures drawn longest ago; and with
// AlwaysLoadIm a dropped picture comes back on its next draw.
//
// A picture is a loose file (found through the game-path resolver) or a
// resource pack entry, in BMP, JPEG, PNG or TGA, optionally cut into frames
// by a frame file (".an"), optionally given alpha by a mask partner, and
// optionally converted by a "*" or "#" prefix on its name. The rules are in
// docs/pictures.md.
#pragma once

#include <cstdint>
#include <deque>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>

#include "media/picture_pixels.h"
#include "platform/image_list.h"

namespace kw {

class TKwStore;

// One picture by name, for the whole run (never destroyed while the
// process-wide state lives; callers keep a reference and fetch the texture
// through TextureOf every time they draw).
struct TKwIm {
  uint32_t LastUse = 0;         // ProcessTick when last loaded or drawn
  int32_t MemSize = 0;          // width × height × 4 of the decoded picture
  TTexture* Texture = nullptr;  // in the connected image list; none while not loaded
  std::string Name;             // requested name upper-cased, prefixes kept: the key
  int32_t UseCount = 0;         // requests since the last ResetUseCounts
  bool Failed = false;          // found nowhere or refused by the renderer: final
  bool Locked = false;          // from the request that created it: never released
  TKwRect OpaqueRect;           // extent of the pixels whose alpha is not 0

  TKwIm() = default;
  TKwIm(const TKwIm&) = delete;
  TKwIm& operator=(const TKwIm&) = delete;
};

// The process-wide state of the picture resources and the operations on it.
// There is one instance (KwImages()); the frame loop advances ProcessTick,
// the root and the screen switch set LoadNow, the root connects the device's
// image list and the pack and sets MaxMem, AlwaysLoadIm, the user folder and
// OnLoadProgress. Everything runs on the game thread.
class TKwImages {
 public:
  TKwImages() = default;
  TKwImages(const TKwImages&) = delete;
  TKwImages& operator=(const TKwImages&) = delete;

  // Every entry in creation order; only grows. A deque, so references to
  // entries stay valid as it grows. In a game its first entry is
  // "PARTICLES.BMP", which the root requests locked while it loads the game
  // (the budget never considers the first entry).
  std::deque<TKwIm> ImageList;
  // Process ticks since start (the frame loop adds one a tick): the clock
  // of LastUse.
  uint32_t ProcessTick = 0;
  // Bytes of the textures loaded, checked against MaxMem. Wider than a
  // 32-bit word, so that it cannot wrap around.
  uint64_t TotalTextureBytes = 0;
  // True: requests load pictures at once. False: they only register them
  // (while the game file is read, a screen switch is prepared or a saved
  // state is loaded); locked requests load at once either way.
  bool LoadNow = true;
  // Pictures registered while loading was off (scripts read
  // IMFORLOADCOUNT), and loads done since (IMFORLOADPOS).
  int32_t ImForLoadCount = 0;
  int32_t ImForLoadPos = 0;

  // Set by the root from its properties: the budget in bytes (25 000 000
  // or less: no budget) and whether a released picture reloads on draw.
  int32_t MaxMem = 0;
  bool AlwaysLoadIm = false;
  // The game's resource pack, once the root has opened it; none: loose
  // files only. Not owned.
  TKwStore* Store = nullptr;
  // Loose pictures are resolved in this folder; empty: the current folder,
  // which is the game's.
  std::filesystem::path GameFolder;
  // The user's folder, where a frame file from the pack is copied as
  // "temp.an" before it is read; empty: the copy is not written.
  std::filesystem::path UserFolder;
  // Runs after every picture load (the root runs its exLoadImProcess and
  // presents a frame when a screen switch is loading; the hook itself
  // checks whether one is).
  std::function<void()> OnLoadProgress;

  // Textures go into `images` from now on (the device's image list). Any
  // texture held in the list used so far is released first (its entry goes
  // back to registered), so that list must still exist.
  void ConnectImages(TImageList& images);
  // Back to a list of this object's own (tools and tests that draw
  // nothing), releasing as above; call it before the device goes away.
  void DisconnectImages();
  TImageList& Images() { return *images_; }

  // The entry for a picture name, created on first request, never none.
  // Counts the request, then loads the picture unless it is loaded or
  // failed, or loading is off (LoadNow false and not `locked`), in which
  // case it is only registered.
  TKwIm& RequestImage(std::string_view name, bool locked);
  // The texture to draw an entry with, none while it is not loaded. With
  // AlwaysLoadIm an entry that is neither loaded nor failed is requested
  // again first. Dates the use.
  TTexture* TextureOf(TKwIm& entry);
  // The entry of an upper-cased name, none when it was never requested.
  TKwIm* Find(std::string_view upperName);

  // Every UseCount back to 0 (start and end of a screen switch).
  void ResetUseCounts();
  // Releases the texture of every entry with UseCount 0 that is not locked.
  void ReleaseUnused();
  // Releases unlocked pictures, those drawn longest ago first (the first
  // entry is never considered), until the rest sum to less than MaxMem.
  void EnforceBudget();
  // Decodes and uploads every loaded picture anew, each with its old
  // LastUse, after the rendering device was remade. The caller then clears
  // the tree's Loaded flags, reloads the bitmap fonts and hands the
  // particle manager its texture again ("particles.bmp", requested locked).
  void ReloadAllImages();

  // Forgets every entry and goes back to the start-up values and the own
  // image list, without touching the list that was connected (it may be
  // gone already). The hook, pack and folders are cleared too.
  void Reset();

 private:
  void Load(TKwIm& entry, const std::string& requested, const std::string& upper, bool silhouette,
            bool grey);
  void Release(TKwIm& entry);
  void ReleaseAll();

  std::unordered_map<std::string, TKwIm*> index_;
  TImageList ownImages_;
  TImageList* images_ = &ownImages_;
};

// The one instance.
TKwImages& KwImages();
// KwImages().Reset().
void ResetKwImages();

}  // namespace kw
