#pragma once
// Makes kvt_link_recorder.exe the handler of http and https addresses (and of
// any further schemes named) for the life of the object, so a test sees every
// link the program hands to the shell. Handlers a crashed test left in place are
// put back first.
#include <windows.h>

#include <string>
#include <vector>

class BrowserStandIn {
public:
    explicit BrowserStandIn(std::vector<std::string> extraSchemes = {});
    ~BrowserStandIn();  // puts the previous handlers back
    BrowserStandIn(const BrowserStandIn&) = delete;
    BrowserStandIn& operator=(const BrowserStandIn&) = delete;

    // The addresses opened so far, in order.
    std::vector<std::string> Links() const;

private:
    struct Handler {
        std::string scheme;
        bool keyExisted = false;
        bool hadCommand = false;
        std::string command;
    };
    static void Restore(const Handler& h);
    static void RestoreLeftOver();
    std::vector<Handler> handlers_;
};

// The addresses `browser` has been handed once they have had time to come: pumps this
// thread's messages until the first comes (`firstWithinMs` at most), then, when one
// came, `settleMs` more for a second one, which should not come.
std::vector<std::string> LinksOpened(const BrowserStandIn& browser, DWORD settleMs = 0, DWORD firstWithinMs = 5000);
