// zel::cam::gic: the GenICam client. A device (IGenICam) hands out features by name; the kind of
// a feature is reached by a run-time type test (dynamic_cast or TSharedPtr::DynamicCast). Every
// access may throw: CTimeoutException, CAccessException or any other std::exception.
#pragma once

#include <exception>

#include "zel/zel.h"

namespace zel::cam::gic {

class ZEL_API IFeature {
 public:
  virtual ~IFeature();
  virtual CString GetName() = 0;
  // Whether the camera offers the feature at present.
  virtual bool IsAvailable() = 0;
};

class ZEL_API IInteger : public virtual IFeature {
 public:
  virtual i64 GetValue() = 0;
  virtual void SetValue(i64 value) = 0;
  virtual i64 GetMin() = 0;
  virtual i64 GetMax() = 0;
  virtual i64 GetInc() = 0;
};

class ZEL_API IFloat : public virtual IFeature {
 public:
  virtual double GetValue() = 0;
  virtual void SetValue(double value) = 0;
  virtual double GetMin() = 0;
  virtual double GetMax() = 0;
};

class ZEL_API IBoolean : public virtual IFeature {
 public:
  virtual bool GetValue() = 0;
  virtual void SetValue(bool value) = 0;
};

// One entry of an enumeration: its name and integer value.
struct CEnumEntry {
  CString name;
  i64 value = 0;
};

class ZEL_API IEnum : public virtual IFeature {
 public:
  virtual i64 GetIntValue() = 0;
  virtual void SetIntValue(i64 value) = 0;
  // Selects the entry of that name.
  virtual void SetValue(const char* entryName) = 0;
  virtual CString GetValue() = 0;
  // The entries in the enumeration's order.
  virtual TArray<CEnumEntry> GetEntries() = 0;
};

class ZEL_API IString : public virtual IFeature {
 public:
  virtual CString GetValue() = 0;
  virtual void SetValue(const char* value) = 0;
};

class ZEL_API ICommand : public virtual IFeature {
 public:
  virtual void Execute() = 0;
  virtual bool IsDone() = 0;
};

class ZEL_API IRegister : public virtual IFeature {
 public:
  // Length of the register in bytes.
  virtual i64 GetLength() = 0;
  // Block read and write of `length` bytes from the start of the register.
  virtual void Get(u8* buffer, i64 length) = 0;
  virtual void Set(const u8* buffer, i64 length) = 0;
};

class ZEL_API IGenICam {
 public:
  virtual ~IGenICam();
  // The feature of that name; empty when the device has none.
  virtual TSharedPtr<IFeature> GetFeature(const char* name) = 0;
};

class ZEL_API CTimeoutException : public std::exception {
 public:
  explicit CTimeoutException(const char* text = "GenICam: time-out") : m_text(text) {}
  const char* what() const noexcept override { return m_text.c_str(); }

 private:
  CString m_text;
};

class ZEL_API CAccessException : public std::exception {
 public:
  explicit CAccessException(const char* text = "GenICam: access denied") : m_text(text) {}
  const char* what() const noexcept override { return m_text.c_str(); }

 private:
  CString m_text;
};

// Opens a device by address: "sim" (or "sim:<profile>") gives a new in-process simulated
// camera. Empty when the address is not known.
// "sim:file=<path>" loads the simulated camera's profile from a file; the built-in profiles and
// the profile format are described in docs/simulated-cameras.md.
// "gev:<IPv4>" opens the GigE Vision camera at that address and "aravis:<id>" the camera Aravis
// knows by that id, when libzelcam is built with Aravis (docs/gige.md).
ZEL_API TSharedPtr<IGenICam> OpenDevice(const char* address);
// The same; when the device cannot be opened, *reason (when given) says why, e.g. the profile's
// line and message.
ZEL_API TSharedPtr<IGenICam> OpenDevice(const char* address, CString* reason);

}  // namespace zel::cam::gic
