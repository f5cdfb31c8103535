// kvt.scr /c on a settings file that cannot be read: what the program's own writer once
// wrote into it is repaired; anything else is kept beside it before OK may replace it
// with the defaults, and is left as it is when no copy can be made.
#include "e2e.h"
#include "res/resource.h"
#include "test_paths.h"
#include "window_text.h"

#include <gtest/gtest.h>

#include <ctime>

namespace {

// The first dialog-class window of the process for which `is` holds (null on time-out).
HWND WaitForDialog(const SaverRun& run, bool (*is)(HWND)) {
    HWND found = nullptr;
    PumpUntil([&] {
        found = run.WaitForWindow("#32770", 0);
        return (found && is(found)) || !run.IsRunning();
    });
    return found && is(found) ? found : nullptr;
}
bool IsMessageBox(HWND w) { return GetDlgItem(w, 0xFFFF) != nullptr; }
bool IsSettingsDialog(HWND w) { return GetDlgItem(w, IDC_CHANNEL_LIST) != nullptr; }

// "kvtini.xml.unreadable-YYYYMMDD-HHMMSS" for `seconds` from now, local time.
std::string CopyName(const std::string& config, int seconds) {
    const std::time_t then = std::time(nullptr) + seconds;
    char stamp[32] = "";
    std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", std::localtime(&then));
    return config + ".unreadable-" + stamp;
}

// The files beside the settings file whose names begin with its name and ".unreadable-".
std::vector<std::string> CopiesOf(const std::string& config) {
    std::vector<std::string> found;
    WIN32_FIND_DATAA entry;
    const HANDLE search = FindFirstFileA((config + ".unreadable-*").c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE) return found;
    const std::string folder = config.substr(0, config.rfind('\\') + 1);
    do found.push_back(folder + entry.cFileName);
    while (FindNextFileA(search, &entry));
    FindClose(search);
    return found;
}

}  // namespace

TEST(UnreadableSettings, AreRepairedOrKeptBesideThemselvesBeforeOkReplacesThem) {
    const std::string channels = ConfigFile(WithChannels(TwoChannels()));
    std::string control = channels;
    control.insert(control.find("/feeds/") + 1, "\x01");  // as a dropped link once left it
    const std::string truncated = channels.substr(0, channels.size() - 20);
    ASSERT_GT(truncated.size(), 512u);
    std::string repaired = control;
    repaired[repaired.find('\x01')] = ' ';
    const struct {
        const char* what;
        std::string file;
        bool diskFull;    // nothing over 512 bytes can be written
        const char* box;  // what the box says, after the path; null when none is shown
        std::string saved;
    } cases[] = {
        {"a control character", control, false, nullptr, repaired},
        {"cut off", channels.substr(0, 300), false, "このファイルは次の名前で残しました。",
         ConfigFile(SaverSettings())},
        {"empty", "", false, nullptr, ConfigFile(SaverSettings())},
        // Cut off still longer than a full disk leaves room for.
        {"cut off on a full disk", truncated, true, "このファイルの写しを作れなかったため", truncated},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        SaverRun run(c.file);
        // Copies an earlier run kept must stay as they are: one for each second of the run.
        std::vector<std::string> earlier;
        if (c.box) {
            for (int s = -1; s < 30; ++s) earlier.push_back(CopyName(run.ConfigPath(), s));
            for (const std::string& name : earlier) ASSERT_TRUE(WriteFileBytes(name, "earlier"));
        }
        ASSERT_TRUE(c.diskFull ? run.StartWithFileSizeLimit("/c", 1) : run.Start("/c"));

        std::string copy;
        if (c.box) {
            HWND box = WaitForDialog(run, IsMessageBox);
            ASSERT_NE(box, nullptr);
            EXPECT_EQ(Text(box), "KVT v1.0 設定");
            const std::string said = Text(GetDlgItem(box, 0xFFFF));
            const std::string start = "設定ファイルを読み込めませんでした。\n" + run.ConfigPath() + "\n\n" + c.box;
            EXPECT_EQ(said.substr(0, start.size()), start);
            EXPECT_NE(said.find("設定の画面は既定の設定で開きます。"), std::string::npos) << said;
            for (const std::string& name : CopiesOf(run.ConfigPath())) {
                if (ReadFileBytes(name) != "earlier") copy = name;
            }
            EXPECT_EQ(copy.empty(), c.diskFull);
            EXPECT_TRUE(copy.empty() || said.find("\n" + copy + "\n") != std::string::npos) << said;
            PostTo(box, WM_COMMAND, IDOK);
        }
        HWND dialog = WaitForDialog(run, IsSettingsDialog);
        ASSERT_NE(dialog, nullptr);
        PostTo(dialog, WM_COMMAND, IDOK);
        if (c.diskFull) {
            HWND failure = WaitForDialog(run, IsMessageBox);
            ASSERT_NE(failure, nullptr);
            EXPECT_EQ(Text(GetDlgItem(failure, 0xFFFF)), "設定を保存できませんでした。\n" + run.ConfigPath());
            PostTo(failure, WM_COMMAND, IDOK);
        }
        EXPECT_TRUE(run.WaitForExit(15000));

        EXPECT_EQ(ReadFileBytes(run.ConfigPath()), c.saved);
        EXPECT_EQ(CopiesOf(run.ConfigPath()).size(), earlier.size() + (copy.empty() ? 0 : 1));
        for (const std::string& name : earlier) EXPECT_EQ(ReadFileBytes(name), "earlier") << name;
        EXPECT_EQ(copy.empty() ? c.file : ReadFileBytes(copy), c.file);
    }
}
