// Date conversions. TDateTime day numbers are converted with the civil
// calendar algorithm (proleptic Gregorian), so no table or library limit
// applies; only the local-time step goes through the C library.
#include "platform/win/file_time.h"

#include <cmath>

namespace wenmoor::platform {

namespace {

constexpr int64_t kMsPerDay = 86'400'000;

// Days since 1970-01-01 of a civil date (H. Hinnant's days_from_civil).
int64_t DaysFromCivil(int64_t y, unsigned m, unsigned d) {
  y -= m <= 2;
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const auto yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<int64_t>(doe) - 719468;
}

void CivilFromDays(int64_t z, int& year, int& month, int& day) {
  z += 719468;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const auto doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  year = static_cast<int>(static_cast<int64_t>(yoe) + era * 400 + (month <= 2));
}

const int64_t kDelphiEpoch = DaysFromCivil(1899, 12, 30);

}  // namespace

TDateTime EncodeDateTime(int year, int month, int day, int hour, int minute, int second, int ms) {
  const int64_t days = DaysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) - kDelphiEpoch;
  const double fraction = (((hour * 60.0 + minute) * 60.0 + second) * 1000.0 + ms) / kMsPerDay;
  // Before the epoch the fraction still counts forward from midnight
  // (-1.25 is 1899-12-29 06:00), as the component library has it.
  return days >= 0 ? static_cast<double>(days) + fraction : static_cast<double>(days) - fraction;
}

DateTimeParts DecodeDateTime(TDateTime value) {
  if (!std::isfinite(value)) value = 0;
  auto days = static_cast<int64_t>(std::trunc(value));
  int64_t ms = std::llround(std::fabs(value - static_cast<double>(days)) * kMsPerDay);
  if (ms >= kMsPerDay) {
    ms -= kMsPerDay;
    days += value >= 0 ? 1 : -1;
  }
  DateTimeParts p;
  CivilFromDays(days + kDelphiEpoch, p.year, p.month, p.day);
  p.hour = static_cast<int>(ms / 3'600'000);
  p.minute = static_cast<int>(ms / 60'000 % 60);
  p.second = static_cast<int>(ms / 1000 % 60);
  p.ms = static_cast<int>(ms % 1000);
  return p;
}

TDateTime UnixTimeToDateTime(const struct timespec& t) {
  struct tm local {};
  const time_t seconds = t.tv_sec;
  if (!localtime_r(&seconds, &local)) return 0;
  return EncodeDateTime(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min,
                        local.tm_sec, static_cast<int>(t.tv_nsec / 1'000'000));
}

struct timespec DateTimeToUnixTime(TDateTime value) {
  const DateTimeParts p = DecodeDateTime(value);
  struct tm local {};
  local.tm_year = p.year - 1900;
  local.tm_mon = p.month - 1;
  local.tm_mday = p.day;
  local.tm_hour = p.hour;
  local.tm_min = p.minute;
  local.tm_sec = p.second;
  local.tm_isdst = -1;  // let the C library decide whether summer time applies
  struct timespec t {};
  t.tv_sec = mktime(&local);
  t.tv_nsec = static_cast<long>(p.ms) * 1'000'000;
  return t;
}

uint32_t DateTimeToDosDateTime(TDateTime value) {
  const DateTimeParts p = DecodeDateTime(value);
  if (p.year < 1980 || p.year > 2107) return 0;
  const auto date = static_cast<uint32_t>(((p.year - 1980) << 9) | (p.month << 5) | p.day);
  const auto time = static_cast<uint32_t>((p.hour << 11) | (p.minute << 5) | (p.second / 2));
  return date << 16 | time;
}

TDateTime DosDateTimeToDateTime(uint32_t dos) {
  const int day = static_cast<int>(dos >> 16 & 0x1F);
  const int month = static_cast<int>(dos >> 21 & 0x0F);
  const int year = static_cast<int>(dos >> 25) + 1980;
  const int second = static_cast<int>(dos & 0x1F) * 2;
  const int minute = static_cast<int>(dos >> 5 & 0x3F);
  const int hour = static_cast<int>(dos >> 11 & 0x1F);
  if (month < 1 || month > 12 || day < 1 || hour > 23 || minute > 59 || second > 59) return 0;
  static constexpr int kDays[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  if (day > kDays[month - 1] || (month == 2 && day == 29 && !leap)) return 0;
  return EncodeDateTime(year, month, day, hour, minute, second);
}

}  // namespace wenmoor::platform
