#pragma once
// Makes kvt_link_recorder.exe the handler of http and https addresses for the
// life of the object, so a test sees every link the program hands to the shell.
#include <string>
#include <vector>

class BrowserStandIn {
public:
    BrowserStandIn();
    ~BrowserStandIn();  // puts the previous handlers back
    BrowserStandIn(const BrowserStandIn&) = delete;
    BrowserStandIn& operator=(const BrowserStandIn&) = delete;

    // The addresses opened so far, in order.
    std::vector<std::string> Links() const;

private:
    std::string previous_[2];
    bool hadPrevious_[2] = {false, false};
};
