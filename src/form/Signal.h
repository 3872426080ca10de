#pragma once
// A minimal observer list: the control model announces changes to whoever listens (change
// handlers of the core, and the Qt binding that repaints).
//
// Two ways to listen. `connect` returns a Connection that removes the handler when it is
// destroyed: a window keeps the connections of its bindings, so closing it leaves nothing
// behind on the models. `attach` is for handlers that live as long as the signal itself (the
// model's own wiring, owned by the same object as the signal).
#include <cstddef>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

namespace tolvane::form {

// A handle on one connected handler; destroying (or resetting) it disconnects the handler. It
// may outlive the signal: disconnecting then does nothing.
class Connection {
public:
    Connection() = default;
    explicit Connection(std::weak_ptr<bool> alive) : alive_(std::move(alive)) {}
    Connection(Connection&& other) noexcept = default;
    Connection& operator=(Connection&& other) noexcept {
        if (this != &other) {
            disconnect();
            alive_ = std::move(other.alive_);
        }
        return *this;
    }
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;
    ~Connection() { disconnect(); }

    void disconnect() {
        if (auto alive = alive_.lock()) *alive = false;
        alive_.reset();
    }
    bool connected() const {
        const auto alive = alive_.lock();
        return alive && *alive;
    }

private:
    std::weak_ptr<bool> alive_;
};

template <typename... Args>
class Signal {
public:
    using Handler = std::function<void(Args...)>;

    Signal() = default;
    Signal(const Signal&) = delete;
    Signal& operator=(const Signal&) = delete;

    [[nodiscard]] Connection connect(Handler handler) { return Connection(add(std::move(handler))); }
    void attach(Handler handler) { add(std::move(handler)); }

    void emit(Args... args) const {
        // Copy first: a handler may connect further handlers while we run. A handler
        // disconnected by an earlier one in this round is skipped.
        const auto current = slots_;
        for (const auto& slot : current)
            if (*slot->alive) slot->handler(args...);
    }

    // Handlers still connected; the disconnected ones are dropped here as well.
    std::size_t handlerCount() {
        prune();
        return slots_.size();
    }

private:
    struct Slot {
        Handler handler;
        std::shared_ptr<bool> alive;
    };

    std::weak_ptr<bool> add(Handler handler) {
        prune();
        auto slot = std::make_shared<Slot>(Slot{std::move(handler), std::make_shared<bool>(true)});
        slots_.push_back(slot);
        return slot->alive;
    }

    void prune() {
        std::erase_if(slots_, [](const std::shared_ptr<Slot>& slot) { return !*slot->alive; });
    }

    std::vector<std::shared_ptr<Slot>> slots_;
};

}  // namespace tolvane::form
