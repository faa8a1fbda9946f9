// The clock file that sets the camera's clock.

#include "record/ClockFile.h"

#include <cstdlib>

#include <gtest/gtest.h>

#include "platform/TimeZoneBias.h"
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

}  // namespace
