// Synchronisation, triggering, time, temperatures, voltages and identity on the simulated camera.
#include "Families.h"

namespace sim::ptree {

namespace {

constexpr const char* kSection = R"(
# --- Synchronisation, triggering, time, temperatures, voltages and identity ------------------
.system.settings.sync.source                        string  "Internal"
.system.settings.sync.extPolarity                   string  "Active High"
.system.settings.sync.extDelay                      f32     0.0                  limits=0,1000
.system.settings.trigger.source                     string  "Internal"
.system.settings.trigger.extPolarity                string  "Active High"
.system.settings.trigger.extDelay                   f32     0.0                  limits=0,1000
.system.settings.trigger.sequenceCount              u32     1                    limits=1,65535
.system.settings.trigger.intWidth                   u32     416667               limits=25000,25000000
.system.settings.trigger.mode                       string  "Free Run"
.system.settings.trigger.rearm                      bool    false
.system.settings.trigger.softwareTrigger            bool    false
.system.settings.irigLatchSource                    string  "Frame Start"
.system.irig.locked                                 bool    true                 ro
.system.settings.integrateOutPolarity               string  "Active High"
.system.settings.syncOutSource                      string  "Frame Start"
.system.settings.syncOutPolarity                    string  "Active High"
.system.settings.p0.syncOutDelay                    f32     0.0                  limits=0,1000
.system.settings.p1.syncOutDelay                    f32     1.5                  limits=0,1000
.system.settings.p2.syncOutDelay                    f32     3.0                  limits=0,1000
.system.settings.p3.syncOutDelay                    f32     4.5                  limits=0,1000
.system.settings.p0.saturationCountThreshold        u16     16000
.system.settings.p1.saturationCountThreshold        u16     15000
.system.settings.p2.saturationCountThreshold        u16     14000
.system.settings.p3.saturationCountThreshold        u16     13000
.system.settings.p0.saturationPixelThreshold        u32     100
.system.settings.p1.saturationPixelThreshold        u32     200
.system.settings.p2.saturationPixelThreshold        u32     300
.system.settings.p3.saturationPixelThreshold        u32     400
.system.settings.p{0..3}.saturatedPixels            u32     0                    ro
.system.settings.saturatedFlag                      bool    false                ro
.system.settings.fpa.coldTemp                       f32     77.0                 limits=40,120
.stats.operatingTime                                u32     1234                 ro
)";

}  // namespace

extern const FamilyPart kSyncPart{"sync", kSection, {}};

}  // namespace sim::ptree
