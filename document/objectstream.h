// Object streams: records written into and read from a byte buffer with the
// elements a document file needs (version header, String, Word16, Word32,
// embedded object, object pointer with class name and version,
// back-reference, null). The byte layout is in docs/file-format.md.
#pragma once

#include "document/records.h"

#include <cstdint>
#include <map>
#include <memory>
#include <span>
#include <string_view>
#include <typeindex>
#include <vector>

// A registered persistent class: its stream name, version, builder and
// streamer functions.
struct TStreamableClass {
    std::string_view Name;
    std::uint16_t Version;
    std::type_index Type;
    std::unique_ptr<TStreamableBase> (*Build)();
    void (*Write)(opstream&, const TStreamableBase&);
    void (*Read)(ipstream&, TStreamableBase&, std::uint16_t);
};

// The seven document classes, each under its class name with version 1.
const TStreamableClass* FindStreamableClass(std::string_view name);
const TStreamableClass* FindStreamableClass(std::type_index type);

namespace objectstream {
constexpr std::uint8_t kHeader[4] = {'Z', 'O', 'S', 1};
constexpr std::uint8_t kNull = 0x00;
constexpr std::uint8_t kObjectStart = 0x5B;   // '['
constexpr std::uint8_t kObjectEnd = 0x5D;     // ']'
constexpr std::uint8_t kBackReference = 0x40; // '@'
} // namespace objectstream

class opstream {
  public:
    // The stream never grows beyond `limit` bytes; writing more fails it.
    explicit opstream(std::size_t limit) : limit_(limit) { bytes_.reserve(limit); }

    void writeVersion();
    void writeString(std::string_view text);
    void writeWord16(std::uint16_t value);
    void writeWord32(std::uint32_t value);
    void writeObject(const TStreamableBase& object);
    void writeObjectPointer(const TStreamableBase* object);

    bool good() const { return good_; }
    std::vector<std::uint8_t>& bytes() { return bytes_; }

  private:
    void Put(std::uint8_t byte);
    void WriteBody(const TStreamableBase& object);

    std::size_t limit_;
    std::vector<std::uint8_t> bytes_;
    std::map<const TStreamableBase*, std::uint16_t> written_;
    bool good_ = true;
};

class ipstream {
  public:
    explicit ipstream(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

    // Reads the stream's version header; a foreign header fails the stream.
    void readVersion();
    template <std::size_t N> void readString(TText<N>& text) {
        const std::string_view read = ReadRawString();
        text.Set(read);
    }
    std::uint16_t readWord16();
    std::uint32_t readWord();

    // Fills an existing member of class T.
    template <typename T> void readObject(T& object) { ReadObjectInto(object, typeid(T)); }
    // The object of class T at this place: built on first sight, the same
    // object for a back-reference, null for a null mark (or on failure). A
    // class other than T fails the stream. The stream owns what it built
    // until a caller adopts it.
    template <typename T> T* readObjectPointer() { return static_cast<T*>(ReadPointer(typeid(T))); }
    // Takes over an object built by this stream; null when it was not built
    // here or was already adopted, so that no object gets two owners.
    template <typename T> std::unique_ptr<T> Adopt(T* object) {
        return std::unique_ptr<T>(static_cast<T*>(Release(object)));
    }

    bool good() const { return good_; }
    void fail() { good_ = false; }

  private:
    std::uint8_t Get();
    std::string_view ReadRawString();
    void ReadObjectInto(TStreamableBase& object, std::type_index type);
    TStreamableBase* ReadPointer(std::type_index type);
    TStreamableBase* Release(TStreamableBase* object);
    // Reads class name and version and checks the class is `type`.
    const TStreamableClass* ReadClassHeader(std::type_index type, std::uint16_t& version);

    std::span<const std::uint8_t> bytes_;
    std::size_t position_ = 0;
    bool good_ = true;
    std::vector<TStreamableBase*> objects_; // by back-reference index
    std::vector<std::unique_ptr<TStreamableBase>> owned_;
};
