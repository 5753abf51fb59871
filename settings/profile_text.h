// The private-profile (INI) format on text, for files the system's profile
// functions cannot reach (paths beyond MAX_PATH) and for the tests.
#pragma once

#include <string>

// The key's value with blanks and one pair of enclosing quotes removed, or
// the fallback; section and key names are compared without regard to case.
std::string ReadProfileText(const std::string& content, const std::string& section, const std::string& key,
                            const std::string& fallback);
// The content with the key's value replaced in its line, or the key added at
// the end of its section, or the section added at the end; CR LF line ends.
std::string WriteProfileText(const std::string& content, const std::string& section, const std::string& key,
                             const std::string& value);
