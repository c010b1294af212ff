#include <gtest/gtest.h>

#include <string_view>
#include <utility>

#include "windowlogic/DeviceMonitor.h"
#include "windowlogic/FieldValues.h"
#include "windowlogic/FormLoad.h"
#include "windowlogic/PortList.h"

namespace brelvion::windowlogic {
namespace {

// The window's box titles and captions word for word; the window tests compare what the
// user sees with these same words.
TEST(WindowTextsTest, TitlesAndCaptionsKeepTheirWording) {
  const std::pair<std::string_view, std::string_view> texts[] = {
      {kAddressChangedTitle, "Address Changed"},
      {kSubAddressChangedTitle, "Sub Address Changed"},
      {kFormLoadTitle, "Form Load"},
      {kAckCaption, "ACK"},
      {kNoAckCaption, "NO ACK"},
      {kPortItems[0], "LPT1, H378"},
      {kPortItems[1], "LPT2, H278"},
      {kPortItems[2], "LPT3, H3BC"},
  };
  for (const auto& [constant, literal] : texts) EXPECT_EQ(constant, literal);
}

TEST(WindowTextsTest, TheIndicatorSaysWhetherTheAcknowledgeCame) {
  EXPECT_EQ(std::string_view(ackLookFor(true).caption), "ACK");
  EXPECT_EQ(std::string_view(ackLookFor(false).caption), "NO ACK");
}

}  // namespace
}  // namespace brelvion::windowlogic
