// Every test works in a temporary directory of its own, because the system
// writes its files next to the circuit name it is given; the test program
// runs its tests one after the other in one process.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>

namespace {

class TemporaryDirectoryPerTest : public testing::EmptyTestEventListener {
 public:
  void OnTestStart(const testing::TestInfo& /*test*/) override {
    std::string templ = (std::filesystem::temp_directory_path() / "quarn_test_XXXXXX").string();
    path_ = mkdtemp(templ.data());
    if (path_.empty() || chdir(path_.c_str()) != 0) ADD_FAILURE() << "no temporary directory";
  }
  void OnTestEnd(const testing::TestInfo& /*test*/) override {
    if (chdir("/") == 0 && !path_.empty()) std::filesystem::remove_all(path_);
    path_.clear();
  }

 private:
  std::string path_;
};

}  // namespace

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  testing::UnitTest::GetInstance()->listeners().Append(new TemporaryDirectoryPerTest);
  return RUN_ALL_TESTS();
}
