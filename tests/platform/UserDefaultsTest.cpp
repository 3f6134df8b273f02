#include "Platform/Storage/UserDefaults.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <boost/json/parse.hpp>
#include <csignal>

#include "tests/support/TestSupport.h"

namespace lk {
namespace {

namespace fs = std::filesystem;

std::vector<fs::path> filesIn(const fs::path& dir) {
  std::vector<fs::path> out;
  for (const auto& e : fs::directory_iterator(dir))
    out.push_back(e.path().filename());
  std::sort(out.begin(), out.end());
  return out;
}

TEST(UserDefaults, ValuesSurviveReopening) {
  test::TempDir dir;
  const auto file = dir / "UserDefaults.json";
  {
    auto store = makeJsonFileUserDefaults(file);
    store->setString("kCurrentCityName", "北京");
    store->setInteger("kCurrentCityId", 131);
    store->setBool("flag", true);
    store->setStringArray("kAreaSearchHistory", {"火锅", "川菜"});
    store->setObject("dict", boost::json::parse(R"({"a":[1,{"b":null}]})"));
    EXPECT_TRUE(store->synchronize());
  }
  auto store = makeJsonFileUserDefaults(file);
  EXPECT_EQ(store->stringForKey("kCurrentCityName"), "北京");
  EXPECT_EQ(store->integerForKey("kCurrentCityId"), 131);
  EXPECT_EQ(store->boolForKey("flag"), true);
  EXPECT_EQ(store->stringArrayForKey("kAreaSearchHistory"),
            (std::vector<std::string>{"火锅", "川菜"}));
  EXPECT_EQ(*store->objectForKey("dict"), boost::json::parse(R"({"a":[1,{"b":null}]})"));
}

TEST(UserDefaults, RemovingAndSettingNullMakeAKeyAbsent) {
  test::TempDir dir;
  const auto file = dir / "UserDefaults.json";
  auto store = makeJsonFileUserDefaults(file);
  store->setString("kUsername", "alice");
  store->setString("kPassword", "secret");
  store->removeObjectForKey("kUsername");
  store->setObject("kPassword", nullptr);
  EXPECT_FALSE(store->objectForKey("kUsername"));
  EXPECT_FALSE(store->objectForKey("kPassword"));
  auto reopened = makeJsonFileUserDefaults(file);
  EXPECT_TRUE(reopened->keys().empty());
  EXPECT_EQ(test::readFile(file).find("secret"), std::string::npos);
}

TEST(UserDefaults, TypedReadsOfOtherKindsAreAbsentOrConverted) {
  test::TempDir dir;
  auto store = makeJsonFileUserDefaults(dir / "UserDefaults.json");
  store->setObject("text", boost::json::value("123abc"));
  store->setObject("num", boost::json::value(3.9));
  store->setObject("big", boost::json::parse("18446744073709551615"));
  store->setObject("list", boost::json::parse(R"(["a", 1, null, "b"])"));
  EXPECT_EQ(store->integerForKey("text"), 123);
  EXPECT_EQ(store->integerForKey("num"), 3);
  EXPECT_EQ(store->integerForKey("big"), std::numeric_limits<long long>::max());
  EXPECT_EQ(store->integerForKey("list"), std::nullopt);
  EXPECT_EQ(store->stringForKey("num"), std::nullopt);
  EXPECT_EQ(store->boolForKey("text"), std::nullopt);
  EXPECT_EQ(store->stringArrayForKey("list"), (std::vector<std::string>{"a", "b"}));
  EXPECT_TRUE(store->stringArrayForKey("text").empty());
  EXPECT_TRUE(store->stringArrayForKey("missing").empty());
}

TEST(UserDefaultsFile, IsPrivateToTheOwner) {
  test::TempDir dir;
  const auto file = dir / "UserDefaults.json";
  // A file left with loose permissions by someone else is replaced by a private one.
  test::writeFile(file, "{}");
  ::chmod(file.c_str(), 0644);
  auto store = makeJsonFileUserDefaults(file);
  store->setString("kPassword", "secret");
  struct stat st {};
  ASSERT_EQ(::stat(file.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0600u);
}

TEST(UserDefaultsFile, CorruptFileIsMovedAsideAndTheStoreStartsEmpty) {
  test::TempDir dir;
  const auto file = dir / "UserDefaults.json";
  test::writeFile(file, R"({"kCurrentCityId": 131, "kCurrentCityName": "北)");
  test::LogCapture log;
  auto store = makeJsonFileUserDefaults(file);
  EXPECT_TRUE(store->keys().empty());
  ASSERT_EQ(log.lines().size(), 1u);
  EXPECT_TRUE(log.contains("moved aside"));

  const auto files = filesIn(dir.path());
  ASSERT_EQ(files.size(), 1u);
  EXPECT_EQ(files[0].string().rfind("UserDefaults.json.corrupt-", 0), 0u);
  EXPECT_EQ(test::readFile(dir / files[0].string()),
            R"({"kCurrentCityId": 131, "kCurrentCityName": "北)");

  // The store works normally afterwards, beside the kept file.
  store->setInteger("kCurrentCityId", 75);
  EXPECT_EQ(makeJsonFileUserDefaults(file)->integerForKey("kCurrentCityId"), 75);
}

TEST(UserDefaultsFile, FileThatIsNotAnObjectIsMovedAside) {
  for (const char* content : {"[1,2,3]", "", "null", "\xff\xfe"}) {
    test::TempDir dir;
    const auto file = dir / "UserDefaults.json";
    test::writeFile(file, content);
    test::LogCapture log;
    auto store = makeJsonFileUserDefaults(file);
    EXPECT_TRUE(store->keys().empty()) << content;
    EXPECT_FALSE(fs::exists(file)) << content;
    EXPECT_EQ(filesIn(dir.path()).size(), 1u) << content;
    EXPECT_EQ(log.lines().size(), 1u) << content;
  }
}

TEST(UserDefaultsFile, UnreadableStoreIsMovedAsideAndKept) {
  test::TempDir dir;
  const auto file = dir / "UserDefaults.json";
  fs::create_directory(file);  // cannot be read as a file
  fs::create_directory(dir / "UserDefaults.json" / "sub");
  test::LogCapture log;
  auto store = makeJsonFileUserDefaults(file);
  EXPECT_TRUE(store->keys().empty());
  EXPECT_EQ(log.lines().size(), 1u);
  // Moved aside: the name is free again and writes succeed.
  store->setString("k", "v");
  EXPECT_TRUE(store->synchronize());
  EXPECT_EQ(makeJsonFileUserDefaults(file)->stringForKey("k"), "v");
}

TEST(UserDefaultsFile, LeftoverOfAnInterruptedWriteDoesNotReplaceTheStore) {
  test::TempDir dir;
  const auto file = dir / "UserDefaults.json";
  makeJsonFileUserDefaults(file)->setString("kCurrentCityName", "成都");
  // A crash between writing the temporary file and renaming it leaves this behind.
  test::writeFile(dir / "UserDefaults.json.tmp-abc123", R"({"kCurrentCityName": "重)");
  auto store = makeJsonFileUserDefaults(file);
  EXPECT_EQ(store->stringForKey("kCurrentCityName"), "成都");
}

// A write cut short (here by the file-size limit, as a full disk would) leaves the old content.
TEST(UserDefaultsFile, FailedWriteKeepsTheOldContentAndRetriesOnSynchronize) {
  test::TempDir dir;
  const auto file = dir / "UserDefaults.json";
  auto store = makeJsonFileUserDefaults(file);
  store->setString("kCurrentCityName", "成都");
  const std::string before = test::readFile(file);

  rlimit old{};
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old), 0);
  auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
  rlimit small = old;
  small.rlim_cur = 64;
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
  {
    test::LogCapture log;
    store->setString("kAreaSearchHistory", std::string(1000, 'x'));
    EXPECT_TRUE(log.contains("previous content is kept"));
    EXPECT_FALSE(store->synchronize());
  }
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &old), 0);
  std::signal(SIGXFSZ, oldHandler);

  EXPECT_EQ(test::readFile(file), before);
  EXPECT_EQ(filesIn(dir.path()), std::vector<fs::path>{"UserDefaults.json"});
  // The value is still there in memory and reaches the disk on the next synchronize.
  EXPECT_EQ(store->stringForKey("kAreaSearchHistory"), std::string(1000, 'x'));
  EXPECT_TRUE(store->synchronize());
  EXPECT_EQ(makeJsonFileUserDefaults(file)->stringForKey("kAreaSearchHistory"),
            std::string(1000, 'x'));
}

// A store whose directory is a file: every write fails the same way. It is said once, and not
// as if something had been stored before.
TEST(UserDefaultsFile, UnusableDirectoryIsLoggedOnceWithoutClaimingOldContent) {
  test::TempDir dir;
  test::writeFile(dir / "data", "not a directory");
  auto store = makeJsonFileUserDefaults(dir / "data" / "UserDefaults.json");
  test::LogCapture log;
  store->setString("kCurrentCityName", "成都");
  store->setInteger("kCurrentCityId", 75);
  store->setStringArray("kAreaSearchHistory", {"火锅"});
  EXPECT_FALSE(store->synchronize());
  ASSERT_EQ(log.lines().size(), 1u) << log.lines().back();
  EXPECT_TRUE(log.contains("nothing was stored before"));
  EXPECT_FALSE(log.contains("previous content is kept"));
  EXPECT_EQ(store->stringForKey("kCurrentCityName"), "成都") << "kept in memory";
}

TEST(UserDefaultsFile, SettingAnEqualValueDoesNotRewriteTheFile) {
  test::TempDir dir;
  const auto file = dir / "UserDefaults.json";
  auto store = makeJsonFileUserDefaults(file);
  store->setInteger("kCurrentCityId", 131);
  const auto inode = [&] {
    struct stat st {};
    ::stat(file.c_str(), &st);
    return st.st_ino;
  };
  const auto first = inode();
  store->setInteger("kCurrentCityId", 131);
  EXPECT_EQ(inode(), first);
  store->setInteger("kCurrentCityId", 132);
  EXPECT_NE(inode(), first);
}

TEST(UserDefaultsStandard, InstalledStoreIsTheStandardOne) {
  test::TempDir dir;
  auto store = makeJsonFileUserDefaults(dir / "UserDefaults.json");
  UserDefaults::setStandardUserDefaults(store.get());
  EXPECT_EQ(&UserDefaults::standardUserDefaults(), store.get());
  UserDefaults::setStandardUserDefaults(nullptr);
}

}  // namespace
}  // namespace lk
