#pragma once
// Helpers for tests of the Win32 layer: one application per test, and
// message pumping with deadlines (a test never waits without one).

// <windows.h> goes before the other platform headers.
// clang-format off
#include <windows.h>
#include <gtest/gtest.h>
// clang-format on

#include <chrono>
#include <memory>

#include "toolkit/app.h"

namespace toolkittest {

// Dispatches every waiting message once.
inline void drainMessages() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

// Pumps messages until the condition holds or the time is up; returns the
// condition's last value.
template <class Condition>
bool pumpUntil(Condition condition, std::chrono::milliseconds timeout) {
    const auto end = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        drainMessages();
        if (condition()) return true;
        if (std::chrono::steady_clock::now() >= end) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

inline void pumpFor(std::chrono::milliseconds duration) {
    pumpUntil([] { return false; }, duration);
}

class AppTest : public ::testing::Test {
protected:
    std::shared_ptr<toolkit::wApp> app = toolkit::wApp::create();
};

}  // namespace toolkittest
