// Shared pieces of the property-tree simulator suites.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "ParamTree.h"
#include "ptree/SimTree.h"

namespace ptreetest {

// A connection to a fresh simulated camera, closed at the end.
class Connection {
 public:
  explicit Connection(const char* address = "sim") {
    EXPECT_EQ(resOpen(address, &m_tree), RES_OK) << address;
  }
  ~Connection() {
    if (m_tree) resClose(m_tree);
  }
  Connection(const Connection&) = delete;
  Connection& operator=(const Connection&) = delete;

  void* tree() const { return m_tree; }
  sim::ptree::Camera& camera() const { return *sim::ptree::CameraOf(m_tree); }

 private:
  void* m_tree = nullptr;
};

}  // namespace ptreetest
