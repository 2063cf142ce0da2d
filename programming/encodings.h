// Value rules shared by the image builder and the editors: when a frequency
// text is acceptable, and how frequencies, tones, dial strings and address
// codes become the bytes of the option-board image.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// The leading decimal number of a text, as atof reads it (0 when the text
// does not start with a number).
double LeadingNumber(std::string_view text);

// Units of 125 Hz of a frequency text in MHz (24 bits in the image).
std::uint32_t EncodeFrequency(std::string_view text);
// Tenths of a hertz of a tone text; "None" (or no number) gives 0.
std::uint16_t EncodeTone(std::string_view text);

// Nibble n lies in byte n / 2, the high half for even n.
void SetNibble(std::uint8_t* buffer, int n, unsigned value);
// The last four decimal digits of value as BCD in two bytes.
void PackBcd4(std::uint32_t value, std::uint8_t* dest);
// Up to 15 digits of the text right-aligned in nibbles 0..14 of 8 bytes
// (leading nibbles F), the type digit in nibble 15.
void PackDialString(std::uint8_t* dest, std::string_view text, unsigned typeDigit);

// One entry of a ';'-separated code list: "SS-CCCC" (result 2), "CCCC"
// (result 1), an empty entry (0) or an unreadable one (-1). `consumed`
// counts the characters of the entry from its first non-blank one, and the
// ';' that ends it.
int ParseCodeEntry(std::string_view text, unsigned& systemId, unsigned& code, int& consumed);

// Address-code kinds of PackAddressCode.
namespace addresskind {
constexpr int Empty = 0;
constexpr int ReceiveGroup = 1;
constexpr int GroupAction = 2;
constexpr int Reserved = 3;
constexpr int PrimaryAddress = 4;
} // namespace addresskind

// Packs the first entry of a code list into 3 bytes; returns the characters
// the entry took, leading blanks included.
int PackAddressCode(std::uint8_t* dest, unsigned defaultSystemId, int kind, std::string_view text);

// Routes that no list offers (5, above 9) become 1.
std::int32_t ClampRoute(std::int32_t route);

// Replaces each digit by the character on its key with shift held
// (0 -> ')', 1 -> '!', ... 9 -> '(').
void MarkDigits(std::string& text);

// The channel editor's frequency check: 0 for an acceptable text, -1
// otherwise; `out` (when given) receives the text.
int CheckFreqSpec(std::string_view text, int side, std::string* out, std::int32_t voidSpecs);

// The functions the zel program exports by name.
extern "C" {
std::int32_t Check_Freq(const char* text, std::int32_t side);
std::int32_t Check_TSQCode(const char* text);
void StepFreqUp(char* text, std::int32_t side);
void StepFreqDown(char* text, std::int32_t side);
std::int32_t Pack_Mode(std::int32_t first, std::int32_t second);
std::int32_t UnPack_Mode(std::int32_t first, std::int32_t second);
void Set_Timeout(std::int32_t first, std::int32_t second);
}
