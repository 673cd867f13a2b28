// The feature objects a host gets from a simulated device: one class per feature kind, each a
// thin forwarder to the device's host-side accesses (which log, fault and check).
#include <fstream>
#include <memory>
#include <sstream>

#include "genicam/DeviceImpl.h"

namespace sim::genicam {

namespace gic = zel::cam::gic;

namespace {

class FeatureBase : public virtual gic::IFeature {
 public:
  FeatureBase(std::shared_ptr<Device> device, std::string name, Kind kind)
      : m_device(std::move(device)), m_name(std::move(name)), m_kind(kind) {}
  zel::CString GetName() override { return zel::CString(m_name.c_str()); }
  bool IsAvailable() override { return Impl().HostAvailable(m_name, m_kind); }

 protected:
  Device::Impl& Impl() { return m_device->Internal(); }
  const std::string& Name() const { return m_name; }

 private:
  std::shared_ptr<Device> m_device;  // the feature keeps its device alive
  std::string m_name;
  Kind m_kind;
};

class Integer final : public FeatureBase, public gic::IInteger {
 public:
  Integer(std::shared_ptr<Device> device, std::string name)
      : FeatureBase(std::move(device), std::move(name), Kind::Integer) {}
  zel::i64 GetValue() override { return Impl().HostGetInt(Name(), Kind::Integer); }
  void SetValue(zel::i64 value) override { Impl().HostSetInt(Name(), Kind::Integer, value); }
  zel::i64 GetMin() override { return Impl().HostIntLimit(Name(), "min"); }
  zel::i64 GetMax() override { return Impl().HostIntLimit(Name(), "max"); }
  zel::i64 GetInc() override { return Impl().HostIntLimit(Name(), "inc"); }
};

class Float final : public FeatureBase, public gic::IFloat {
 public:
  Float(std::shared_ptr<Device> device, std::string name)
      : FeatureBase(std::move(device), std::move(name), Kind::Float) {}
  double GetValue() override { return Impl().HostGetFloat(Name()); }
  void SetValue(double value) override { Impl().HostSetFloat(Name(), value); }
  double GetMin() override { return Impl().HostFloatLimit(Name(), "min"); }
  double GetMax() override { return Impl().HostFloatLimit(Name(), "max"); }
};

class Boolean final : public FeatureBase, public gic::IBoolean {
 public:
  Boolean(std::shared_ptr<Device> device, std::string name)
      : FeatureBase(std::move(device), std::move(name), Kind::Boolean) {}
  bool GetValue() override { return Impl().HostGetBool(Name()); }
  void SetValue(bool value) override { Impl().HostSetBool(Name(), value); }
};

class Enumeration final : public FeatureBase, public gic::IEnum {
 public:
  Enumeration(std::shared_ptr<Device> device, std::string name)
      : FeatureBase(std::move(device), std::move(name), Kind::Enumeration) {}
  zel::i64 GetIntValue() override { return Impl().HostGetInt(Name(), Kind::Enumeration); }
  void SetIntValue(zel::i64 value) override { Impl().HostSetInt(Name(), Kind::Enumeration, value); }
  void SetValue(const char* entryName) override {
    Impl().HostSetText(Name(), Kind::Enumeration, entryName);
  }
  zel::CString GetValue() override {
    return zel::CString(Impl().HostGetText(Name(), Kind::Enumeration).c_str());
  }
  zel::TArray<gic::CEnumEntry> GetEntries() override {
    zel::TArray<gic::CEnumEntry> result;
    for (const EnumEntry& entry : Impl().HostEntries(Name())) {
      gic::CEnumEntry copy;
      copy.name = entry.name.c_str();
      copy.value = entry.value;
      result.Add(std::move(copy));
    }
    return result;
  }
};

class String final : public FeatureBase, public gic::IString {
 public:
  String(std::shared_ptr<Device> device, std::string name)
      : FeatureBase(std::move(device), std::move(name), Kind::String) {}
  zel::CString GetValue() override {
    return zel::CString(Impl().HostGetText(Name(), Kind::String).c_str());
  }
  void SetValue(const char* value) override { Impl().HostSetText(Name(), Kind::String, value); }
};

class Command final : public FeatureBase, public gic::ICommand {
 public:
  Command(std::shared_ptr<Device> device, std::string name)
      : FeatureBase(std::move(device), std::move(name), Kind::Command) {}
  void Execute() override { Impl().HostExecute(Name()); }
  bool IsDone() override { return Impl().HostIsDone(Name()); }
};

class Register final : public FeatureBase, public gic::IRegister {
 public:
  Register(std::shared_ptr<Device> device, std::string name)
      : FeatureBase(std::move(device), std::move(name), Kind::Register) {}
  zel::i64 GetLength() override { return Impl().HostRegisterLength(Name()); }
  void Get(zel::u8* buffer, zel::i64 length) override {
    Impl().HostRegisterGet(Name(), buffer, length);
  }
  void Set(const zel::u8* buffer, zel::i64 length) override {
    Impl().HostRegisterSet(Name(), buffer, length);
  }
};

class SimGenICam final : public gic::IGenICam {
 public:
  explicit SimGenICam(std::shared_ptr<Device> device) : m_device(std::move(device)) {}

  zel::TSharedPtr<gic::IFeature> GetFeature(const char* name) override {
    if (!name) return {};
    Kind kind = Kind::Integer;
    if (!m_device->Internal().HostLookup(name, &kind)) return {};
    gic::IFeature* feature = nullptr;
    switch (kind) {
      case Kind::Integer:
        feature = new Integer(m_device, name);
        break;
      case Kind::Float:
        feature = new Float(m_device, name);
        break;
      case Kind::Boolean:
        feature = new Boolean(m_device, name);
        break;
      case Kind::Enumeration:
        feature = new Enumeration(m_device, name);
        break;
      case Kind::String:
        feature = new String(m_device, name);
        break;
      case Kind::Command:
        feature = new Command(m_device, name);
        break;
      case Kind::Register:
        feature = new Register(m_device, name);
        break;
    }
    return zel::TSharedPtr<gic::IFeature>(feature);
  }

  Device* device() const { return m_device.get(); }

 private:
  std::shared_ptr<Device> m_device;
};

zel::TSharedPtr<gic::IGenICam> Fail(std::string* error, const std::string& text) {
  if (error) *error = text;
  return {};
}

}  // namespace

zel::TSharedPtr<gic::IGenICam> OpenSimProfile(const std::string& text, std::string* error) {
  auto device = std::make_shared<Device>();
  try {
    LoadProfile(*device, text);
  } catch (const std::exception& e) {
    return Fail(error, e.what());
  }
  return zel::TSharedPtr<gic::IGenICam>(new SimGenICam(std::move(device)));
}

zel::TSharedPtr<gic::IGenICam> OpenSimDevice(const char* address, std::string* error) {
  if (!address) return Fail(error, "no address");
  std::string text = address;
  if (text == "sim") return OpenSimProfile(BuiltinProfileText("sim"), error);
  if (text.rfind("sim:", 0) != 0) return Fail(error, "not a simulated device: " + text);
  std::string rest = text.substr(4);
  if (rest.rfind("file=", 0) == 0) {
    std::string path = rest.substr(5);
    std::ifstream in(path, std::ios::binary);
    if (!in) return Fail(error, "cannot read the profile file " + path);
    std::ostringstream contents;
    contents << in.rdbuf();
    return OpenSimProfile(contents.str(), error);
  }
  std::string profile = BuiltinProfileText(rest);
  if (profile.empty()) return Fail(error, "no built-in profile " + rest);
  return OpenSimProfile(profile, error);
}

Device* DeviceOf(gic::IGenICam* device) {
  auto* simulated = dynamic_cast<SimGenICam*>(device);
  return simulated ? simulated->device() : nullptr;
}

}  // namespace sim::genicam
