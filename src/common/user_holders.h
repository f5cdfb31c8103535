#pragma once
// Owning holders for USER32 objects: a menu loaded from the resources, a desktop.
#include "common/unique_handle.h"

#include <windows.h>

struct MenuTraits {
    using Handle = HMENU;
    static BOOL Release(HMENU menu) { return DestroyMenu(menu); }
};
using Menu = UniqueHandle<MenuTraits>;

struct DesktopTraits {
    using Handle = HDESK;
    static BOOL Release(HDESK desktop) { return CloseDesktop(desktop); }
};
using Desktop = UniqueHandle<DesktopTraits>;
