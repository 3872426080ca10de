#pragma once
// A minimal observer list: the control model announces changes to whoever listens
// (change handlers of the core, and the Qt binding that repaints).
#include <functional>
#include <utility>
#include <vector>

namespace tolvane::form {

template <typename... Args>
class Signal {
public:
    using Handler = std::function<void(Args...)>;

    void connect(Handler handler) { handlers_.push_back(std::move(handler)); }

    void emit(Args... args) const {
        // Copy first: a handler may connect further handlers while we run.
        const auto handlers = handlers_;
        for (const auto& h : handlers) h(args...);
    }

private:
    std::vector<Handler> handlers_;
};

}  // namespace tolvane::form
