#pragma once
// Fetches off the caller's thread. Each fetch runs on a worker thread of its own,
// in its own COM apartment with its own XML object, and hands back a plain
// ChannelContent: a silent server can hold a fetch for minutes, and the window
// that asked must keep answering its user meanwhile.
#include "common/kernel_holders.h"
#include "config/settings.h"
#include "feed/fetch_limit.h"

#include <windows.h>

#include <memory>
#include <string>

class FetchJob {
public:
    // Starts fetching `url` on a new thread. When the fetch ends, the job is done and,
    // when `notify` is given, `message` is posted to it with `tag` as wParam. The
    // worker keeps the job alive until it ends, whoever else lets go of it.
    static std::shared_ptr<FetchJob> Start(const std::string& url, HWND notify = nullptr, UINT message = 0,
                                           WPARAM tag = 0);
    ~FetchJob();
    FetchJob(const FetchJob&) = delete;
    FetchJob& operator=(const FetchJob&) = delete;

    // Signalled when the fetch has ended.
    HANDLE DoneEvent() const { return done_.Get(); }
    bool Done() const { return WaitForSingleObject(done_.Get(), 0) == WAIT_OBJECT_0; }
    // The result once done; before that, a failed fetch begun when the job started.
    ChannelContent Take();

private:
    FetchJob(const std::string& url, HWND notify, UINT message, WPARAM tag);
    static DWORD WINAPI Run(LPVOID self);
    void Finish();

    std::string url_;
    HWND notify_;
    UINT message_;
    WPARAM tag_;
    KernelHandle done_;
    std::time_t started_;
    ChannelContent content_;  // written by the worker before done_ is set
};

// Fetches `url` for a dialog: waits at most kFetchTimeoutSeconds for the worker, keeping
// the thread's windows painted but disabled, input discarded and the wait cursor
// shown. After the time-out the fetch counts as failed and its late result is dropped.
ChannelContent FetchWhileWaiting(const std::string& url, DWORD timeoutMs = kFetchTimeoutSeconds * 1000);

// Worker threads still running, hung fetches included.
long RunningFetchWorkers();
