// The simulated camera's file store through the client: path rules, directories, pattern
// listings without regard to case, and renames (the library's own tests move and list files).
#include <cstring>

#include "ptree_fixture.h"

namespace {

using ptreetest::Connection;

uint32_t List(void* tree, const char* dir, const char* pattern, std::vector<std::string>* out) {
  void* handle = nullptr;
  uint32_t result = resDirOpen(tree, &handle, dir, pattern);
  if (result != RES_OK) return result;
  const char* name = nullptr;
  uint8_t attributes = 0;
  uint32_t size = 0;
  uint64_t time = 0;
  while ((result = resDirRead(tree, handle, &name, &attributes, &size, &time)) == RES_OK)
    out->push_back(name);
  EXPECT_EQ(result, RES_NOT_FOUND);  // the end of the listing
  return resDirClose(tree, handle);
}

TEST(PtreeFiles, DirectoriesAndTheirResultCodes) {
  Connection c;
  void* t = c.tree();
  EXPECT_EQ(resCreateDir(t, "/nuc"), RES_OK);
  EXPECT_EQ(resCreateDir(t, "/nuc"), RES_FAILED);
  EXPECT_EQ(resCreateDir(t, "/a/b"), RES_NOT_FOUND);  // no parents made
  EXPECT_EQ(resFileExists(t, "/nuc"), RES_OK);
  EXPECT_EQ(resFileExists(t, "/NUC/"), RES_OK);  // any case, trailing '/'
  EXPECT_EQ(resFileExists(t, "/nuc/x.nuc"), RES_NOT_FOUND);
  ASSERT_EQ(c.camera().Files().Put("/nuc/x.nuc", {1, 2, 3}), RES_OK);
  EXPECT_EQ(resFileExists(t, "nuc//X.NUC"), RES_OK);
  EXPECT_EQ(resCreateDir(t, "/nuc/x.nuc/sub"), RES_NOT_SUPPORTED);  // a file is no parent
  EXPECT_EQ(resRemoveDir(t, "/nuc"), RES_FAILED);                   // not empty
  EXPECT_EQ(resRemoveDir(t, "/nuc/x.nuc"), RES_NOT_SUPPORTED);
  EXPECT_EQ(resDeleteFile(t, "/nuc"), RES_NOT_SUPPORTED);
  EXPECT_EQ(resDeleteFile(t, "/nuc/x.nuc"), RES_OK);
  EXPECT_EQ(resDeleteFile(t, "/nuc/x.nuc"), RES_NOT_FOUND);
  EXPECT_EQ(resRemoveDir(t, "/nuc"), RES_OK);
  EXPECT_EQ(resRemoveDir(t, "/"), RES_ACCESS_DENIED);
  EXPECT_EQ(resRemoveDir(t, "/nuc"), RES_NOT_FOUND);
  for (const char* bad : {"", "/a/../b", "/./a", "/a*b", "/a?", "/a\\b", "/tab\there"}) {
    SCOPED_TRACE(bad);
    EXPECT_EQ(resFileExists(t, bad), RES_INVALID_ARGUMENT);
    EXPECT_EQ(resCreateDir(t, bad), RES_INVALID_ARGUMENT);
  }
  EXPECT_EQ(resCreateDir(t, ("/" + std::string(256, 'n')).c_str()), RES_TOO_LARGE);
}

TEST(PtreeFiles, ListingsMatchPatternsWithoutRegardToCase) {
  Connection c;
  sim::ptree::FileStore& files = c.camera().Files();
  for (const char* name : {"a.nuc", "B.NUC", "c.lens", "d.nuc.bak", "e.nu"}) {
    files.Put(std::string("/store/") + name, std::vector<uint8_t>(std::strlen(name), 0));
  }
  files.MakeDirs("/store/sub.nuc");
  struct Case {
    const char* pattern;
    std::vector<std::string> names;
  };
  const Case cases[] = {
      {"*.NUC", {"a.nuc", "B.NUC", "sub.nuc"}},
      {"?.lens", {"c.lens"}},
      {"*.nuc*", {"a.nuc", "B.NUC", "d.nuc.bak", "sub.nuc"}},
      {"", {}},
  };
  for (const Case& test : cases) {
    std::vector<std::string> names;
    ASSERT_EQ(List(c.tree(), "/store/", test.pattern, &names), RES_OK) << test.pattern;
    EXPECT_EQ(names, test.names) << test.pattern;
  }
  void* handle = &handle;
  EXPECT_EQ(resDirOpen(c.tree(), &handle, "/none", "*"), RES_NOT_FOUND);
  EXPECT_EQ(resDirOpen(c.tree(), &handle, "/store/a.nuc", "*"), RES_NOT_SUPPORTED);
  EXPECT_EQ(handle, &handle);
  EXPECT_EQ(resDirRead(c.tree(), nullptr, nullptr, nullptr, nullptr, nullptr),
            RES_INVALID_ARGUMENT);
  EXPECT_EQ(resDirClose(c.tree(), &handle), RES_INVALID_ARGUMENT);
}

TEST(PtreeFiles, RenameMovesKeepsCaseRulesAndRefusesConflicts) {
  Connection c;
  sim::ptree::FileStore& files = c.camera().Files();
  files.Put("/d1/a.rsc", {1});
  files.Put("/d1/b.rsc", {2});
  files.MakeDirs("/d2");
  void* t = c.tree();
  EXPECT_EQ(resRenameFile(t, "/d1/a.rsc", "/d1/B.RSC"), RES_FAILED);  // taken, whatever the case
  EXPECT_EQ(resRenameFile(t, "/d1/a.rsc", "/d1/A.RSC"), RES_OK);      // a change of case only
  EXPECT_EQ(files.Names("/d1"), (std::vector<std::string>{"A.RSC", "b.rsc"}));
  EXPECT_EQ(resRenameFile(t, "/d1/b.rsc", "/d2/moved.rsc"), RES_OK);
  EXPECT_EQ(files.Data("/d2/moved.rsc"), std::vector<uint8_t>{2});
  EXPECT_EQ(resRenameFile(t, "/d1/none", "/d1/x"), RES_NOT_FOUND);
  EXPECT_EQ(resRenameFile(t, "/d1/A.RSC", "/none/x"), RES_NOT_FOUND);
  EXPECT_EQ(resRenameFile(t, "/d1", "/d1/inner"), RES_INVALID_ARGUMENT);
  EXPECT_EQ(resRenameFile(t, "/", "/x"), RES_ACCESS_DENIED);
  EXPECT_EQ(resRenameFile(t, "/d1", "/d3"), RES_OK);  // directories move with their files
  EXPECT_TRUE(files.IsFile("/d3/a.rsc"));
  files.SetAttributes("/d3/a.rsc", 0x21);
  EXPECT_EQ(resRenameFile(t, "/d3/a.rsc", "/d3/z.rsc"), RES_ACCESS_DENIED);
  EXPECT_EQ(resDeleteFile(t, "/d3/a.rsc"), RES_ACCESS_DENIED);
  EXPECT_EQ(c.camera().Count("renameFile", "/d1/a.rsc"), 2u);
}

}  // namespace
