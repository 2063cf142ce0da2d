// The program's string table: every message, caption and list entry that
// the program loads by number.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// The text of an entry, or an empty text when the table has none.
std::string_view StringTableText(int id);

// Loads one entry (at most 2047 characters), as messages are loaded.
std::string LoadMessage(int id);

// Entries firstId, firstId + 1, ... up to the first id without text, each at
// most 254 characters: the lines with which a list or combo box is filled.
std::vector<std::string> StringsFrom(int firstId);

namespace strings {
constexpr int kRoutes = 210;       // "1 (Line 1)" .. "8 (Reserved)"
constexpr int kSecureSpeech = 220; // "Off" .. "Mode 4"
constexpr int kPosition = 230;     // "Position %d"
constexpr int kTones = 300;        // "None", "67.0" .. "254.1"
constexpr int kInvalidSiteName = 400;
constexpr int kNewChannel = 401;
constexpr int kEditChannel = 402;
constexpr int kSavePrompt = 403;
constexpr int kDataChanged = 404;
constexpr int kUnableToOpen = 405;
constexpr int kFileError = 406;
constexpr int kInvalidPagingCode = 407;
constexpr int kSiteInUse = 408;
constexpr int kInvalidProduct = 409;
constexpr int kProductConfigError = 410;
constexpr int kBuildInvalidProduct = 411;
constexpr int kInvalidFrequencies = 412;
constexpr int kTooManyChannels = 413;
constexpr int kConversionError = 414;
constexpr int kPasswordMismatch = 415;
constexpr int kDefaultModel = 500;
constexpr int kProductTypes = 550; // "Portable", "Mobile"
constexpr int kInvalidCharacter = 32521;
constexpr int kOutOfRange = 32522; // "Value is not in the range %ld to %ld."
} // namespace strings
