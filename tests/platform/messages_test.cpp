#include <gtest/gtest.h>

#include "platform/Log.h"
#include "platform/win32.h"

namespace platform {
void ResetMessageQueue();
}

namespace {
std::vector<UINT> g_seen;
LRESULT Recorder(HWND h, UINT m, WPARAM w, LPARAM l) {
    g_seen.push_back(m);
    return DefWindowProcA(h, m, w, l);
}
}  // namespace

TEST(MessageQueue, CloseBecomesDestroyThenQuitAfterQueuedMessages) {
    platform::ResetMessageQueue();
    WNDCLASSA wc{};
    wc.lpfnWndProc = Recorder;
    RegisterClassA(&wc);
    g_seen.clear();
    PostMessageA(nullptr, WM_KEYDOWN, VK_UP, 0);
    PostMessageA(nullptr, WM_CLOSE, 0, 0);
    MSG m;
    std::vector<UINT> order;
    while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
        order.push_back(m.message);
        if (m.message == WM_QUIT) break;
        DispatchMessageA(&m);
        if (m.message == WM_DESTROY) PostQuitMessage(0);
    }
    ASSERT_EQ(order.size(), 4u);
    EXPECT_EQ(order[0], static_cast<UINT>(WM_KEYDOWN));
    EXPECT_EQ(order[1], static_cast<UINT>(WM_CLOSE));
    EXPECT_EQ(order[2], static_cast<UINT>(WM_DESTROY));
    EXPECT_EQ(order[3], static_cast<UINT>(WM_QUIT));
    // A second quit request while one is pending is not queued again.
    platform::ResetMessageQueue();
    PostQuitMessage(0);
    PostQuitMessage(0);
    int quits = 0;
    while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) quits += m.message == WM_QUIT;
    EXPECT_EQ(quits, 1);
    platform::ResetMessageQueue();
}

TEST(MessageBox, PrintsOneLineAndGoesOn) {
    int before = platform::MessageCount();
    testing::internal::CaptureStderr();
    EXPECT_EQ(MessageBoxA(nullptr, "two\nlines", "", MB_OK), 1);
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(err, "brackmoor: two lines\n");
    EXPECT_EQ(platform::MessageCount(), before + 1);
}
