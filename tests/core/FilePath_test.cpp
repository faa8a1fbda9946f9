// Card paths between the core's wide text and the file system: names outside ASCII, and on
// Linux names that are not UTF-8 at all, reach the same file and come back unchanged.

#include "platform/FilePath.h"

#include <gtest/gtest.h>

#include "record/CardSession.h"
#include "tests/support/RecordBuilder.h"
#include "tests/support/TestFiles.h"

using namespace testsupport;
namespace fs = std::filesystem;

namespace {

TEST(FilePath, WideTextComesBackUnchanged) {
    for (const std::wstring& text : {std::wstring(L"plain/setup.cfg"), std::wstring(L"caf\u00E9 \u00FC/Karte"),
                                     std::wstring(L"\uCE74\uB4DC"), std::wstring(L"\U0001F697 car")}) {
        EXPECT_EQ(platform::PathWide(platform::WidePath(text)), text);
    }
}

#ifndef _WIN32
TEST(FilePath, AnyBytesOfALinuxNameComeBackUnchanged) {
    for (const std::string bytes : {"caf\xC3\xA9", "raw\xFF\xFE", "half \xE2\x82", "\xC0\xAF overlong", "\xED\xA0\x80"}) {
        const fs::path path(bytes);
        EXPECT_EQ(platform::WidePath(platform::PathWide(path)).native(), bytes);
    }
    EXPECT_EQ(platform::WidePath(L"caf\u00E9").native(), "caf\xC3\xA9");  // UTF-8 on disk
}
#endif

TEST(FilePath, ACardSessionReadsAndSavesInAFolderNamedOutsideAscii) {
    TempFolder folder;
    const fs::path card = folder.Path() / platform::WidePath(L"J\u00FCrgen \uCE74\uB4DC");
    fs::create_directories(card);
    WriteBytes(card / "setup.cfg", RecordBytes(SampleRecord()));

    CCardSession session(platform::PathWide(card) + static_cast<wchar_t>(fs::path::preferred_separator));
    ASSERT_EQ(session.ReadRecord(), LoadResult::Loaded);
    session.Record().parking_timer_hours = 48;
    EXPECT_EQ(session.SaveRecord(), SaveResult::Saved);
    EXPECT_EQ(RecordFromBytes(ReadBytes(card / "setup.cfg")).parking_timer_hours, 48);
}

}  // namespace
