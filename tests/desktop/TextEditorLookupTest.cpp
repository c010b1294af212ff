#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "desktop/TextEditorLookup.h"

namespace brelvion::desktop {
namespace {

namespace fs = std::filesystem;
using Words = std::vector<std::string>;

// A whole desktop in a temporary folder: a user's home, /etc/xdg, /usr/share and a bin
// folder on PATH. Nothing of the machine running the test is looked at.
class FakeDesktop : public ::testing::Test {
 protected:
  void SetUp() override {
    static int made = 0;
    root_ = fs::temp_directory_path() /
            ("brelvion-xdg-" + std::to_string(::getpid()) + "-" + std::to_string(made++));
    fs::remove_all(root_);
    for (const char* dir : {"home/.config", "home/.local/share/applications", "etc/xdg",
                            "usr/share/applications", "bin"}) {
      fs::create_directories(root_ / dir);
    }
    env_ = {{"HOME", path("home")},
            {"XDG_CONFIG_DIRS", path("etc/xdg")},
            {"XDG_DATA_DIRS", path("usr/share")},
            {"PATH", path("bin")}};
  }
  void TearDown() override { fs::remove_all(root_); }

  std::string path(const std::string& relative) const { return (root_ / relative).string(); }

  void write(const std::string& relative, const std::string& text) const {
    fs::create_directories((root_ / relative).parent_path());
    std::ofstream(root_ / relative) << text;
  }
  void installProgram(const std::string& name) const {
    write("bin/" + name, "#!/bin/sh\n");
    ::chmod(path("bin/" + name).c_str(), 0755);
  }
  // An application entry in the system's applications folder (or another one).
  void addEntry(const std::string& id, const std::string& exec, bool terminal = false,
                const std::string& folder = "usr/share/applications") const {
    write(folder + "/" + id, "[Desktop Entry]\nType=Application\nName=" + id + "\nExec=" + exec +
                                 "\nTerminal=" + (terminal ? "true" : "false") + "\n");
  }
  void setDefaults(const std::string& list, const std::string& ids) const {
    write(list, "[Default Applications]\ntext/html=browser.desktop\ntext/plain=" + ids + "\n");
  }

  std::optional<EditorCommand> find(const std::string& file = "cmd.i2c") const {
    return findTextEditor(file, env_);
  }

  fs::path root_;
  Environment env_;
};

TEST_F(FakeDesktop, UserDefaultWinsOverTheSystemsAndExecGivesTheCommand) {
  installProgram("pad");
  installProgram("writer");
  addEntry("pad.desktop", "pad --new-window %U");
  addEntry("writer.desktop", "writer %f");
  setDefaults("usr/share/applications/mimeapps.list", "writer.desktop");
  setDefaults("home/.config/mimeapps.list", "pad.desktop;writer.desktop;");

  const auto command = find("my file.i2c");
  ASSERT_TRUE(command);
  EXPECT_EQ(command->program, path("bin/pad"));
  EXPECT_EQ(command->arguments, (Words{"--new-window", "my file.i2c"}));
  EXPECT_EQ(command->source, EditorSource::MimeDefault);
}

TEST_F(FakeDesktop, DesktopSpecificListComesBeforeTheGenericOne) {
  installProgram("pad");
  installProgram("kwriter");
  addEntry("pad.desktop", "pad %F");
  addEntry("kwriter.desktop", "kwriter %U");
  setDefaults("home/.config/mimeapps.list", "pad.desktop");
  setDefaults("etc/xdg/kde-mimeapps.list", "kwriter.desktop");
  env_["XDG_CURRENT_DESKTOP"] = "Plasma:KDE";
  // User files come before system files, desktop-specific or not.
  EXPECT_EQ(find()->program, path("bin/pad"));
  setDefaults("home/.config/kde-mimeapps.list", "kwriter.desktop");
  EXPECT_EQ(find()->program, path("bin/kwriter"));
}

TEST_F(FakeDesktop, PassesOverTerminalMissingHiddenAndUntriedEntries) {
  installProgram("vim");
  installProgram("pad");
  addEntry("vim.desktop", "vim %F", /*terminal=*/true);
  addEntry("gone.desktop", "not-installed %F");
  write("usr/share/applications/tryexec.desktop",
        "[Desktop Entry]\nType=Application\nTryExec=absent\nExec=pad --a %f\n");
  addEntry("pad.desktop", "pad --b %f");
  // The user's hidden copy deletes the system's entry of the same ID.
  write("home/.local/share/applications/masked.desktop", "[Desktop Entry]\nHidden=true\n");
  addEntry("masked.desktop", "pad --masked %f");
  setDefaults("home/.config/mimeapps.list",
              "vim.desktop;gone.desktop;tryexec.desktop;masked.desktop;missing.desktop;"
              "pad.desktop");

  const auto command = find();
  ASSERT_TRUE(command);
  EXPECT_EQ(command->arguments, (Words{"--b", "cmd.i2c"}));
}

TEST_F(FakeDesktop, DesktopIdWithDashesFindsAnEntryInASubfolder) {
  installProgram("kate");
  addEntry("kate.desktop", "kate -b %U", false, "usr/share/applications/org.kde");
  setDefaults("home/.config/mimeapps.list", "org.kde-kate.desktop");
  const auto command = find();
  ASSERT_TRUE(command);
  EXPECT_EQ(command->program, path("bin/kate"));
  EXPECT_EQ(command->arguments, (Words{"-b", "cmd.i2c"}));
}

TEST_F(FakeDesktop, WithoutDefaultsAddedAssociationsThenTheDatabaseLessRemovedOnes) {
  installProgram("pad");
  installProgram("writer");
  installProgram("viewer");
  addEntry("pad.desktop", "pad %f");
  addEntry("writer.desktop", "writer %f");
  addEntry("viewer.desktop", "viewer %f");
  write("usr/share/applications/mimeinfo.cache",
        "[MIME Cache]\ntext/plain=viewer.desktop;pad.desktop;\n");
  EXPECT_EQ(find()->program, path("bin/viewer"));

  write("home/.config/mimeapps.list", "[Removed Associations]\ntext/plain=viewer.desktop;\n");
  EXPECT_EQ(find()->program, path("bin/pad"));

  write("etc/xdg/mimeapps.list", "[Added Associations]\ntext/plain=writer.desktop;\n");
  EXPECT_EQ(find()->program, path("bin/writer"));
}

TEST_F(FakeDesktop, EditorVariablesCountOnlyForGraphicalPrograms) {
  installProgram("vim");
  installProgram("emacs");
  installProgram("geany");
  installProgram("myedit");
  addEntry("emacs.desktop", "emacs %F");
  env_["VISUAL"] = "vim";
  env_["EDITOR"] = "geany -i";
  auto command = find();
  ASSERT_TRUE(command);
  EXPECT_EQ(command->source, EditorSource::EditorVariable);
  EXPECT_EQ(command->program, path("bin/geany"));
  EXPECT_EQ(command->arguments, (Words{"-i", "cmd.i2c"}));

  env_["VISUAL"] = "emacs -nw";
  EXPECT_EQ(find()->program, path("bin/geany"));
  env_["VISUAL"] = "emacs";  // a desktop entry starts it in a window of its own
  EXPECT_EQ(find()->program, path("bin/emacs"));

  env_["VISUAL"] = "myedit";  // no entry, not a known editor
  env_["EDITOR"] = "nano";
  command = find();
  ASSERT_TRUE(command);
  EXPECT_EQ(command->source, EditorSource::KnownEditor);
  EXPECT_EQ(command->program, path("bin/geany"));
}

TEST_F(FakeDesktop, FallsBackToTheFirstKnownEditorOnPath) {
  EXPECT_FALSE(find());
  installProgram("leafpad");
  installProgram("mousepad");
  const auto command = find("");
  ASSERT_TRUE(command);
  EXPECT_EQ(command->program, path("bin/mousepad"));
  EXPECT_EQ(command->source, EditorSource::KnownEditor);
  EXPECT_TRUE(command->arguments.empty());
}

TEST_F(FakeDesktop, FileThatLooksLikeAnOptionIsPassedAsAPath) {
  installProgram("gedit");
  EXPECT_EQ(find("-rf.i2c")->arguments, Words{"./-rf.i2c"});
  EXPECT_EQ(find("/tmp/-x.i2c")->arguments, Words{"/tmp/-x.i2c"});
}

TEST_F(FakeDesktop, ProgramsOnlyFromAbsolutePathEntriesAndOnlyWhenExecutable) {
  write("bin/plain", "not a program");
  EXPECT_FALSE(findOnPath("plain", env_));
  fs::create_directories(root_ / "bin/dir");
  EXPECT_FALSE(findOnPath("dir", env_));
  env_["PATH"] = "relative:" + path("bin");
  installProgram("gedit");
  EXPECT_EQ(findOnPath("gedit", env_), path("bin/gedit"));
  EXPECT_EQ(findOnPath(path("bin/gedit"), env_), path("bin/gedit"));
  EXPECT_FALSE(findOnPath("", env_));
}

TEST(MimeappsListFiles, FollowTheBaseDirectoryDefaultsInPrecedenceOrder) {
  const Environment env{
      {"HOME", "/h"}, {"XDG_CONFIG_HOME", "relative/ignored"}, {"XDG_CURRENT_DESKTOP", "GNOME"}};
  EXPECT_EQ(mimeappsListFiles(env),
            (Words{"/h/.config/gnome-mimeapps.list", "/h/.config/mimeapps.list",
                   "/etc/xdg/gnome-mimeapps.list", "/etc/xdg/mimeapps.list",
                   "/h/.local/share/applications/gnome-mimeapps.list",
                   "/h/.local/share/applications/mimeapps.list",
                   "/usr/local/share/applications/gnome-mimeapps.list",
                   "/usr/local/share/applications/mimeapps.list",
                   "/usr/share/applications/gnome-mimeapps.list",
                   "/usr/share/applications/mimeapps.list"}));
  EXPECT_EQ(applicationDirectories({{"XDG_DATA_HOME", "/d"}, {"XDG_DATA_DIRS", "/a:rel:/b"}}),
            (Words{"/d/applications", "/a/applications", "/b/applications"}));
}

}  // namespace
}  // namespace brelvion::desktop
