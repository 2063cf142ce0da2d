// A text field of a document record: a fixed array of 8-bit characters
// holding a NUL-terminated string, whose capacity includes the terminator.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <string>
#include <string_view>

template <std::size_t Capacity> class TText {
  public:
    static constexpr std::size_t kCapacity = Capacity;
    static constexpr std::size_t kMaxLength = Capacity - 1;

    TText() = default;
    explicit TText(std::string_view text) { Set(text); }

    // Zero-fills the array, then copies at most Capacity - 1 characters; a
    // text stops at an embedded NUL, as a C string would.
    void Set(std::string_view text) {
        chars_.fill('\0');
        text = text.substr(0, std::min(text.find('\0'), text.size()));
        std::copy_n(text.begin(), std::min(text.size(), kMaxLength), chars_.begin());
    }
    void Clear() { chars_.fill('\0'); }

    std::string_view View() const { return {chars_.data(), Length()}; }
    std::string Str() const { return std::string(View()); }
    const char* c_str() const { return chars_.data(); }
    std::size_t Length() const {
        return static_cast<std::size_t>(std::find(chars_.begin(), chars_.end(), '\0') -
                                        chars_.begin());
    }
    bool Empty() const { return chars_[0] == '\0'; }

    friend bool operator==(const TText&, const TText&) = default;

  private:
    std::array<char, Capacity> chars_{};
};
