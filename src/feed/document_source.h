#pragma once
// The bytes of a document named by a URL or a file path, fetched by the platform and
// never more than the intake takes.
#include <windows.h>

#include <string>

// What a fetch or read that stopped at the size limit reports.
constexpr HRESULT kDocumentTooLarge = HRESULT_FROM_WIN32(ERROR_FILE_TOO_LARGE);

// Reads the document behind `location` into `bytes`. A URL (http:, https:, file: and
// whatever else the platform's URL monikers know) is fetched through a URL moniker, so
// the system's proxy, certificate and sign-in settings apply; the server is asked
// again each time, never answered from the cache, and nothing is ever shown to the
// user. Anything else is read as a file path. More than kMaxDocumentBytes stops the
// transfer with kDocumentTooLarge. 0 on success, else the failing call's status.
HRESULT ReadDocument(const char* location, std::string* bytes);
