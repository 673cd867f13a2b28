// Stored configurations and the camera's storage over the property tree.
#include "ptree/CTQVSDKPTree.h"

// --- Directories and files ----------------------------------------------------------------------

u32 CTQVSDKPTree::CreateDir(const char* path) {
  if (!path) return rc::kInvalidArgument;
  return resCreateDir(m_tree, path);
}

u32 CTQVSDKPTree::RemoveDir(const char* path) {
  if (!path) return rc::kInvalidArgument;
  return resRemoveDir(m_tree, path);
}
