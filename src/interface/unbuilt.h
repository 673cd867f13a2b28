// Operations whose family is not built yet, one file per family (unbuilt/<family>.h). Both
// backends answer 2 (not supported in this form) for each of them until its family lands; then
// its lines go, and with the last family this file. Tested by name with
// TQV_IN_SET(UNBUILT, name) (interface/opsets.h).
#pragma once

#include "interface/opsets.h"

#include "interface/unbuilt/recorder.h"
