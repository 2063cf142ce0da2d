// Paths and texts between the program (UTF-8) and Win32's wide characters.
#pragma once

#include <string>
#include <string_view>

std::wstring Utf8ToWide(std::string_view utf8);
std::string WideToUtf8(std::wstring_view wide);
