/* libParamTree: the property-tree client. Every call on a connection takes it first and returns
 * a result code (0 success; 160 no such path; 161 no limits; 162 read-only; ...). Paths are
 * dotted texts such as ".system.settings.p0.integrationWidth". */
#ifndef PARAMTREE_H
#define PARAMTREE_H

#include <stdbool.h>
#include <stddef.h>
#include <stdint.h>

#if defined(__GNUC__)
#define RES_API __attribute__((visibility("default")))
#else
#define RES_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* Result codes. The numbering is shared with libtqvSDK, which passes them on unchanged. */
#define RES_OK 0u /* success */
#define RES_TIMEOUT                                                 \
  1u /* no answer in time; also: another thread kept the connection \
        acquired for the whole time-out */
#define RES_NOT_SUPPORTED                                                                 \
  2u                       /* not in this form: a type that does not convert, a file call \
                              on a directory, a release without an acquire */
#define RES_NOT_FOUND 160u /* no such path, file, directory, child or entry */
#define RES_NO_LIMITS 161u /* the path has no limits */
#define RES_READ_ONLY 162u /* the path is read-only */
#define RES_FAILED 165u    /* the camera could not do it (directory not empty, name taken) */
#define RES_INVALID_ARGUMENT                                                                      \
  166u                              /* a null or unknown connection, list or directory handle, a  \
                                       null path or output, a malformed path, a value outside the \
                                       path's type range or limits */
#define RES_UNEXPECTED_VALUE 167u   /* the camera answered something the client cannot use */
#define RES_OUT_OF_ENUMERATION 168u /* a value outside an enumeration */
#define RES_TOO_LARGE 169u          /* a text too long, a file larger than the free space */
#define RES_ACCESS_DENIED 170u      /* a read-only file, the root directory */
#define RES_ERROR 0xFFFFFFFFu       /* a failure without a finer code */

/* Value types of resGet. */
enum {
  RES_TYPE_BOOL = 1,
  RES_TYPE_UINT32 = 2,
  RES_TYPE_DOUBLE = 3,
  RES_TYPE_STRING = 4,
  RES_TYPE_UTF16 = 7,
};

/* A value of any type; release with resFiniValue. Other numeric types (8/16-bit, signed, float)
 * report themselves as RES_TYPE_UINT32 or RES_TYPE_DOUBLE with the value converted. */
typedef struct resValue {
  uint32_t type;
  union {
    bool b;
    uint32_t u32;
    double f64;
    char* text;      /* RES_TYPE_STRING */
    uint16_t* utf16; /* RES_TYPE_UTF16, NUL-terminated */
    uint8_t bytes[8];
  } payload;
} resValue;

/* Attribute flags of a path. */
enum { RES_ATTR_HEX = 1 }; /* an integer shown in hexadecimal */
typedef struct resAttributes {
  uint32_t flags;
} resAttributes;

typedef uint32_t (*resReadCallback)(uint32_t offset, void* buffer, uint32_t length, void* context);
typedef uint32_t (*resWriteCallback)(uint32_t offset, const void* buffer, uint32_t length,
                                     void* context);
/* The callbacks' return: the sender ignores the progress result; a non-zero read or write
 * result ends the transfer with that code. */
typedef int (*resProgressCallback)(uint32_t done, uint32_t total, void* context);

/* Connections. "sim" or "sim:<profile>" opens a new in-process simulated camera, "sim:file=<path>"
 * one described by a profile file (docs/simulated-cameras.md). Any other address: 160, and *tree
 * is left as it was. Every call checks its connection: a null, closed or unknown one gives 166,
 * as does a null path or output pointer. */
RES_API uint32_t resOpen(const char* address, void** tree);
/* Why the calling thread's last resOpen failed, e.g. "cams/a.profile:12: 300 does not fit u8";
 * an empty text after a success. Valid until that thread's next resOpen. */
RES_API const char* resLastOpenError(void);
RES_API uint32_t resClose(void* tree);

/* malloc and free: texts and blocks from the library may be released with either. */
RES_API void* resAlloc(size_t size);
RES_API void resFree(void* pointer);
/* The text of a result code; a generic text for codes without one. */
RES_API const char* resErrorToString(uint32_t code);

RES_API uint32_t resVerify(void* tree, const char* path);

/* Typed reads write *value only on success. A path keeps its own type; a read converts from it:
 * bool from bool or an integer (non-zero is true); an integer of any width from bool or any
 * integer, kept to the asked width as a C cast does (u16 300 read as u8 gives 44); float and
 * double from either or from an integer. A number read as another kind (a float as integer,
 * bool as float) answers 2. */
RES_API uint32_t resGetBool(void* tree, const char* path, bool* value);
RES_API uint32_t resGetInt8(void* tree, const char* path, int8_t* value);
RES_API uint32_t resGetUInt8(void* tree, const char* path, uint8_t* value);
RES_API uint32_t resGetInt16(void* tree, const char* path, int16_t* value);
RES_API uint32_t resGetUInt16(void* tree, const char* path, uint16_t* value);
RES_API uint32_t resGetInt32(void* tree, const char* path, int32_t* value);
RES_API uint32_t resGetUInt32(void* tree, const char* path, uint32_t* value);
RES_API uint32_t resGetInt(void* tree, const char* path, int* value);
RES_API uint32_t resGetFlt32(void* tree, const char* path, float* value);
RES_API uint32_t resGetFlt64(void* tree, const char* path, double* value);

/* Typed writes store into the path's own type: an integer must fit it, and a value outside the
 * path's limits is refused (166); a float path takes integers; a bool path takes integers
 * (non-zero is true); other mixes answer 2; read-only paths answer 162. */
RES_API uint32_t resSetBool(void* tree, const char* path, bool value, int commit);
RES_API uint32_t resSetInt8(void* tree, const char* path, int8_t value, int commit);
RES_API uint32_t resSetUInt8(void* tree, const char* path, uint8_t value, int commit);
RES_API uint32_t resSetInt16(void* tree, const char* path, int16_t value, int commit);
RES_API uint32_t resSetUInt16(void* tree, const char* path, uint16_t value, int commit);
RES_API uint32_t resSetInt32(void* tree, const char* path, int32_t value, int commit);
RES_API uint32_t resSetUInt32(void* tree, const char* path, uint32_t value, int commit);
RES_API uint32_t resSetInt(void* tree, const char* path, int value, int commit);
RES_API uint32_t resSetFlt32(void* tree, const char* path, float value, int commit);
RES_API uint32_t resSetFlt64(void* tree, const char* path, double value, int commit);
RES_API uint32_t resSetDouble(void* tree, const char* path, double value, int commit);

/* *text is allocated by the library and released with resFreeString (or free). A UTF-16 path is
 * read as UTF-8 and written from UTF-8; a number is not a text (2). Texts over 4096 bytes: 169. */
RES_API uint32_t resGetString(void* tree, const char* path, char** text);
RES_API void resFreeString(char** text);
RES_API uint32_t resSetString(void* tree, const char* path, const char* text, int commit);

RES_API uint32_t resGetLimitsFlt32Ex(void* tree, const char* path, float* min, float* max);

/* resGet: a path without value (a group of children) answers 2. resFiniValue empties the record,
 * so a second call frees nothing. */
RES_API uint32_t resGet(void* tree, const char* path, resValue* value);
RES_API uint32_t resFiniValue(resValue* value);
RES_API uint32_t resGetAttributes(void* tree, const char* path, resAttributes* attributes);

/* Children of a path, in the camera's order. The names stay valid until resFreeChildren. The
 * First/Next calls answer 160 when there is no (further) child. */
RES_API uint32_t resGetChildren(void* tree, const char* path, void** list);
RES_API uint32_t resGetFirstChild(void* tree, void* list, const char** name);
RES_API uint32_t resGetNextChild(void* tree, void* list, const char** name);
RES_API void resFreeChildren(void* tree, void* list);

/* The time-out also bounds the wait for another thread's acquisition (then 1). */
RES_API uint32_t resSetTimeout(void* tree, uint32_t milliseconds);
/* Brackets calls that must not interleave with other clients' calls: the calling thread has the
 * camera until the matching release (acquisitions nest); other threads' calls wait. A release
 * without an acquisition answers 2. */
RES_API uint32_t resAcquire(void* tree);
RES_API uint32_t resRelease(void* tree);

/* The camera's file system: '/'-separated paths, names compared without regard to ASCII case.
 * resFileExists: 0 when the file (or directory) exists. Attribute bytes: 0x10 directory, 0x20
 * file, 0x01 read-only; times in seconds since 1970 (UTC). Null outputs are skipped. */
RES_API uint32_t resFileExists(void* tree, const char* path);
RES_API uint32_t resDeleteFile(void* tree, const char* path);
RES_API uint32_t resRenameFile(void* tree, const char* path, const char* newPath);
RES_API uint32_t resCreateDir(void* tree, const char* path);
RES_API uint32_t resRemoveDir(void* tree, const char* path);
RES_API uint32_t resGetFileInfo(void* tree, const char* path, uint8_t* attributes, uint32_t* size,
                                uint64_t* time);
/* Directory listing with a pattern ("*", "*.lens"; '*' and '?' wildcards, any case), in the
 * order the entries were created. resDirRead answers 160 after the last entry; *name stays valid
 * until the next read or the close. */
RES_API uint32_t resDirOpen(void* tree, void** dir, const char* directory, const char* pattern);
RES_API uint32_t resDirRead(void* tree, void* dir, const char** name, uint8_t* attributes,
                            uint32_t* size, uint64_t* time);
RES_API uint32_t resDirClose(void* tree, void* dir);

/* File transfers in chunks (the camera's chunk size, 4096 bytes unless it says otherwise): the
 * read callback fills each chunk of an upload, the write callback takes each chunk of a download;
 * progress (optional) follows every chunk with (bytes so far, total). An uploaded file appears
 * only once complete; an empty file moves without callbacks. */
RES_API uint32_t resSendFile(void* tree, const char* path, uint32_t size, resReadCallback read,
                             void* readContext, resProgressCallback progress,
                             void* progressContext);
RES_API uint32_t resRecvFile(void* tree, const char* path, resWriteCallback write,
                             void* writeContext, resProgressCallback progress,
                             void* progressContext);

#ifdef __cplusplus
}
#endif

#endif /* PARAMTREE_H */
