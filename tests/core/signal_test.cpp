// Connections with a lifetime: a handler stays on its signal exactly as long as its handle.
#include <gtest/gtest.h>

#include <memory>
#include <optional>

#include "form/Signal.h"

namespace tolvane::form {
namespace {

TEST(Signal, HandleKeepsTheHandlerUntilItGoes) {
    Signal<int> signal;
    int sum = 0;
    {
        Connection c = signal.connect([&](int v) { sum += v; });
        signal.emit(2);
        EXPECT_TRUE(c.connected());
        // A moved handle carries the handler with it.
        Connection moved = std::move(c);
        signal.emit(3);
        EXPECT_TRUE(moved.connected());
    }
    signal.emit(100);
    EXPECT_EQ(sum, 5);
    EXPECT_EQ(signal.handlerCount(), 0u);

    // Assigning over a handle drops the handler it held.
    int first = 0, second = 0;
    Connection c = signal.connect([&](int) { ++first; });
    c = signal.connect([&](int) { ++second; });
    signal.emit(0);
    EXPECT_EQ(first, 0);
    EXPECT_EQ(second, 1);
    c.disconnect();
    EXPECT_FALSE(c.connected());
    EXPECT_EQ(signal.handlerCount(), 0u);
}

TEST(Signal, AttachedHandlersStayAndHandlesMayOutliveTheSignal) {
    auto signal = std::make_unique<Signal<>>();
    int calls = 0;
    signal->attach([&] { ++calls; });
    Connection c = signal->connect([&] { ++calls; });
    signal->emit();
    EXPECT_EQ(calls, 2);
    signal.reset();
    EXPECT_FALSE(c.connected());
    c.disconnect();  // nothing left to take off: must not touch the freed signal
}

TEST(Signal, HandlerDisconnectedDuringEmitIsNotCalledAfterwards) {
    Signal<> signal;
    std::optional<Connection> later;
    int laterCalls = 0;
    signal.attach([&] { later.reset(); });
    later = signal.connect([&] { ++laterCalls; });
    signal.emit();
    EXPECT_EQ(laterCalls, 0);
    // A handler connected while the signal runs is called from the next round on.
    int added = 0;
    std::optional<Connection> inner;
    signal.attach([&] {
        if (!inner) inner = signal.connect([&] { ++added; });
    });
    signal.emit();
    EXPECT_EQ(added, 0);
    signal.emit();
    EXPECT_EQ(added, 1);
}

}  // namespace
}  // namespace tolvane::form
