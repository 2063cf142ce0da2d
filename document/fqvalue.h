// A frequency in hertz, used while the channel editor's arrows step a
// frequency text along the channel raster.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

class TFqValue {
  public:
    TFqValue() = default;
    // A text in MHz; anything not strictly between 10 and 1000 MHz (or not
    // a number) gives 150 MHz.
    explicit TFqValue(std::string_view text);
    static TFqValue FromHertz(std::uint32_t hertz);

    std::uint32_t Hertz() const { return hertz_; }
    std::uint32_t StepSize() const;
    void StepUp(int steps);
    void StepDown(int steps);

    // MHz with up to five decimals, trailing zeros dropped, never more than
    // nine characters: 450006250 Hz gives "450.00625", 150 MHz "150".
    std::string Format() const;
    // The same text in a caller's buffer of `size` bytes.
    void Format(char* buffer, std::size_t size) const;

  private:
    std::uint32_t hertz_ = 0;
};
