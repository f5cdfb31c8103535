#pragma once
// Which item links may be handed to the shell. Links come from whoever publishes
// a feed; given to the shell unchecked they could start programs, open local
// files or reach network shares. Only a plain web address is opened.
#include <cstddef>

constexpr std::size_t kLinkBufferSize = 1024;  // at most 1023 bytes of link and a zero

// Copies the link, without surrounding blanks, into `out` (kLinkBufferSize bytes) and
// returns true when it may be opened: it starts with "http://" or "https://" (in any
// letter case), fits the buffer whole (a cut address could point elsewhere), and has
// no control characters, spaces or quotation marks that could break out of the
// browser's command line. Otherwise `out` becomes empty and the result is false.
bool AcceptLink(const char* link, char* out);

// True for the user's normal desktop: the input desktop is "Default" and this process
// runs in the interactive window station "WinSta0" (names compared without regard to
// case). A null name, one that could not be read, is never the user's desktop.
bool IsUserDesktop(const char* windowStation, const char* inputDesktop);
