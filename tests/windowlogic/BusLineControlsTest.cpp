#include <gtest/gtest.h>

#include "bus/LineControls.h"
#include "simulator/SimulatedParallelPort.h"
#include "support/EngineFixture.h"
#include "windowlogic/BusLineControls.h"

namespace brelvion::windowlogic {
namespace {

using desktop::MessageIcon;
using testing::EngineSet;

TEST(BusLineControlsTest, TheRecoveryBoxSaysWhetherTheBusIsFree) {
  const auto free = recoveryBoxRequest({true, 1, false}, std::chrono::milliseconds(25));
  EXPECT_EQ(free.text, "Bus free after 1 clock pulse");
  EXPECT_EQ(free.title, "Recover Bus");
  EXPECT_EQ(free.icon, MessageIcon::Information);
  EXPECT_EQ(free.buttons, desktop::MessageButtons::Ok);
  const auto sda = recoveryBoxRequest({false, 9, false}, std::chrono::milliseconds(25));
  EXPECT_EQ(sda.text, "Bus still held: SDA low after 9 clock pulses");
  EXPECT_EQ(sda.icon, MessageIcon::Exclamation);
  EXPECT_EQ(recoveryBoxRequest({false, 0, true}, std::chrono::milliseconds(40)).text,
            "Bus still held: SCL low for more than 40 ms");
}

TEST(BusLineControlsTest, RecoverBusShowsItsResultOnThePortsLines) {
  EngineSet<simulator::SimulatedParallelPort> set;
  recoverBus(set.core);
  ASSERT_EQ(set.desktop.boxes.size(), 1u);
  EXPECT_EQ(set.desktop.boxes[0].text, "The bus was already free");
}

TEST(BusLineControlsTest, StepTimeSetsBothValuesOrNeitherAndNamesTheField) {
  EngineSet<simulator::SimulatedParallelPort> set;
  struct Case {
    const char* step;
    const char* stretch;
    StepTimeField field;
    const char* box;
  };
  const Case refused[] = {
      {"", "25", StepTimeField::Step,
       "13: The line step must be a whole number, 5 to 1000 \u00b5s, not ''"},
      {"5.5", "25", StepTimeField::Step,
       "13: The line step must be a whole number, 5 to 1000 \u00b5s, not '5.5'"},
      {"4", "25", StepTimeField::Step, "5: The line step must be 5 to 1000 \u00b5s, not 4"},
      {"10", "0", StepTimeField::StretchTimeout,
       "5: The stretch timeout must be 1 to 10000 ms, not 0"},
      {"10", "99999999999", StepTimeField::StretchTimeout,
       "13: The stretch timeout must be a whole number, 1 to 10000 ms, not '99999999999'"},
  };
  for (const Case& c : refused) {
    set.desktop.boxes.clear();
    EXPECT_EQ(applyStepTime(set.engine, c.step, c.stretch, set.desktop), c.field) << c.box;
    ASSERT_EQ(set.desktop.boxes.size(), 1u);
    EXPECT_EQ(set.desktop.boxes[0].text, c.box);
    EXPECT_EQ(set.desktop.boxes[0].title, "Step Time");
    EXPECT_EQ(set.engine.stepTime(), bus::kStandardStep);
    EXPECT_EQ(set.engine.stretchTimeout(), bus::kDefaultStretchTimeout);
  }
  set.desktop.boxes.clear();
  EXPECT_EQ(applyStepTime(set.engine, "1000", " 10000", set.desktop), StepTimeField::None);
  EXPECT_TRUE(set.desktop.boxes.empty());
  EXPECT_EQ(set.engine.stepTime(), std::chrono::microseconds(1000));
  EXPECT_EQ(set.engine.stretchTimeout(), std::chrono::milliseconds(10000));
}

}  // namespace
}  // namespace brelvion::windowlogic
