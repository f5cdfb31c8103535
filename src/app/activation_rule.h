#pragma once
// Ends the saver when it loses the focus to another window, as the platform's own
// savers do, but only once it has had the focus: a saver started without it must
// not end at once.

class ActivationRule {
public:
    // Takes one activation report (WM_ACTIVATEAPP or WM_ACTIVATE); true when it is
    // the loss of a focus the saver had, which ends the saver.
    bool Ends(bool active);

private:
    bool beenActive_ = false;
};
