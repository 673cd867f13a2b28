#include "PathTree.h"

namespace sim::ptree {

namespace {

constexpr std::size_t kMaxPathLength = 1024;

std::string ParentOf(const std::string& path) {
  std::size_t dot = path.rfind('.');
  return dot == 0 ? std::string(".") : path.substr(0, dot);
}

}  // namespace

bool ValidTreePath(std::string_view path) {
  if (path == ".") return true;
  if (path.empty() || path.size() > kMaxPathLength || path.front() != '.' || path.back() == '.') {
    return false;
  }
  char previous = 0;
  for (char c : path) {
    if (c < 0x21 || c > 0x7E) return false;
    if (c == '.' && previous == '.') return false;
    previous = c;
  }
  return true;
}

PathTree::PathTree() { m_nodes.emplace(".", Node{}); }

Node* PathTree::Find(std::string_view path) {
  auto found = m_nodes.find(std::string(path));
  return found == m_nodes.end() ? nullptr : &found->second;
}

const Node* PathTree::Find(std::string_view path) const {
  auto found = m_nodes.find(std::string(path));
  return found == m_nodes.end() ? nullptr : &found->second;
}

Node* PathTree::Ensure(const std::string& path) {
  if (!ValidTreePath(path)) return nullptr;
  if (Node* node = Find(path)) return node;
  Node* parent = Ensure(ParentOf(path));
  parent->children.push_back(path.substr(path.rfind('.') + 1));
  return &m_nodes.emplace(path, Node{}).first->second;
}

bool PathTree::Remove(const std::string& path) {
  if (path == ".") return false;
  Node* node = Find(path);
  if (!node) return false;
  std::vector<std::string> children = node->children;
  for (const std::string& child : children)
    Remove(path + "." + child);
  m_nodes.erase(path);
  Node* parent = Find(ParentOf(path));
  if (parent) {
    std::string name = path.substr(path.rfind('.') + 1);
    std::erase(parent->children, name);
  }
  return true;
}

}  // namespace sim::ptree
