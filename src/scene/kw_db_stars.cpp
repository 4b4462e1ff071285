// The star pool: 5001 sprite slots that scripts scatter over the screen.
// Each active star moves by its steps every process tick and is drawn from
// the particle picture after the layer it belongs to.
#include <numbers>

#include "platform/device.h"
#include "scene/kw_db.h"
#include "scriptlib/script_clock.h"
#include "scriptlib/text_rules.h"

namespace kw {

namespace {

// Stars are always drawn with this effect word, whatever they store.
constexpr uint32_t kStarEffect = 260;
// Random colours run from 0 to 0xFFFFFE.
constexpr int32_t kRandomColours = 0xFFFFFF;

}  // namespace

void TKwDB::AddStar(int32_t pattern, std::string_view colourText, double angle, double x, double y, double scale,
                    double angleStep, double scaleStep, double xStep, double yStep, int32_t layer,
                    int32_t drawFx) {
  for (TStar& star : stars_) {
    if (star.Active) continue;
    star.Active = true;
    star.Pattern = pattern;
    if (colourText.empty()) {
      // The scripts' random source, so a run with a fixed seed repeats.
      star.Colour = uint32_t(RandomBelow(kRandomColours));
    } else if (int32_t colour = 0; ParseInteger(colourText, colour)) {
      star.Colour = uint32_t(colour);
    }
    star.Angle = angle;
    star.X = x;
    star.Y = y;
    star.Scale = scale;
    star.AngleStep = angleStep;
    star.ScaleStep = scaleStep;
    star.XStep = xStep;
    star.YStep = yStep;
    star.Layer = layer;
    star.DrawFx = drawFx;
    return;
  }
}

void TKwDB::UpdateStars() {
  for (TStar& star : stars_) {
    if (!star.Active) continue;
    star.Angle += star.AngleStep;
    star.X += star.XStep;
    star.Y += star.YStep;
    star.Scale += star.ScaleStep;
    if (!(star.Scale > 0)) star.Active = false;
  }
}

void TKwDB::RenderStars(int32_t layer) {
  if (!Device) return;
  const TTexture* picture = ParticlePicture();
  if (!picture) return;
  TCanvas& canvas = Device->Canvas();
  for (const TStar& star : stars_) {
    if (!star.Active || star.Layer != layer) continue;
    // Opaque in the star's tint: the low 24 bits are the colour.
    const uint32_t colour = (star.Colour & 0x00FFFFFFu) | 0xFF000000u;
    canvas.DrawRotated(picture, star.Pattern, star.X, star.Y, star.Angle * std::numbers::pi / 180.0, star.Scale,
                       colour, kStarEffect);
  }
}

void TKwDB::ClearStars() {
  for (TStar& star : stars_) star.Active = false;
}

// The particle picture ("particles.bmp") arrives with the picture
// resources; until then stars take room in the pool but are not drawn.
const TTexture* TKwDB::ParticlePicture() const { return nullptr; }

}  // namespace kw
