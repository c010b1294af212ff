#pragma once

#include <cstdint>

namespace brelvion::windowlogic {

struct PixelRect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  bool operator==(const PixelRect&) const = default;
};

// What the window is laid out from, all in pixels.
struct ScrollLayoutInput {
  int clientWidth = 0;
  int clientHeight = 0;
  int panelWidth = 0;   // Picture2
  int panelHeight = 0;  // Picture2
  int hBarHeight = 0;   // HScroll1's own thickness
  int vBarWidth = 0;    // VScroll1's own thickness
};

// Where the viewport Picture1 and the two bars go, the bars' maxima and which bars show.
// The viewport is always the client area less both bar thicknesses, so a hidden bar still
// keeps its strip and the corner where the bars would meet stays empty.
struct ScrollLayout {
  PixelRect viewport;
  PixelRect hBar;
  PixelRect vBar;
  std::int16_t hMaximum = 0;
  std::int16_t vMaximum = 0;
  bool hVisible = false;
  bool vVisible = false;
};

// The layout for a client area. A client area smaller than the two bars (a minimized
// window) gives a negative viewport: RuntimeError 5, and the window keeps its last layout.
// A maximum is the panel's size less the viewport's and is never below 0: a bar that is
// hidden because the viewport is larger has nothing to scroll.
ScrollLayout computeScrollLayout(const ScrollLayoutInput& input);

// A bar's value after its maximum changed to maximum: kept if still in range, else the
// nearest end. The panel's offset is always minus this value.
int clampScrollValue(int value, int maximum);

}  // namespace brelvion::windowlogic
