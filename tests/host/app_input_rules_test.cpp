#include "app/activation_rule.h"
#include "app/path_split.h"
#include "app/link_rule.h"
#include "app/mouse_rule.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

TEST(MouseRule, FirstMoveOnlySetsTheStartingPoint) {
    MouseRule rule;
    EXPECT_FALSE(rule.IsJump(5000, 5000));
    EXPECT_TRUE(rule.IsJump(0, 0));
}

TEST(MouseRule, JumpsOfMoreThan128PixelsOnEitherAxisEndTheSaver) {
    MouseRule rule;
    rule.IsJump(500, 500);
    EXPECT_FALSE(rule.IsJump(628, 500));
    EXPECT_FALSE(rule.IsJump(500, 372));
    EXPECT_FALSE(rule.IsJump(628, 500));
    EXPECT_TRUE(rule.IsJump(628, 629));  // 129 down
    EXPECT_TRUE(rule.IsJump(499, 629));  // 129 left
}

TEST(MouseRule, SlowDriftNeverEndsTheSaver) {
    MouseRule rule;
    for (std::uint32_t x = 0; x < 60000; x += 128) EXPECT_FALSE(rule.IsJump(x, x / 2));
}

// Each row: the activation reports in order ('+' active, '-' inactive) and, for each,
// whether it ends the saver.
TEST(ActivationRule, OnlyTheLossOfAFocusItHadEndsTheSaver) {
    const struct {
        const char* reports;
        const char* ends;
    } cases[] = {
        {"-", "n"},        // started without the focus
        {"--+-", "nnny"},  // gets it later, then loses it
        {"+-", "ny"},
        {"++-", "nny"},  // WM_ACTIVATEAPP and WM_ACTIVATE both report it
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.reports);
        ActivationRule rule;
        std::string ends;
        for (const char* r = c.reports; *r; ++r) ends += rule.Ends(*r == '+') ? 'y' : 'n';
        EXPECT_EQ(ends, c.ends);
    }
}

namespace {
std::string Accepted(const std::string& link) {
    char out[kLinkBufferSize];
    std::memset(out, 'x', sizeof out);
    if (!AcceptLink(link.c_str(), out)) {
        EXPECT_EQ(out[0], '\0');
        return "(refused)";
    }
    return out;
}
}  // namespace

TEST(LinkRule, OnlyWebAddressesAreOpened) {
    EXPECT_EQ(Accepted("http://example.com/a?b=c#d"), "http://example.com/a?b=c#d");
    EXPECT_EQ(Accepted("HTTPS://Example.com/"), "HTTPS://Example.com/");
    EXPECT_EQ(Accepted("hTtP://x"), "hTtP://x");
    for (const char* bad : {"", "file:///C:/Windows/System32/calc.exe", "C:\\Windows\\notepad.exe",
                            "\\\\server\\share\\x.exe", "javascript:alert(1)", "mailto:a@example.com",
                            "ftp://example.com/", "http:/x", "https:", "calc", "httpx://example.com"})
        EXPECT_EQ(Accepted(bad), "(refused)") << bad;
}

TEST(LinkRule, SurroundingBlanksAreTrimmedButInnerBlanksAndQuotesRefused) {
    EXPECT_EQ(Accepted("\n   http://example.com/news\r\n  "), "http://example.com/news");
    EXPECT_EQ(Accepted("http://example.com/a b"), "(refused)");
    EXPECT_EQ(Accepted("http://example.com/\" --new-window \"file:///c:/"), "(refused)");
    EXPECT_EQ(Accepted("http://example.com/a\"b"), "(refused)");
    EXPECT_EQ(Accepted("http://example.com/\ttab"), "(refused)");
    EXPECT_EQ(Accepted(std::string("http://example.com/\x7f")), "(refused)");
}

TEST(LinkRule, LinksThatDoNotFitWholeAreRefusedNotCut) {
    const std::string base = "http://example.com/";
    const std::string longest = base + std::string(1023 - base.size(), 'a');
    EXPECT_EQ(Accepted(longest), longest);
    EXPECT_EQ(Accepted(longest + "a"), "(refused)");
    EXPECT_EQ(Accepted(base + std::string(100000, 'a')), "(refused)");
    std::string out(kLinkBufferSize, 'x');
    EXPECT_FALSE(AcceptLink(nullptr, out.data()));
    EXPECT_EQ(out[0], '\0') << "no link: the buffer is empty";
}

TEST(ConfigPath, FolderOfTheExecutableKeepsDoubleByteNames) {
    EXPECT_EQ(DirectoryOf("C:\\Program Files\\kvt.scr"), "C:\\Program Files\\");
    // "ソ" is 0x83 0x5C in code page 932: its trail byte is not a backslash.
    EXPECT_EQ(DirectoryOf("C:\\\x83\x5C\x83t\x83g\\kvt.scr"), "C:\\\x83\x5C\x83t\x83g\\");
    EXPECT_EQ(DirectoryOf("C:\\\x83\x5C"), "C:\\");
    EXPECT_EQ(DirectoryOf("kvt.scr"), "");
    EXPECT_EQ(DirectoryOf("D:kvt.scr"), "D:");
}

TEST(LinkRule, OpensOnlyOnTheDefaultDesktopOfTheInteractiveStation) {
    EXPECT_TRUE(IsUserDesktop("WinSta0", "Default"));
    EXPECT_TRUE(IsUserDesktop("winsta0", "DEFAULT"));
    EXPECT_FALSE(IsUserDesktop("WinSta0", "Winlogon"));  // locked, or the logon screen
    EXPECT_FALSE(IsUserDesktop("WinSta0", "Screen-saver"));
    EXPECT_FALSE(IsUserDesktop("Service-0x0-3e7$", "Default"));  // a system account's station
    EXPECT_FALSE(IsUserDesktop("WinSta0", "Default2"));
    EXPECT_FALSE(IsUserDesktop(nullptr, "Default"));
    EXPECT_FALSE(IsUserDesktop("WinSta0", nullptr));
}
