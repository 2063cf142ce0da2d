#include "document/objectstream.h"

#include <algorithm>

void opstream::Put(std::uint8_t byte) {
    if (!good_ || bytes_.size() >= limit_) {
        good_ = false;
        return;
    }
    bytes_.push_back(byte);
}

void opstream::writeVersion() {
    for (const auto byte : objectstream::kHeader)
        Put(byte);
}

void opstream::writeString(std::string_view text) {
    const auto length = static_cast<std::uint16_t>(std::min<std::size_t>(text.size(), 0xFFFF));
    writeWord16(length);
    for (std::size_t i = 0; i < length; ++i)
        Put(static_cast<std::uint8_t>(text[i]));
}

void opstream::writeWord16(std::uint16_t value) {
    Put(static_cast<std::uint8_t>(value & 0xFF));
    Put(static_cast<std::uint8_t>(value >> 8));
}

void opstream::writeWord32(std::uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8)
        Put(static_cast<std::uint8_t>((value >> shift) & 0xFF));
}

void opstream::WriteBody(const TStreamableBase& object) {
    const TStreamableClass* type = FindStreamableClass(typeid(object));
    if (type == nullptr) {
        good_ = false;
        return;
    }
    Put(objectstream::kObjectStart);
    writeString(type->Name);
    writeWord16(type->Version);
    type->Write(*this, object);
    Put(objectstream::kObjectEnd);
}

void opstream::writeObject(const TStreamableBase& object) {
    WriteBody(object);
}

void opstream::writeObjectPointer(const TStreamableBase* object) {
    if (object == nullptr) {
        Put(objectstream::kNull);
        return;
    }
    if (const auto seen = written_.find(object); seen != written_.end()) {
        Put(objectstream::kBackReference);
        writeWord16(seen->second);
        return;
    }
    const auto index = static_cast<std::uint16_t>(written_.size());
    written_.emplace(object, index);
    WriteBody(*object);
}

std::uint8_t ipstream::Get() {
    if (!good_ || position_ >= bytes_.size()) {
        good_ = false;
        return 0;
    }
    return bytes_[position_++];
}

void ipstream::readVersion() {
    for (const auto expected : objectstream::kHeader)
        if (Get() != expected)
            good_ = false;
}

std::uint16_t ipstream::readWord16() {
    const std::uint16_t low = Get();
    const std::uint16_t high = Get();
    return static_cast<std::uint16_t>(low | (high << 8));
}

std::uint32_t ipstream::readWord() {
    std::uint32_t value = 0;
    for (int shift = 0; shift < 32; shift += 8)
        value |= static_cast<std::uint32_t>(Get()) << shift;
    return value;
}

std::string_view ipstream::ReadRawString() {
    const std::size_t length = readWord16();
    if (!good_ || length > bytes_.size() - position_) {
        good_ = false;
        return {};
    }
    const std::string_view text(reinterpret_cast<const char*>(bytes_.data() + position_), length);
    position_ += length;
    return text;
}

const TStreamableClass* ipstream::ReadClassHeader(std::type_index type, std::uint16_t& version) {
    const TStreamableClass* found = FindStreamableClass(ReadRawString());
    version = readWord16();
    if (!good_ || found == nullptr || found->Type != type) {
        good_ = false;
        return nullptr;
    }
    return found;
}

void ipstream::ReadObjectInto(TStreamableBase& object, std::type_index type) {
    if (Get() != objectstream::kObjectStart) {
        good_ = false;
        return;
    }
    std::uint16_t version = 0;
    const TStreamableClass* found = ReadClassHeader(type, version);
    if (found == nullptr)
        return;
    found->Read(*this, object, version);
    if (Get() != objectstream::kObjectEnd)
        good_ = false;
}

TStreamableBase* ipstream::ReadPointer(std::type_index type) {
    const std::uint8_t mark = Get();
    if (!good_)
        return nullptr;
    if (mark == objectstream::kNull)
        return nullptr;
    if (mark == objectstream::kBackReference) {
        const std::uint16_t index = readWord16();
        if (!good_ || index >= objects_.size()) {
            good_ = false;
            return nullptr;
        }
        TStreamableBase* object = objects_[index];
        if (typeid(*object) != type) {
            good_ = false;
            return nullptr;
        }
        return object;
    }
    if (mark != objectstream::kObjectStart) {
        good_ = false;
        return nullptr;
    }
    std::uint16_t version = 0;
    const TStreamableClass* found = ReadClassHeader(type, version);
    if (found == nullptr)
        return nullptr;
    owned_.push_back(found->Build());
    TStreamableBase* object = owned_.back().get();
    objects_.push_back(object);
    found->Read(*this, *object, version);
    if (Get() != objectstream::kObjectEnd)
        good_ = false;
    return good_ ? object : nullptr;
}

TStreamableBase* ipstream::Release(TStreamableBase* object) {
    for (auto& owned : owned_)
        if (owned.get() == object && object != nullptr)
            return owned.release();
    return nullptr;
}
