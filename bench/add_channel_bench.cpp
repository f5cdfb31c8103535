// Benchmark, not a test: AddChannelByUrl on a site list of 20 feeds served by the
// loopback feed server, into a settings dialog that already lists 180 channels
// (so the list ends at 200), and the list rebuild alone at that size.
// Usage: kvt_add_channel_bench BASE_URL FOLDER   (BASE_URL "http://127.0.0.1:PORT",
// FOLDER a Windows folder for the site list). Prints Markdown table rows.
#include "app/shell_state.h"
#include "config/settings.h"
#include "editor/fetch_beep.h"
#include "res/resource.h"
#include "settings/channel_list.h"
#include "settings/settings_dialog.h"
#include "editor/add_channel.h"

#include <windows.h>
#include <commctrl.h>
#include <ole2.h>

#include <clocale>
#include <cstdio>
#include <string>

namespace {
double Now() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return 1000.0 * static_cast<double>(t.QuadPart) / static_cast<double>(frequency.QuadPart);
}

BOOL WINAPI Silent(UINT) { return TRUE; }

HWND OpenDialog(int channels) {
    saverSettings = SaverSettings();
    for (int i = 0; i < channels; ++i)
        saverSettings.sites.push_back(
            {"既存 " + std::to_string(i), "http://127.0.0.1:9/" + std::to_string(i), "説明", i % 2 == 0, {}});
    HWND dialog = CreateDialogParamA(appInstance, MAKEINTRESOURCEA(IDD_SETTINGS), nullptr, SettingsDialogProc, 0);
    UpdateWindow(dialog);
    return dialog;
}
}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: kvt_add_channel_bench BASE_URL FOLDER\n");
        return 2;
    }
    OleInitialize(nullptr);
    std::setlocale(LC_ALL, "Japanese");
    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_LISTVIEW_CLASSES | ICC_UPDOWN_CLASS | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&icc);
    appInstance = GetModuleHandleA(nullptr);
    fetchBeep = Silent;

    const int kSites = 20, kBefore = 180;
    std::string xml = "<?xml version=\"1.0\"?>\n<kvtini>\n";
    for (int i = 0; i < kSites; ++i)
        xml += "<site><link>" + std::string(argv[1]) + "/feeds/rss2.xml?n=" + std::to_string(i) + "</link></site>\n";
    xml += "</kvtini>\n";
    const std::string siteList = std::string(argv[2]) + "\\bench-sites.xml";
    FILE* f = std::fopen(siteList.c_str(), "wb");
    if (!f) return 1;
    std::fwrite(xml.data(), 1, xml.size(), f);
    std::fclose(f);

    std::printf("| runs | sites | rows after | total ms | ms per site | rebuild ms at %d rows | rebuild share |\n",
                kBefore + kSites);
    std::printf("|---:|---:|---:|---:|---:|---:|---:|\n");
    for (int run = 1; run <= 3; ++run) {
        HWND dialog = OpenDialog(kBefore);
        HWND list = GetDlgItem(dialog, IDC_CHANNEL_LIST);
        double start = Now();
        AddChannelByUrl(list, siteList.c_str());
        const double total = Now() - start;
        const int rows = int(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
        // The rebuild each site costs, measured alone on the final list, repainted as after each site.
        start = Now();
        for (int i = 0; i < kSites; ++i) {
            FillChannelList(list);
            UpdateWindow(list);
        }
        const double rebuild = (Now() - start) / kSites;
        std::printf("| %d | %d | %d | %.0f | %.1f | %.2f | %.1f %% |\n", run, kSites, rows, total, total / kSites,
                    rebuild, 100.0 * rebuild * kSites / total);
        DestroyWindow(dialog);
    }
    DeleteFileA(siteList.c_str());
    OleUninitialize();
    return 0;
}
