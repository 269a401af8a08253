// Date-time values: days since 30 December 1899, the fraction the time of day.
#pragma once

#include <cstdint>
#include <ctime>

#include "platform/types.h"

namespace Platform {

// False for a date outside 1..9999 or a day the month does not have.
bool TryEncodeDate(int year, int month, int day, TDateTime& result);
TDateTime EncodeDate(int year, int month, int day);  // raises EConvertError
bool TryEncodeTime(int hour, int minute, int second, int msec, TDateTime& result);
TDateTime EncodeTime(int hour, int minute, int second, int msec);  // raises EConvertError
void DecodeDate(TDateTime value, int& year, int& month, int& day);
void DecodeTime(TDateTime value, int& hour, int& minute, int& second, int& msec);

TDateTime UnixToDateTime(int64_t unixSeconds);
int64_t DateTimeToUnix(TDateTime value);
// The current local date and time.
TDateTime Now();

}  // namespace Platform
