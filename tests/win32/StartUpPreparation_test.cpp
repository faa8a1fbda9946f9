// Start-up work done ahead on worker threads: pictures decoded once per process, and the time
// zone catalogue read while the windows are made. Whichever thread does the work, the result
// is the one the user-interface thread would have got by doing it itself.

#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <thread>

#include "skin/win32/PictureCache.h"
#include "tests/win32/GdiPlusPicture.h"
#include "timezones/win32/TimeZoneCatalogueReader.h"

namespace {

skin::CPixelBuffer DecodeDirectly(UINT id) { return testsupport::DecodeResourceWithGdiPlus(id); }

bool SamePixels(const skin::CPixelBuffer& left, const skin::CPixelBuffer& right) {
    if (left.Width() != right.Width() || left.Height() != right.Height()) return false;
    for (int32_t y = 0; y < left.Height(); ++y) {
        for (int32_t x = 0; x < left.Width(); ++x) {
            if (left.At(x, y) != right.At(x, y)) return false;
        }
    }
    return true;
}

class PictureCache : public ::testing::Test {
protected:
    void SetUp() override { skin::ForgetDecodedPictures(); }
    void TearDown() override { skin::ForgetDecodedPictures(); }
};

TEST_F(PictureCache, EachPictureIsDecodedOnceAndGivesTheDirectDecodesPixels) {
    const long before = skin::PictureDecodeCount();
    const skin::CPixelBuffer& first = skin::DecodedPicture(501);
    const skin::CPixelBuffer& again = skin::DecodedPicture(501);
    EXPECT_EQ(&first, &again);
    EXPECT_EQ(skin::PictureDecodeCount(), before + 1);
    EXPECT_TRUE(SamePixels(first, DecodeDirectly(501)));
    EXPECT_FALSE(first.IsEmpty());
}

TEST_F(PictureCache, AMissingPictureIsEmptyAndTriedAgainNextTime) {
    const long before = skin::PictureDecodeCount();
    EXPECT_TRUE(skin::DecodedPicture(9999).IsEmpty());
    EXPECT_TRUE(skin::DecodedPicture(9999).IsEmpty());
    EXPECT_EQ(skin::PictureDecodeCount(), before + 2);
}

TEST_F(PictureCache, APrefetchDecodesEveryPictureOnceWhileOtherThreadsAskForThem) {
    const long before = skin::PictureDecodeCount();
    skin::CPicturePrefetch prefetch({161, 501, 175, 143});
    // Asking at the same time from two other threads: they wait for the worker's decode or do it
    // themselves, never both.
    const skin::CPixelBuffer* seen[2] = {};
    std::thread one([&seen] { seen[0] = &skin::DecodedPicture(175); });
    std::thread two([&seen] { seen[1] = &skin::DecodedPicture(175); });
    one.join();
    two.join();
    ASSERT_TRUE(prefetch.Finish(10000));
    EXPECT_EQ(seen[0], seen[1]);

    EXPECT_EQ(skin::PictureDecodeCount(), before + 4) << "nothing decoded twice";
    for (UINT id : {161u, 501u, 175u, 143u}) {
        EXPECT_TRUE(SamePixels(skin::DecodedPicture(id), DecodeDirectly(id))) << "picture " << id;
    }
    EXPECT_EQ(skin::PictureDecodeCount(), before + 4) << "kept, not decoded again";
}

void ExpectSameCatalogue(CTimeZoneInfoManager& read, CTimeZoneInfoManager& expected) {
    ASSERT_EQ(read.GetCount(), expected.GetCount());
    EXPECT_EQ(read.m_arrKeyNames, expected.m_arrKeyNames);
    for (int i = 0; i < expected.GetCount(); ++i) {
        EXPECT_EQ(std::memcmp(read.GetAt(i), expected.GetAt(i), sizeof(CRegTimeZoneInfo)), 0)
            << testing::PrintToString(std::wstring(expected.GetAt(i)->m_szKeyName));
    }
}

TEST(TimeZoneCatalogueReader, TheWorkersCatalogueIsTheOneReadOnThisThreadAndIsGivenOnce) {
    CTimeZoneCatalogueReader reader;
    ASSERT_TRUE(reader.Start());
    EXPECT_FALSE(reader.Start()) << "one worker only";
    CTimeZoneInfoManager direct;
    std::unique_ptr<CTimeZoneInfoManager> taken = reader.Take();
    ASSERT_NE(taken, nullptr);
    ASSERT_GT(taken->GetCount(), 50);
    ExpectSameCatalogue(*taken, direct);
    EXPECT_EQ(reader.Take(), nullptr);
}

TEST(TimeZoneCatalogueReader, AWorkerNotDoneInTimeLeavesTheReadingToTheCaller) {
    CTimeZoneCatalogueReader reader;
    ASSERT_TRUE(reader.Start());
    std::unique_ptr<CTimeZoneInfoManager> taken = reader.Take(0);  // no wait at all
    ASSERT_NE(taken, nullptr);
    CTimeZoneInfoManager direct;
    ExpectSameCatalogue(*taken, direct);
}

}  // namespace
