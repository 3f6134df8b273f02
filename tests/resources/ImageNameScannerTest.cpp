#include "tests/resources/ImageNameScanner.h"

#include <gtest/gtest.h>

#include "Platform/Image/ImageCodec.h"
#include "Platform/Resources/AppResources.h"
#include "tests/resources/PictureCheck.h"
#include "tests/support/TestSupport.h"

namespace lk::test {
namespace {

std::set<std::string> namesOf(const ImageNameScanner::Result& result) {
  std::set<std::string> names;
  for (const auto& [name, sites] : result.names)
    names.insert(name);
  return names;
}

TEST(ImageNameScanner, FollowsLiteralsChoicesConstantsAndTables) {
  ImageNameScanner scanner;
  scanner.addSource("Classes/A/Bar.h", R"(
    class Bar {
      static constexpr const char* kArrow = "arrow";
      static constexpr const char* kTabs[2] = {"tab_one", "tab_two"};
    };)");
  scanner.addSource("Classes/A/Bar.cpp", R"(
    struct Row { const char* title; const char* icon; };
    constexpr std::array<Row, 2> kRows{{{"标题", "row_icon.png"}, {"其他", "row_other"}}};
    void Bar::draw(bool on) {
      view->setImage(ui::Image::named("plain", {10, 10}));
      view->setImage(ui::Image::named(on ? "switch_on" : "switch_off"));
      view->setImage(ui::Image::named(on ? kArrow : std::string(kArrow) + "_disabled"));
      view->setImage(ui::Image::named(kTabs[i], {90, 44}));
      item.image = ui::Image::named(kRows[i].icon);
      // view->setImage(ui::Image::named("commented_out"));
      /* ui::Image::named("blocked_out") */
    })");
  const auto result = scanner.scan();
  EXPECT_TRUE(result.unresolved.empty());
  EXPECT_EQ(namesOf(result),
            (std::set<std::string>{"arrow", "arrow_disabled", "plain", "row_icon.png", "row_other",
                                   "switch_off", "switch_on", "tab_one", "tab_two"}));
  EXPECT_EQ(result.names.at("plain").front().file, "Classes/A/Bar.cpp");
  EXPECT_EQ(result.names.at("plain").front().line, 5);
}

TEST(ImageNameScanner, KeepsNumberedNamesAsPatternsAndReadsNameFunctions) {
  ImageNameScanner scanner;
  scanner.addSource("Classes/Util/Names.cpp", R"(
    std::string Names::levelName(int level) {
      return strprintf("level_%d", std::clamp(level, 0, 9));
    }
    std::string Names::inFolder(const std::string& name) { return "Folder.bundle/" + name; })");
  scanner.addSource("Classes/A/Cell.cpp", R"(
    void Cell::draw() {
      canvas.drawImage(ui::Image::named(strprintf("channel_%d", id)), rect);
      frames.push_back(ui::Image::named("frame" + std::to_string(i)));
      canvas.drawImage(ui::Image::named(Names::levelName(user->level())), rect);
      button->setImage(ui::Image::named(Names::inFolder("next"), {40, 40}));
    })");
  const auto result = scanner.scan();
  EXPECT_TRUE(result.unresolved.empty());
  EXPECT_EQ(namesOf(result),
            (std::set<std::string>{"Folder.bundle/next", "channel_%d", "frame%d", "level_%d"}));
}

TEST(ImageNameScanner, ReportsWhatItCannotFollow) {
  ImageNameScanner scanner;
  scanner.addSource("Classes/A/Odd.cpp", R"(
    void Odd::draw() {
      canvas.drawImage(ui::Image::named(model->pictureName()), rect);
      canvas.drawImage(ui::Image::named(strprintf("size_%s", size)), rect);
      canvas.drawImage(ui::Image::named(kNowhere), rect);
    })");
  const auto result = scanner.scan();
  EXPECT_TRUE(result.names.empty());
  ASSERT_EQ(result.unresolved.size(), 3U);
  EXPECT_EQ(result.unresolved[0].expression, "model->pictureName()");
  EXPECT_EQ(result.unresolved[0].line, 3);
  EXPECT_EQ(result.unresolved[1].expression, "strprintf(\"size_%s\", size)");
}

TEST(ImageNameScanner, AConstantOfTheSameClassWinsOverANamesakeElsewhere) {
  ImageNameScanner scanner;
  scanner.addSource("Classes/A/Search.h",
                    R"(static constexpr const char* kPlaceholder = "search";)");
  scanner.addSource("Classes/B/Album.h", R"(static constexpr const char* kPlaceholder = "album";)");
  scanner.addSource("Classes/B/Album.cpp", R"(auto i = ui::Image::named(kPlaceholder);)");
  EXPECT_EQ(namesOf(scanner.scan()), (std::set<std::string>{"album"}));
}

class PictureCheck : public ::testing::Test {
 protected:
  void SetUp() override { AppResources::setDirectory(dir_.path()); }
  void TearDown() override { AppResources::setDirectory({}); }

  void writePicture(const std::string& file, int width, int height) {
    writeFile(dir_ / file, ImageCodec::encodePng(Image(width, height)));
  }
  static std::map<std::string, std::vector<ImageNameScanner::Site>> used(
      std::initializer_list<const char*> names) {
    std::map<std::string, std::vector<ImageNameScanner::Site>> map;
    for (const char* name : names)
      map[name].push_back({"Classes/A/Cell.cpp", 7, "expression"});
    return map;
  }

  TempDir dir_;
};

TEST_F(PictureCheck, ANameWithoutItsPicturesIsReportedWithTheCommandThatMakesThem) {
  writePicture("star.png", 20, 20);
  writePicture("star@2x.png", 40, 40);
  writePicture("half.png", 20, 20);  // no @2x
  const auto problems = checkPictures(used({"star", "star.png", "half", "new_button"}), {});
  EXPECT_EQ(problems.missing, (std::vector<std::string>{"half (Classes/A/Cell.cpp:7)",
                                                        "new_button (Classes/A/Cell.cpp:7)"}));
  EXPECT_TRUE(problems.unreadable.empty());
  EXPECT_NE(describe(problems).find("scripts/make-pictures.py half new_button"), std::string::npos)
      << describe(problems);
}

TEST_F(PictureCheck, PatternsAreExpandedOverTheirNumbersOrReported) {
  for (const int level : {0, 1}) {
    writePicture("level_" + std::to_string(level) + ".png", 52, 20);
    writePicture("level_" + std::to_string(level) + "@2x.png", 104, 40);
  }
  EXPECT_TRUE(checkPictures(used({"level_%d"}), {{"level_%d", {0, 1}}}).empty());
  EXPECT_EQ(checkPictures(used({"level_%d"}), {{"level_%d", {0, 1, 2}}}).missing,
            (std::vector<std::string>{"level_2 (Classes/A/Cell.cpp:7)"}));
  EXPECT_EQ(checkPictures(used({"frame%d"}), {}).unknownPatterns,
            (std::vector<std::string>{"frame%d (Classes/A/Cell.cpp:7)"}));
}

TEST_F(PictureCheck, BrokenOrBadlySizedPicturesAreReported) {
  writeFile(dir_ / "broken.png", "not a picture");
  writePicture("broken@2x.png", 40, 40);
  writePicture("blurry.png", 20, 20);
  writePicture("blurry@2x.png", 20, 20);
  writePicture("huge.png", 640, 20);
  writePicture("huge@2x.png", 1280, 40);
  const auto problems = checkPictures(used({"broken", "blurry", "huge"}), {});
  EXPECT_TRUE(problems.missing.empty());
  EXPECT_EQ(problems.unreadable,
            (std::vector<std::string>{"blurry: the 2x picture is not twice the 1x one",
                                      "broken: does not decode", "huge: 640x20 points"}));
}

}  // namespace
}  // namespace lk::test
