// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
// What a progress store call gives back: the value, or what went wrong with
// it. A read that fails never looks like an empty result; the caller sees the
// kind of failure (so a parent is never told "damaged" about a folder that
// only cannot be written) and the store's own detail for the curious.
#pragma once

#include <QString>
#include <cassert>
#include <cstdint>
#include <optional>
#include <utility>

namespace numora {

enum class StoreErrorKind : std::uint8_t {
  Unreadable,         // the file is damaged or no database at all
  NewerVersion,       // written by a newer numora, which this one cannot read
  FolderNotWritable,  // the folder or the file may not be written
  DiskFull,
  Busy,     // another running copy holds the file too long
  Other,    // anything else; the detail says more
  Missing,  // the profile or round written to is gone (deleted by another copy)
};

struct StoreError {
  StoreErrorKind Kind = StoreErrorKind::Other;
  QString Detail;  // the store's own words, for a parent to pass on
  friend bool operator==(const StoreError&, const StoreError&) = default;
};

template <typename T>
class StoreResult {
 public:
  StoreResult(T value) : value_(std::move(value)) {}           // NOLINT: a value is a success
  StoreResult(StoreError error) : error_(std::move(error)) {}  // NOLINT

  bool Ok() const { return !error_.has_value(); }
  explicit operator bool() const { return Ok(); }
  const StoreError& Error() const {
    assert(error_);
    return *error_;
  }
  const T& operator*() const& {
    assert(value_);
    return *value_;
  }
  // By value: `for (auto& x : *store.Profiles())` must not refer into the
  // result that ends with the statement's first part.
  T operator*() && {
    assert(value_);
    return std::move(*value_);
  }
  const T* operator->() const {
    assert(value_);
    return &*value_;
  }
  T ValueOr(T fallback) const& { return value_ ? *value_ : std::move(fallback); }
  T ValueOr(T fallback) && { return value_ ? std::move(*value_) : std::move(fallback); }

 private:
  std::optional<T> value_;
  std::optional<StoreError> error_;
};

// A call that gives nothing back but success or an error.
struct StoreDone {};
using StoreStatus = StoreResult<StoreDone>;
inline StoreStatus StoreOk() {
  return StoreDone{};
}

}  // namespace numora
