#include "windowlogic/ScrollLayout.h"

#include <algorithm>

#include "base/RuntimeError.h"
#include "windowlogic/FieldValues.h"

namespace brelvion::windowlogic {

namespace {
constexpr const char* kLayoutSource = "Form_Resize";
}

ScrollLayout computeScrollLayout(const ScrollLayoutInput& in) {
  const int viewWidth = in.clientWidth - in.vBarWidth;
  const int viewHeight = in.clientHeight - in.hBarHeight;
  if (viewWidth < 0 || viewHeight < 0) {
    throw base::RuntimeError(base::RuntimeError::kInvalidCall, kLayoutSource);
  }
  ScrollLayout layout;
  layout.viewport = {0, 0, viewWidth, viewHeight};
  layout.hBar = {0, viewHeight, viewWidth, in.hBarHeight};
  layout.vBar = {viewWidth, 0, in.vBarWidth, viewHeight};
  layout.hMaximum = narrowToInt16(std::max(0, in.panelWidth - viewWidth), kLayoutSource);
  layout.vMaximum = narrowToInt16(std::max(0, in.panelHeight - viewHeight), kLayoutSource);
  layout.hVisible = viewWidth < in.panelWidth;
  layout.vVisible = viewHeight < in.panelHeight;
  return layout;
}

int clampScrollValue(int value, int maximum) { return std::clamp(value, 0, std::max(0, maximum)); }

}  // namespace brelvion::windowlogic
