#pragma once
// The loopback feed server (tests/server/feed_server.py) that CTest starts
// before the Windows tests and stops after them, and the set-up every test
// of the feed layer needs.
#include <string>

// "http://127.0.0.1:PORT" + path; empty when the server's port file is missing.
std::string FeedServerUrl(const std::string& path);
// "https://localhost:HTTPS_PORT" + path: the same server over TLS, with a certificate
// that only its own throwaway authority signed; empty when the server is not running.
std::string FeedServerHttpsUrl(const std::string& path);
// That authority's certificate (DER), for a test to trust in its own Wine prefix.
std::string FeedServerAuthority();
// Windows path of a feed the server generated at start ("items-100000.xml").
std::string GeneratedFeedPath(const std::string& name);
// A feed address that never answers for `seconds`, with a tag of its own, so that
// FeedServerWasAsked tells when a request for it came.
std::string HangingFeedUrl(int seconds = 60);
bool FeedServerWasAsked(const std::string& hangingUrl);
// Every path the server was asked for since it started, one per line.
std::string FeedServerRequests();
// Windows path of a committed fixture ("rss2.xml").
std::string FixturePath(const std::string& name);

// OLE and COM on this thread and the "Japanese" locale, as the program sets
// them up at start. Safe to call more than once.
void InitFeedEnvironment();
