// The simulated camera's property tree: typed values under dotted paths, children in the order
// they were added, and per-path flags. Not thread-safe; the camera locks around it.
#pragma once

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "ParamTreeTransport.h"

namespace sim::ptree {

struct Node {
  paramtree::Value value;  // type None: a node without value
  bool readOnly = false;
  bool hex = false;
  bool hasLimits = false;
  double min = 0.0;
  double max = 0.0;
  std::vector<std::string> children;  // names, in the order they were added
};

// "." (the root) or one or more ".name" parts; names are printable ASCII without '.'.
bool ValidTreePath(std::string_view path);

class PathTree {
 public:
  PathTree();

  Node* Find(std::string_view path);
  const Node* Find(std::string_view path) const;
  // The node of a valid path, created with its missing parents; null for a malformed path.
  Node* Ensure(const std::string& path);
  // Removes a path with everything below it; false when missing (the root stays).
  bool Remove(const std::string& path);

 private:
  std::unordered_map<std::string, Node> m_nodes;
};

}  // namespace sim::ptree
