// Installation lookup from the program's path, and path joining.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <string>

#include "host/kvinstdir.h"

namespace fs = std::filesystem;

namespace {

// A directory tree of this test alone: ctest runs the tests of this file in parallel
// processes, and other checkouts run them too.
struct Tree {
  fs::path root;
  Tree() {
    const auto *test = ::testing::UnitTest::GetInstance()->current_test_info();
    root = fs::path(::testing::TempDir()) /
           ("aszel18_inst_" + std::to_string(::getpid()) + "_" + (test ? test->name() : "x"));
    fs::remove_all(root);
  }
  ~Tree() { fs::remove_all(root); }
  std::string mk(const std::string &rel) {
    fs::create_directories(root / rel);
    return (root / rel).string();
  }
  std::string at(const std::string &rel) const { return (root / rel).string(); }
};

TEST(KvInstDir, VersionDirectoryBelowZelBin) {
  Tree t;
  t.mk("tools/kv8/rel/zel/bin");
  HostState h;
  h.self_path = t.at("tools/kv8/rel/zel/bin/prog");
  EXPECT_EQ(kvinstdir(h, KVINSTDIR_VERSION), t.at("tools/kv8/rel"));
  EXPECT_EQ(kvinstdir(h, KVINSTDIR_INSTALL), t.at("tools/kv8"));
  EXPECT_EQ(kvinstdir(h, KVINSTDIR_BIN), t.at("tools/kv8/rel/bin"));
  EXPECT_EQ(kvinstdir(h, KVINSTDIR_ZELAS), t.at("tools/kv8/rel/zel-as"));
  EXPECT_EQ(kvinstdir(h, KVINSTDIR_LAST), std::nullopt);
  EXPECT_EQ(reg_instdir(h, RI_DAT), t.at("tools/kv8/rel/zel/dat"));
  EXPECT_EQ(reg_instdir(h, RI_ROOT), t.at("tools/kv8/rel/zel"));
  EXPECT_EQ(reg_mkpath(h, RI_DAT, "quillon-18.ini"), t.at("tools/kv8/rel/zel/dat/quillon-18.ini"));
}

TEST(KvInstDir, PrefixLayoutAndSpellings) {
  Tree t;
  t.mk("prefix/BIN");
  t.mk("prefix/zel/dat");
  for (const char *self : {"prefix/BIN/aszel18", "prefix/BIN/./aszel18", "prefix/BIN//aszel18"}) {
    HostState h;
    h.self_path = t.at(self);
    EXPECT_EQ(kvinstdir(h, KVINSTDIR_VERSION), t.at("prefix")) << self;
    EXPECT_EQ(reg_mkpath(h, RI_DAT, "en_msgs.txt"), t.at("prefix/zel/dat/en_msgs.txt")) << self;
  }
  // A dotted "zel" component still counts as the zel level.
  t.mk("v2/zel.x/bin");
  t.mk("v2/zel");
  HostState h;
  h.self_path = t.at("v2/zel.x/bin/p");
  EXPECT_EQ(kvinstdir(h, KVINSTDIR_VERSION), t.at("v2"));
}

TEST(KvInstDir, NoInstallation) {
  Tree t;
  t.mk("tools/prog-dir");
  HostState h;
  h.self_path = t.at("tools/prog-dir/prog");
  EXPECT_EQ(kvinstdir(h, KVINSTDIR_VERSION), std::nullopt);
  EXPECT_EQ(reg_mkpath(h, RI_DAT, "x.ini"), std::nullopt);
  EXPECT_EQ(reg_mkpath(h, RI_DAT, "/abs/x.ini"), "/abs/x.ini");
  EXPECT_EQ(reg_mkpath(h, RI_DAT, "C:x.ini"), "C:x.ini");
  HostState bare;
  bare.self_path = "prog";  // no directory part at all
  EXPECT_EQ(kvinstdir(bare, KVINSTDIR_VERSION), std::nullopt);
}

TEST(KvInstDir, FailureIsNotCached) {
  Tree t;
  t.mk("p/bin");
  HostState h;
  h.self_path = t.at("p/bin/prog");
  EXPECT_EQ(kvinstdir(h, KVINSTDIR_VERSION), std::nullopt);  // no "zel" yet
  t.mk("p/zel");
  EXPECT_EQ(kvinstdir(h, KVINSTDIR_VERSION), t.at("p"));
  fs::remove_all(t.at("p/zel"));
  EXPECT_EQ(kvinstdir(h, KVINSTDIR_VERSION), t.at("p"));  // success is cached
  EXPECT_EQ(reg_instdir(h, RI_ROOT), t.at("p"));          // without zel the root is the version directory
}

TEST(Paths, JoinAndAbsolute) {
  EXPECT_EQ(path_join("", "b"), "b");
  EXPECT_EQ(path_join("a", ""), "a");
  EXPECT_EQ(path_join("a", "b"), "a/b");
  EXPECT_EQ(path_join("a/", "/b"), "a/b");
  EXPECT_EQ(path_join("a\\", "b"), "a/b");
  EXPECT_TRUE(path_is_absolute("/x"));
  EXPECT_TRUE(path_is_absolute("\\\\server\\x"));
  EXPECT_TRUE(path_is_absolute("C:\\x"));
  EXPECT_FALSE(path_is_absolute("x/y"));
  EXPECT_FALSE(path_is_absolute("\\x"));
  EXPECT_FALSE(path_is_absolute(""));
}

}  // namespace
