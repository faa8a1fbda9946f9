// The real main window over cards with bad or missing files: it still comes up with its three
// pages, shows and repaints each of them, survives "Initialize", closes with Cancel without
// touching the card, and leaves no handle behind.

#include <windows.h>

#include <algorithm>
#include <functional>
#include <map>
#include <optional>

#include <gtest/gtest.h>

#include "localisation/LanguageSelection.h"
#include "localisation/LanguageTable.h"
#include "pages/PageControlIds.h"
#include "record/SettingFields.h"
#include "tests/support/RecordBuilder.h"
#include "tests/win32/MainWindowDriver.h"
#include "tests/win32/ModalAnswerer.h"

using namespace testsupport;

namespace {

namespace fs = std::filesystem;

SetupConfig SampleSetup() { return RecordFromBytes(ReadBytes(SampleCardFile(L"setup.cfg"))); }

void WriteSetup(const TempFolder& card, const SetupConfig& record) {
    WriteBytes(card / L"setup.cfg", RecordBytes(record));
}

void WriteCodes(const TempFolder& card, const std::string& codes) {
    WriteText(card / L"lang\\ver.dat", "[Ver] : 1.2.0\r\n[Code] : " + codes + "\r\n[Device] : R7Q2\r\n");
}

struct BadCard {
    const char* name;
    // Spoils the sample card copied into the folder.
    std::function<void(const TempFolder&)> spoil;
    // "no default.cfg" boxes: at start-up and again for "Initialize".
    int missingDefaultsBoxes = 0;
    // The system page's time zone list is emptied before "Initialize" reloads it.
    bool emptyZoneCatalogue = false;
    // Items of the camera language list; none: not checked.
    std::optional<int> languages;
};

void PrintTo(const BadCard& card, std::ostream* out) { *out << card.name; }

const BadCard BAD_CARDS[] = {
    {"EveryPageFieldOutOfRange",
     [](const TempFolder& card) {
         Bytes bytes = RecordBytes(SampleSetup());
         for (const SettingField& field : SETTING_FIELDS) {
             std::fill_n(bytes.begin() + static_cast<std::ptrdiff_t>(field.offset), field.width, uint8_t{0xFF});
         }
         WriteBytes(card / L"setup.cfg", bytes);
     }},
    {"EmptyTimeZoneCatalogue", [](const TempFolder&) {}, 0, true},
    {"LanguageIndexBeyondTheList",
     [](const TempFolder& card) {
         SetupConfig record = SampleSetup();
         record.language_index = 7;
         WriteSetup(card, record);
         WriteCodes(card, "ko xx-unknown fr");
     },
     0, false, 3},
    {"LanguageIndexOnAnUnknownCode",
     [](const TempFolder& card) {
         SetupConfig record = SampleSetup();
         record.language_index = 1;
         WriteSetup(card, record);
         WriteCodes(card, "ko xx-unknown fr");
     },
     0, false, 3},
    {"NoVersionFile", [](const TempFolder& card) { fs::remove(card / L"lang\\ver.dat"); }, 0, false, 0},
    {"NoSettingsNoDefaults",
     [](const TempFolder& card) {
         fs::remove(card / L"setup.cfg");
         fs::remove(card / L"default.cfg");
     },
     2},
    {"EmptySettingsFile", [](const TempFolder& card) { WriteBytes(card / L"setup.cfg", {}); }},
    {"ShortSettingsFile",
     [](const TempFolder& card) {
         Bytes bytes = RecordBytes(SampleSetup());
         bytes.resize(100);
         WriteBytes(card / L"setup.cfg", bytes);
     }},
};

// Every file of the card folder with its bytes.
std::map<fs::path, Bytes> CardFiles(const TempFolder& card) {
    std::map<fs::path, Bytes> files;
    for (const auto& entry : fs::recursive_directory_iterator(card.Path())) {
        if (entry.is_regular_file()) files[fs::relative(entry.path(), card.Path())] = ReadBytes(entry.path());
    }
    return files;
}

std::wstring EnglishTitle() {
    EXPECT_TRUE(LoadLanguage(L"english"));
    return GetLangText(L"IDS_STRING101");
}

class SettingDlgBadCard : public ::testing::TestWithParam<BadCard> {
protected:
    void TearDown() override { FreeLiveRecord(); }
};

TEST_P(SettingDlgBadCard, WindowComesUpAndClosesCleanly) {
    const BadCard& bad = GetParam();
    TempFolder card;
    CopySampleCard(card);
    bad.spoil(card);
    const auto filesBefore = CardFiles(card);
    ScopedViewerRunning noViewer(false);
    const std::wstring englishTitle = EnglishTitle();

    const LiveCounts beforeWindow = LiveCounts::Now();
    // OK for every message box (the main window, which the answerer also finds, has no OK).
    ModalAnswerer boxes(std::vector<int>(static_cast<size_t>(bad.missingDefaultsBoxes) + 1, IDOK));
    std::wstring title;
    int languages = -1;
    bool pagesThere = false;

    const INT_PTR result = MainWindowRun::Run(card.CardRoot(), [&](CSettingDlg& dialog) {
        HWND window = dialog.GetSafeHwnd();
        EXPECT_TRUE(IsWindowVisible(window));
        wchar_t text[128] = {};
        GetWindowTextW(window, text, 128);
        title = text;
        const MainWindowPages pages(window);
        pagesThere = pages.AllThere();
        if (!pagesThere) return;
        HWND systemPage = pages.system->GetSafeHwnd();
        languages = static_cast<int>(SendDlgItemMessageW(systemPage, IDC_SYS_LANGUAGE_LIST, CB_GETCOUNT, 0, 0));

        auto showEveryPage = [&] {
            for (int tab : {CSettingDlg::ID_TAB_RECORD, CSettingDlg::ID_TAB_SYSTEM, CSettingDlg::ID_TAB_CARD}) {
                ClickSkinnedButton(window, tab);
                RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
            }
        };
        showEveryPage();
        if (bad.emptyZoneCatalogue) {
            pages.system->TimeZoneCatalogue().LoadCatalogue({}, [](const std::wstring&) {
                return std::vector<TimeZoneValue>{};
            });
        }
        ClickSkinnedButton(window, CSettingDlg::ID_INITIALIZE);
        showEveryPage();
        if (bad.emptyZoneCatalogue) {
            EXPECT_EQ(SendDlgItemMessageW(systemPage, IDC_SYS_ZONE_LIST, CB_GETCOUNT, 0, 0), 0);
            EXPECT_EQ(pages.system->GetTimeZoneIndex(), -1);
            // A pick from the empty list changes nothing.
            const Bytes record = RecordBytes(*g_pSetupConfig);
            SendMessageW(systemPage, WM_COMMAND, MAKEWPARAM(IDC_SYS_ZONE_LIST, CBN_SELCHANGE),
                         reinterpret_cast<LPARAM>(GetDlgItem(systemPage, IDC_SYS_ZONE_LIST)));
            EXPECT_EQ(RecordBytes(*g_pSetupConfig), record);
        }
    });

    EXPECT_EQ(result, IDCANCEL);
    EXPECT_TRUE(pagesThere) << "the window has its three pages";
    EXPECT_EQ(title, englishTitle) << "English: the card's own language or the fallback";
    if (bad.languages) {
        EXPECT_EQ(languages, *bad.languages);
    }
    // The answerer sees the main window too (a dialog window as well), with no message text.
    std::vector<std::wstring> messages;
    for (const ShownModal& box : boxes.Shown()) {
        if (!box.text.empty()) messages.push_back(box.text);
    }
    EXPECT_EQ(messages, std::vector<std::wstring>(static_cast<size_t>(bad.missingDefaultsBoxes),
                                                  L"no default.cfg :" + card.CardRoot() + L"default.cfg"));
    EXPECT_EQ(LiveCounts::Now(), beforeWindow) << "handles outlive the window";
    EXPECT_EQ(CardFiles(card), filesBefore) << "Cancel leaves the card as it was";
}

INSTANTIATE_TEST_SUITE_P(Cards, SettingDlgBadCard, ::testing::ValuesIn(BAD_CARDS),
                         [](const ::testing::TestParamInfo<BadCard>& card) { return std::string(card.param.name); });

}  // namespace
