// An owning list of fixed capacity: elements in the order appended, each
// destroyed with the list or when removed.
#pragma once

#include <cstddef>
#include <memory>
#include <vector>

template <typename T> class TOwningList {
  public:
    static constexpr int kCapacity = 17;

    TOwningList() { items_.reserve(kCapacity); }
    TOwningList(const TOwningList&) = delete;
    TOwningList& operator=(const TOwningList&) = delete;

    int Count() const { return static_cast<int>(items_.size()); }
    bool Full() const { return Count() >= kCapacity; }
    T& operator[](int position) { return *items_.at(static_cast<std::size_t>(position)); }
    const T& operator[](int position) const {
        return *items_.at(static_cast<std::size_t>(position));
    }

    // Takes the element; on a full list it fails and the element stays with
    // the caller.
    bool Append(std::unique_ptr<T>& element) {
        if (Full() || !element)
            return false;
        items_.push_back(std::move(element));
        return true;
    }

    // Position of the element by identity, first match from 0; -1 if absent.
    int Find(const T* element) const {
        for (std::size_t i = 0; i < items_.size(); ++i)
            if (items_[i].get() == element)
                return static_cast<int>(i);
        return -1;
    }

    // Destroys the element at the position; later elements move down.
    void RemoveAt(int position) {
        if (position >= 0 && position < Count())
            items_.erase(items_.begin() + position);
    }

    void Flush() { items_.clear(); }

    auto begin() const { return items_.begin(); }
    auto end() const { return items_.end(); }

  private:
    std::vector<std::unique_ptr<T>> items_;
};
