// Addresses of the Aravis transport, and what each Aravis error becomes.
#include <arpa/inet.h>
#include <arv.h>

#include <algorithm>

#include "aravis/Aravis.h"

namespace zel::cam::gic::aravis {

namespace {

bool Fail(std::string* error, const std::string& text) {
  if (error) *error = text;
  return false;
}

bool StartsWith(const std::string& text, const char* prefix) { return text.rfind(prefix, 0) == 0; }

// A dotted-quad IPv4 address to which one may send: no wildcard, broadcast or multicast address,
// since those would reach other hosts than the one camera.
bool IsUnicastIPv4(const std::string& text, std::string* why) {
  in_addr parsed{};
  if (inet_pton(AF_INET, text.c_str(), &parsed) != 1) {
    *why = "'" + text + "' is not an IPv4 address";
    return false;
  }
  const std::uint32_t host = ntohl(parsed.s_addr);
  if (host == 0 || host == 0xFFFFFFFFu || (host >> 28) == 0xE) {
    *why = "'" + text + "' is not the address of one camera";
    return false;
  }
  return true;
}

}  // namespace

bool ParseAddress(const std::string& text, Address* address, std::string* error) {
  Address parsed;
  std::string rest;
  if (StartsWith(text, "gev:")) {
    parsed.kind = Address::Kind::GigE;
    rest = text.substr(4);
  } else if (StartsWith(text, "aravis:")) {
    parsed.kind = Address::Kind::Id;
    rest = text.substr(7);
  } else {
    return Fail(error, "'" + text + "' is not a gev: or aravis: address");
  }
  const std::size_t question = rest.find('?');
  parsed.target = rest.substr(0, question);
  std::string why;
  if (parsed.kind == Address::Kind::GigE && !IsUnicastIPv4(parsed.target, &why)) {
    return Fail(error, why);
  }
  if (parsed.kind == Address::Kind::Id && parsed.target.empty()) {
    return Fail(error, "an aravis: address needs a device id");
  }
  if (question != std::string::npos) {
    const std::string options = rest.substr(question + 1);
    std::size_t start = 0;
    while (start <= options.size()) {
      const std::size_t end = std::min(options.find('&', start), options.size());
      const std::string option = options.substr(start, end - start);
      if (option == "checks") {
        parsed.checks = true;
      } else if (StartsWith(option, "interface=") && parsed.kind == Address::Kind::GigE) {
        parsed.localAddress = option.substr(10);
        if (!IsUnicastIPv4(parsed.localAddress, &why)) return Fail(error, why);
      } else {
        return Fail(error, "unknown option '" + option + "' in " + text);
      }
      start = end + 1;
    }
  }
  *address = parsed;
  return true;
}

ErrorClass ClassifyError(std::uint32_t domain, int code) {
  if (domain == ARV_DEVICE_ERROR) {
    switch (code) {
      case ARV_DEVICE_ERROR_TIMEOUT:
      case ARV_DEVICE_ERROR_PROTOCOL_ERROR_BUSY:  // worth another attempt, like a time-out
        return ErrorClass::Timeout;
      case ARV_DEVICE_ERROR_NOT_CONTROLLER:
      case ARV_DEVICE_ERROR_PROTOCOL_ERROR_ACCESS_DENIED:
      case ARV_DEVICE_ERROR_PROTOCOL_ERROR_WRITE_PROTECT:
        return ErrorClass::Access;
      case ARV_DEVICE_ERROR_PROTOCOL_ERROR_INVALID_ADDRESS:
        return ErrorClass::OutOfRange;
      case ARV_DEVICE_ERROR_INVALID_PARAMETER:
      case ARV_DEVICE_ERROR_PROTOCOL_ERROR_INVALID_PARAMETER:
        return ErrorClass::InvalidArgument;
      default:
        return ErrorClass::Failure;
    }
  }
  if (domain == ARV_GC_ERROR) {
    switch (code) {
      case ARV_GC_ERROR_READ_ONLY:
        return ErrorClass::Access;
      case ARV_GC_ERROR_OUT_OF_RANGE:
        return ErrorClass::OutOfRange;
      case ARV_GC_ERROR_ENUM_ENTRY_NOT_FOUND:
      case ARV_GC_ERROR_INVALID_LENGTH:
        return ErrorClass::InvalidArgument;
      default:
        return ErrorClass::Failure;
    }
  }
  return ErrorClass::Failure;
}

}  // namespace zel::cam::gic::aravis
