// A GenICam description (XML, register map, starting memory) made from a simulated camera.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <set>
#include <sstream>
#include <stdexcept>

#include "genicam/SimDevice.h"
#include "gev/FakeGev.h"

namespace sim::gev {

namespace {

using genicam::Device;
using genicam::FeatureSpec;
using genicam::Kind;

// A selector gives a feature at most this many register blocks.
constexpr i64 kMaxSlots = 64;

std::string Escaped(const std::string& text) {
  std::string out;
  for (char c : text) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      default:
        out += c;
    }
  }
  return out;
}

std::string Hex(u32 value) {
  std::ostringstream text;
  text << "0x" << std::hex << value;
  return text.str();
}

std::string Number(double value) {
  char text[40];
  std::snprintf(text, sizeof text, "%.17g", value);
  return text;
}

u32 RoundUp(u32 value, u32 step) { return (value + step - 1) / step * step; }

std::vector<u8> BigEndian(std::uint64_t value, u32 length) {
  std::vector<u8> bytes(length);
  for (u32 i = 0; i < length; ++i)
    bytes[length - 1 - i] = static_cast<u8>(value >> (8 * i));
  return bytes;
}

std::vector<u8> BigEndianDouble(double value) {
  std::uint64_t bits = 0;
  std::memcpy(&bits, &value, sizeof bits);
  return BigEndian(bits, 8);
}

// The selector values of a selected feature, lowest first.
struct Slots {
  std::string selector;
  i64 first = 0;
  i64 count = 1;
};

// One feature's registers: `stride` bytes per selector value from `base`. The value first, then
// the minimum, maximum and increment of numbers whose limits differ between selector values
// (other limits are constants of the description), then availability when some state lacks it.
// The fake camera has 60 KiB for all of them.
struct Layout {
  std::string name;
  Kind kind = Kind::Integer;
  Slots slots;
  u32 base = 0;
  u32 valueLength = 8;
  u32 stride = 8;
  bool writable = true;
  bool limits = false;  // limit registers (else constants)
  bool availability = false;
  std::string mirrorOf;  // the feature whose value register this one reads
};

class Writer {
 public:
  explicit Writer(Device& device) : m_device(device) {}

  Description Run() {
    ReadBehaviours();
    for (const std::string& name : m_device.Names())
      Plan(name);
    Allocate();
    for (Layout& layout : m_layouts)
      Fill(layout);
    for (const Layout& layout : m_layouts)
      Emit(layout);
    std::ostringstream xml;
    xml << "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
        << "<RegisterDescription ModelName=\"TQV-SIM\" VendorName=\"tqvSDK\" "
           "ToolTip=\"A simulated camera served by Aravis's fake GigE Vision camera\" "
           "StandardNameSpace=\"None\" SchemaMajorVersion=\"1\" SchemaMinorVersion=\"1\" "
           "SchemaSubMinorVersion=\"0\" MajorVersion=\"1\" MinorVersion=\"0\" "
           "SubMinorVersion=\"0\" ProductGuid=\"6a0e1d3c-5b7f-4f42-9d1e-2c8a1f0b7e01\" "
           "VersionGuid=\"6a0e1d3c-5b7f-4f42-9d1e-2c8a1f0b7e02\" "
           "xmlns=\"http://www.genicam.org/GenApi/Version_1_1\">\n"
        << "<Category Name=\"Root\">";
    for (const Layout& layout : m_layouts)
      xml << "<pFeature>" << layout.name << "</pFeature>";
    xml << "</Category>\n<Port Name=\"Device\"/>\n" << m_nodes.str() << "</RegisterDescription>\n";
    m_result.xml = xml.str();
    return std::move(m_result);
  }

 private:
  void ReadBehaviours() {
    for (const auto& args : m_device.Behaviours()) {
      if (args[0] == "period" && args.size() == 4) {
        m_periods[args[2]] = {args[1], args[3] == "hz"};
      } else if (args[0] == "sum" && args.size() >= 3) {
        m_sums[args[1]] = std::vector<std::string>(args.begin() + 2, args.end());
      } else if (args[0] == "mirror" && args.size() == 3) {
        m_mirrors[args[2]] = args[1];
      }
    }
  }

  Slots SlotsOf(const FeatureSpec& spec) {
    Slots slots;
    if (spec.selector.empty() || !m_device.Has(spec.selector)) return slots;
    const FeatureSpec selector = m_device.Spec(spec.selector);
    i64 low = selector.intMin, high = selector.intMax;
    if (selector.kind == Kind::Enumeration) {
      if (selector.entries.empty()) return slots;
      low = high = selector.entries.front().value;
      for (const auto& entry : selector.entries) {
        low = std::min(low, entry.value);
        high = std::max(high, entry.value);
      }
    }
    slots.selector = spec.selector;
    slots.first = low;
    slots.count = std::clamp<i64>(high - low + 1, 1, kMaxSlots);
    return slots;
  }

  void Plan(const std::string& name) {
    const FeatureSpec spec = m_device.Spec(name);
    Layout layout;
    layout.name = name;
    layout.kind = spec.kind;
    layout.slots = SlotsOf(spec);
    layout.writable = spec.writable;
    switch (spec.kind) {
      case Kind::Integer:
      case Kind::Float:
        ForEachSlot(layout, [&](const FeatureSpec& state) {
          layout.limits = layout.limits || state.intMin != spec.intMin ||
                          state.intMax != spec.intMax || state.intInc != spec.intInc ||
                          state.floatMin != spec.floatMin || state.floatMax != spec.floatMax;
        });
        if (layout.limits) layout.stride = spec.kind == Kind::Integer ? 32 : 24;
        break;
      case Kind::Boolean:
      case Kind::Command:
        layout.valueLength = layout.stride = 4;
        break;
      case Kind::Enumeration:
        break;
      case Kind::String: {
        std::size_t longest = spec.text.size();
        ForEachSlot(layout, [&](const FeatureSpec& state) {
          longest = std::max(longest, state.text.size());
        });
        layout.valueLength = layout.stride =
            spec.writable ? 128u : std::max(32u, RoundUp(static_cast<u32>(longest) + 1, 16));
        break;
      }
      case Kind::Register:
        layout.valueLength = layout.stride =
            std::max(4u, RoundUp(static_cast<u32>(spec.bytes.size()), 4));
        break;
    }
    ForEachSlot(layout, [&](const FeatureSpec& state) {
      if (!state.available) layout.availability = true;
    });
    if (layout.availability) layout.stride += 8;
    auto mirror = m_mirrors.find(name);
    if (mirror != m_mirrors.end() && layout.slots.selector.empty())
      layout.mirrorOf = mirror->second;
    m_layouts.push_back(layout);
  }

  // Runs `visit` on the feature's state under each selector value.
  template <typename Visit>
  void ForEachSlot(const Layout& layout, Visit visit) {
    if (layout.slots.selector.empty()) {
      visit(m_device.Spec(layout.name));
      return;
    }
    const i64 saved = m_device.GetInt(layout.slots.selector);
    for (i64 slot = 0; slot < layout.slots.count; ++slot) {
      m_device.SetInt(layout.slots.selector, layout.slots.first + slot);
      visit(m_device.Spec(layout.name));
    }
    m_device.SetInt(layout.slots.selector, saved);
  }

  void Allocate() {
    u32 next = kFirstAddress;
    for (Layout& layout : m_layouts) {
      if (!layout.mirrorOf.empty()) continue;
      layout.base = next;
      next += RoundUp(layout.stride * static_cast<u32>(layout.slots.count), 8);
      if (next >= kMemoryEnd) {
        throw std::runtime_error("the camera's registers do not fit its memory (at " + layout.name +
                                 ")");
      }
    }
    for (Layout& layout : m_layouts) {
      if (layout.mirrorOf.empty()) continue;
      const Layout* source = Find(layout.mirrorOf);
      if (!source || source->kind != layout.kind || !source->mirrorOf.empty()) {
        throw std::runtime_error("cannot mirror " + layout.mirrorOf + " into " + layout.name);
      }
      layout.valueLength = source->valueLength;
      layout.base = source->base;
      layout.stride = source->stride;
      layout.availability = false;
    }
  }

  const Layout* Find(const std::string& name) const {
    for (const Layout& layout : m_layouts)
      if (layout.name == name) return &layout;
    return nullptr;
  }

  void Put(u32 address, std::vector<u8> bytes) {
    m_result.initial.emplace_back(address, std::move(bytes));
  }

  // The starting memory: each selector value's state.
  void Fill(const Layout& layout) {
    RegisterKind kind = RegisterKind::Integer;
    if (layout.kind == Kind::Float) kind = RegisterKind::Float;
    if (layout.kind == Kind::Boolean || layout.kind == Kind::Command) kind = RegisterKind::Boolean;
    if (layout.kind == Kind::String) kind = RegisterKind::Text;
    if (layout.kind == Kind::Register) kind = RegisterKind::Bytes;
    m_result.values[layout.name] = Register{layout.base, layout.valueLength, kind};
    if (layout.limits) {
      const char* const roles[] = {"__min", "__max", "__inc"};
      for (u32 i = 0; i < (layout.kind == Kind::Integer ? 3u : 2u); ++i) {
        m_result.values[layout.name + roles[i]] = Register{layout.base + 8 * (i + 1), 8, kind};
      }
    }
    if (layout.kind == Kind::Command) m_result.commands.push_back({layout.name, layout.base});
    if (!layout.mirrorOf.empty()) return;  // the source fills the register
    i64 slot = 0;
    ForEachSlot(layout, [&](const FeatureSpec& state) {
      const u32 at = layout.base + static_cast<u32>(slot++) * layout.stride;
      switch (layout.kind) {
        case Kind::Integer:
          Put(at, BigEndian(static_cast<std::uint64_t>(state.intValue), 8));
          if (!layout.limits) break;
          Put(at + 8, BigEndian(static_cast<std::uint64_t>(state.intMin), 8));
          Put(at + 16, BigEndian(static_cast<std::uint64_t>(state.intMax), 8));
          Put(at + 24, BigEndian(static_cast<std::uint64_t>(state.intInc), 8));
          break;
        case Kind::Enumeration:
          Put(at, BigEndian(static_cast<std::uint64_t>(state.intValue), 8));
          break;
        case Kind::Float:
          Put(at, BigEndianDouble(state.floatValue));
          if (!layout.limits) break;
          Put(at + 8, BigEndianDouble(state.floatMin));
          Put(at + 16, BigEndianDouble(state.floatMax));
          break;
        case Kind::Boolean:
          Put(at, BigEndian(state.boolValue ? 1 : 0, 4));
          break;
        case Kind::Command:
          break;
        case Kind::String: {
          std::vector<u8> text(state.text.begin(), state.text.end());
          text.resize(layout.valueLength, 0);
          Put(at, text);
          break;
        }
        case Kind::Register:
          Put(at, state.bytes);
          break;
      }
      if (layout.availability) {
        Put(at + layout.stride - 8, BigEndian(state.available ? 1 : 0, 8));
      }
    });
  }

  // A register node of this feature at `offset` within its block.
  void IntReg(const Layout& layout, const std::string& role, u32 offset, u32 length, bool writable,
              bool isFloat = false) {
    m_nodes << (isFloat ? "<FloatReg" : "<IntReg") << " Name=\"" << layout.name << "__" << role
            << "\"><Address>" << Hex(layout.base + offset) << "</Address>";
    if (!layout.slots.selector.empty())
      m_nodes << "<pAddress>" << layout.name << "__slot</pAddress>";
    m_nodes << "<Length>" << length << "</Length><AccessMode>" << (writable ? "RW" : "RO")
            << "</AccessMode><pPort>Device</pPort><Cachable>NoCache</Cachable>";
    if (!isFloat) m_nodes << "<Sign>Signed</Sign>";
    m_nodes << "<Endianess>BigEndian</Endianess>" << (isFloat ? "</FloatReg>\n" : "</IntReg>\n");
  }

  void Emit(const Layout& layout) {
    const std::string& name = layout.name;
    std::string quoted = "\"";  // built piece by piece: GCC 12 misreads "x" + string (-Wrestrict)
    quoted += Escaped(name);
    quoted += '"';
    if (!layout.slots.selector.empty()) {
      m_nodes << "<IntSwissKnife Name=\"" << name << "__slot\"><pVariable Name=\"SEL\">"
              << layout.slots.selector << "</pVariable><Formula>(SEL - (" << layout.slots.first
              << ")) * " << layout.stride << "</Formula></IntSwissKnife>\n";
    }
    std::string available;
    if (layout.availability) {
      available = "<pIsAvailable>" + name + "__available</pIsAvailable>";
      IntReg(layout, "available", layout.stride - 8, 8, false);
    }
    auto period = m_periods.find(name);
    auto sum = m_sums.find(name);
    if (period != m_periods.end() && layout.slots.selector.empty()) {
      // FROM is this feature's value, TO the width in clocks.
      const bool hertz = period->second.second;
      m_nodes << "<Converter Name=" << quoted << ">" << available
              << "<pVariable Name=\"CLK\">MfgClockFrequency</pVariable><FormulaTo>"
              << (hertz ? "CLK / FROM" : "FROM * CLK / 1000") << "</FormulaTo><FormulaFrom>"
              << (hertz ? "CLK / TO" : "TO * 1000 / CLK") << "</FormulaFrom><pValue>"
              << period->second.first << "</pValue><Slope>" << (hertz ? "Decreasing" : "Increasing")
              << "</Slope></Converter>\n";
      return;
    }
    if (sum != m_sums.end() && layout.slots.selector.empty()) {
      m_nodes << "<IntSwissKnife Name=" << quoted << ">";
      std::string formula;
      for (std::size_t i = 0; i < sum->second.size(); ++i) {
        std::string variable = "V";
        variable += std::to_string(i);
        m_nodes << "<pVariable Name=\"" << variable << "\">" << sum->second[i] << "</pVariable>";
        if (i) formula += " + ";
        formula += variable;
      }
      m_nodes << "<Formula>" << formula << "</Formula></IntSwissKnife>\n";
      return;
    }
    const FeatureSpec spec = m_device.Spec(name);
    switch (layout.kind) {
      case Kind::Integer:
        IntReg(layout, "value", 0, 8, layout.writable);
        if (layout.limits) {
          IntReg(layout, "min", 8, 8, false);
          IntReg(layout, "max", 16, 8, false);
          IntReg(layout, "inc", 24, 8, false);
        }
        m_nodes << "<Integer Name=" << quoted << ">" << available << "<pValue>" << name
                << "__value</pValue>";
        if (layout.limits) {
          m_nodes << "<pMin>" << name << "__min</pMin><pMax>" << name << "__max</pMax><pInc>"
                  << name << "__inc</pInc></Integer>\n";
        } else {
          m_nodes << "<Min>" << spec.intMin << "</Min><Max>" << spec.intMax << "</Max><Inc>"
                  << spec.intInc << "</Inc></Integer>\n";
        }
        break;
      case Kind::Float:
        IntReg(layout, "value", 0, 8, layout.writable, true);
        if (layout.limits) {
          IntReg(layout, "min", 8, 8, false, true);
          IntReg(layout, "max", 16, 8, false, true);
        }
        m_nodes << "<Float Name=" << quoted << ">" << available << "<pValue>" << name
                << "__value</pValue>";
        if (layout.limits) {
          m_nodes << "<pMin>" << name << "__min</pMin><pMax>" << name << "__max</pMax></Float>\n";
        } else {
          m_nodes << "<Min>" << Number(spec.floatMin) << "</Min><Max>" << Number(spec.floatMax)
                  << "</Max></Float>\n";
        }
        break;
      case Kind::Boolean:
        IntReg(layout, "value", 0, 4, layout.writable);
        m_nodes << "<Boolean Name=" << quoted << ">" << available << "<pValue>" << name
                << "__value</pValue><OnValue>1</OnValue><OffValue>0</OffValue></Boolean>\n";
        break;
      case Kind::Enumeration:
        IntReg(layout, "value", 0, 8, layout.writable);
        m_nodes << "<Enumeration Name=" << quoted << ">" << available;
        for (const auto& entry : spec.entries) {
          m_nodes << "<EnumEntry Name=\"" << Escaped(entry.name) << "\"><Value>" << entry.value
                  << "</Value></EnumEntry>";
        }
        m_nodes << "<pValue>" << name << "__value</pValue></Enumeration>\n";
        break;
      case Kind::Command:
        IntReg(layout, "value", 0, 4, true);
        m_nodes << "<Command Name=" << quoted << ">" << available << "<pValue>" << name
                << "__value</pValue><CommandValue>1</CommandValue></Command>\n";
        break;
      case Kind::String:
      case Kind::Register: {
        const bool text = layout.kind == Kind::String;
        m_nodes << (text ? "<StringReg" : "<Register") << " Name=" << quoted << ">" << available
                << "<Address>" << Hex(layout.base) << "</Address>";
        if (!layout.slots.selector.empty()) m_nodes << "<pAddress>" << name << "__slot</pAddress>";
        m_nodes << "<Length>" << layout.valueLength << "</Length><AccessMode>"
                << (layout.writable ? "RW" : "RO")
                << "</AccessMode><pPort>Device</pPort><Cachable>NoCache</Cachable>"
                << (text ? "</StringReg>\n" : "</Register>\n");
        break;
      }
    }
  }

  Device& m_device;
  std::vector<Layout> m_layouts;
  std::map<std::string, std::pair<std::string, bool>> m_periods;  // value -> width, hertz
  std::map<std::string, std::vector<std::string>> m_sums;         // target -> addends
  std::map<std::string, std::string> m_mirrors;                   // target -> source
  std::ostringstream m_nodes;
  Description m_result;
};

}  // namespace

Description Describe(const std::string& profileText) {
  Device device;
  genicam::LoadProfile(device, profileText);
  return Writer(device).Run();
}

const Description& DefaultDescription() {
  static const Description description = Describe(genicam::BuiltinProfileText("sim"));
  return description;
}

}  // namespace sim::gev
