// Devices of zel::cam::gic over Aravis: one feature object per GenICam node of a kind we know,
// Aravis errors thrown as our exceptions, one lock per device.
#include <arpa/inet.h>
#include <arv.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstring>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <type_traits>
#include <vector>

#include "aravis/Aravis.h"

namespace zel::cam::gic::aravis {

namespace {

constexpr unsigned kGvcpPort = 3956;

[[noreturn]] void Throw(const GError& error) {
  const std::string text = std::string("Aravis: ") + (error.message ? error.message : "failure");
  switch (ClassifyError(error.domain, error.code)) {
    case ErrorClass::Timeout:
      throw CTimeoutException(text.c_str());
    case ErrorClass::Access:
      throw CAccessException(text.c_str());
    case ErrorClass::OutOfRange:
      throw std::out_of_range(text);
    case ErrorClass::InvalidArgument:
      throw std::invalid_argument(text);
    case ErrorClass::Failure:
      break;
  }
  throw std::runtime_error(text);
}

// The GError of one Aravis call, freed on every path.
class Error {
 public:
  Error() = default;
  ~Error() {
    if (m_error) g_error_free(m_error);
  }
  Error(const Error&) = delete;
  Error& operator=(const Error&) = delete;
  GError** out() { return &m_error; }
  explicit operator bool() const { return m_error != nullptr; }
  std::string Message() const { return m_error && m_error->message ? m_error->message : ""; }
  void ThrowIfSet() const {
    if (m_error) Throw(*m_error);
  }

 private:
  GError* m_error = nullptr;
};

// One open Aravis device and the lock every access to it takes.
struct Connection {
  explicit Connection(ArvDevice* opened) : device(opened) {}
  ~Connection() { g_object_unref(device); }
  Connection(const Connection&) = delete;
  Connection& operator=(const Connection&) = delete;

  ArvDevice* device;
  std::mutex mutex;
};
using ConnectionPtr = std::shared_ptr<Connection>;

// Runs one Aravis call under the device's lock and throws the error it reports.
template <typename Call>
auto Locked(Connection& connection, Call call) {
  std::lock_guard<std::mutex> hold(connection.mutex);
  Error error;
  if constexpr (std::is_void_v<decltype(call(error.out()))>) {
    call(error.out());
    error.ThrowIfSet();
  } else {
    auto result = call(error.out());
    error.ThrowIfSet();
    return result;
  }
}

void CheckBuffer(const void* buffer, i64 length, guint64 registerLength, const char* name) {
  if (!buffer || length < 0) {
    throw std::invalid_argument(std::string("GenICam: bad buffer for register '") + name + "'");
  }
  if (static_cast<guint64>(length) > registerLength) {
    throw std::out_of_range("GenICam: " + std::to_string(length) + " bytes exceed register '" +
                            name + "' of " + std::to_string(registerLength));
  }
}

class Feature : public virtual IFeature {
 protected:
  template <typename Call>
  auto Run(Call call) {
    return Locked(*m_connection, call);
  }

 public:
  Feature(ConnectionPtr connection, ArvGcFeatureNode* node)
      : m_connection(std::move(connection)), m_node(node) {}
  CString GetName() override { return CString(Name()); }
  bool IsAvailable() override {
    return Run([&](GError** error) {
      return arv_gc_feature_node_is_implemented(m_node, error) &&
             arv_gc_feature_node_is_available(m_node, error);
    });
  }

 protected:
  const char* Name() { return arv_gc_feature_node_get_name(m_node); }
  ArvGcFeatureNode* Node() { return m_node; }
  ArvDevice* Device() { return m_connection->device; }

 private:
  ConnectionPtr m_connection;
  ArvGcFeatureNode* m_node;
};

// A number: its value and limits through the Aravis interface of its kind (the node is of that
// kind: GetFeature tested it).
template <typename Interface, typename Value, typename ArvNode, Value (*get)(ArvNode*, GError**),
          void (*set)(ArvNode*, Value, GError**), Value (*min)(ArvNode*, GError**),
          Value (*max)(ArvNode*, GError**)>
class Number : public Feature, public Interface {
 public:
  using Feature::Feature;
  Value GetValue() override { return Call(get); }
  void SetValue(Value value) override {
    Run([&](GError** error) { set(Self(), value, error); });
  }
  Value GetMin() override { return Call(min); }
  Value GetMax() override { return Call(max); }

 protected:
  Value Call(Value (*read)(ArvNode*, GError**)) {
    return Run([&](GError** error) { return read(Self(), error); });
  }
  ArvNode* Self() { return reinterpret_cast<ArvNode*>(Node()); }
};

class Integer final
    : public Number<IInteger, i64, ArvGcInteger, arv_gc_integer_get_value, arv_gc_integer_set_value,
                    arv_gc_integer_get_min, arv_gc_integer_get_max> {
 public:
  using Number::Number;
  i64 GetInc() override { return Call(arv_gc_integer_get_inc); }
};

using Float = Number<IFloat, double, ArvGcFloat, arv_gc_float_get_value, arv_gc_float_set_value,
                     arv_gc_float_get_min, arv_gc_float_get_max>;

class Boolean final : public Feature, public IBoolean {
 public:
  using Feature::Feature;
  bool GetValue() override {
    return Run([&](GError** error) { return arv_gc_boolean_get_value(Self(), error) != FALSE; });
  }
  void SetValue(bool value) override {
    Run([&](GError** error) { arv_gc_boolean_set_value(Self(), value ? TRUE : FALSE, error); });
  }

 private:
  ArvGcBoolean* Self() { return ARV_GC_BOOLEAN(Node()); }
};

class Enumeration final : public Feature, public IEnum {
 public:
  using Feature::Feature;
  i64 GetIntValue() override {
    return Run([&](GError** error) { return arv_gc_enumeration_get_int_value(Self(), error); });
  }
  void SetIntValue(i64 value) override {
    Run([&](GError** error) { arv_gc_enumeration_set_int_value(Self(), value, error); });
  }
  void SetValue(const char* entryName) override {
    if (!entryName) throw std::invalid_argument("GenICam: no entry name");
    Run([&](GError** error) { arv_gc_enumeration_set_string_value(Self(), entryName, error); });
  }
  CString GetValue() override {
    // The text belongs to the node and changes with the next read: copy it under the lock.
    return Run([&](GError** error) {
      return CString(arv_gc_enumeration_get_string_value(Self(), error));
    });
  }
  TArray<CEnumEntry> GetEntries() override {
    // In the description's order: the node's children, as Aravis keeps its own list reversed.
    return Run([&](GError** error) {
      TArray<CEnumEntry> entries;
      for (ArvDomNode* child = arv_dom_node_get_first_child(ARV_DOM_NODE(Node())); child;
           child = arv_dom_node_get_next_sibling(child)) {
        if (!ARV_IS_GC_ENUM_ENTRY(child)) continue;
        auto* entry = ARV_GC_ENUM_ENTRY(child);
        CEnumEntry copy;
        copy.name = arv_gc_feature_node_get_name(ARV_GC_FEATURE_NODE(entry));
        copy.value = arv_gc_enum_entry_get_value(entry, error);
        if (*error) break;
        entries.Add(std::move(copy));
      }
      return entries;
    });
  }

 private:
  ArvGcEnumeration* Self() { return ARV_GC_ENUMERATION(Node()); }
};

class String final : public Feature, public IString {
 public:
  using Feature::Feature;
  CString GetValue() override {
    return Run([&](GError** error) { return CString(arv_gc_string_get_value(Self(), error)); });
  }
  void SetValue(const char* value) override {
    if (!value) throw std::invalid_argument("GenICam: no text");
    Run([&](GError** error) { arv_gc_string_set_value(Self(), value, error); });
  }

 private:
  ArvGcString* Self() { return ARV_GC_STRING(Node()); }
};

// A command is done when its value no longer reads as the command value: the camera clears it
// when it has finished.
class Command final : public Feature, public ICommand {
 public:
  Command(ConnectionPtr connection, ArvGcFeatureNode* node) : Feature(std::move(connection), node) {
    for (ArvDomNode* child = arv_dom_node_get_first_child(ARV_DOM_NODE(node)); child;
         child = arv_dom_node_get_next_sibling(child)) {
      if (!ARV_IS_GC_PROPERTY_NODE(child)) continue;
      auto* property = ARV_GC_PROPERTY_NODE(child);
      switch (arv_gc_property_node_get_node_type(property)) {
        case ARV_GC_PROPERTY_NODE_TYPE_P_VALUE:
          m_value = property;
          break;
        case ARV_GC_PROPERTY_NODE_TYPE_COMMAND_VALUE:
        case ARV_GC_PROPERTY_NODE_TYPE_P_COMMAND_VALUE:
          m_commandValue = property;
          break;
        default:
          break;
      }
    }
  }
  void Execute() override {
    Run([&](GError** error) { arv_gc_command_execute(ARV_GC_COMMAND(Node()), error); });
  }
  bool IsDone() override {
    if (!m_value || !m_commandValue) return true;  // nothing to read back
    return Run([&](GError** error) {
      const gint64 value = arv_gc_property_node_get_int64(m_value, error);
      if (*error) return false;
      return value != arv_gc_property_node_get_int64(m_commandValue, error);
    });
  }

 private:
  ArvGcPropertyNode* m_value = nullptr;
  ArvGcPropertyNode* m_commandValue = nullptr;
};

// A block of bytes. A transfer of the whole register goes through its node; a shorter one moves
// only the words it touches, at the register's address on the device (GigE Vision moves memory
// in whole 4-byte words, so a partial last word is read first and written back whole).
class Register final : public Feature, public IRegister {
 public:
  using Feature::Feature;
  i64 GetLength() override {
    return Run([&](GError** error) {
      return static_cast<i64>(arv_gc_register_get_length(Self(), error));
    });
  }
  void Get(u8* buffer, i64 length) override {
    Run([&](GError** error) {
      const guint64 size = arv_gc_register_get_length(Self(), error);
      if (*error) return;
      CheckBuffer(buffer, length, size, Name());
      if (length == 0) return;
      if (static_cast<guint64>(length) == size) {
        arv_gc_register_get(Self(), buffer, size, error);
        return;
      }
      const guint64 address = arv_gc_register_get_address(Self(), error);
      if (*error) return;
      std::vector<u8> words(Words(length, size));
      if (arv_device_read_memory(Device(), address, words.size(), words.data(), error)) {
        std::memcpy(buffer, words.data(), static_cast<std::size_t>(length));
      }
    });
  }
  void Set(const u8* buffer, i64 length) override {
    Run([&](GError** error) {
      const guint64 size = arv_gc_register_get_length(Self(), error);
      if (*error) return;
      CheckBuffer(buffer, length, size, Name());
      if (length == 0) return;
      if (static_cast<guint64>(length) == size) {
        arv_gc_register_set(Self(), buffer, size, error);
        return;
      }
      const guint64 address = arv_gc_register_get_address(Self(), error);
      if (*error) return;
      std::vector<u8> words(Words(length, size));
      if (words.size() != static_cast<std::size_t>(length) &&
          !arv_device_read_memory(Device(), address, words.size(), words.data(), error)) {
        return;
      }
      std::memcpy(words.data(), buffer, static_cast<std::size_t>(length));
      arv_device_write_memory(Device(), address, words.size(), words.data(), error);
    });
  }

 private:
  // The bytes of the whole words that hold `length` bytes, within the register.
  static std::size_t Words(i64 length, guint64 size) {
    const guint64 rounded = (static_cast<guint64>(length) + 3) / 4 * 4;
    return static_cast<std::size_t>(rounded <= size ? rounded : static_cast<guint64>(length));
  }
  ArvGcRegister* Self() { return ARV_GC_REGISTER(Node()); }
};

class AravisGenICam final : public IGenICam {
 public:
  explicit AravisGenICam(ConnectionPtr connection) : m_connection(std::move(connection)) {}

  TSharedPtr<IFeature> GetFeature(const char* name) override {
    if (!name || !*name) return {};
    std::lock_guard<std::mutex> hold(m_connection->mutex);
    ArvGcNode* node = arv_device_get_feature(m_connection->device, name);
    if (!node || !ARV_IS_GC_FEATURE_NODE(node)) return {};
    ArvGcFeatureNode* feature = ARV_GC_FEATURE_NODE(node);
    // Enumerations are integers and strings to Aravis too, and integer registers are registers:
    // the first kind that matches wins, so that each feature has exactly one of ours.
    IFeature* made = nullptr;
    if (ARV_IS_GC_ENUMERATION(node)) {
      made = new Enumeration(m_connection, feature);
    } else if (ARV_IS_GC_BOOLEAN(node)) {
      made = new Boolean(m_connection, feature);
    } else if (ARV_IS_GC_COMMAND(node)) {
      made = new Command(m_connection, feature);
    } else if (ARV_IS_GC_INTEGER(node)) {
      made = new Integer(m_connection, feature);
    } else if (ARV_IS_GC_FLOAT(node)) {
      made = new Float(m_connection, feature);
    } else if (ARV_IS_GC_STRING(node)) {
      made = new String(m_connection, feature);
    } else if (ARV_IS_GC_REGISTER(node)) {
      made = new Register(m_connection, feature);
    } else {
      made = new Feature(m_connection, feature);  // a category or a port: a name, no value
    }
    return TSharedPtr<IFeature>(made);
  }

 private:
  ConnectionPtr m_connection;
};

bool Fail(std::string* error, const std::string& text) {
  if (error) *error = text;
  return false;
}

// The local address the routing table uses towards the camera. Connecting a datagram socket
// sends nothing.
bool LocalAddressFor(const std::string& camera, std::string* local, std::string* error) {
  const int fd = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return Fail(error, "cannot create a socket");
  sockaddr_in remote{};
  remote.sin_family = AF_INET;
  remote.sin_port = htons(kGvcpPort);
  inet_pton(AF_INET, camera.c_str(), &remote.sin_addr);
  sockaddr_in mine{};
  socklen_t size = sizeof mine;
  const bool found = connect(fd, reinterpret_cast<sockaddr*>(&remote), sizeof remote) == 0 &&
                     getsockname(fd, reinterpret_cast<sockaddr*>(&mine), &size) == 0;
  close(fd);
  if (!found) return Fail(error, "no route to " + camera);
  char text[INET_ADDRSTRLEN] = {};
  inet_ntop(AF_INET, &mine.sin_addr, text, sizeof text);
  *local = text;
  return true;
}

ArvDevice* OpenGigE(const Address& address, std::string* error) {
  std::string local = address.localAddress;
  if (local.empty() && !LocalAddressFor(address.target, &local, error)) return nullptr;
  GInetAddress* camera = g_inet_address_new_from_string(address.target.c_str());
  GInetAddress* host = g_inet_address_new_from_string(local.c_str());
  Error failure;
  ArvDevice* device = arv_gv_device_new(host, camera, failure.out());
  g_object_unref(camera);
  g_object_unref(host);
  if (!device) Fail(error, "Aravis: " + failure.Message());
  return device;
}

ArvDevice* OpenById(const Address& address, std::string* error) {
  Error failure;
  ArvDevice* device = arv_open_device(address.target.c_str(), failure.out());
  if (!device) {
    Fail(error, "Aravis: " + (failure ? failure.Message() : "no device " + address.target));
  }
  return device;
}

}  // namespace

TSharedPtr<IGenICam> Open(const char* text, std::string* error) {
  Address address;
  if (!text) {
    Fail(error, "no address");
    return {};
  }
  if (!ParseAddress(text, &address, error)) return {};
  ArvDevice* opened =
      address.kind == Address::Kind::GigE ? OpenGigE(address, error) : OpenById(address, error);
  if (!opened) return {};
  ConnectionPtr connection;
  try {
    connection = std::make_shared<Connection>(opened);
  } catch (...) {
    g_object_unref(opened);
    throw;
  }
  // Values are read from the camera every time: settings change behind our back (another
  // client, the camera itself), and a command's completion is read back from its register.
  arv_device_set_register_cache_policy(opened, ARV_REGISTER_CACHE_POLICY_DISABLE);
  arv_device_set_range_check_policy(
      opened, address.checks ? ARV_RANGE_CHECK_POLICY_ENABLE : ARV_RANGE_CHECK_POLICY_DISABLE);
  arv_device_set_access_check_policy(
      opened, address.checks ? ARV_ACCESS_CHECK_POLICY_ENABLE : ARV_ACCESS_CHECK_POLICY_DISABLE);
  return TSharedPtr<IGenICam>(new AravisGenICam(std::move(connection)));
}

}  // namespace zel::cam::gic::aravis
