#include <gtest/gtest.h>

#include <stdexcept>

#include "base/RuntimeError.h"
#include "desktop/ErrorTrap.h"
#include "support/FakeDesktop.h"

namespace brelvion::desktop {
namespace {

TEST(HandlerGuardTest, AHandlerThatEndsShowsNothing) {
  testing::FakeDesktop desktop;
  int runs = 0;
  EXPECT_TRUE(runHandler(desktop, "Title", [&] { ++runs; }));
  EXPECT_EQ(runs, 1);
  EXPECT_TRUE(desktop.boxes.empty());
}

TEST(HandlerGuardTest, EveryKindOfErrorEndsInOneBox) {
  testing::FakeDesktop desktop;
  EXPECT_FALSE(runHandler(desktop, "Wisp Save - Error", [] {
    throw base::RuntimeError(76, "save", "Cannot write /x/t.WSP: No such file or directory");
  }));
  EXPECT_FALSE(runHandler(desktop, "", [] { throw std::out_of_range("index 9"); }));
  EXPECT_FALSE(runHandler(desktop, "", [] { throw std::bad_alloc(); }));
  EXPECT_FALSE(runHandler(desktop, "", [] { throw 42; }));
  ASSERT_EQ(desktop.boxes.size(), 4u);
  EXPECT_EQ(desktop.boxes[0].text, "76: Cannot write /x/t.WSP: No such file or directory");
  EXPECT_EQ(desktop.boxes[0].title, "Wisp Save - Error");
  EXPECT_EQ(desktop.boxes[0].icon, MessageIcon::Critical);
  EXPECT_EQ(desktop.boxes[0].buttons, MessageButtons::Ok);
  EXPECT_EQ(desktop.boxes[1].text, "51: Internal error: index 9");
  EXPECT_EQ(desktop.boxes[2].text, "7: Out of memory");
  EXPECT_EQ(desktop.boxes[3].text, "51: Internal error");
}

TEST(HandlerGuardTest, AFailingBoxDoesNotLetTheErrorEscape) {
  testing::FakeDesktop desktop;
  desktop.onBox = [](const MessageBoxRequest&) { throw std::runtime_error("no display"); };
  EXPECT_NO_THROW(runHandler(desktop, "", [] { throw std::runtime_error("first"); }));
}

}  // namespace
}  // namespace brelvion::desktop
