// GBK text at the Win32 boundary: always code page 936, whatever the
// system's ANSI code page is.
#pragma once

#include <string>
#include <string_view>

std::wstring GbkToWide(std::string_view gbk);
std::string WideToGbk(std::wstring_view wide);
