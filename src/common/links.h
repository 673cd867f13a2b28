// Data-link rules that are the same on both backends: the frame header mode of a link, read from
// and written to its "header only" and "header disabled" switches, and the link settings of a
// camera that does not report them.
#pragma once

#include "interface/types.h"

namespace links {

// 0: headers on, 1: header only, 2: header disabled.
enum HeaderMode : u8 { kHeadersOn = 0, kHeaderOnly = 1, kHeaderDisabled = 2 };
enum class HeaderSwitch : u8 { kOnly, kDisabled };

// `read(HeaderSwitch, bool*)` reads one switch. Both switches on is no mode: 2, and nothing is
// written to `mode`.
template <typename Read>
u32 ReadHeaderMode(Read read, u8* mode) {
  bool only = false, disabled = false;
  u32 result = read(HeaderSwitch::kOnly, &only);
  if (result == rc::kOk) result = read(HeaderSwitch::kDisabled, &disabled);
  if (result != rc::kOk) return result;
  if (only && disabled) return rc::kNotSupported;
  *mode = only ? kHeaderOnly : disabled ? kHeaderDisabled : kHeadersOn;
  return rc::kOk;
}

// `write(HeaderSwitch, bool)` writes one switch. The switch that goes off is written first, so
// that the pair is never both on; the second write follows only a successful first one.
template <typename Write>
u32 WriteHeaderMode(Write write, u8 mode) {
  switch (mode) {
    case kHeaderOnly: {
      const u32 result = write(HeaderSwitch::kDisabled, false);
      return result ? result : write(HeaderSwitch::kOnly, true);
    }
    case kHeaderDisabled: {
      const u32 result = write(HeaderSwitch::kOnly, false);
      return result ? result : write(HeaderSwitch::kDisabled, true);
    }
    case kHeadersOn: {
      const u32 result = write(HeaderSwitch::kDisabled, false);
      return result ? result : write(HeaderSwitch::kOnly, false);
    }
    default:
      return rc::kNotSupported;
  }
}

// The CameraLink type (0 Base, 1 Full) and CoaXPress link count of a camera that does not report
// them: even boards up to 6 have the Base/one-link interface, odd ones up to 5 the Full/two-link
// one, and other boards count as 2.
inline u8 BoardCameraLinkType(u8 board) { return board <= 6 ? board % 2 : 2; }
inline u8 BoardCoaXPressLinkCount(u8 board) { return board <= 6 ? 1 + board % 2 : 2; }

}  // namespace links
