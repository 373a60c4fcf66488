// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
// An event of the game with any number of listeners. Connecting gives a
// token; the listener is called until the token is destroyed or
// disconnected, so a recorder, an adaptive level and a class view can listen
// side by side and none of them can switch another off. The token may outlive
// the event (and the event may be moved along with its game).
#pragma once

#include <algorithm>
#include <cstdint>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

namespace numora {

namespace detail {

// The listeners of one event, shared between the event and its tokens.
class ListenerListBase {
 public:
  virtual ~ListenerListBase() = default;
  virtual void Remove(std::uint64_t id) = 0;
};

template <typename Arg>
class ListenerList final : public ListenerListBase {
 public:
  struct Entry {
    std::uint64_t Id = 0;
    std::shared_ptr<const std::function<void(const Arg&)>> Call;
  };

  void Remove(std::uint64_t id) override {
    std::erase_if(Entries, [id](const Entry& entry) { return entry.Id == id; });
  }
  bool Contains(std::uint64_t id) const {
    return std::any_of(Entries.begin(), Entries.end(),
                       [id](const Entry& entry) { return entry.Id == id; });
  }

  std::vector<Entry> Entries;
  std::uint64_t NextId = 1;
};

}  // namespace detail

// Keeps one listener connected for as long as it lives; move-only.
class EventConnection {
 public:
  EventConnection() = default;
  EventConnection(std::weak_ptr<detail::ListenerListBase> list, std::uint64_t id)
      : list_(std::move(list)), id_(id) {}
  EventConnection(EventConnection&& other) noexcept
      : list_(std::move(other.list_)), id_(std::exchange(other.id_, 0)) {}
  EventConnection& operator=(EventConnection&& other) noexcept {
    if (this != &other) {
      Disconnect();
      list_ = std::move(other.list_);
      id_ = std::exchange(other.id_, 0);
    }
    return *this;
  }
  EventConnection(const EventConnection&) = delete;
  EventConnection& operator=(const EventConnection&) = delete;
  ~EventConnection() { Disconnect(); }

  // The listener is not called again, not even by an emission under way.
  void Disconnect() {
    if (const auto list = list_.lock()) list->Remove(id_);
    list_.reset();
    id_ = 0;
  }
  bool Connected() const { return id_ != 0 && !list_.expired(); }

 private:
  std::weak_ptr<detail::ListenerListBase> list_;
  std::uint64_t id_ = 0;
};

// Move-only: the listeners belong to one game.
template <typename Arg>
class GameEvent {
 public:
  using Listener = std::function<void(const Arg&)>;

  GameEvent() = default;
  GameEvent(GameEvent&&) noexcept = default;
  GameEvent& operator=(GameEvent&&) noexcept = default;
  GameEvent(const GameEvent&) = delete;
  GameEvent& operator=(const GameEvent&) = delete;

  [[nodiscard]] EventConnection Connect(Listener listener) {
    const std::uint64_t id = list_->NextId++;
    list_->Entries.push_back({id, std::make_shared<const Listener>(std::move(listener))});
    return EventConnection(list_, id);
  }

  // Calls the listeners in the order they connected. A listener connected
  // during the emission hears only the next one; one disconnected during it
  // is not called any more.
  void Emit(const Arg& arg) const {
    const auto snapshot = list_->Entries;
    for (const auto& entry : snapshot) {
      if (list_->Contains(entry.Id)) (*entry.Call)(arg);
    }
  }

  std::size_t ListenerCount() const { return list_->Entries.size(); }

 private:
  std::shared_ptr<detail::ListenerList<Arg>> list_ = std::make_shared<detail::ListenerList<Arg>>();
};

}  // namespace numora
