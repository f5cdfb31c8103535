#include "feed/fetch_worker.h"

#include "common/ole_holders.h"
#include "common/wait_cursor.h"
#include "feed/feed_parser.h"

#include <objbase.h>

#include <ctime>
#include <vector>

namespace {
volatile LONG runningWorkers = 0;

bool IsInput(UINT message) {
    return (message >= WM_KEYFIRST && message <= WM_KEYLAST) || (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) ||
           (message >= WM_NCMOUSEMOVE && message <= WM_NCXBUTTONDBLCLK);
}

BOOL CALLBACK DisableIfEnabled(HWND window, LPARAM param) {
    if (IsWindowVisible(window) && IsWindowEnabled(window)) {
        reinterpret_cast<std::vector<HWND>*>(param)->push_back(window);
        EnableWindow(window, FALSE);
    }
    return TRUE;
}

// The thread's top-level windows are disabled for the wait and enabled again after,
// with the keyboard focus back where it was.
class ThreadWindowsDisabled {
public:
    ThreadWindowsDisabled() : focus_(GetFocus()) {
        EnumThreadWindows(GetCurrentThreadId(), DisableIfEnabled, reinterpret_cast<LPARAM>(&disabled_));
    }
    ~ThreadWindowsDisabled() {
        for (HWND window : disabled_) EnableWindow(window, TRUE);
        if (focus_ && IsWindow(focus_) && IsWindowEnabled(focus_)) SetFocus(focus_);
    }
    ThreadWindowsDisabled(const ThreadWindowsDisabled&) = delete;
    ThreadWindowsDisabled& operator=(const ThreadWindowsDisabled&) = delete;

private:
    HWND focus_;
    std::vector<HWND> disabled_;
};
}  // namespace

FetchJob::FetchJob(const std::string& url, HWND notify, UINT message, WPARAM tag)
    : url_(url),
      notify_(notify),
      message_(message),
      tag_(tag),
      done_(CreateEventA(nullptr, TRUE, FALSE, nullptr)),
      started_(std::time(nullptr)) {}

FetchJob::~FetchJob() = default;

std::shared_ptr<FetchJob> FetchJob::Start(const std::string& url, HWND notify, UINT message, WPARAM tag) {
    std::shared_ptr<FetchJob> job(new FetchJob(url, notify, message, tag));
    // The worker's own reference, which Run takes over.
    auto workerRef = std::make_unique<std::shared_ptr<FetchJob>>(job);
    InterlockedIncrement(&runningWorkers);
    const KernelHandle thread(job->done_ ? CreateThread(nullptr, 0, Run, workerRef.get(), 0, nullptr) : nullptr);
    if (thread) {
        workerRef.release();
    } else {
        // No thread: the fetch fails at once, as if it had.
        job->content_.fetched_at = job->started_;
        job->Finish();
    }
    return job;
}

DWORD WINAPI FetchJob::Run(LPVOID self) {
    std::unique_ptr<std::shared_ptr<FetchJob>> ref(static_cast<std::shared_ptr<FetchJob>*>(self));
    FetchJob& job = **ref;
    {
        const ComApartment apartment;
        job.content_ = FetchChannel(job.url_.c_str());
    }
    job.Finish();
    return 0;
}

void FetchJob::Finish() {
    if (done_) SetEvent(done_.Get());
    if (notify_) PostMessageA(notify_, message_, tag_, 0);
    InterlockedDecrement(&runningWorkers);
}

ChannelContent FetchJob::Take() {
    if (Done()) return std::move(content_);
    ChannelContent failed;
    failed.fetched_at = started_;
    return failed;
}

ChannelContent FetchWhileWaiting(const std::string& url, DWORD timeoutMs) {
    std::shared_ptr<FetchJob> job = FetchJob::Start(url);
    const WaitCursor wait;
    {
        ThreadWindowsDisabled disabled;
        const DWORD start = GetTickCount();
        HANDLE done = job->DoneEvent();
        bool quit = false;
        while (!quit) {
            const DWORD elapsed = GetTickCount() - start;
            if (elapsed >= timeoutMs) break;
            const DWORD woke = MsgWaitForMultipleObjects(1, &done, FALSE, timeoutMs - elapsed, QS_ALLINPUT);
            if (woke != WAIT_OBJECT_0 + 1) break;  // done, timed out or failed
            MSG message;
            while (!quit && PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
                if (message.message == WM_QUIT) {
                    PostQuitMessage(int(message.wParam));  // for the loop that owns it; the fetch is given up
                    quit = true;
                } else if (!IsInput(message.message)) {
                    TranslateMessage(&message);
                    DispatchMessageA(&message);
                }
            }
            wait.Show();
        }
    }
    return job->Take();
}

long RunningFetchWorkers() { return InterlockedCompareExchange(&runningWorkers, 0, 0); }
