// Document texts are one byte per character in the Windows-1252 code page,
// as web browsers read it: every byte 0x00..0xFF stands for a character, so
// any stored byte survives a round trip through the windows, JSON and the
// terminal. These are the only conversions between that text and Unicode.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// The character that `byte` stands for.
char32_t Windows1252ToCodePoint(unsigned char byte);
// The byte that stands for `codePoint`, or nothing when the code page has none.
std::optional<unsigned char> CodePointToWindows1252(char32_t codePoint);

// A document text as UTF-8; total, since every byte has a character.
std::string DocumentTextToUtf8(std::string_view text);

// UTF-8 as a document text, or nothing when the input is not UTF-8 or holds a
// character that the code page lacks; `badCharacter` then receives the
// position (counted in characters from 0) of the first offending one.
std::optional<std::string> Utf8ToDocumentText(std::string_view utf8,
                                              std::size_t* badCharacter = nullptr);
