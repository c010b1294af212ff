#include <gtest/gtest.h>

#include <stdexcept>
#include <string_view>
#include <utility>

#include "SendFixture.h"
#include "commandfiles/CommandFileErrors.h"
#include "commandfiles/Dump.h"
#include "commandfiles/FileMenu.h"
#include "desktop/ErrorBox.h"
#include "desktop/HelpDocuments.h"

namespace brelvion::commandfiles {
namespace {

using desktop::MessageIcon;

// The command files' texts word for word; the tests of the sender, the copy and the dump
// compare what the user sees with these same words.
TEST(CommandFileMessagesTest, EveryTextKeepsItsWording) {
  const std::pair<std::string_view, std::string_view> texts[] = {
      {kTmpFileName, "tmpI2C.txt"},
      {kCommandFileFilter, "I2C File (*.i2c)|*.i2c"},
      {kSendFileErrorTitle, "Send File - Error"},
      {kCreateTmpFileErrorTitle, "Create tmpFile - Error"},
      {kDelayErrorTitle, "ERROR"},
      {kDelayErrorText, "Error, when delay the time."},
      {kCleanUpErrorTitle, "CleanUp - Error:"},
      {desktop::kErrorCodePrefix, "Error Code "},
      {kDumpTitle, "Dump To File"},
      {kDumpErrorTitle, "Dump To File - Error"},
      {kDumpNoFileName, "Fill up the file name to dump, please"},
      {kDeviceAddressZeroQuestion, "Device address is 0?"},
      {kCountZeroQuestion, "Count is 0?"},
      {kDefaultDumpFileText, " Dump.i2c"},
      {kOpenDialogTitle, "Open"},
      {desktop::kToolHelpName, "readme.txt"},
      {desktop::kDebuggerHelpName, "winwisp.txt"},
      {desktop::kBusHelpName, "I2cbus.pdf"},
      {desktop::kCableHelpName, "Cable.pdf"},
  };
  for (const auto& [constant, literal] : texts) EXPECT_EQ(constant, literal);
}

// Each procedure's box for one and the same error: its title (empty: the program's name),
// its icon and its text.
TEST(CommandFileMessagesTest, EachStepHasABoxOfItsOwn) {
  struct Box {
    Step step;
    const char* title;
    MessageIcon icon;
    const char* text;
  };
  const Box boxes[] = {
      {Step::SendFile, "Send File - Error", MessageIcon::Information, "53: File not found"},
      {Step::CreateTmpFile, "Create tmpFile - Error", MessageIcon::Exclamation,
       "53: File not found"},
      {Step::SendCommandFile, "", MessageIcon::Information, "53: File not found"},
      {Step::DelayTime, "ERROR", MessageIcon::Exclamation, "Error, when delay the time."},
      {Step::CleanUp, "CleanUp - Error:", MessageIcon::Exclamation, "53: File not found"},
      {Step::Open, "", MessageIcon::Exclamation, "Error Code 53: File not found"},
      {Step::DumpToFile, "Dump To File - Error", MessageIcon::Information, "53: File not found"},
  };
  const base::RuntimeError error(base::RuntimeError::kFileNotFound, "test");
  for (const Box& expected : boxes) {
    const desktop::MessageBoxRequest box = errorBox(expected.step, error);
    EXPECT_EQ(box.title, expected.title) << expected.text;
    EXPECT_EQ(box.icon, expected.icon) << expected.title;
    EXPECT_EQ(box.text, expected.text) << expected.title;
    EXPECT_EQ(box.buttons, desktop::MessageButtons::Ok) << expected.title;
  }
}

// A port whose driver fails with an error of its own, not a numbered one, once armed.
struct LoosePort : port::PortIo {
  std::uint8_t inpb(std::uint16_t) override { return 0x00; }
  void out(std::uint16_t, std::uint8_t) override {
    if (loose) throw std::runtime_error("the cable came loose");
  }
  void waitQuanta(std::int64_t) override {}
  void setQuantum(std::chrono::nanoseconds) override {}
  void setCapture(capture::BusCapture*) override {}
  bool loose = false;
};

TEST(CommandFileMessagesTest, AFailureTheSenderDoesNotKnowEndsInTheSendFileBox) {
  testing::ScratchDirectory scratch;
  testing::EngineSet<LoosePort> set;
  set.engine.openBus(0, 0);
  set.engine.initPort(10);
  set.port.loose = true;
  set.core.values().sendFileName = scratch.write("a.i2c", "42 12 80\r\n");

  SendOutcome outcome;
  EXPECT_EQ(sendFile(set.core, "", {}, {}, &outcome), SendFileAction::Sent);
  EXPECT_EQ(outcome.end, SendEnd::Failed);
  ASSERT_EQ(set.desktop.boxes.size(), 1u);
  EXPECT_EQ(set.desktop.boxes[0].title, "Send File - Error");
  EXPECT_EQ(set.desktop.boxes[0].text, "5: the cable came loose");
  EXPECT_EQ(set.desktop.boxes[0].icon, MessageIcon::Information);
}

TEST(CommandFileMessagesTest, ABlankDumpFileNameIsNamedInTheDumpBox) {
  testing::SendFixture fixture;
  const DumpOutcome outcome =
      dumpRegisters(fixture.set.core.master(), i2c::AfterMessage::Stop, fixture.set.desktop,
                    fixture.fields.deviceAddress, 3, "   ");
  EXPECT_FALSE(outcome.written);
  ASSERT_EQ(fixture.set.desktop.boxes.size(), 1u);
  EXPECT_EQ(fixture.set.desktop.boxes[0].title, "Dump To File - Error");
  EXPECT_EQ(fixture.set.desktop.boxes[0].text, "75: The file name is blank");
}

}  // namespace
}  // namespace brelvion::commandfiles
