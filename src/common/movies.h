// The description of one movie on the recorder's drive, read field by field on either backend.
// The record is packed, so its fields are reached by offset and stored by copy, never through a
// pointer to the field.
#pragma once

#include <cstddef>
#include <cstring>

#include "interface/types.h"
#include "tqvSDK.h"

namespace movies {

struct Field {
  const char* path;     // on the property tree
  const char* feature;  // on GenICam
  std::size_t offset;   // in tqvSSsdMovieInfo
  std::size_t width;    // bytes: 1, 2 or 4
};

#define TQV_MOVIE_FIELD(path, feature, member) \
  { path, feature, offsetof(tqvSSsdMovieInfo, member), sizeof(tqvSSsdMovieInfo::member) }

// In the order the camera is asked.
inline constexpr Field kFields[] = {
    TQV_MOVIE_FIELD(".system.ssd.movies.number", "SSDMovieQueryNumber", number),
    TQV_MOVIE_FIELD(".system.ssd.movies.width", "SSDMovieQueryWidth", width),
    TQV_MOVIE_FIELD(".system.ssd.movies.height", "SSDMovieQueryHeight", height),
    TQV_MOVIE_FIELD(".system.ssd.movies.numFrames", "SSDMovieQueryNumFrames", numFrames),
    TQV_MOVIE_FIELD(".system.ssd.movies.startTime.day", "SSDMovieQueryStartDay", startDay),
    TQV_MOVIE_FIELD(".system.ssd.movies.startTime.hour", "SSDMovieQueryStartHour", startHour),
    TQV_MOVIE_FIELD(".system.ssd.movies.startTime.min", "SSDMovieQueryStartMinute", startMinute),
    TQV_MOVIE_FIELD(".system.ssd.movies.startTime.sec", "SSDMovieQueryStartSecond", startSecond),
    TQV_MOVIE_FIELD(".system.ssd.movies.startTime.msec", "SSDMovieQueryStartMillisecond",
                    startMillisecond),
    TQV_MOVIE_FIELD(".system.ssd.movies.startTime.usec", "SSDMovieQueryStartMicrosecond",
                    startMicrosecond),
    TQV_MOVIE_FIELD(".system.ssd.movies.endTime.day", "SSDMovieQueryEndDay", endDay),
    TQV_MOVIE_FIELD(".system.ssd.movies.endTime.hour", "SSDMovieQueryEndHour", endHour),
    TQV_MOVIE_FIELD(".system.ssd.movies.endTime.min", "SSDMovieQueryEndMinute", endMinute),
    TQV_MOVIE_FIELD(".system.ssd.movies.endTime.sec", "SSDMovieQueryEndSecond", endSecond),
    TQV_MOVIE_FIELD(".system.ssd.movies.endTime.msec", "SSDMovieQueryEndMillisecond",
                    endMillisecond),
    TQV_MOVIE_FIELD(".system.ssd.movies.endTime.usec", "SSDMovieQueryEndMicrosecond",
                    endMicrosecond),
};

#undef TQV_MOVIE_FIELD

template <typename T, typename Read>
u32 ReadInto(tqvSSsdMovieInfo* info, const Field& field, Read& read) {
  T value{};
  const u32 result = read(field, &value);
  if (result == rc::kOk)
    std::memcpy(reinterpret_cast<char*>(info) + field.offset, &value, sizeof value);
  return result;
}

// Reads every field after the name in order with `read(field, T* out)` (T is u8, u16 or u32 by the
// field's width); the first failure ends the reading and leaves the fields read so far written.
template <typename Read>
u32 ReadFields(tqvSSsdMovieInfo* info, Read read) {
  for (const Field& field : kFields) {
    u32 result = rc::kOk;
    switch (field.width) {
      case 1:
        result = ReadInto<u8>(info, field, read);
        break;
      case 2:
        result = ReadInto<u16>(info, field, read);
        break;
      default:
        result = ReadInto<u32>(info, field, read);
        break;
    }
    if (result != rc::kOk) return result;
  }
  return rc::kOk;
}

}  // namespace movies
