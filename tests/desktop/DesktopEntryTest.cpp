#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "desktop/DesktopEntry.h"

namespace brelvion::desktop {
namespace {

using Words = std::vector<std::string>;

TEST(SplitCommandLine, QuotedArgumentsKeepBlanksAndEscapes) {
  EXPECT_EQ(splitCommandLine(R"(prog  "a b" "c\"d" "e\\f" "g\$h" plain)"),
            (Words{"prog", "a b", "c\"d", "e\\f", "g$h", "plain"}));
  EXPECT_EQ(splitCommandLine(R"(prog "")"), (Words{"prog", ""}));
  EXPECT_EQ(splitCommandLine("  "), Words{});
}

TEST(SplitCommandLine, RejectsUnterminatedQuoteAndDanglingEscape) {
  EXPECT_FALSE(splitCommandLine(R"(prog "open)"));
  EXPECT_FALSE(splitCommandLine(R"(prog "end\)"));
}

DesktopEntry entryWithExec(const std::string& exec) {
  DesktopEntry entry;
  entry.exec = exec;
  entry.name = "Editor";
  entry.icon = "editor-icon";
  entry.location = "/usr/share/applications/editor.desktop";
  return entry;
}

TEST(ExpandExec, FileIsOneArgumentForEveryFileCode) {
  const std::string file = "my \"odd\" $(file).i2c";
  for (const char* code : {"%f", "%F", "%u", "%U"}) {
    EXPECT_EQ(expandExec(entryWithExec(std::string("edit --new ") + code), file),
              (Words{"edit", "--new", file}))
        << code;
  }
}

TEST(ExpandExec, EmptyFileRemovesTheCodeAndAppendsNothing) {
  EXPECT_EQ(expandExec(entryWithExec("edit %U"), ""), (Words{"edit"}));
  EXPECT_EQ(expandExec(entryWithExec("edit"), ""), (Words{"edit"}));
}

TEST(ExpandExec, FileIsAppendedWhenExecNamesNoFileCode) {
  EXPECT_EQ(expandExec(entryWithExec("edit -n"), "a.i2c"), (Words{"edit", "-n", "a.i2c"}));
}

TEST(ExpandExec, OtherCodes) {
  EXPECT_EQ(expandExec(entryWithExec("edit %i %c --from=%k %d 100%% --file=%f"), "x"),
            (Words{"edit", "--icon", "editor-icon", "Editor",
                   "--from=/usr/share/applications/editor.desktop", "100%", "--file=x"}));
  DesktopEntry noIcon = entryWithExec("edit %i %f");
  noIcon.icon.clear();
  EXPECT_EQ(expandExec(noIcon, "x"), (Words{"edit", "x"}));
}

TEST(ExpandExec, NothingForAnEmptyOrBrokenExec) {
  EXPECT_FALSE(expandExec(entryWithExec(""), "x"));
  EXPECT_FALSE(expandExec(entryWithExec("%f edit"), "x"));
  EXPECT_FALSE(expandExec(entryWithExec(R"("edit)"), "x"));
}

TEST(ReadDesktopEntry, ReadsOnlyTheMainGroupAndUndoesValueEscapes) {
  const auto path = std::filesystem::temp_directory_path() /
                    ("brelvion-entry-" + std::to_string(::getpid()) + ".desktop");
  std::ofstream(path) << "# comment\n"
                         "[Desktop Entry]\n"
                         "Type=Application\n"
                         "Name=Pad\n"
                         "Name[de]=Block\n"
                         "Exec=pad \"a\\\\\\\\b\" \\s%F\n"
                         "Terminal = true\n"
                         "Hidden=false\n"
                         "[Desktop Action new]\n"
                         "Exec=pad --new\n"
                         "Name=New\n";
  const auto entry = readDesktopEntry(path);
  std::filesystem::remove(path);
  ASSERT_TRUE(entry);
  EXPECT_EQ(entry->type, "Application");
  EXPECT_EQ(entry->name, "Pad");
  EXPECT_TRUE(entry->terminal);
  EXPECT_FALSE(entry->hidden);
  EXPECT_EQ(splitCommandLine(entry->exec), (Words{"pad", "a\\b", "%F"}));
  EXPECT_FALSE(readDesktopEntry(path));
}

}  // namespace
}  // namespace brelvion::desktop
