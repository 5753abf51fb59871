// Files as the settings need them: existence, deletion, the executable's
// own path and private-profile (INI) strings.
#pragma once

#include <string>

// A path as UTF-8 text, so that any character a folder name may hold
// survives; the Win32 layer turns it into UTF-16.
struct FilePath {
    std::string utf8;
    bool operator==(const FilePath&) const = default;
};

class FileSystem {
public:
    virtual ~FileSystem() = default;
    // True when a directory search finds an entry: a file or a directory.
    virtual bool Exists(const FilePath& path) = 0;
    virtual bool Delete(const FilePath& path) = 0;
    // The full path of the running executable.
    virtual FilePath ExecutableFile() = 0;
    // The value of the key, or the fallback when the file, the section or the
    // key is missing. Names are compared without regard to case; blanks
    // around the value and one pair of enclosing quotes are removed.
    virtual std::string ReadProfileValue(const FilePath& file, const std::string& section, const std::string& key,
                                         const std::string& fallback) = 0;
    // Creates the file, the section or the key as needed; other lines stay.
    virtual void WriteProfileValue(const FilePath& file, const std::string& section, const std::string& key,
                                   const std::string& value) = 0;
};
