// The clock file that sets the camera's clock.

#include "record/ClockFile.h"

#include <cstdlib>

#include <gtest/gtest.h>

#include "platform/TimeZoneBias.h"
#include "record/CardFileAccess.h"
#include "record/CardFileManager.h"
#include <filesystem>
#include "tests/support/TestFiles.h"

using namespace testsupport;

namespace {

ClockTime At(uint16_t year, uint16_t month, uint16_t day, uint16_t hour, uint16_t minute, uint16_t second) {
    ClockTime time{};
    time.wYear = year;
    time.wMonth = month;
    time.wDay = day;
    time.wHour = hour;
    time.wMinute = minute;
    time.wSecond = second;
    return time;
}

TEST(FormatClockLine, WritesDateTimeAndOffset) {
    EXPECT_EQ(FormatClockLine(At(2014, 5, 6, 13, 45, 7), 540), "2014,05,06,13,45,07,+0900");
    EXPECT_EQ(FormatClockLine(At(999, 12, 31, 0, 0, 5), 0), " 999,12,31,00,00,05,-0000");
    EXPECT_EQ(FormatClockLine(At(2024, 1, 2, 3, 4, 5), -210), "2024,01,02,03,04,05,-0330");
    EXPECT_EQ(FormatClockLine(At(2024, 1, 2, 3, 4, 5), 345), "2024,01,02,03,04,05,+0545");
    EXPECT_EQ(FormatClockLine(At(65535, 65535, 65535, 65535, 65535, 65535), -720),
              "65535,65535,65535,65535,65535,65535,-1200");
}

TEST(ParseClockLine, ReadsTheSixFieldsAndIgnoresTheOffset) {
    ClockTime time{};
    time.wDayOfWeek = 3;
    time.wMilliseconds = 250;
    ParseClockLine("2014,5,6,13,45,7,+0900", time);
    EXPECT_EQ(time.wYear, 2014);
    EXPECT_EQ(time.wMonth, 5);
    EXPECT_EQ(time.wDay, 6);
    EXPECT_EQ(time.wHour, 13);
    EXPECT_EQ(time.wMinute, 45);
    EXPECT_EQ(time.wSecond, 7);
    EXPECT_EQ(time.wDayOfWeek, 3) << "not part of the file";
    EXPECT_EQ(time.wMilliseconds, 250) << "not part of the file";
}

TEST(ParseClockLine, MalformedFieldsReadAsZero) {
    ClockTime time = At(1, 1, 1, 1, 1, 1);
    ParseClockLine(" 2014 ,x5,,13abc", time);
    EXPECT_EQ(time.wYear, 2014);
    EXPECT_EQ(time.wMonth, 0);
    EXPECT_EQ(time.wDay, 0);
    EXPECT_EQ(time.wHour, 13);
    EXPECT_EQ(time.wMinute, 0);
    EXPECT_EQ(time.wSecond, 0);

    ParseClockLine("99999999999999999999,-5", time);
    EXPECT_EQ(time.wYear, 65535) << "a huge number saturates instead of wrapping";
    EXPECT_EQ(time.wMonth, 0);
}

class ClockFileTest : public ::testing::Test {
protected:
    std::filesystem::path Path() const { return m_card / L"time.dat"; }

    TempFolder m_card;
    ClockRequest m_clock;
};

TEST_F(ClockFileTest, WritesTheChosenTimeWithThePcOffset) {
    m_clock.write = true;
    m_clock.time = At(2014, 5, 6, 13, 45, 7);
    platform::ScopedTimeZoneBias seoul(-540);

    EXPECT_TRUE(WriteClockRequest(Path(), m_clock));
    EXPECT_EQ(ReadText(m_card / L"time.dat"), "2014,05,06,13,45,07,+0900");
}

TEST_F(ClockFileTest, FlagClearDeletesAnOldFileAndToleratesNone) {
    EXPECT_TRUE(WriteClockRequest(Path(), m_clock));
    EXPECT_FALSE(std::filesystem::exists(m_card / L"time.dat"));

    WriteText(m_card / L"time.dat", "2010,01,01,00,00,00,+0000");
    EXPECT_TRUE(WriteClockRequest(Path(), m_clock));
    EXPECT_FALSE(std::filesystem::exists(m_card / L"time.dat"));
}

TEST_F(ClockFileTest, AnOldFileThatCannotBeRemovedFailsTheSave) {
    // A folder in its place with something inside: it cannot be removed, whoever runs the test.
    std::filesystem::create_directories(m_card / L"time.dat" / L"held");
    EXPECT_FALSE(WriteClockRequest(Path(), m_clock));
    EXPECT_TRUE(std::filesystem::exists(m_card / L"time.dat" / L"held"));
}

TEST_F(ClockFileTest, WriteIntoAMissingFolderFails) {
    m_clock.write = true;
    EXPECT_FALSE(WriteClockRequest(m_card / L"no-such-folder" / L"time.dat", m_clock));
}

TEST_F(ClockFileTest, ReadingAFileSetsTheFlag) {
    WriteText(m_card / L"time.dat", "2014,5,6,13,45,7,+0900\r\nsecond line");
    EXPECT_TRUE(ReadClockRequest(Path(), m_clock));
    EXPECT_TRUE(m_clock.write);
    EXPECT_EQ(m_clock.time.wYear, 2014);
    EXPECT_EQ(m_clock.time.wSecond, 7);
}

TEST_F(ClockFileTest, MissingOrEmptyFileClearsTheFlag) {
    m_clock.write = true;
    EXPECT_FALSE(ReadClockRequest(Path(), m_clock));
    EXPECT_FALSE(m_clock.write);

    m_clock.write = true;
    WriteText(m_card / L"time.dat", "");
    EXPECT_FALSE(ReadClockRequest(Path(), m_clock));
    EXPECT_FALSE(m_clock.write);
}

TEST_F(ClockFileTest, WrittenFileReadsBack) {
    m_clock.write = true;
    m_clock.time = At(2031, 12, 31, 23, 59, 58);
    ASSERT_TRUE(WriteClockRequest(Path(), m_clock));
    m_clock.time = {};
    ASSERT_TRUE(ReadClockRequest(Path(), m_clock));
    EXPECT_EQ(FormatClockLine(m_clock.time, 0), "2031,12,31,23,59,58,-0000");
}

// Run with the PC's zone set from outside (TZ under Wine) and the offset that zone must give in
// DCS_EXPECT_CLOCK_OFFSET; the clock file then carries the system's own standard offset.
TEST_F(ClockFileTest, WritesThePcsOwnStandardOffset) {
    const char* expected = std::getenv("DCS_EXPECT_CLOCK_OFFSET");
    if (!expected) GTEST_SKIP() << "DCS_EXPECT_CLOCK_OFFSET not set";
    m_clock.write = true;
    m_clock.time = At(2014, 5, 6, 13, 45, 7);

    ASSERT_TRUE(WriteClockRequest(Path(), m_clock));
    EXPECT_EQ(ReadText(m_card / L"time.dat"), std::string("2014,05,06,13,45,07,") + expected);
}

// The real card with one step of replacing time.dat made to misbehave.
class ClockCard : public CardFileAccess {
public:
    enum class Fault { None, WriteFails, RenameFails, RenameSaysFailedButWorked, FolderFlushFails, FirstReadFails,
                       RemoveFails };
    Fault fault = Fault::None;

    std::unique_ptr<OpenCardFile> OpenForUpdate(const std::filesystem::path& file) override {
        return m_real.OpenForUpdate(file);
    }
    std::optional<CardFileStart> ReadStart(const std::filesystem::path& file, size_t maxBytes) override {
        if (fault == Fault::FirstReadFails && !m_bReadFailed) {
            m_bReadFailed = true;
            return std::nullopt;
        }
        return m_real.ReadStart(file, maxBytes);
    }
    bool Remove(const std::filesystem::path& file) override {
        return fault != Fault::RemoveFails && m_real.Remove(file);
    }
    bool WriteWholeFile(const std::filesystem::path& file, std::span<const uint8_t> bytes) override {
        if (fault == Fault::WriteFails) {
            m_real.WriteWholeFile(file, bytes.first(bytes.size() / 2));  // a part lands
            return false;
        }
        return m_real.WriteWholeFile(file, bytes);
    }
    bool Replace(const std::filesystem::path& from, const std::filesystem::path& to) override {
        if (fault == Fault::RenameFails) return false;
        const bool renamed = m_real.Replace(from, to);
        return fault == Fault::RenameSaysFailedButWorked ? false : renamed;
    }
    bool SyncFolder(const std::filesystem::path& folder) override {
        return fault != Fault::FolderFlushFails && m_real.SyncFolder(folder);
    }

private:
    CardFileAccess& m_real = CurrentCardFileAccess();
    bool m_bReadFailed = false;
};

TEST(ReplaceClockFile, TheCardHoldsTheOldFileOrTheNewOneAndTheReportSaysWhich) {
    const std::string OLD = "2014,05,06,13,45,07,+0900";
    const std::string PART = "2024,05,06,1";
    struct Case {
        const char* name;
        bool write;               // write a new line (else delete)
        bool oldFile;             // a time.dat is there before
        bool leftover;            // a temporary file from a cut-short replace is there before
        ClockCard::Fault fault;
        bool done;                // what the report says
        bool flushed;
        const char* holds;        // "old", "new" or "none"
    };
    const Case cases[] = {
        {"a plain replace", true, true, false, ClockCard::Fault::None, true, true, "new"},
        {"a leftover temporary file", true, true, true, ClockCard::Fault::None, true, true, "new"},
        {"the temporary file's write fails", true, true, false, ClockCard::Fault::WriteFails, false, true, "old"},
        {"the rename fails", true, true, false, ClockCard::Fault::RenameFails, false, true, "old"},
        {"the rename fails, no old file", true, false, true, ClockCard::Fault::RenameFails, false, true, "none"},
        {"the rename reports failure after it worked", true, true, false, ClockCard::Fault::RenameSaysFailedButWorked,
         true, true, "new"},
        {"the folder flush fails", true, true, false, ClockCard::Fault::FolderFlushFails, true, false, "new"},
        {"the first read-back fails", true, true, false, ClockCard::Fault::FirstReadFails, true, true, "new"},
        {"a delete", false, true, true, ClockCard::Fault::None, true, true, "none"},
        {"a delete whose folder flush fails", false, true, false, ClockCard::Fault::FolderFlushFails, true, false,
         "none"},
        {"a delete that fails", false, true, false, ClockCard::Fault::RemoveFails, false, true, "old"},
        {"a delete with nothing there", false, false, false, ClockCard::Fault::None, true, true, "none"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder card;
        const std::filesystem::path file = card / L"time.dat";
        if (c.oldFile) WriteText(file, OLD);
        if (c.leftover) WriteText(ClockTemporaryFile(file), PART);
        ClockCard access;
        access.fault = c.fault;
        ScopedCardFileAccess scoped(access);

        const ClockRequest request{c.write, At(2024, 5, 6, 13, 45, 7)};
        const ClockWriteOutcome outcome = ReplaceClockFile(file, request);

        EXPECT_EQ(outcome.done, c.done);
        EXPECT_EQ(outcome.flushed, c.flushed);
        const std::string holds = std::string(c.holds);
        if (holds == "none") {
            EXPECT_FALSE(std::filesystem::exists(file));
        } else {
            const std::string expected =
                holds == "old" ? OLD : FormatClockLine(request.time, -platform::PcTimeZoneBias());
            EXPECT_EQ(ReadText(file), expected);
        }
        if (c.fault != ClockCard::Fault::RemoveFails) {
            EXPECT_FALSE(std::filesystem::exists(ClockTemporaryFile(file))) << "no part is left for later";
        }
    }
}

TEST_F(ClockFileTest, ALeftoverTemporaryFileIsNeverRead) {
    WriteText(ClockTemporaryFile(Path()), "2024,05,06,1");
    m_clock.write = true;
    EXPECT_FALSE(ReadClockRequest(Path(), m_clock));
    EXPECT_FALSE(m_clock.write);
}

}  // namespace
