// The camera side of the file and directory protocol: what the device does when a host executes
// the file or directory operation command. Runs inside execute hooks, under the device lock.
#pragma once

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "genicam/SimDevice.h"

namespace sim::genicam {

class FileProtocol {
 public:
  FileProtocol();
  ~FileProtocol();
  FileProtocol(const FileProtocol&) = delete;
  FileProtocol& operator=(const FileProtocol&) = delete;

  // Hooks the two execute commands; `prefix` is "" for the standard file feature names or
  // "Camera" for the camera-specific ones.
  void Install(Device& device, const std::string& prefix);

  void SetPlace(int kind, const std::string& directoryOrPath, const std::string& extension);
  std::string PathOf(int kind, const std::string& name) const;
  void FailFile(const OperationFault& fault) { m_fileFaults.push_back(fault); }
  void FailDirectory(const OperationFault& fault) { m_directoryFaults.push_back(fault); }
  bool IsOpen() const { return m_transfer != nullptr; }

 private:
  struct Place {
    std::string directory;
    std::string extension;
  };
  struct Transfer;

  void RunFile(Device& device);
  void RunDirectory(Device& device);
  i64 Open(Device& device, const std::string& path);
  i64 Close(Device& device);
  i64 Read(Device& device);
  i64 Write(Device& device);
  i64 List(Device& device, int selector, const std::string& directory);
  std::string N(const char* role) const { return m_prefix + role; }
  static bool TakeFault(std::vector<OperationFault>& faults, i64 operation, i64* status);

  // The last file served compressed and its zlib stream: downloading the same bytes again sends
  // the stream without deflating them again, as a camera that keeps its compressed files does.
  struct Compressed {
    std::string path;
    std::vector<u8> original;
    std::vector<u8> stream;
  };

  std::string m_prefix;
  Compressed m_compressed;
  std::array<Place, 7> m_places;
  std::vector<OperationFault> m_fileFaults;
  std::vector<OperationFault> m_directoryFaults;
  std::unique_ptr<Transfer> m_transfer;
};

}  // namespace sim::genicam
