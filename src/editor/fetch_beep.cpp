#include "editor/fetch_beep.h"

BeepFunction fetchBeep = MessageBeep;
