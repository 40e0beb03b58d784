// The one clock: pinning, the time zone and the conversion range.
#include <gtest/gtest.h>

#include "CStringPrint.h"
#include "Clock.h"

namespace {

using tamvero::ClockLocalTime;
using tamvero::ClockNow;

class ClockTest : public ::testing::Test {
protected:
  void SetUp() override { ASSERT_TRUE(TamveroSetTimeZone(L"UTC0")); }
  void TearDown() override {
    TamveroPinClock(nullptr);
    TamveroSetTimeZone(nullptr);
  }
};

TEST_F(ClockTest, PinReadsLocalTimeOfTheCurrentZone) {
  struct Case {
    const wchar_t* zone;
    const wchar_t* instant;
    __time64_t expected;
  } cases[] = {
      {L"UTC0", L"19700101000000", 0},
      {L"UTC0", L"20240131233000", 1706743800},
      {L"JST-9", L"20240131233000", 1706743800 - 9 * 3600},
      {L"EST5", L"20240229120000", 1709208000 + 5 * 3600},
      {L"UTC0", L"30001231235959", 32535215999LL},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.zone << " " << c.instant);
    ASSERT_TRUE(TamveroSetTimeZone(c.zone));
    ASSERT_TRUE(TamveroPinClock(c.instant));
    EXPECT_EQ(ClockNow(), c.expected);
    struct tm local;
    ASSERT_TRUE(tamvero::ClockLocalNow(local));
    CString back;
    back.Format(L"%04d%02d%02d%02d%02d%02d", local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                local.tm_min, local.tm_sec);
    EXPECT_EQ(back, c.instant);
  }
}

TEST_F(ClockTest, MalformedPinChangesNothing) {
  ASSERT_TRUE(TamveroPinClock(L"20240131233000"));
  const __time64_t pinned = ClockNow();
  const wchar_t* bad[] = {
      L"2024013123300",   L"202401312330000", L"2024013123300x", L"2024-1-31 2330",
      L" 20240131233000", L"20240230120000",  L"20231301000000", L"20240100000000",
      L"20240131240000",  L"20240131236000",  L"20240131235960", L"20230229000000",
  };
  for (const wchar_t* text : bad) {
    EXPECT_FALSE(TamveroPinClock(text)) << text;
    EXPECT_EQ(ClockNow(), pinned) << text;
  }
  // Before the epoch east of Greenwich the runtime has no instant to give.
  ASSERT_TRUE(TamveroSetTimeZone(L"JST-9"));
  EXPECT_FALSE(TamveroPinClock(L"19700101000000"));
  EXPECT_EQ(ClockNow(), pinned);
}

TEST_F(ClockTest, UnpinReturnsToTheRealClock) {
  for (const wchar_t* unpin : {static_cast<const wchar_t*>(nullptr), L""}) {
    ASSERT_TRUE(TamveroPinClock(L"20000101000000"));
    ASSERT_EQ(ClockNow(), 946684800);
    // Between two readings of the real clock, without a tolerance to tune.
    const __time64_t before = _time64(nullptr);
    ASSERT_TRUE(TamveroPinClock(unpin));
    const __time64_t now = ClockNow();
    EXPECT_GE(now, before);
    EXPECT_LE(now, _time64(nullptr));
  }
}

TEST_F(ClockTest, LocalTimeKeepsTheRuntimeRange) {
  struct Case {
    __time64_t t;
    bool ok;
  } cases[] = {{-1, false}, {0, true}, {32535215999LL, true}, {32535216000LL, false}};
  for (const Case& c : cases) {
    struct tm local;
    EXPECT_EQ(ClockLocalTime(c.t, local), c.ok) << c.t;
  }
}

} // namespace
