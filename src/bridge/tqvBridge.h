/*
 * tqvBridge.h - C forms of what libtqvSDK offers only to C++ hosts, for hosts that reach the
 * library through a C foreign-function interface (the Python package tqvsdk does).
 *
 * libtqvBridge.so stands next to libtqvSDK.so and adds:
 *   - tqvBridgeOpenGenICam: opens a GenICam device by address and creates a handle over it;
 *   - tqvBridgeTable: for every entry point whose parameters are framework types (host file
 *     objects, progress delegates, framework arrays), a function with the same name and
 *     parameters in which each framework type is replaced by its C form:
 *       host file object      -> const char* host path (written by downloads, read by uploads)
 *       progress delegate     -> const tqvBridgeProgress* (null: no progress reports)
 *       array of texts/codes  -> const tqvBridgeList* (called once per element on success)
 *     Every other parameter, the handle first, is passed unchanged, and the result is the entry
 *     point's. A host file that cannot be opened gives TQV_ERROR without calling it.
 */
#ifndef TQVBRIDGE_H
#define TQVBRIDGE_H

#include <stdint.h>

#include "tqvSDK.h"

#if defined(__GNUC__)
#define TQV_BRIDGE_API __attribute__((visibility("default")))
#else
#define TQV_BRIDGE_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* A C progress callback and its context. */
typedef struct tqvBridgeProgress {
  tqvProgressCallback callback;
  void* context;
} tqvBridgeProgress;

/* Receives the elements of an array an entry point filled: text for arrays of texts (value 0),
 * value for arrays of codes (text null). */
typedef struct tqvBridgeList {
  void (*add)(void* context, const char* text, uint32_t value);
  void* context;
} tqvBridgeList;

/* One C form: the entry point's name without the tqv prefix, and the function. */
typedef struct tqvBridgeEntry {
  const char* name;
  void (*function)(void);
} tqvBridgeEntry;

/* Opens the GenICam device at the address ("sim", "sim:<profile>", ...) and creates a handle
 * over it as tqvCreateGenICamEx does with the flags. The handle holds the device: tqvDestroy
 * releases both. TQV_NOT_FOUND when no device answers at the address. */
TQV_BRIDGE_API uint32_t tqvBridgeOpenGenICam(const char* address, uint32_t flags, void** out);

/* The C forms, ended by an entry with a null name. */
TQV_BRIDGE_API const tqvBridgeEntry* tqvBridgeTable(void);

#ifdef __cplusplus
} /* extern "C" */
#endif

#endif /* TQVBRIDGE_H */
