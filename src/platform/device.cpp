#include "platform/device.h"

namespace kw {

TDevice::TDevice() : frame_(Width, Height, 0), canvas_(frame_) {}

void TDevice::Render(uint32_t colour, bool clear) {
  canvas_.ResetClipRect();
  if (clear) canvas_.Clear(colour);
  if (OnRender) OnRender();
}

void TDevice::Present() {
  if (Presenter) Presenter(frame_);
}

}  // namespace kw
