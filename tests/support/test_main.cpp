// Every test process works in a temporary directory of its own, because the
// system writes its files next to the circuit name it is given.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "support/paths.h"

namespace {

class TemporaryDirectory : public testing::Environment {
 public:
  void SetUp() override {
    std::string templ = (std::filesystem::temp_directory_path() / "quarn_test_XXXXXX").string();
    path_ = mkdtemp(templ.data());
    ASSERT_FALSE(path_.empty());
    ASSERT_EQ(chdir(path_.c_str()), 0);
  }
  void TearDown() override {
    if (chdir("/") == 0) std::filesystem::remove_all(path_);
  }

 private:
  std::string path_;
};

}  // namespace

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  testing::AddGlobalTestEnvironment(new TemporaryDirectory);
  return RUN_ALL_TESTS();
}
