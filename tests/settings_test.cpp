#include "settings/settings_file.h"

#include <gtest/gtest.h>

#include "settings/autorun.h"
#include "settings/settings_panel.h"
#include "tests/fakes/fake_platform.h"
#include "tests/profile_cases.h"

namespace {

using namespace MainWindow;
using Log = std::vector<std::string>;

const char* const kIni = "C:\\Program Files\\Brisolt\\setup.ini";
const char* const kDefaults = "[system]\r\nautochecktime=0\r\nautochecktimeevery=0\r\nautorun=0\r\nautohide=0\r\n";
constexpr int64_t kPageMs = 1418380800000;

TEST(TextToInt, ReadsLikeTheProfileValuesNeed) {
    const std::pair<const char*, int32_t> cases[] = {
        {"1", 1},
        {" 1 ", 1},
        {"+1", 1},
        {"-1", -1},
        {"2abc", 2},
        {"abc", 0},
        {"", 0},
        {"\xA3\xB4", 4},  // the full-width four
        {"99999999999", 1215752191},
        {"2147483648", INT32_MIN},
        {"-2147483648", INT32_MIN},
        {"\xA3\xAD\xA3\xB3", -3},
        {"\xA1\xA1\t7", 7},
        {"+-1", 0},
        {"- 1", 0},
        {"0012x", 12},
    };
    for (const auto& [text, value] : cases) EXPECT_EQ(TextToInt(text), value) << text;
}

TEST(SettingsPaths, FollowTheExecutable) {
    const std::pair<const char*, const char*> cases[] = {
        {"C:\\Program Files\\Brisolt\\Brisolt.exe", "C:\\Program Files\\Brisolt\\setup.ini"},
        {"C:\\Brisolt.exe", "C:\\setup.ini"},
        // UTF-8 folder names: 新 文件夹, and 𠀀 which GBK lacks.
        {"D:\\\xE6\x96\xB0 \xE6\x96\x87\xE4\xBB\xB6\xE5\xA4\xB9\\b.exe",
         "D:\\\xE6\x96\xB0 \xE6\x96\x87\xE4\xBB\xB6\xE5\xA4\xB9\\setup.ini"},
        {"E:\\\xF0\xA0\x80\x80\\b.exe", "E:\\\xF0\xA0\x80\x80\\setup.ini"},
    };
    for (const auto& [exe, ini] : cases) {
        FakeFileSystem files;
        files.executable = {exe};
        EXPECT_EQ(SettingsPath(files).utf8, ini);
        EXPECT_EQ(ExecutablePath(files).utf8, exe);
    }
    FakeFileSystem files;
    files.executable = {"C:\\Brisolt.exe"};
    EXPECT_EQ(RunDirectory(files).utf8, "C:");
    EXPECT_EQ(ExecutableName(files), "Brisolt.exe");
}

class ProfileReadTest : public testing::TestWithParam<ProfileReadCase> {};
TEST_P(ProfileReadTest, InMemoryStore) {
    FakeFileSystem files;
    files.files[kIni] = GetParam().content;
    CheckReadCase(files, {kIni}, GetParam());
}
INSTANTIATE_TEST_SUITE_P(Profile, ProfileReadTest, testing::ValuesIn(ProfileReadCases()),
                         [](const auto& info) { return info.param.name; });

class ProfileWriteTest : public testing::TestWithParam<ProfileWriteCase> {};
TEST_P(ProfileWriteTest, InMemoryStore) {
    FakeFileSystem files;
    if (GetParam().content) files.files[kIni] = *GetParam().content;
    CheckWriteCase(files, {kIni}, GetParam(), [&files] { return files.files[kIni]; });
}
INSTANTIATE_TEST_SUITE_P(Profile, ProfileWriteTest, testing::ValuesIn(ProfileWriteCases()),
                         [](const auto& info) { return info.param.name; });

TEST(SettingsFile, FirstStartWritesTheFiveLines) {
    FakeProgram p;
    p.program.settings = {5, 5, 5, 5};
    LoadSettings(p.program);
    EXPECT_EQ(p.files.files[kIni], kDefaults);
    EXPECT_EQ(p.program.settings.autochecktime, 0);
    EXPECT_EQ(p.program.settings.autohide, 0);
}

TEST(SettingsFile, ValuesAsTheFileHoldsThem) {
    FakeProgram p;
    p.files.files[kIni] = "[System]\r\nAutoCheckTime= 1 \r\nautochecktimeevery=+3\r\nAUTORUN=-1\r\nautohide=2abc\r\n";
    LoadSettings(p.program);
    const Settings& s = p.program.settings;
    EXPECT_EQ(std::make_tuple(s.autochecktime, s.autochecktimeevery, s.autorun, s.autohide),
              std::make_tuple(1, 3, -1, 2));
}

TEST(SettingsFile, AMissingKeyReadsZeroAndComesBackWithTheNextSave) {
    FakeProgram p;
    p.files.files[kIni] = "; mine\r\n[system]\r\nautochecktime=1\r\nautorun=1\r\nautohide=1\r\n[other]\r\nx=y\r\n";
    LoadSettings(p.program);
    EXPECT_EQ(p.program.settings.autochecktimeevery, 0);
    EXPECT_EQ(p.files.files[kIni].find("autochecktimeevery"), std::string::npos);  // not repaired on load
    p.program.settings.autochecktimeevery = -1;
    SaveSettings(p.program);
    EXPECT_EQ(p.files.files[kIni],
              "; mine\r\n[system]\r\nautochecktime=1\r\nautorun=1\r\nautohide=1\r\nautochecktimeevery=-1\r\n"
              "[other]\r\nx=y\r\n");
}

TEST(SettingsFile, ADirectoryNamedLikeTheFileCountsAsExisting) {
    FakeProgram p;
    p.files.directories.insert(kIni);
    p.program.settings = {5, 5, 5, 5};
    LoadSettings(p.program);
    EXPECT_TRUE(p.files.log.empty());  // no defaults written over it
    EXPECT_EQ(p.program.settings.autorun, 0);
    p.program.settings = {1, 1, 1, 1};
    SaveSettings(p.program);
    EXPECT_EQ(p.files.files.count(kIni), 0u);
    EXPECT_EQ(p.files.log.size(), 4u);  // every write tried, and failed silently
}

struct FillCase {
    Settings stored;
    bool autoCheck;
    int selection;
    bool autorun;
    bool autohide;
    Settings savedUnchanged;
};

TEST(SettingsPanel, FillsFromTheSettingsAndSavesWhatItShows) {
    const FillCase cases[] = {
        {{0, 0, 0, 0}, false, 0, false, false, {0, 0, 0, 0}},   {{1, 3, 1, 1}, true, 3, true, true, {1, 3, 1, 1}},
        {{2, 3, 2, -1}, false, 3, false, false, {0, 3, 0, 0}},  {{1, 9, 0, 0}, true, 5, false, false, {1, 5, 0, 0}},
        {{1, -3, 0, 0}, true, -1, false, false, {1, -1, 0, 0}}, {{1, -1, 0, 0}, true, -1, false, false, {1, -1, 0, 0}},
    };
    for (const FillCase& c : cases) {
        FakeProgram p;
        p.StoreSettings(c.stored);
        p.http.pages = {TimePage(kPageMs)};
        p.Launch();
        EXPECT_EQ(p.window.checked[选择框1], c.autoCheck);
        EXPECT_EQ(p.window.enabled[组合框1], c.autoCheck);
        EXPECT_EQ(p.window.selection[组合框1], c.selection);
        EXPECT_EQ(p.window.checked[选择框2], c.autorun);
        EXPECT_EQ(p.window.checked[选择框3], c.autohide);

        p.Raise(按钮1, Event::Click);
        const Settings& s = p.program.settings;
        EXPECT_EQ(std::make_tuple(s.autochecktime, s.autochecktimeevery, s.autorun, s.autohide),
                  std::make_tuple(c.savedUnchanged.autochecktime, c.savedUnchanged.autochecktimeevery,
                                  c.savedUnchanged.autorun, c.savedUnchanged.autohide));
        EXPECT_EQ(p.files.ReadProfileValue({kIni}, "system", "autochecktimeevery", ""),
                  IntToText(c.savedUnchanged.autochecktimeevery));
    }
}

TEST(SettingsPanel, TheAutoCheckBoxEnablesTheList) {
    FakeProgram p;
    p.window.checked[选择框1] = true;
    p.Raise(选择框1, Event::Click);
    EXPECT_TRUE(p.window.enabled[组合框1]);
    p.window.checked[选择框1] = false;
    p.Raise(选择框1, Event::Click);
    EXPECT_FALSE(p.window.enabled[组合框1]);
}

TEST(SettingsPanel, SaveRegistersBeforeWritingThenConfirms) {
    FakeProgram p;
    p.http.pages = {TimePage(kPageMs)};
    p.Launch();
    Log journal;
    p.files.journal = &journal;
    p.registry.journal = &journal;
    p.window.answers.push_back([&journal](const MessageBoxCall& box) {
        journal.push_back("box " + box.text + " " + box.title + " " + std::to_string(box.style));
        return MbOk;
    });
    p.window.checked[选择框1] = true;
    p.window.selection[组合框1] = 4;
    p.window.checked[选择框2] = true;
    p.window.checked[选择框3] = true;
    p.Raise(按钮1, Event::Click);
    EXPECT_EQ(journal, (Log{"set", "write autochecktime=1", "write autochecktimeevery=4", "write autorun=1",
                            "write autohide=1", "box 设置已保存！ 完成 64"}));
    EXPECT_EQ(p.registry.runValues["Brisolt"], "C:\\Program Files\\Brisolt\\Brisolt.exe");
    EXPECT_EQ(p.window.TimerPeriod(时钟2), 0);  // takes effect at the next start
}

TEST(SettingsPanel, UntickingStartWithTheSystemRemovesItAtOnce) {
    FakeProgram p;
    p.StoreSettings({0, 0, 1, 0});
    p.http.pages = {TimePage(kPageMs)};
    p.Launch();
    ASSERT_EQ(p.registry.runValues.count("Brisolt"), 1u);
    p.window.checked[选择框2] = false;
    p.Raise(按钮1, Event::Click);
    EXPECT_EQ(p.registry.runValues.count("Brisolt"), 0u);
    EXPECT_EQ(p.window.boxes.back().title, "完成");
}

TEST(SettingsPanel, TheConfirmationComesEvenWhenNothingCanBeWritten) {
    FakeProgram p;
    p.files.readOnly.insert(kIni);
    p.registry.keyOpens = false;
    p.window.checked[选择框2] = true;
    p.Raise(按钮1, Event::Click);
    ASSERT_EQ(p.window.boxes.size(), 1u);
    EXPECT_EQ(p.window.boxes[0].text, "设置已保存！");
    EXPECT_EQ(p.program.settings.autorun, 1);
}

TEST(Autorun, RegisterWritesThePathOfAnExistingFileOnly) {
    FakeProgram p;
    const FilePath exe{"D:\\My Tools\\Brisolt.exe"};
    EXPECT_FALSE(RegisterAutorun(p.program, "Brisolt", exe));  // no such file
    EXPECT_TRUE(p.registry.log.empty());
    p.files.files[exe.utf8] = "MZ";
    EXPECT_TRUE(RegisterAutorun(p.program, "Brisolt", exe));
    EXPECT_EQ(p.registry.runValues["Brisolt"], exe.utf8);  // unquoted, spaces and all
    p.registry.keyOpens = false;
    EXPECT_FALSE(RegisterAutorun(p.program, "Brisolt", exe));
}

TEST(Autorun, UnregisterRemovesTheValueAndTheShortcut) {
    const char* shortcut = "C:\\Users\\u\\Start Menu\\Programs\\Startup\\Brisolt.lnk";
    struct Case {
        bool value;
        bool link;
        bool result;
    };
    for (Case c :
         {Case{true, true, true}, Case{true, false, true}, Case{false, true, true}, Case{false, false, false}}) {
        FakeProgram p;
        if (c.value) p.registry.runValues["Brisolt"] = "x";
        if (c.link) p.files.files[shortcut] = "lnk";
        EXPECT_EQ(UnregisterAutorun(p.program, "Brisolt"), c.result);
        EXPECT_EQ(p.registry.runValues.count("Brisolt"), 0u);
        EXPECT_EQ(p.files.files.count(shortcut), 0u);
        EXPECT_EQ(p.registry.log.back(), std::string("notify ") + shortcut);
    }
}

TEST(Autorun, StartUpBringsTheRegistryInLineWithTheSetting) {
    for (int32_t autorun : {1, 0, 2, -1}) {
        FakeProgram p;
        p.registry.runValues["Brisolt"] = "D:\\old\\Brisolt.exe";
        p.StoreSettings({0, 0, autorun, 0});
        p.http.pages = {TimePage(kPageMs)};
        p.Launch();
        if (autorun == 1) {
            EXPECT_EQ(p.registry.runValues["Brisolt"], p.files.executable.utf8);
        } else {
            EXPECT_EQ(p.registry.runValues.count("Brisolt"), 0u) << autorun;
        }
    }
}

TEST(Startup, AutohideKeepsTheWindowHidden) {
    for (int32_t autohide : {0, 1, 2, -1}) {
        FakeProgram p;
        p.StoreSettings({0, 0, 0, autohide});
        p.http.pages = {TimePage(kPageMs)};
        p.Launch();
        EXPECT_EQ(p.window.visible, autohide == 0) << autohide;
    }
}

}  // namespace
