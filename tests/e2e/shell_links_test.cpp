// Which item links kvt.scr hands to the shell after Enter: a plain web address that
// fits whole, one second after the window has gone; nothing else, ever.
#include "feed_server.h"
#include "link_recorder.h"
#include "saver_process.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string ConfigFor(const std::string& url) {
    return "<?xml version='1.0' encoding='UTF-8' ?>\r\n<kvtini>\r\n"
           "  <disp_header_title>1</disp_header_title>\r\n  <disp_header_date>1</disp_header_date>\r\n"
           "  <disp_interval>99</disp_interval>\r\n  <load_interval>60</load_interval>\r\n"
           "  <font_face></font_face>\r\n  <site>\r\n    <title>links</title>\r\n    <link>" +
           url + "</link>\r\n    <description></description>\r\n    <check>1</check>\r\n  </site>\r\n</kvtini>\r\n";
}

struct Outcome {
    bool ended = false;
    DWORD code = 1;
    double windowGoneMs = 0;  // from Enter
    double exitMs = 0;        // from Enter
};

// Starts the saver on the links feed, moves to item `index` and presses Enter.
Outcome EnterOnItem(int index) {
    SaverRun run(ConfigFor(FeedServerUrl("/feeds/links.xml")));
    Outcome o;
    EXPECT_TRUE(run.Start("/s"));
    HWND window = run.WaitForWindow("KVT WINDOW");
    EXPECT_NE(window, nullptr);
    if (!window) return o;
    PostTo(window, WM_KEYDOWN, 'A');  // leaves the title screen: the feed is fetched
    for (int i = 0; i < index; ++i) PostTo(window, WM_KEYDOWN, VK_RIGHT);
    PumpFor(500);
    EXPECT_TRUE(run.IsRunning());
    const double enter = run.ElapsedMs();
    PostTo(window, WM_KEYDOWN, VK_RETURN);
    while (IsWindow(window) && run.ElapsedMs() - enter < 10000) PumpFor(5);
    o.windowGoneMs = run.ElapsedMs() - enter;
    o.ended = run.WaitForExit(10000, &o.code);
    o.exitMs = run.ElapsedMs() - enter;
    PumpFor(1500);  // the stand-in runs on its own
    return o;
}

}  // namespace

TEST(ShellLinks, EnterOpensAWebAddressOneSecondAfterTheWindowHasGone) {
    BrowserStandIn browser({"javascript", "kvttest"});
    Outcome o = EnterOnItem(0);
    ASSERT_TRUE(o.ended);
    EXPECT_EQ(o.code, 0u);
    EXPECT_LT(o.windowGoneMs, 500);
    EXPECT_GE(o.exitMs - o.windowGoneMs, 950) << "the link waits a second after the window";
    ASSERT_EQ(browser.Links().size(), 1u);
    EXPECT_EQ(browser.Links()[0], "http://127.0.0.1/opened/page.html?q=1&r=2");
}

TEST(ShellLinks, OtherSchemesOverlongAndQuotedLinksAreNeverOpened) {
    BrowserStandIn browser({"javascript", "kvttest"});
    for (int item : {1, 2, 3, 4, 5}) {
        Outcome o = EnterOnItem(item);
        EXPECT_TRUE(o.ended) << "item " << item;
        EXPECT_EQ(o.code, 0u) << "item " << item;
        EXPECT_LT(o.exitMs, 900) << "nothing to wait for: item " << item;
    }
    EXPECT_TRUE(browser.Links().empty()) << browser.Links()[0];
}
