// The camera file and directory protocol over GenICam features: a file selector and name, an
// operation selector with an execute command and a status, and an access window (offset, length,
// buffer register). Transfers may be zlib-compressed.
#include <zlib.h>

#include <algorithm>
#include <memory>
#include <new>

#include "frame/registry.h"
#include "genicam/CTQVSDKGenICam.h"
#include "genicam/access.h"

namespace {

// File operations and open modes.
enum : i64 { kOpen = 0, kClose = 1, kRead = 2, kWrite = 3, kDelete = 4, kRename = 5, kInfo = 6 };
enum : i64 { kOpenRead = 0, kOpenWrite = 1 };
enum : i64 { kListDirectory = 0, kCreateDirectory = 1, kRemoveDirectory = 2, kFreeSpace = 3 };
// The file kind of the factory default state, the only file of its kind (no name).
constexpr u8 kFactoryDefaultState = 5;
// A directory listing with nothing in it.
constexpr u8 kNothingToList = 2;

// A transfer buffer of one register length, zero-filled. Empty when the memory cannot be had: a
// camera that announces a huge register must get a result code, not an exception.
struct Buffer {
  std::unique_ptr<u8[]> bytes;
  u32 length = 0;
  u8* data() const { return bytes.get(); }
  explicit operator bool() const { return bytes != nullptr; }
};

Buffer NewBuffer(u32 length) {
  if (length == 0) return {};
  return Buffer{std::unique_ptr<u8[]>(new (std::nothrow) u8[length]()), length};
}

// The access buffer register and its length, the chunk size of a transfer. A missing feature or
// one that is not a register gives 0xFFFFFFFF, a failing access its translated code.
u32 GetAccessBuffer(const GicDevice& device, const char* name,
                    zel::TSharedPtr<zel::cam::gic::IRegister>* reg, u32* length) {
  u32 result = gicGetRegister(device, name, reg);
  if (result != rc::kOk) return result;
  i64 registerLength = 0;
  try {
    registerLength = (*reg)->GetLength();
  } catch (const std::exception& error) {
    return TranslateException(error);
  } catch (...) {
    return rc::kError;
  }
  if (registerLength <= 0 || registerLength > 0x7FFFFFFF) return rc::kError;
  *length = static_cast<u32>(registerLength);
  return rc::kOk;
}

// Only the low byte of a status counts.
u32 CheckStatus(u32 readResult, u8 status) {
  if (readResult != rc::kOk) return readResult;
  return status == 0 ? rc::kOk : rc::kError;
}

// True when the rest of the chunk's input holds no more output: inflating it into a single spare
// byte either ends the stream or runs out of input. A damaged stream (a check value that does not
// match, for one) gives false like extra data does.
bool NothingMore(z_stream& stream) {
  for (;;) {
    u8 spare = 0;
    stream.next_out = &spare;
    stream.avail_out = 1;
    const int status = inflate(&stream, Z_NO_FLUSH);
    if (stream.avail_out == 0) return false;  // more data than announced
    if (status == Z_STREAM_END || status == Z_BUF_ERROR) return true;
    if (status != Z_OK) return false;
    if (stream.avail_in == 0) return true;
  }
}

// Inflates one received chunk into the host file, writing at most `wanted` bytes (what the camera
// still announces). Returns false for a stream that is broken, ends short of `wanted`, or holds
// more than `wanted`. The output block that would complete the file is written only after the
// rest of the chunk has shown no more data, so a damaged download never leaves a file of the
// announced length behind.
bool InflateChunk(z_stream& stream, u8* input, u32 inputLength, const Buffer& output,
                  zel::IFile& file, u32 wanted, u32* produced) {
  stream.next_in = input;
  stream.avail_in = inputLength;
  *produced = 0;
  for (;;) {
    const u32 room = std::min(output.length, wanted - *produced);
    stream.next_out = output.data();
    stream.avail_out = room;
    const int status = inflate(&stream, Z_NO_FLUSH);
    const u32 made = room - stream.avail_out;
    const bool ended = status == Z_STREAM_END;
    if (!ended && status != Z_OK && status != Z_BUF_ERROR) return false;
    const bool complete = *produced + made == wanted;
    if (complete && !ended && !NothingMore(stream)) return false;
    if (made) file.Write(output.data(), made);
    *produced += made;
    if (ended || complete) return complete;
    if (stream.avail_in == 0 && stream.avail_out != 0) return true;  // the chunk is used up
    if (status == Z_BUF_ERROR && made == 0) return true;             // no progress possible
  }
}

// Fills the send buffer with the next part of the deflate stream and returns the bytes produced.
// `last` tells that the stream has ended; `failed` that deflate reported an error, after which
// what was produced is still sent and deflating goes on with the next chunk.
u32 DeflateChunk(z_stream& stream, const Buffer& input, const Buffer& output, zel::IFile& file,
                 u32* remaining, bool* last, bool* failed) {
  const u32 length = output.length;
  stream.next_out = output.data();
  stream.avail_out = length;
  *failed = false;
  while (stream.avail_out > 0) {
    if (stream.avail_in == 0 && *remaining > 0) {
      u32 part = *remaining < length ? *remaining : length;
      file.Read(input.data(), part);  // a short read sends whatever the buffer holds
      *remaining -= part;
      stream.next_in = input.data();
      stream.avail_in = part;
    }
    const int flush = (stream.avail_in == 0 && *remaining == 0) ? Z_FINISH : Z_NO_FLUSH;
    const int status = deflate(&stream, flush);
    if (status == Z_STREAM_END) {
      *last = true;
      break;
    }
    if (status != Z_OK && status != Z_BUF_ERROR) {
      *failed = true;
      break;
    }
  }
  return length - stream.avail_out;
}

}  // namespace

// --- Shared steps --------------------------------------------------------------------------------

u32 CTQVSDKGenICam::ExecuteFileOperation() {
  u32 result = gicExecute(m_device, m_fileNames->operationExecute, true);
  if (result != rc::kOk) return result;
  u8 status = 0;
  // Read first, then test: as two arguments of one call, the status could be taken before the
  // read has stored it.
  result = gicGetEnumValue(m_device, m_fileNames->operationStatus, &status, kGicAttempts);
  return CheckStatus(result, status);
}

u32 CTQVSDKGenICam::RunFileOperation(i64 operation) {
  u32 result = gicSetEnumValue(m_device, m_fileNames->operationSelector, operation, kGicAttempts);
  return result ? result : ExecuteFileOperation();
}

u32 CTQVSDKGenICam::SelectFile(u8 kind, const char* name) {
  u32 result =
      gicSetEnumValue(m_device, m_fileNames->selector, static_cast<i64>(kind), kGicAttempts);
  if (result == rc::kOk && kind != kFactoryDefaultState) {
    result = gicSetString(m_device, m_fileNames->fileName, name, kGicAttempts);
  }
  return result;
}

u32 CTQVSDKGenICam::RequestCompression(bool* compressed) {
  *compressed = gicIsPresent(m_device, m_fileNames->compression);
  if (!*compressed) return rc::kOk;
  return gicSetEnumValue(m_device, m_fileNames->compression, i64{1}, kGicAttempts);
}

u32 CTQVSDKGenICam::OpenFile(i64 mode, u32 size) {
  u32 result = gicSetEnumValue(m_device, m_fileNames->operationSelector, kOpen, kGicAttempts);
  if (result == rc::kOk)
    result = gicSetEnumValue(m_device, m_fileNames->openMode, mode, kGicAttempts);
  if (result == rc::kOk && mode == kOpenWrite) {
    result = gicSetInt64(m_device, m_fileNames->fileSize, size, kGicAttempts);
  }
  return result ? result : ExecuteFileOperation();
}

u32 CTQVSDKGenICam::CloseFile(u32 result) {
  u32 closed = RunFileOperation(kClose);
  return closed != rc::kOk ? closed : result;
}

// --- Transfers -----------------------------------------------------------------------------------

u32 CTQVSDKGenICam::FileDownload(u8 kind, const char* name, zel::TSharedPtr<zel::IFile> file,
                                 zel::delegate<int(u32, u32)> progress) {
  TQV_GIC_OPERATION();
  if (!name && kind != kFactoryDefaultState) return rc::kInvalidArgument;
  if (!file) return rc::kInvalidArgument;
  bool compressed = false;
  u32 result = SelectFile(kind, name);
  if (result == rc::kOk) result = RequestCompression(&compressed);
  if (result == rc::kOk) result = OpenFile(kOpenRead, 0);
  if (result != rc::kOk) return result;

  // From here on every way out closes the camera file.
  zel::TSharedPtr<zel::cam::gic::IRegister> buffer;
  u32 chunkLength = 0;
  result = GetAccessBuffer(m_device, m_fileNames->accessBuffer, &buffer, &chunkLength);
  if (result != rc::kOk) return CloseFile(result);
  Buffer received = NewBuffer(chunkLength);
  Buffer inflated = NewBuffer(compressed ? chunkLength : 0);
  if (!received || (compressed && !inflated)) return CloseFile(rc::kError);
  z_stream stream{};
  bool streamOpen = false;
  if (compressed) {
    if (inflateInit2(&stream, 15) != Z_OK) return CloseFile(rc::kError);
    streamOpen = true;
  }

  i64 size = 0;
  result = gicGetInt64(m_device, m_fileNames->fileSize, &size, kGicAttempts);
  const u32 total = static_cast<u32>(size);
  u32 remaining = total;
  u32 offset = 0;
  if (result == rc::kOk) {
    result = gicSetEnumValue(m_device, m_fileNames->operationSelector, kRead, kGicAttempts);
  }
  while (result == rc::kOk && remaining != 0) {
    const u32 request = (!compressed && remaining < chunkLength) ? remaining : chunkLength;
    result = gicSetInt64(m_device, m_fileNames->accessOffset, offset, kGicAttempts);
    if (!result) result = gicSetInt64(m_device, m_fileNames->accessLength, request, kGicAttempts);
    if (!result) result = ExecuteFileOperation();
    if (!result) result = gicReadRegister(*buffer, received.data(), chunkLength);
    if (result != rc::kOk) break;

    GenICamLockRelease unlocked(*this);
    u32 produced = request;
    if (compressed) {
      // A broken stream, or one shorter or longer than the camera announced.
      if (!InflateChunk(stream, received.data(), chunkLength, inflated, *file, remaining,
                        &produced)) {
        result = rc::kError;
        break;
      }
      offset += chunkLength;
    } else {
      file->Write(received.data(), request);
      offset += request;
    }
    remaining -= produced;
    if (progress) progress(total - remaining, total);
  }

  if (streamOpen) inflateEnd(&stream);
  return CloseFile(result);
}

u32 CTQVSDKGenICam::FileUpload(u8 kind, const char* name, zel::TSharedPtr<zel::IFile> file,
                               zel::delegate<int(u32, u32)> progress) {
  TQV_GIC_OPERATION();
  if (!name && kind != kFactoryDefaultState) return rc::kInvalidArgument;
  if (!file) return rc::kInvalidArgument;
  // Sizes cross the protocol as 32 bits; a larger host file is refused rather than cut short.
  const u64 length = file->GetLength();
  if (length > 0xFFFFFFFFu) return rc::kTooLarge;
  const u32 total = static_cast<u32>(length);
  bool compressed = false;
  u32 result = SelectFile(kind, name);
  if (result == rc::kOk) result = RequestCompression(&compressed);
  if (result == rc::kOk) result = OpenFile(kOpenWrite, total);
  if (result != rc::kOk) return result;

  zel::TSharedPtr<zel::cam::gic::IRegister> buffer;
  u32 chunkLength = 0;
  result = GetAccessBuffer(m_device, m_fileNames->accessBuffer, &buffer, &chunkLength);
  if (result != rc::kOk) return CloseFile(result);
  Buffer send = NewBuffer(chunkLength);
  Buffer input = NewBuffer(compressed ? chunkLength : 0);
  if (!send || (compressed && !input)) return CloseFile(rc::kError);
  z_stream stream{};
  bool streamOpen = false;
  if (compressed) {
    if (deflateInit2(&stream, Z_DEFAULT_COMPRESSION, Z_DEFLATED, 15, 8, Z_DEFAULT_STRATEGY) !=
        Z_OK) {
      return CloseFile(rc::kError);
    }
    streamOpen = true;
  }

  result = gicSetEnumValue(m_device, m_fileNames->operationSelector, kWrite, kGicAttempts);
  u32 remaining = total;
  u32 offset = 0;
  for (bool last = false; result == rc::kOk && !last;) {
    u32 chunk = 0;
    {
      GenICamLockRelease unlocked(*this);
      if (compressed) {
        bool failed = false;
        chunk = DeflateChunk(stream, input, send, *file, &remaining, &last, &failed);
        // A deflate error that leaves nothing to send cannot be got past: the stream will never
        // be complete, and the upload must not be reported as done.
        if (failed && chunk == 0) {
          result = rc::kError;
          break;
        }
      } else {
        chunk = remaining < chunkLength ? remaining : chunkLength;
        file->Read(send.data(), chunk);  // a short read sends whatever the buffer holds
        remaining -= chunk;
        last = remaining == 0;
      }
    }
    result = gicSetInt64(m_device, m_fileNames->accessOffset, offset, kGicAttempts);
    if (!result) result = gicSetInt64(m_device, m_fileNames->accessLength, chunk, kGicAttempts);
    if (!result) result = gicWriteRegister(*buffer, send.data(), chunkLength);
    if (!result) result = ExecuteFileOperation();
    if (result != rc::kOk) break;
    offset += chunk;
    if (progress) {
      GenICamLockRelease unlocked(*this);
      progress(total - remaining, total);
    }
  }

  if (streamOpen) deflateEnd(&stream);
  return CloseFile(result);
}

// --- File queries --------------------------------------------------------------------------------

u32 CTQVSDKGenICam::FileGetInfo(u8 kind, const char* name, u32* size, u64* modifiedTime) {
  TQV_GIC_OPERATION();
  if (!name && kind != kFactoryDefaultState) return rc::kInvalidArgument;
  u32 result = SelectFile(kind, name);
  if (result == rc::kOk) result = RunFileOperation(kInfo);
  if (result != rc::kOk) return result;
  if (size) {
    i64 value = 0;
    if ((result = gicGetInt64(m_device, m_fileNames->fileSize, &value, kGicAttempts)))
      return result;
    *size = static_cast<u32>(value);
  }
  if (modifiedTime) {
    i64 value = 0;
    result = gicGetInt64(m_device, m_fileNames->modifiedTime, &value, kGicAttempts);
    if (result != rc::kOk) return result;
    *modifiedTime = static_cast<u64>(value);
  }
  return rc::kOk;
}

u32 CTQVSDKGenICam::FileExists(u8 kind, const char* name) {
  return FileGetInfo(kind, name, nullptr, nullptr);
}

u32 CTQVSDKGenICam::FileDelete(u8 kind, const char* name) {
  TQV_GIC_OPERATION();
  if (!name && kind != kFactoryDefaultState) return rc::kInvalidArgument;
  u32 result = SelectFile(kind, name);
  return result ? result : RunFileOperation(kDelete);
}

u32 CTQVSDKGenICam::FileRename(u8 kind, const char* name, const char* newName) {
  TQV_GIC_OPERATION();
  if (!name || !newName || kind == kFactoryDefaultState) return rc::kInvalidArgument;
  u32 result = SelectFile(kind, name);
  if (result == rc::kOk)
    result = gicSetString(m_device, m_fileNames->newName, newName, kGicAttempts);
  return result ? result : RunFileOperation(kRename);
}

// --- Directories ---------------------------------------------------------------------------------

u32 CTQVSDKGenICam::SelectDirectory(u8 kind, const char* name) {
  if (kind == 0 && !name) return rc::kInvalidArgument;
  u32 result = gicSetEnumValue(m_device, "DirectorySelector", static_cast<i64>(kind), kGicAttempts);
  if (result == rc::kOk && kind == 0) {
    result = gicSetString(m_device, "DirectoryName", name, kGicAttempts);
  }
  return result;
}

u32 CTQVSDKGenICam::RunDirectoryOperation(i64 operation, u8* status) {
  u32 result = gicSetEnumValue(m_device, "DirectoryOperationSelector", operation, kGicAttempts);
  if (result == rc::kOk) result = gicExecute(m_device, "DirectoryOperationExecute", true);
  if (result == rc::kOk) {
    result = gicGetEnumValue(m_device, "DirectoryOperationStatus", status, kGicAttempts);
  }
  return result;
}

u32 CTQVSDKGenICam::DirectoryList(u8 kind, const char* name, zel::TArray<tqvSDirEntry>& list) {
  TQV_GIC_OPERATION();
  list.Clear();
  u8 status = 0;
  u32 result = SelectDirectory(kind, name);
  if (result == rc::kOk) result = RunDirectoryOperation(kListDirectory, &status);
  if (result != rc::kOk) return result;
  if (status == kNothingToList) return rc::kOk;
  if (status != 0) return rc::kError;

  i64 last = 0;  // entries are numbered from 0 to the index's maximum
  if ((result = gicGetLimitsInt64(m_device, "DirectoryEntryIndex", nullptr, &last))) return result;
  for (i64 index = 0; index <= last; ++index) {
    tqvSDirEntry entry{};
    i64 size = 0, modified = 0;
    result = gicSetInt64(m_device, "DirectoryEntryIndex", index, kGicAttempts);
    if (!result) result = gicGetString(m_device, "DirectoryEntryName", entry.fname, kGicAttempts);
    if (!result) result = gicGetInt64(m_device, "DirectoryEntrySize", &size, kGicAttempts);
    if (!result)
      result = gicGetEnumValue(m_device, "DirectoryEntryAttrib", &entry.attrib, kGicAttempts);
    if (!result) {
      result = gicGetInt64(m_device, "DirectoryEntryModifiedTime", &modified, kGicAttempts);
    }
    if (result != rc::kOk) return result;
    entry.size = static_cast<u32>(size);
    entry.timeLastModified = static_cast<u64>(modified);
    list.Add(std::move(entry));
  }
  return rc::kOk;
}

u32 CTQVSDKGenICam::DirectoryFreeSpace(u8 kind, const char* name, u64* freeBytes) {
  TQV_GIC_OPERATION();
  if (!freeBytes) return rc::kInvalidArgument;
  u8 status = 0;
  u32 result = SelectDirectory(kind, name);
  if (result == rc::kOk) result = RunDirectoryOperation(kFreeSpace, &status);
  if (result == rc::kOk && status != 0) result = rc::kError;
  if (result != rc::kOk) return result;
  i64 value = 0;
  result = gicGetInt64(m_device, "DirectoryFreeSpace", &value, kGicAttempts);
  if (result == rc::kOk) *freeBytes = static_cast<u64>(value);
  return result;
}

u32 CTQVSDKGenICam::CreateDir(const char* path) {
  TQV_GIC_OPERATION();
  u8 status = 0;
  u32 result = SelectDirectory(0, path);
  if (result == rc::kOk) result = RunDirectoryOperation(kCreateDirectory, &status);
  return result ? result : (status == 0 ? rc::kOk : rc::kError);
}

u32 CTQVSDKGenICam::RemoveDir(const char* path) {
  TQV_GIC_OPERATION();
  u8 status = 0;
  u32 result = SelectDirectory(0, path);
  if (result == rc::kOk) result = RunDirectoryOperation(kRemoveDirectory, &status);
  return result ? result : (status == 0 ? rc::kOk : rc::kError);
}
