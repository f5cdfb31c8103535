#pragma once
// Opens the link the user chose with Enter, one second after the saver has gone.
void OpenChosenLink();

// True when the user's normal desktop takes input. A browser started anywhere else
// (the locked workstation, the logon desktop of a system account) runs where the user
// cannot see it, or with rights the user does not have.
bool OnUserDesktop();
