// Dates and times of files.
//
// TDateTime is the component library's date: days since 1899-12-30 as the
// integral part, the time of day as the fraction, in local time (the host's
// TZ). DOS date-times are the 32-bit packed form of archives and the
// component library's FileAge: date in the high word (years since 1980,
// month, day), time in the low word with 2-second resolution, local time.
#pragma once

#include <cstdint>
#include <ctime>

namespace wenmoor {

using TDateTime = double;

}  // namespace wenmoor

namespace wenmoor::platform {

// A host time (seconds and nanoseconds since 1970 UTC) as local TDateTime,
// and back. The conversion back rounds to the nearest millisecond.
TDateTime UnixTimeToDateTime(const struct timespec& t);
struct timespec DateTimeToUnixTime(TDateTime local);

// Encoding and decoding of a local date-time, as EncodeDate/EncodeTime.
TDateTime EncodeDateTime(int year, int month, int day, int hour, int minute, int second, int ms = 0);
struct DateTimeParts {
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0, ms = 0;
};
DateTimeParts DecodeDateTime(TDateTime value);

// DateTimeToFileDate / FileDateToDateTime. Seconds round down to an even
// number, as DOS stores them; dates before 1980 or after 2107 give 0 (the
// component library's value for "no date"), and an invalid packed value
// decodes to 0.
uint32_t DateTimeToDosDateTime(TDateTime local);
TDateTime DosDateTimeToDateTime(uint32_t dos);

}  // namespace wenmoor::platform
