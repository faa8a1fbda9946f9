// Keeping the camera's files across a format, against a fake file system: what is saved, what
// goes back, and what is reported when a copy fails either way.

#include "pages/KeptCardFiles.h"

#include <map>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/DebugOutput.h"

namespace {

constexpr unsigned long ACCESS_DENIED = 5;

class FakeFiles : public cardformat::CardFileSystem {
public:
    std::map<std::wstring, std::string> files;
    std::set<std::wstring> folders;
    std::set<std::wstring> refusedTargets;  // copies onto these fail
    std::set<std::wstring> unreadable;      // neither missing nor readable

    bool IsMissing(const std::wstring& path) override { return !files.count(path) && !unreadable.count(path); }
    unsigned long Copy(const std::wstring& from, const std::wstring& to) override {
        if (refusedTargets.count(to) || !files.count(from)) return ACCESS_DENIED;
        files[to] = files[from];
        return 0;
    }
    bool SameBytes(const std::wstring& first, const std::wstring& second) override {
        return files.count(first) && files.count(second) && files[first] == files[second];
    }
    void MakeFolder(const std::wstring& path) override { folders.insert(path); }
};

const std::wstring CARD = L"E:\\";
const std::wstring PROGRAM = L"C:\\tools\\";

struct Lines {
    std::vector<std::wstring> lines;
    platform::ScopedDebugSink sink{[this](std::wstring_view line) { lines.emplace_back(line); }};
};

TEST(KeptCardFiles, SavesWhatIsOnTheCardAndPutsOnlyThatBack) {
    FakeFiles fs;
    fs.files[CARD + L"setup.cfg"] = "setup";
    fs.files[CARD + L"lang\\ver.dat"] = "version";
    fs.files[PROGRAM + L"default.cfg"] = "another card's";  // left by an earlier format
    cardformat::KeptCardFiles kept(fs, CARD, PROGRAM);

    ASSERT_TRUE(kept.Save()) << "a file that was never on the card is no failure";
    EXPECT_EQ(fs.files[PROGRAM + L"setup.cfg"], "setup");
    EXPECT_EQ(fs.files[PROGRAM + L"ver.dat"], "version");
    EXPECT_TRUE(kept.AllStillOnCard());

    fs.files.erase(CARD + L"setup.cfg");  // the format erases the card
    fs.files.erase(CARD + L"lang\\ver.dat");
    EXPECT_FALSE(kept.AllStillOnCard());
    ASSERT_TRUE(kept.Restore());
    EXPECT_EQ(fs.folders, (std::set<std::wstring>{CARD, CARD + L"lang\\"}));
    EXPECT_EQ(fs.files[CARD + L"setup.cfg"], "setup");
    EXPECT_EQ(fs.files[CARD + L"lang\\ver.dat"], "version");
    EXPECT_FALSE(fs.files.count(CARD + L"default.cfg")) << "another card's copy must not land on this one";
    EXPECT_TRUE(kept.AllStillOnCard());
}

TEST(KeptCardFiles, ACopyThatFailsIsReportedAndTheOthersAreStillSaved) {
    FakeFiles fs;
    fs.files[CARD + L"setup.cfg"] = "setup";
    fs.files[CARD + L"default.cfg"] = "default";
    fs.refusedTargets.insert(PROGRAM + L"setup.cfg");
    fs.unreadable.insert(CARD + L"lang\\ver.dat");  // present but unreadable: must not be skipped
    cardformat::KeptCardFiles kept(fs, CARD, PROGRAM);
    Lines log;

    EXPECT_FALSE(kept.Save());
    EXPECT_EQ(fs.files[PROGRAM + L"default.cfg"], "default");
    ASSERT_EQ(log.lines.size(), 2u);
    EXPECT_EQ(log.lines[0], L"Format: cannot save [E:\\setup.cfg] to [C:\\tools\\setup.cfg] (error 5)\n");
    EXPECT_EQ(log.lines[1], L"Format: cannot save [E:\\lang\\ver.dat] to [C:\\tools\\ver.dat] (error 5)\n");
}

TEST(KeptCardFiles, ACopyBackRefusedFailsTheRestoreButTheOthersGoBack) {
    FakeFiles fs;
    fs.files[CARD + L"setup.cfg"] = "setup";
    fs.files[CARD + L"default.cfg"] = "default";
    cardformat::KeptCardFiles kept(fs, CARD, PROGRAM);
    ASSERT_TRUE(kept.Save());
    fs.files.erase(CARD + L"setup.cfg");
    fs.files.erase(CARD + L"default.cfg");
    fs.refusedTargets.insert(CARD + L"setup.cfg");
    Lines log;

    EXPECT_FALSE(kept.Restore());
    EXPECT_EQ(fs.files[CARD + L"default.cfg"], "default");
    EXPECT_EQ(fs.files[PROGRAM + L"setup.cfg"], "setup") << "the copy stays in the program's folder";
    ASSERT_EQ(log.lines.size(), 1u);
    EXPECT_EQ(log.lines[0], L"Format: cannot restore [E:\\setup.cfg] from [C:\\tools\\setup.cfg] (error 5)\n");
    EXPECT_FALSE(kept.AllStillOnCard());
}

TEST(KeptCardFiles, FilesAFailedFormatNeverTouchedCountAsStillOnTheCard) {
    FakeFiles fs;
    fs.files[CARD + L"default.cfg"] = "default";
    cardformat::KeptCardFiles kept(fs, CARD, PROGRAM);
    ASSERT_TRUE(kept.Save());
    EXPECT_TRUE(kept.AllStillOnCard()) << "files that were never there are not asked for";
    fs.files[CARD + L"default.cfg"] = "changed";
    EXPECT_FALSE(kept.AllStillOnCard());
}

}  // namespace
