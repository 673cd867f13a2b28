// The Aravis transport of libzelcam: real GigE Vision (and USB3 Vision) cameras through Aravis 0.8.
// Built only with TQV_WITH_ARAVIS; zel::cam::gic::OpenDevice hands it the addresses below.
//
// Addresses:
//   gev:<IPv4>[?options]    the GigE Vision camera at that address, opened directly (no discovery)
//   aravis:<id>[?options]   the camera Aravis knows by that id (USB3 Vision, or found by Aravis's
//                           discovery; `arv-tool-0.8` lists the ids)
// Options, separated by '&':
//   checks                  Aravis checks ranges and access modes before it writes (off by
//                           default: the camera itself refuses what it cannot take, and every
//                           check costs extra reads over the network)
//   interface=<IPv4>        gev only: the local address to talk from (by default the one the
//                           routing table picks for the camera)
//
// Aravis keeps the connection's heartbeat on a thread of its own and gives up the camera's control
// when the device is released. It is not thread safe: every access to one device takes that
// device's lock.
#pragma once

#include <cstdint>
#include <string>

#include "zel/cam/gic.h"

namespace zel::cam::gic::aravis {

struct Address {
  enum class Kind { GigE, Id };
  Kind kind = Kind::GigE;
  // The camera's IPv4 address (dotted quad) or the Aravis id.
  std::string target;
  // The local IPv4 address to talk from; empty: the one the route to the camera uses.
  std::string localAddress;
  bool checks = false;
};

// Parses an address of this transport; false, with the reason in *error, when it is not one.
ZEL_API bool ParseAddress(const std::string& text, Address* address, std::string* error);

// What an Aravis error becomes: the exception a feature access throws for it.
enum class ErrorClass {
  Timeout,          // CTimeoutException (the backend retries it)
  Access,           // CAccessException
  OutOfRange,       // std::out_of_range
  InvalidArgument,  // std::invalid_argument
  Failure,          // std::runtime_error
};

// The class of an Aravis error by its GError domain (a GQuark) and code.
ZEL_API ErrorClass ClassifyError(std::uint32_t domain, int code);

// Opens the camera at an address of this transport; empty, with the reason in *error, when the
// address is malformed or the camera cannot be opened.
ZEL_API TSharedPtr<IGenICam> Open(const char* address, std::string* error);

}  // namespace zel::cam::gic::aravis
