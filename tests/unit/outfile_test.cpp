// Outputs interrupted by a signal leave neither a temporary nor a changed target behind.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "host/outfile.h"

namespace fs = std::filesystem;

namespace {

TEST(OutFile, InterruptRemovesTemporaries) {
  fs::path dir = fs::path(::testing::TempDir()) / ("aszel18_out_" + std::to_string(::getpid()));
  fs::remove_all(dir);
  fs::create_directories(dir);
  std::string target = (dir / "x.obj").string();
  std::ofstream(target) << "old";
  for (int sig : {SIGINT, SIGTERM}) {
    pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      OutFile a, b;  // two outputs in progress, as an object and its listing would be
      bool made = a.create(target) && b.create((dir / "x.lst").string());
      a << "new";
      b << "new";
      if (made) ::raise(sig);
      ::_exit(0);  // not reached when the signal ends the process
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == sig) << status;
    std::vector<std::string> names;
    for (const auto &e : fs::directory_iterator(dir)) names.push_back(e.path().filename().string());
    EXPECT_EQ(names, std::vector<std::string>{"x.obj"});
    std::ifstream in(target);
    std::stringstream text;
    text << in.rdbuf();
    EXPECT_EQ(text.str(), "old");
  }
  fs::remove_all(dir);
}

}  // namespace
