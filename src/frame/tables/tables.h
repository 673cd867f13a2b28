// Library-internal access to the name tables, the camera model table and the decisions that the
// handle-taking look-ups (frame/lookups.cpp) make from a camera's identity values. Everything here
// is pure: no camera, no state, no lock.
#pragma once

#include <span>

#include "interface/types.h"
#include "tqvSDK.h"

namespace tables {

// Copies text and its NUL into buffer when strlen(text) + 1 < size; otherwise 0xFFFFFFFF and
// the buffer is untouched. A null buffer is refused with 166 (invalid argument). text must not be
// null.
u32 CopyText(const char* text, char* buffer, i32 size);

// The first row of the camera model table with this camera type and subtype (and, in the second
// form, Pleora board type); null when there is none.
const tqvSModelInfo* FindModel(u8 cameraType, u8 subtype);
const tqvSModelInfo* FindModel(u8 cameraType, u8 subtype, u8 pleoraBoardType);

// The part number of a configuration, "unknown" when the table has no such row.
const char* PartNumberFor(u8 cameraType, u8 subtype, u8 pleoraBoardType);

// Firmware newer than 3.3 offers the extended video formats and zoom factors.
bool IsNewFirmware(u16 major, u16 minor);

// Readouts with switchable gain whose levels have names (readout 10 and 16 to 20).
bool GainLevelsAreNamed(u8 readout);
// The name of a gain level: 0 with *text set, 2 when the readout's levels have no names, 166 for
// a level the readout does not have (*text untouched then).
u32 GainLevelNameFor(u8 readout, u8 level, const char** text);

// The video format codes a camera offers, in display order. The version counts only on board 3
// (elsewhere it is taken as 0.0). Codes 101 and 102 are formats without an enumeration text.
std::span<const u8> VideoFormatsFor(u8 boardType, u8 cameraType, u8 subtype, u16 major, u16 minor);
// The video zoom factor codes a camera offers, in display order. The version counts only on
// boards 3 and 4.
std::span<const u8> ZoomFactorsFor(u8 boardType, bool legacyVFPGA, u16 major, u16 minor);

}  // namespace tables
