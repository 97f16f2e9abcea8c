// A fixed-capacity table with 1-based, stable indices.
//
// Every table of the survey state numbers its entries from 1 in the order they
// were appended; index 0 means "none" in every index field. The capacity is a
// hard limit of the program: callers check Full() before appending and report
// the limit with their own message (the limit message differs per table).
#pragma once

#include <cstddef>
#include <stdexcept>
#include <vector>

namespace calctopo {

template <class T, int Capacity>
class Table {
  public:
    static constexpr int kCapacity = Capacity;

    // Number of entries in use.
    int Count() const { return static_cast<int>(items_.size()); }
    bool Full() const { return Count() >= Capacity; }
    bool Empty() const { return items_.empty(); }

    // Appends an entry and returns its index (the new count). Appending to a
    // full table is a programming error: callers report the limit first.
    int Append(T value) {
        if (Full()) {
            throw std::length_error("table full");
        }
        items_.push_back(std::move(value));
        return Count();
    }

    // Entry at a 1-based index; out of range is a programming error.
    T& operator[](int index) { return items_.at(static_cast<std::size_t>(index - 1)); }
    const T& operator[](int index) const { return items_.at(static_cast<std::size_t>(index - 1)); }

    void Clear() { items_.clear(); }

    auto begin() { return items_.begin(); }
    auto end() { return items_.end(); }
    auto begin() const { return items_.begin(); }
    auto end() const { return items_.end(); }

  private:
    std::vector<T> items_;
};

}  // namespace calctopo
