#include "win/file_system_win.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "tests/profile_cases.h"
#include "win/startup_registry_win.h"

namespace {

// A fresh folder under the temporary directory, with a name holding a space
// and characters outside GBK, removed afterwards.
class TempFolder {
public:
    TempFolder() {
        wchar_t base[MAX_PATH];
        GetTempPathW(MAX_PATH, base);
        path_ = std::wstring(base) + L"brisolt test \u65B0\U00020000 " + std::to_wstring(GetCurrentProcessId()) + L"-" +
                std::to_wstring(counter_++);
        CreateDirectoryW(path_.c_str(), nullptr);
    }
    ~TempFolder() {
        WIN32_FIND_DATAW found;
        HANDLE search = FindFirstFileW((path_ + L"\\*").c_str(), &found);
        if (search != INVALID_HANDLE_VALUE) {
            do {
                std::wstring name = path_ + L"\\" + found.cFileName;
                if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                    RemoveDirectoryW(name.c_str());
                } else {
                    DeleteFileW(name.c_str());
                }
            } while (FindNextFileW(search, &found));
            FindClose(search);
        }
        RemoveDirectoryW(path_.c_str());
    }
    FilePath File(const std::wstring& name) const { return PathFromWide(path_ + L"\\" + name); }
    const std::wstring& Wide() const { return path_; }

private:
    static inline int counter_ = 0;
    std::wstring path_;
};

void Put(const FilePath& path, const std::string& bytes) {
    HANDLE f = CreateFileW(WidePath(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(f);
}

std::string Get(const FilePath& path) {
    HANDLE f = CreateFileW(WidePath(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE) return {};
    std::string bytes(GetFileSize(f, nullptr), '\0');
    DWORD read = 0;
    ReadFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
    CloseHandle(f);
    return bytes;
}

class WinProfileReadTest : public testing::TestWithParam<ProfileReadCase> {};
TEST_P(WinProfileReadTest, SystemFunctions) {
    TempFolder folder;
    FilePath ini = folder.File(L"setup.ini");
    Put(ini, GetParam().content);
    WinFileSystem files;
    CheckReadCase(files, ini, GetParam());
}
INSTANTIATE_TEST_SUITE_P(Profile, WinProfileReadTest, testing::ValuesIn(ProfileReadCases()),
                         [](const auto& info) { return info.param.name; });

class WinProfileWriteTest : public testing::TestWithParam<ProfileWriteCase> {};
TEST_P(WinProfileWriteTest, SystemFunctions) {
    TempFolder folder;
    FilePath ini = folder.File(L"setup.ini");
    if (GetParam().content) Put(ini, *GetParam().content);
    WinFileSystem files;
    CheckWriteCase(files, ini, GetParam(), [&ini] { return Get(ini); });
}
INSTANTIATE_TEST_SUITE_P(Profile, WinProfileWriteTest, testing::ValuesIn(ProfileWriteCases()),
                         [](const auto& info) { return info.param.name; });

TEST(WinFileSystem, FourWritesMakeTheDefaultFile) {
    TempFolder folder;
    FilePath ini = folder.File(L"setup.ini");
    WinFileSystem files;
    for (const char* key : {"autochecktime", "autochecktimeevery", "autorun", "autohide"}) {
        files.WriteProfileValue(ini, "system", key, "0");
    }
    EXPECT_EQ(Get(ini), "[system]\r\nautochecktime=0\r\nautochecktimeevery=0\r\nautorun=0\r\nautohide=0\r\n");
}

TEST(WinFileSystem, ADirectoryCountsAsExistingAndReadsAsMissing) {
    TempFolder folder;
    FilePath ini = folder.File(L"setup.ini");
    WinFileSystem files;
    EXPECT_FALSE(files.Exists(ini));
    CreateDirectoryW(WidePath(ini).c_str(), nullptr);
    EXPECT_TRUE(files.Exists(ini));
    EXPECT_EQ(files.ReadProfileValue(ini, "system", "autorun", "0"), "0");
    files.WriteProfileValue(ini, "system", "autorun", "1");
    EXPECT_EQ(files.ReadProfileValue(ini, "system", "autorun", "0"), "0");
}

TEST(WinFileSystem, PathsDeeperThanMaxPathWork) {
    TempFolder folder;
    std::wstring deep = folder.Wide();
    while (deep.size() < 300) {
        deep += L"\\\u6DF1\u5C42\u6587\u4EF6\u5939abcdefghijklmnopqrstuvwxyz";
        ASSERT_TRUE(CreateDirectoryW((L"\\\\?\\" + deep).c_str(), nullptr));
    }
    FilePath ini = PathFromWide(deep + L"\\setup.ini");
    WinFileSystem files;
    files.WriteProfileValue(ini, "system", "autorun", "1");
    EXPECT_TRUE(files.Exists(ini));
    EXPECT_EQ(files.ReadProfileValue(ini, "system", "autorun", "0"), "1");
    EXPECT_TRUE(files.Delete(ini));
    while (deep.size() > folder.Wide().size()) {
        RemoveDirectoryW((L"\\\\?\\" + deep).c_str());
        deep.erase(deep.find_last_of(L'\\'));
    }
}

TEST(WinFileSystem, ExecutablePathIsTheFullModulePath) {
    wchar_t module[MAX_PATH];
    GetModuleFileNameW(nullptr, module, MAX_PATH);
    WinFileSystem files;
    EXPECT_EQ(files.ExecutableFile(), PathFromWide(module));
}

TEST(WinStartupRegistry, RunValueIsThePlainPath) {
    WinStartupRegistry registry;
    FilePath path = PathFromWide(L"C:\\Program Files\\\u65B0 \U00020000\\Brisolt.exe");
    ASSERT_EQ(registry.WriteRunValue("BrisoltTest", path), std::optional<bool>(true));
    wchar_t data[512] = {};
    DWORD size = sizeof(data);
    ASSERT_EQ(RegGetValueW(HKEY_LOCAL_MACHINE, L"Software\\Microsoft\\Windows\\CurrentVersion\\Run", L"BrisoltTest",
                           RRF_RT_REG_SZ, nullptr, data, &size),
              ERROR_SUCCESS);
    EXPECT_EQ(std::wstring(data), L"C:\\Program Files\\\u65B0 \U00020000\\Brisolt.exe");
    EXPECT_TRUE(registry.DeleteRunValue("BrisoltTest"));
    EXPECT_FALSE(registry.DeleteRunValue("BrisoltTest"));
    EXPECT_TRUE(registry.StartupFolder().has_value());
}

}  // namespace
