// Dates: TDateTime and DOS date-times.
#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <string>

#include "platform/win/file_time.h"

namespace wenmoor::platform {
namespace {

// Sets TZ for one test and restores it.
class ScopedTimeZone {
 public:
  explicit ScopedTimeZone(const char* zone) {
    if (const char* old = std::getenv("TZ")) saved_ = old;
    setenv("TZ", zone, 1);
    tzset();
  }
  ~ScopedTimeZone() {
    if (saved_.empty()) unsetenv("TZ");
    else setenv("TZ", saved_.c_str(), 1);
    tzset();
  }

 private:
  std::string saved_;
};

TEST(FileTimeTest, EncodesDaysSinceTheEpochOfTheComponentLibrary) {
  const struct {
    int y, mo, d, h, mi, s;
    double value;
  } cases[] = {
      {1899, 12, 30, 0, 0, 0, 0.0},   {1900, 1, 1, 0, 0, 0, 2.0},      {2000, 1, 1, 12, 0, 0, 36526.5},
      {1899, 12, 29, 6, 0, 0, -1.25}, {2107, 12, 31, 0, 0, 0, 75971.0}, {1980, 1, 1, 18, 0, 0, 29221.75},
  };
  for (const auto& c : cases) {
    EXPECT_DOUBLE_EQ(EncodeDateTime(c.y, c.mo, c.d, c.h, c.mi, c.s), c.value) << c.y << "-" << c.mo << "-" << c.d;
    const DateTimeParts p = DecodeDateTime(c.value);
    EXPECT_EQ(std::tie(p.year, p.month, p.day, p.hour, p.minute, p.second),
              std::tie(c.y, c.mo, c.d, c.h, c.mi, c.s))
        << c.value;
  }
}

TEST(FileTimeTest, DosDateTimesHaveTwoSecondResolution) {
  const TDateTime t = EncodeDateTime(2001, 8, 24, 13, 45, 31);
  const uint32_t dos = DateTimeToDosDateTime(t);
  EXPECT_EQ(dos, (21u << 25 | 8u << 21 | 24u << 16) | (13u << 11 | 45u << 5 | 15u));
  EXPECT_DOUBLE_EQ(DosDateTimeToDateTime(dos), EncodeDateTime(2001, 8, 24, 13, 45, 30));
  // Out of the DOS range, and values that are no date.
  EXPECT_EQ(DateTimeToDosDateTime(EncodeDateTime(1979, 12, 31, 23, 59, 59)), 0u);
  EXPECT_EQ(DateTimeToDosDateTime(EncodeDateTime(2108, 1, 1, 0, 0, 0)), 0u);
  EXPECT_EQ(DosDateTimeToDateTime(0), 0.0);
  EXPECT_EQ(DosDateTimeToDateTime(21u << 25 | 2u << 21 | 30u << 16), 0.0);  // 30 February
  EXPECT_EQ(DosDateTimeToDateTime(20u << 25 | 2u << 21 | 29u << 16), EncodeDateTime(2000, 2, 29, 0, 0, 0));
  EXPECT_EQ(DosDateTimeToDateTime(21u << 25 | 2u << 21 | 29u << 16), 0.0);  // 2001 is no leap year
  EXPECT_EQ(DosDateTimeToDateTime(21u << 25 | 1u << 21 | 1u << 16 | 24u << 11), 0.0);  // hour 24
}

TEST(FileTimeTest, UnixTimesConvertInLocalTime) {
  const struct timespec t {998660730, 250'000'000};  // 2001-08-24 13:45:30.25 UTC
  {
    ScopedTimeZone utc("UTC");
    EXPECT_NEAR(UnixTimeToDateTime(t), EncodeDateTime(2001, 8, 24, 13, 45, 30, 250), 1e-9);
    const struct timespec back = DateTimeToUnixTime(EncodeDateTime(2001, 8, 24, 13, 45, 30, 250));
    EXPECT_EQ(back.tv_sec, 998660730);
    EXPECT_EQ(back.tv_nsec, 250'000'000);
  }
  {
    ScopedTimeZone berlin("CET-1CEST,M3.5.0,M10.5.0/3");  // summer time in August: UTC+2
    EXPECT_NEAR(UnixTimeToDateTime(t), EncodeDateTime(2001, 8, 24, 15, 45, 30, 250), 1e-9);
    EXPECT_EQ(DateTimeToUnixTime(EncodeDateTime(2001, 8, 24, 15, 45, 30)).tv_sec, 998660730);
    EXPECT_EQ(DateTimeToUnixTime(EncodeDateTime(2001, 1, 24, 14, 45, 30)).tv_sec, 980343930);  // winter: UTC+1
  }
}

}  // namespace
}  // namespace wenmoor::platform
