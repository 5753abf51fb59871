// Cases of the private-profile semantics the settings rely on, run against
// the in-memory store natively and against the system's functions under Wine.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "settings/file_system.h"

struct ProfileReadCase {
    const char* name;
    std::string content;
    const char* section;
    const char* key;
    const char* expected;  // with the fallback "0"
    friend void PrintTo(const ProfileReadCase& c, std::ostream* os) { *os << c.name; }
};

inline const std::vector<ProfileReadCase>& ProfileReadCases() {
    static const std::vector<ProfileReadCase> cases = {
        {"Plain", "[system]\r\nautorun=1\r\n", "system", "autorun", "1"},
        {"NamesInOtherCase", "[SYSTEM]\r\nAutoRun=1\r\n", "system", "autorun", "1"},
        {"BlanksAround", "[system]\r\nautorun =  12  \r\n", "system", "autorun", "12"},
        {"DoubleQuotes", "[system]\r\nautorun=\" 5 \"\r\n", "system", "autorun", " 5 "},
        {"SingleQuotes", "[system]\r\nautorun='5'\r\n", "system", "autorun", "5"},
        {"OnlyOnePairOfQuotes", "[system]\r\nautorun=\"\"5\"\"\r\n", "system", "autorun", "\"5\""},
        {"EmptyValue", "[system]\r\nautorun=\r\n", "system", "autorun", ""},
        {"MissingKey", "[system]\r\nautohide=1\r\n", "system", "autorun", "0"},
        {"OtherSection", "[other]\r\nautorun=1\r\n", "system", "autorun", "0"},
        {"CommentsAround", "; note\r\n[system]\r\n; autorun=9\r\nautorun=7\r\n", "system", "autorun", "7"},
        {"FirstOfTwo", "[system]\r\nautorun=1\r\nautorun=2\r\n", "system", "autorun", "1"},
        {"LineFeedsOnly", "[system]\nautorun=4\n", "system", "autorun", "4"},
        {"LaterSection", "[a]\r\nautorun=1\r\n[system]\r\nautorun=3\r\n[b]\r\nautorun=5\r\n", "system", "autorun", "3"},
    };
    return cases;
}

struct ProfileWriteCase {
    const char* name;
    std::optional<std::string> content;                       // nothing: no file yet
    std::vector<std::pair<const char*, const char*>> writes;  // key, value in section "system"
    std::vector<std::pair<const char*, const char*>> reads;   // "section/key", value afterwards
    std::vector<const char*> linesKept;
    friend void PrintTo(const ProfileWriteCase& c, std::ostream* os) { *os << c.name; }
};

inline const std::vector<ProfileWriteCase>& ProfileWriteCases() {
    static const std::vector<ProfileWriteCase> cases = {
        {"ReplacesAValue",
         "[system]\r\nautorun=0\r\nautohide=0\r\n",
         {{"autorun", "1"}},
         {{"system/autorun", "1"}, {"system/autohide", "0"}},
         {}},
        {"AddsAMissingKey",
         "[system]\r\nautorun=0\r\n[other]\r\nx=1\r\n",
         {{"autohide", "-1"}},
         {{"system/autohide", "-1"}, {"system/autorun", "0"}, {"other/x", "1"}},
         {}},
        {"KeepsOtherLines",
         "; keep me\r\n[other]\r\nx=1\r\n[system]\r\nautorun=0\r\nextra=yes\r\n",
         {{"autorun", "1"}},
         {{"system/autorun", "1"}, {"system/extra", "yes"}, {"other/x", "1"}},
         {"; keep me", "[other]", "x=1", "extra=yes"}},
        {"AddsAMissingSection",
         "[other]\r\nx=1\r\n",
         {{"autorun", "1"}},
         {{"system/autorun", "1"}, {"other/x", "1"}},
         {"[other]", "x=1"}},
        {"FindsKeysInOtherCase", "[System]\r\nAUTORUN=0\r\n", {{"autorun", "1"}}, {{"system/autorun", "1"}}, {}},
        {"CreatesTheFile",
         std::nullopt,
         {{"autochecktime", "0"}, {"autochecktimeevery", "0"}},
         {{"system/autochecktime", "0"}, {"system/autochecktimeevery", "0"}},
         {"[system]", "autochecktime=0", "autochecktimeevery=0"}},
    };
    return cases;
}

inline void CheckReadCase(FileSystem& files, const FilePath& path, const ProfileReadCase& c) {
    EXPECT_EQ(files.ReadProfileValue(path, c.section, c.key, "0"), c.expected);
}

// `content` reads the file's bytes after the writes.
inline void CheckWriteCase(FileSystem& files, const FilePath& path, const ProfileWriteCase& c,
                           const std::function<std::string()>& content) {
    for (const auto& [key, value] : c.writes) files.WriteProfileValue(path, "system", key, value);
    for (const auto& [where, value] : c.reads) {
        std::string w = where;
        std::string section = w.substr(0, w.find('/'));
        std::string key = w.substr(w.find('/') + 1);
        EXPECT_EQ(files.ReadProfileValue(path, section, key, "missing"), value) << where;
    }
    std::string text = content();
    for (const char* line : c.linesKept) EXPECT_NE(text.find(std::string(line) + "\r\n"), std::string::npos) << line;
}
