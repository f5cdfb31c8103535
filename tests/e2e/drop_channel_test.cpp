// A user drags a feed file from another program onto the settings dialog's
// channel list: the real kvt.scr /c, a real OLE drag from this process driven by
// real mouse input, and the kvtini.xml saved after OK.
#include "e2e.h"
#include "feed_server.h"
#include "res/resource.h"
#include "test_data_object.h"
#include "test_paths.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace {
// Drops when the left button comes up; counts the drag loop's feedback calls and keeps
// the effect the target under the mouse offered.
struct ButtonDropSource final : IDropSource {
    std::atomic<int> feedbacks{0};
    std::atomic<DWORD> lastEffect{DROPEFFECT_NONE};

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
        *out = IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDropSource) ? this : nullptr;
        return *out ? S_OK : E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE QueryContinueDrag(BOOL escape, DWORD keys) override {
        if (escape) return DRAGDROP_S_CANCEL;
        return keys & MK_LBUTTON ? S_OK : DRAGDROP_S_DROP;
    }
    HRESULT STDMETHODCALLTYPE GiveFeedback(DWORD effect) override {
        lastEffect = effect;
        ++feedbacks;
        return DRAGDROP_S_USEDEFAULTCURSORS;
    }
};

void Mouse(DWORD flags, int x = 0, int y = 0) {
    INPUT in = {};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = flags;
    if (flags & MOUSEEVENTF_MOVE) {
        in.mi.dwFlags |= MOUSEEVENTF_ABSOLUTE;
        in.mi.dx = x * 65535 / (GetSystemMetrics(SM_CXSCREEN) - 1);
        in.mi.dy = y * 65535 / (GetSystemMetrics(SM_CYSCREEN) - 1);
    }
    SendInput(1, &in, sizeof in);
}
}  // namespace

TEST(DropChannel, AFeedFileDraggedOntoTheListIsAddedSelectedAndSavedWithItsTitle) {
    SaverSettings before = WithChannels({Channel("既存", "http://127.0.0.1:9/0.rdf", false)});
    SaverRun run(ConfigFile(before));
    HWND dialog = OpenSettings(run);
    ASSERT_NE(dialog, nullptr);
    HWND list = GetDlgItem(dialog, IDC_CHANNEL_LIST);
    RECT r;
    GetWindowRect(list, &r);
    const int x = (r.left + r.right) / 2, y = (r.top + r.bottom) / 2;

    const std::string file = FixturePath("rss2.xml");
    OneFormatData data(CF_HDROP, FileDropBlock({file}));
    ButtonDropSource source;
    OleInitialize(nullptr);
    Mouse(MOUSEEVENTF_MOVE, x - 200, y);
    Mouse(MOUSEEVENTF_LEFTDOWN);
    // The drag runs its own loop here. Another thread, the hand, waits until the loop has
    // begun, moves onto the list, and lets go once the list has offered to take the file.
    std::thread hand([&] {
        const auto waitFor = [](const auto& done) {
            for (const DWORD start = GetTickCount(); !done() && GetTickCount() - start < 5000;) Sleep(5);
        };
        waitFor([&] { return source.feedbacks > 0; });
        for (int step = 1; step <= 10; ++step) Mouse(MOUSEEVENTF_MOVE, x - 200 + 20 * step, y);
        waitFor([&] { return (source.lastEffect & (DROPEFFECT_COPY | DROPEFFECT_LINK)) != 0; });
        Mouse(MOUSEEVENTF_LEFTUP);
    });
    DWORD effect = 0;
    const HRESULT result = DoDragDrop(&data, &source, DROPEFFECT_COPY | DROPEFFECT_LINK, &effect);
    hand.join();
    EXPECT_EQ(result, DRAGDROP_S_DROP);
    EXPECT_NE(effect & (DROPEFFECT_COPY | DROPEFFECT_LINK), 0u);
    PumpUntil([&] { return SendMessageA(list, LVM_GETITEMCOUNT, 0, 0) == 2; }, 5000);

    ASSERT_EQ(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0), 2);
    EXPECT_EQ(SendMessageA(list, LVM_GETNEXTITEM, WPARAM(-1), LVNI_SELECTED), 1) << "the new row is selected";
    CaptureScreen().SaveBmp(BuildPath("e2e-dropped-channel.bmp"));

    PostTo(dialog, WM_COMMAND, IDOK);
    DWORD code = 99;
    ASSERT_TRUE(run.WaitForExit(15000, &code));
    EXPECT_EQ(code, 1u);
    SaverSettings after = before;
    after.sites.push_back({"Tom & Jerry ニュース", file, "今日の <見出し>", true, {}});
    EXPECT_EQ(ReadFileBytes(run.ConfigPath()), ConfigFile(after));
    OleUninitialize();
}
