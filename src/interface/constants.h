// The detector (FPA) timing constants each backend reads once per handle.
#pragma once

#include "interface/types.h"

struct FPAConstants {
  u8 readoutChannels = 0;
  u32 clockFrequency = 0;  // hertz
  u32 lineDeadWidth = 0;
  u32 deadRows = 0;
  u32 preIntegrationDeadWidth = 0;
  u32 postIntegrationDeadWidth = 0;
  u32 minimumIntegrationWidth = 0;
  u32 maximumIntegrationWidth = 0;
  u32 minimumFrameWidth = 0;
  u32 maximumFrameWidth = 0;
  u8 maximumGainLevel = 0;
  u32 pipelineDelay = 0;
  u32 intDeadWidth = 0;
  u32 frameDeadWidth = 0;
};
