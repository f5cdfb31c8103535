#pragma once
// Show mode runs once per session: the named mutex "Tavelo's Rss Screensaver"
// is held for the life of the process.
bool AcquireInstanceGuard();
