// The saver against a server that accepts and never answers: it keeps answering
// its user, ends at once on input, and gives up the fetch after 30 seconds.
#include "e2e.h"
#include "feed_server.h"
#include "link_recorder.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace {
LPARAM At(int x, int y) { return MAKELPARAM(x, y); }

// Starts show mode and waits until the first tick's fetch of `hung` has begun.
HWND StartHung(SaverRun& run, const std::string& hung) {
    HWND window = StartShow(run);
    if (window) {
        EXPECT_TRUE(PumpUntil([&] { return FeedServerWasAsked(hung); })) << "the fetch never began";
    }
    return window;
}

// True when `window` answers a message within a second.
bool Answers(HWND window) {
    DWORD_PTR result = 0;
    return SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 1000, &result) != 0;
}
}  // namespace

TEST(HungFetch, AKeyAClickOrAMouseJumpEndsTheSaverWhileTheFirstFetchHangs) {
    const std::string hung = HangingFeedUrl();
    const SaverSettings settings = WithChannels({Channel("止まる", hung)});
    const struct {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
    } endings[] = {{WM_KEYDOWN, VK_ESCAPE, 0}, {WM_LBUTTONDOWN, 0, At(10, 10)}, {WM_MOUSEMOVE, 0, 0}};
    for (const auto& e : endings) {
        SCOPED_TRACE(e.message);
        SaverRun run(ConfigFile(settings));
        HWND window = StartHung(run, hung);
        ASSERT_NE(window, nullptr);
        EXPECT_TRUE(Answers(window));
        // Where the cursor is: the window's first report of it only sets the start.
        POINT cursor = {};
        GetCursorPos(&cursor);
        SendTo(window, WM_MOUSEMOVE, 0, At(cursor.x, cursor.y));
        ASSERT_TRUE(run.IsRunning());
        const double input = run.ElapsedMs();
        const int jumpY = cursor.y > 300 ? cursor.y - 129 : cursor.y + 129;
        PostTo(window, e.message, e.wParam, e.message == WM_MOUSEMOVE ? At(cursor.x, jumpY) : e.lParam);
        DWORD code = 1;
        EXPECT_TRUE(run.WaitForExit(5000, &code)) << "the fetch still hangs for a minute";
        EXPECT_LT(run.ElapsedMs() - input, 5000);
        EXPECT_FALSE(IsWindow(window));
        EXPECT_EQ(code, 0u);
    }
}

TEST(HungFetch, EnterDuringAFetchOpensTheItemOnScreen) {
    BrowserStandIn browser;
    const std::string hung = HangingFeedUrl();
    SaverRun run(
        ConfigFile(WithChannels({Channel("RSS two", FeedServerUrl("/feeds/rss2.xml")), Channel("止まる", hung)})));
    HWND window = StartShow(run);
    ASSERT_NE(window, nullptr);
    WaitForColour();
    SendTo(window, WM_KEYDOWN, VK_DOWN);  // to the hung channel: its first item is not here yet
    ASSERT_TRUE(PumpUntil([&] { return FeedServerWasAsked(hung); }));
    SendTo(window, WM_KEYDOWN, VK_RIGHT);  // does nothing while the fetch is in flight
    ASSERT_TRUE(run.IsRunning());
    PostTo(window, WM_KEYDOWN, VK_RETURN);
    EXPECT_TRUE(run.WaitForExit(5000));
    EXPECT_EQ(LinksAfterEnd(browser), std::vector<std::string>{"http://127.0.0.1/news/1.html"});
}

TEST(HungFetch, AfterThirtySecondsTheChannelFailsAndTheRotationGoesOn) {
    BrowserStandIn browser;
    SaverRun run(ConfigFile(
        WithChannels({Channel("止まる", HangingFeedUrl()), Channel("RSS two", FeedServerUrl("/feeds/rss2.xml"))}, 3)));
    HWND window = StartShow(run);
    ASSERT_NE(window, nullptr);
    // The title screen stays, answering, until the fetch is given up.
    const Screenshot failure = WaitForColour(45000);
    const double shownAt = run.ElapsedMs();
    EXPECT_GT(shownAt, 29000);
    EXPECT_LT(shownAt, 40000);
    EXPECT_TRUE(Answers(window));
    // Then the next channel's first item, drawn differently.
    Screenshot next = StableCapture();
    while (next.pixels == failure.pixels && run.ElapsedMs() - shownAt < 8000) next = StableCapture();
    EXPECT_NE(next.pixels, failure.pixels);
    PostTo(window, WM_KEYDOWN, VK_RETURN);
    EXPECT_TRUE(run.WaitForExit(5000));
    EXPECT_EQ(LinksAfterEnd(browser), std::vector<std::string>{"http://127.0.0.1/news/1.html"});
}

TEST(HungFetch, APreviewAndItsHostKeepAnsweringWhileAFetchHangs) {
    HWND host = PreviewHost();
    ASSERT_NE(host, nullptr);
    const std::string hung = HangingFeedUrl();
    SaverRun run(ConfigFile(WithChannels({Channel("止まる", hung)})));
    ASSERT_TRUE(run.Start("/p " + PreviewOf(host)));
    HWND child = run.WaitForWindow(kSaverClass, 15000, host);
    ASSERT_NE(child, nullptr);
    ASSERT_TRUE(PumpUntil([&] { return FeedServerWasAsked(hung); })) << "the first tick's fetch began";
    std::atomic<int> answered{0};
    std::atomic<bool> asked{false};
    std::thread asker([&] {  // the host answers only while this thread pumps its messages
        for (int i = 0; i < 3; ++i) answered += Answers(host) + Answers(child);
        asked = true;
    });
    while (!asked) PumpFor(10);
    asker.join();
    EXPECT_EQ(answered, 6);
    DestroyWindow(host);
    EXPECT_TRUE(run.WaitForExit(5000));
}
