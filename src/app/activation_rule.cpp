#include "app/activation_rule.h"

bool ActivationRule::Ends(bool active) {
    if (active) beenActive_ = true;
    return !active && beenActive_;
}
