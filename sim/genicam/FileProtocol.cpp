#include "genicam/FileProtocol.h"

#include <zlib.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <stdexcept>

namespace sim::genicam {

namespace {

bool EndsWithIgnoringCase(const std::string& text, const std::string& tail) {
  if (tail.empty() || text.size() < tail.size()) return false;
  for (std::size_t i = 0; i < tail.size(); ++i) {
    unsigned char a = static_cast<unsigned char>(text[text.size() - tail.size() + i]);
    unsigned char b = static_cast<unsigned char>(tail[i]);
    if (std::tolower(a) != std::tolower(b)) return false;
  }
  return true;
}

std::string ParentOf(const std::string& path) {
  std::size_t slash = path.rfind('/');
  return slash == 0 || slash == std::string::npos ? "/" : path.substr(0, slash);
}

// The whole file as one zlib stream (window bits 15), as a camera sends it.
bool Compress(const std::vector<u8>& input, std::vector<u8>* output) {
  uLongf length = compressBound(static_cast<uLong>(input.size()));
  output->resize(length);
  int result = compress2(output->data(), &length, input.data(), static_cast<uLong>(input.size()),
                         Z_DEFAULT_COMPRESSION);
  if (result != Z_OK) return false;
  output->resize(length);
  return true;
}

}  // namespace

struct FileProtocol::Transfer {
  Transfer() = default;
  Transfer(const Transfer&) = delete;
  Transfer& operator=(const Transfer&) = delete;
  ~Transfer() {
    if (inflating) inflateEnd(&stream);
  }

  std::string path;
  bool write = false;
  bool compressed = false;
  // Download: the bytes served (the zlib stream when compressed). Upload: the file received.
  std::vector<u8> payload;
  u64 announced = 0;
  u64 highWater = 0;     // uncompressed upload: the end of the furthest write
  u64 streamOffset = 0;  // compressed upload: stream bytes taken so far
  bool streamEnded = false;
  z_stream stream{};
  bool inflating = false;
};

FileProtocol::FileProtocol() = default;
FileProtocol::~FileProtocol() = default;

void FileProtocol::Install(Device& device, const std::string& prefix) {
  m_prefix = prefix;
  device.OnExecute(N("FileOperationExecute"),
                   [this](Device& d, const std::string&) { RunFile(d); });
  device.OnExecute("DirectoryOperationExecute",
                   [this](Device& d, const std::string&) { RunDirectory(d); });
}

void FileProtocol::SetPlace(int kind, const std::string& directoryOrPath,
                            const std::string& extension) {
  if (kind < 1 || kind > 6)
    throw std::invalid_argument("sim device: file kinds 1 to 6 have places");
  std::string path = FileStore::Normalize(directoryOrPath);
  if (path.empty()) throw std::invalid_argument("sim device: bad place " + directoryOrPath);
  m_places[static_cast<std::size_t>(kind)] = Place{path, extension};
}

std::string FileProtocol::PathOf(int kind, const std::string& name) const {
  if (kind == 0) return FileStore::Normalize(name);
  if (kind < 0 || kind > 6) return "";
  const Place& place = m_places[static_cast<std::size_t>(kind)];
  if (place.directory.empty()) return "";
  // The factory default state is the one file of its kind: no name is given.
  if (kind == 5) return place.directory;
  if (name.empty() || name == "." || name == ".." ||
      name.find_first_of(std::string("/\\\0", 3)) != std::string::npos) {
    return "";
  }
  std::string file = EndsWithIgnoringCase(name, place.extension) ? name : name + place.extension;
  return FileStore::Normalize(place.directory + "/" + file);
}

bool FileProtocol::TakeFault(std::vector<OperationFault>& faults, i64 operation, i64* status) {
  bool fired = false;
  for (OperationFault& fault : faults) {
    if (fault.operation != -1 && fault.operation != operation) continue;
    if (fault.skip > 0) {
      --fault.skip;
    } else if (!fired) {
      fired = true;
      *status = fault.status;
      --fault.count;
    }
  }
  faults.erase(std::remove_if(faults.begin(), faults.end(),
                              [](const OperationFault& fault) { return fault.count <= 0; }),
               faults.end());
  return fired;
}

void FileProtocol::RunFile(Device& d) {
  i64 status = kFileFailure;
  try {
    i64 operation = d.GetInt(N("FileOperationSelector"));
    if (!TakeFault(m_fileFaults, operation, &status)) {
      i64 kind = d.GetInt(N("FileSelector"));
      std::string name = d.Has(N("FileName")) ? d.GetString(N("FileName")) : "";
      std::string path = PathOf(static_cast<int>(kind), name);
      FileStore& files = d.Files();
      switch (operation) {
        case 0:
          status = Open(d, path);
          break;
        case 1:
          status = Close(d);
          break;
        case 2:
          status = Read(d);
          break;
        case 3:
          status = Write(d);
          break;
        case 4: {
          std::optional<FileInfo> info = files.Info(path);
          status = path.empty()      ? kFileBadName
                   : !info           ? kFileNotFound
                   : info->directory ? kFileBadName
                                     : files.Remove(path);
          break;
        }
        case 5: {
          std::string target =
              kind == 5 ? "" : PathOf(static_cast<int>(kind), d.GetString(N("FileNewName")));
          status = path.empty() || target.empty() ? kFileBadName : files.Rename(path, target);
          break;
        }
        case 6: {
          std::optional<FileInfo> info = path.empty() ? std::nullopt : files.Info(path);
          if (!info) {
            status = path.empty() ? kFileBadName : kFileNotFound;
          } else {
            d.SetInt(N("FileSize"), static_cast<i64>(info->size));
            if (d.Has(N("FileModifiedTime"))) {
              d.SetInt(N("FileModifiedTime"), static_cast<i64>(info->modified));
            }
            status = kFileSuccess;
          }
          break;
        }
        default:
          status = kFileFailure;
          break;
      }
    }
  } catch (const std::invalid_argument&) {
    // A feature the protocol needs is missing from the profile: the operation fails.
    status = kFileFailure;
  }
  if (d.Has(N("FileOperationStatus"))) d.SetInt(N("FileOperationStatus"), status);
}

i64 FileProtocol::Open(Device& d, const std::string& path) {
  m_transfer.reset();  // a new open abandons a transfer that was never closed
  if (path.empty()) return kFileBadName;
  auto transfer = std::make_unique<Transfer>();
  transfer->path = path;
  transfer->compressed = d.Has(N("FileCompression")) && d.GetInt(N("FileCompression")) == 1;
  FileStore& files = d.Files();
  i64 mode = d.GetInt(N("FileOpenMode"));
  if (mode == 0) {
    std::optional<std::vector<u8>> bytes = files.Read(path);
    if (!bytes) return kFileNotFound;
    d.SetInt(N("FileSize"), static_cast<i64>(bytes->size()));
    if (transfer->compressed) {
      if (m_compressed.path != path || m_compressed.original != *bytes) {
        m_compressed.path.clear();
        if (!Compress(*bytes, &m_compressed.stream)) return kFileFailure;
        m_compressed.original = std::move(*bytes);
        m_compressed.path = path;
      }
      transfer->payload = m_compressed.stream;
    } else {
      transfer->payload = std::move(*bytes);
    }
  } else if (mode == 1) {
    i64 announced = d.GetInt(N("FileSize"));
    if (announced < 0) return kFileOverflow;
    std::optional<FileInfo> existing = files.Info(path);
    if (existing && existing->directory) return kFileBadName;
    if (existing && existing->attrib == kAttribReadOnly) return kFileReadOnly;
    if (!files.IsDirectory(ParentOf(path))) return kFileNotFound;
    u64 replaced = existing ? existing->size : 0;
    if (static_cast<u64>(announced) > files.FreeSpace() + replaced) return kFileOverflow;
    transfer->write = true;
    transfer->announced = static_cast<u64>(announced);
    if (transfer->compressed) {
      if (inflateInit2(&transfer->stream, 15) != Z_OK) return kFileFailure;
      transfer->inflating = true;
    }
  } else {
    return kFileFailure;
  }
  m_transfer = std::move(transfer);
  return kFileSuccess;
}

i64 FileProtocol::Close(Device& d) {
  if (!m_transfer) return kFileNotOpen;
  std::unique_ptr<Transfer> transfer = std::move(m_transfer);
  if (!transfer->write) return kFileSuccess;
  bool complete = transfer->compressed
                      ? transfer->streamEnded && transfer->payload.size() == transfer->announced
                      : transfer->highWater == transfer->announced;
  if (!complete) return kFileIncomplete;
  return d.Files().Write(transfer->path, transfer->payload);
}

i64 FileProtocol::Read(Device& d) {
  if (!m_transfer || m_transfer->write) return kFileNotOpen;
  Transfer& t = *m_transfer;
  i64 offset = d.GetInt(N("FileAccessOffset"));
  i64 length = d.GetInt(N("FileAccessLength"));
  std::vector<u8> buffer = d.GetRegister(N("FileAccessBuffer"));
  u64 size = t.payload.size();
  if (offset < 0 || length < 0 || length > static_cast<i64>(buffer.size())) return kFileBadOffset;
  u64 start = static_cast<u64>(offset);
  u64 count = static_cast<u64>(length);
  if (t.compressed) {
    // The host asks for whole registers of the stream; the last one is cut at its end.
    if (start >= size) return kFileBadOffset;
    count = std::min(count, size - start);
  } else if (start > size || count > size - start) {
    return kFileBadOffset;
  }
  std::fill(buffer.begin(), buffer.end(), u8{0});
  if (count > 0) std::memcpy(buffer.data(), t.payload.data() + start, count);
  d.SetRegister(N("FileAccessBuffer"), buffer);
  if (d.Has(N("FileOperationResult"))) {
    d.SetInt(N("FileOperationResult"), static_cast<i64>(count));
  }
  return kFileSuccess;
}

i64 FileProtocol::Write(Device& d) {
  if (!m_transfer || !m_transfer->write) return kFileNotOpen;
  Transfer& t = *m_transfer;
  i64 offset = d.GetInt(N("FileAccessOffset"));
  i64 length = d.GetInt(N("FileAccessLength"));
  std::vector<u8> buffer = d.GetRegister(N("FileAccessBuffer"));
  if (offset < 0 || length < 0 || length > static_cast<i64>(buffer.size())) return kFileBadOffset;
  u64 start = static_cast<u64>(offset);
  u64 count = static_cast<u64>(length);
  if (!t.compressed) {
    if (start > t.announced || count > t.announced - start) return kFileOverflow;
    if (t.payload.size() < start + count) t.payload.resize(start + count);
    if (count > 0) std::memcpy(t.payload.data() + start, buffer.data(), count);
    t.highWater = std::max(t.highWater, start + count);
  } else {
    if (start != t.streamOffset) return kFileBadOffset;
    if (t.streamEnded && count > 0) return kFileOverflow;
    t.stream.next_in = buffer.data();
    t.stream.avail_in = static_cast<uInt>(count);
    while (!t.streamEnded) {
      u8 out[16384];
      t.stream.next_out = out;
      t.stream.avail_out = sizeof out;
      int result = inflate(&t.stream, Z_NO_FLUSH);
      std::size_t produced = sizeof out - t.stream.avail_out;
      if (t.payload.size() + produced > t.announced) return kFileOverflow;
      t.payload.insert(t.payload.end(), out, out + produced);
      if (result == Z_STREAM_END) {
        t.streamEnded = true;
      } else if (result == Z_BUF_ERROR) {
        break;  // all input taken; the rest of the stream comes with the next chunk
      } else if (result != Z_OK) {
        return kFileFailure;
      } else if (t.stream.avail_in == 0 && t.stream.avail_out != 0) {
        break;
      }
    }
    t.stream.next_in = nullptr;
    t.stream.avail_in = 0;
    t.streamOffset += count;
  }
  if (d.Has(N("FileOperationResult"))) d.SetInt(N("FileOperationResult"), length);
  return kFileSuccess;
}

void FileProtocol::RunDirectory(Device& d) {
  i64 status = kFileFailure;
  try {
    i64 selector = d.GetInt("DirectorySelector");
    i64 operation = d.GetInt("DirectoryOperationSelector");
    if (!TakeFault(m_directoryFaults, operation, &status)) {
      std::string directory;
      if (selector == 0) {
        directory = FileStore::Normalize(d.GetString("DirectoryName"));
      } else if (selector >= 1 && selector <= 4) {
        directory = m_places[static_cast<std::size_t>(selector)].directory;
      }
      FileStore& files = d.Files();
      if (selector < 0 || selector > 4) {
        status = kFileFailure;
      } else if (directory.empty()) {
        status = kFileBadName;
      } else if (operation == 0) {
        status = List(d, static_cast<int>(selector), directory);
      } else if (operation == 1) {
        status = files.MakeDirectory(directory);
      } else if (operation == 2) {
        status = files.IsDirectory(directory) ? files.Remove(directory) : kFileNotFound;
      } else if (operation == 3) {
        status = kFileNotFound;
        if (files.IsDirectory(directory)) {
          d.SetInt("DirectoryFreeSpace", static_cast<i64>(files.FreeSpace()));
          status = kFileSuccess;
        }
      } else {
        status = kFileFailure;
      }
    }
  } catch (const std::invalid_argument&) {
    status = kFileFailure;
  }
  if (d.Has("DirectoryOperationStatus")) d.SetInt("DirectoryOperationStatus", status);
}

i64 FileProtocol::List(Device& d, int selector, const std::string& directory) {
  std::optional<std::vector<FileInfo>> all = d.Files().List(directory);
  if (!all) return kFileNotFound;
  // The kind directories list their files by name without the extension; a plain directory
  // lists everything under its full names.
  std::vector<FileInfo> entries;
  const std::string& extension = m_places[static_cast<std::size_t>(selector)].extension;
  for (FileInfo info : *all) {
    if (selector != 0) {
      if (info.directory || !EndsWithIgnoringCase(info.name, extension) ||
          info.name.size() == extension.size()) {
        continue;
      }
      info.name.resize(info.name.size() - extension.size());
    }
    entries.push_back(info);
  }
  const char* perEntry[] = {"DirectoryEntryName", "DirectoryEntrySize", "DirectoryEntryAttrib",
                            "DirectoryEntryModifiedTime"};
  for (const char* name : perEntry)
    d.ResetSelected(name);
  for (std::size_t i = 0; i < entries.size(); ++i) {
    d.SetInt("DirectoryEntryIndex", static_cast<i64>(i));
    d.SetString("DirectoryEntryName", entries[i].name);
    d.SetInt("DirectoryEntrySize", static_cast<i64>(entries[i].size));
    d.SetInt("DirectoryEntryAttrib", entries[i].attrib);
    d.SetInt("DirectoryEntryModifiedTime", static_cast<i64>(entries[i].modified));
  }
  i64 last = entries.empty() ? 0 : static_cast<i64>(entries.size()) - 1;
  d.SetIntLimits("DirectoryEntryIndex", 0, last);
  d.SetInt("DirectoryEntryIndex", 0);
  return entries.empty() ? kDirectoryEmpty : kFileSuccess;
}

}  // namespace sim::genicam
