#include "genicam/Behaviours.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "genicam/DeviceImpl.h"
#include "genicam/Families.h"

namespace sim::genicam {

namespace {

void Need(const Device& device, const std::string& behaviour, const std::string& feature,
          std::initializer_list<Kind> kinds) {
  if (!device.Has(feature)) {
    throw std::runtime_error("behaviour " + behaviour + " needs the feature " + feature);
  }
  Kind kind = device.KindOf(feature);
  if (std::find(kinds.begin(), kinds.end(), kind) == kinds.end()) {
    throw std::runtime_error("behaviour " + behaviour + ": " + feature + " is of kind " +
                             KindName(kind));
  }
}

double ClockHz(const Device& device) {
  return device.Has("MfgClockFrequency") ? static_cast<double>(device.GetInt("MfgClockFrequency"))
                                         : 0.0;
}

// A period in detector clocks (integer feature) and its time in milliseconds or its rate in hertz
// (float feature), kept consistent through "MfgClockFrequency". Writing either updates the other;
// a written time or rate snaps to the nearest whole number of clocks.
void InstallPeriod(Device& device, const std::string& width, const std::string& value, bool hertz) {
  Need(device, "period", width, {Kind::Integer});
  Need(device, "period", value, {Kind::Float});
  auto toValue = [hertz](double clock, i64 clocks) {
    return hertz ? clock / static_cast<double>(clocks)
                 : static_cast<double>(clocks) * 1000.0 / clock;
  };
  auto follow = [=](Device& d, const std::string&) {
    double clock = ClockHz(d);
    if (clock <= 0.0) return;
    d.SetFloat(value, toValue(clock, d.GetInt(width)));
  };
  auto lead = [=](Device& d, const std::string&) {
    double clock = ClockHz(d);
    double v = d.GetFloat(value);
    if (clock <= 0.0 || !(v > 0.0)) return;
    double clocks = hertz ? clock / v : v * clock / 1000.0;
    FeatureSpec limits = d.Spec(width);
    double bounded = std::clamp(std::round(clocks), static_cast<double>(limits.intMin),
                                static_cast<double>(limits.intMax));
    d.SetInt(width, static_cast<i64>(bounded));  // its hook snaps the value
  };
  double clock = ClockHz(device);
  if (clock > 0.0) {
    FeatureSpec limits = device.Spec(width);
    if (limits.intMin > 0) {
      double a = toValue(clock, limits.intMin);
      double b = toValue(clock, limits.intMax);
      device.SetFloatLimits(value, std::min(a, b), std::max(a, b));
    }
    follow(device, width);
  }
  device.OnWrite(width, follow);
  device.OnWrite(value, lead);
}

// target = the sum of the addends, after a write of any addend.
void InstallSum(Device& device, const std::vector<std::string>& args) {
  if (args.size() < 3) throw std::runtime_error("behaviour sum needs a target and addends");
  std::string target = args[1];
  std::vector<std::string> addends(args.begin() + 2, args.end());
  Need(device, "sum", target, {Kind::Integer});
  for (const std::string& addend : addends)
    Need(device, "sum", addend, {Kind::Integer});
  auto update = [=](Device& d, const std::string&) {
    i64 total = 0;
    for (const std::string& addend : addends)
      total += d.GetInt(addend);
    d.SetInt(target, total);
  };
  update(device, target);
  for (const std::string& addend : addends)
    device.OnWrite(addend, update);
}

// A write of `from` copies its value into `to` (a manufacturing setter and its read-only twin).
void InstallMirror(Device& device, const std::string& from, const std::string& to) {
  Need(device, "mirror", from,
       {Kind::Integer, Kind::Enumeration, Kind::Float, Kind::Boolean, Kind::String});
  Kind kind = device.KindOf(from);
  bool integral = kind == Kind::Integer || kind == Kind::Enumeration;
  if (integral) {
    Need(device, "mirror", to, {Kind::Integer, Kind::Enumeration});
  } else {
    Need(device, "mirror", to, {kind});
  }
  device.OnWrite(from, [=](Device& d, const std::string&) {
    switch (kind) {
      case Kind::Float:
        d.SetFloat(to, d.GetFloat(from));
        break;
      case Kind::Boolean:
        d.SetBool(to, d.GetBool(from));
        break;
      case Kind::String:
        d.SetString(to, d.GetString(from));
        break;
      default:
        d.SetInt(to, d.GetInt(from));
        break;
    }
  });
}

// The window stays on the sensor: the largest offset follows the size and the largest size
// follows the offset. A camera with "ImageHeight" holds the rows in it; one with "Height" holds
// the rows plus one.
void InstallWindow(Device& device) {
  bool image = device.Has("ImageHeight");
  std::string width = image ? "ImageWidth" : "Width";
  std::string height = image ? "ImageHeight" : "Height";
  i64 extra = image ? 0 : 1;
  for (const char* name : {"OffsetX", "OffsetY", "SensorWidth", "SensorHeight"}) {
    Need(device, "window", name, {Kind::Integer});
  }
  Need(device, "window", width, {Kind::Integer});
  Need(device, "window", height, {Kind::Integer});
  // The profile's own largest sizes stay a cap on top of what the offsets leave.
  i64 widthCap = device.Spec(width).intMax;
  i64 heightCap = device.Spec(height).intMax;
  auto bound = [=](Device& d, const std::string& size, const std::string& offset,
                   const std::string& sensor, i64 more, i64 cap) {
    i64 full = d.GetInt(sensor);
    FeatureSpec s = d.Spec(size);
    FeatureSpec o = d.Spec(offset);
    d.SetIntLimits(offset, o.intMin, std::max(o.intMin, full - (s.intValue - more)), o.intInc);
    d.SetIntLimits(size, s.intMin, std::max(s.intMin, std::min(cap, full - o.intValue + more)),
                   s.intInc);
  };
  auto horizontal = [=](Device& d, const std::string&) {
    bound(d, width, "OffsetX", "SensorWidth", 0, widthCap);
  };
  auto vertical = [=](Device& d, const std::string&) {
    bound(d, height, "OffsetY", "SensorHeight", extra, heightCap);
  };
  horizontal(device, width);
  vertical(device, height);
  device.OnWrite(width, horizontal);
  device.OnWrite("OffsetX", horizontal);
  device.OnWrite(height, vertical);
  device.OnWrite("OffsetY", vertical);
}

void InstallFileProtocol(Device& device) {
  std::string prefix = device.Has("CameraFileSelector") ? "Camera" : "";
  for (const char* role :
       {"FileSelector", "FileName", "FileOperationSelector", "FileOperationExecute", "FileOpenMode",
        "FileAccessBuffer", "FileAccessOffset", "FileAccessLength", "FileOperationStatus",
        "FileSize"}) {
    if (!device.Has(prefix + role)) {
      throw std::runtime_error("behaviour file-protocol needs the feature " + prefix + role);
    }
  }
  for (const char* name :
       {"DirectorySelector", "DirectoryOperationSelector", "DirectoryOperationExecute",
        "DirectoryOperationStatus", "DirectoryEntryIndex", "DirectoryEntryName",
        "DirectoryEntrySize", "DirectoryEntryAttrib", "DirectoryEntryModifiedTime"}) {
    if (!device.Has(name)) {
      throw std::runtime_error(std::string("behaviour file-protocol needs the feature ") + name);
    }
  }
  device.Internal().protocol.Install(device, prefix);
}

}  // namespace

void InstallBehaviour(Device& device, const std::vector<std::string>& args) {
  if (args.empty()) throw std::runtime_error("behaviour without a name");
  const std::string& name = args[0];
  if (name == "period") {
    if (args.size() != 4 || (args[3] != "ms" && args[3] != "hz")) {
      throw std::runtime_error("behaviour period takes WIDTH VALUE ms|hz");
    }
    InstallPeriod(device, args[1], args[2], args[3] == "hz");
  } else if (name == "sum") {
    InstallSum(device, args);
  } else if (name == "mirror") {
    if (args.size() != 3) throw std::runtime_error("behaviour mirror takes FROM TO");
    InstallMirror(device, args[1], args[2]);
  } else if (name == "window") {
    InstallWindow(device);
  } else if (name == "file-protocol") {
    InstallFileProtocol(device);
  } else {
    for (const FamilyPart* part : kFamilyParts) {
      if (part->install(device, args)) return;
    }
    throw std::runtime_error("unknown behaviour " + name);
  }
}

}  // namespace sim::genicam
