#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <numeric>
#include <sstream>

#include "Classes/Records/Channel.h"
#include "Classes/Records/Coupon.h"
#include "Classes/Shop/ShopInfoCellView.h"
#include "Classes/Toolkit/LKLoadingView.h"
#include "Classes/Toolkit/LKNavigationController.h"
#include "Classes/Util/Utility.h"
#include "Platform/Resources/AppResources.h"
#include "tests/resources/ImageNameScanner.h"
#include "tests/resources/PictureCheck.h"

namespace lk {
namespace {

namespace fs = std::filesystem;
using test::ImageNameScanner;

// The numbers of the numbered pictures, taken from the code that chooses them.
test::NumberedNames numberedNames() {
  std::vector<int> channels;
  for (const auto& channel : Channel::mainChannelList())
    channels.push_back(channel->id());
  std::vector<int> levels(Utility::kMaxUserLevel + 1);
  std::iota(levels.begin(), levels.end(), 0);
  std::vector<int> frames(LKLoadingView::kSpinnerFrames);
  std::iota(frames.begin(), frames.end(), 1);
  return {
      {"firstpage_channel_%d", channels},
      {"firstpage_channel_%d_clicked", channels},
      {"userlevel_%d", levels},
      {"loading_load%d", frames},
      {"shopinfo_status_%d",
       {ShopInfoCellView::kBadgeStatuses.begin(), ShopInfoCellView::kBadgeStatuses.end()}},
      {"coupon_typeicon_%d",
       {Coupon::kUnknown, Coupon::kCoupon, Coupon::kDiscount, Coupon::kEvent}},
  };
}

ImageNameScanner::Result scanApplication() {
  ImageNameScanner scanner;
  std::vector<fs::path> files;
  for (const char* dir : {"Classes", "frontends"}) {
    for (const auto& entry : fs::recursive_directory_iterator(fs::path(LOKAVO_SOURCE_DIR) / dir)) {
      const auto ext = entry.path().extension();
      if (entry.is_regular_file() && (ext == ".cpp" || ext == ".h")) files.push_back(entry.path());
    }
  }
  std::sort(files.begin(), files.end());
  for (const auto& file : files) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    scanner.addSource(fs::relative(file, LOKAVO_SOURCE_DIR).generic_string(), text.str());
  }
  return scanner.scan();
}

class ShippedPictures : public ::testing::Test {
 protected:
  void SetUp() override { AppResources::setDirectory(fs::path(LOKAVO_SOURCE_DIR) / "Resources"); }
  void TearDown() override { AppResources::setDirectory({}); }
};

TEST_F(ShippedPictures, EveryPictureTheCodeNamesIsInTheResources) {
  auto result = scanApplication();
  std::string unresolved;
  for (const auto& site : result.unresolved)
    unresolved +=
        "  " + site.file + ":" + std::to_string(site.line) + "  " + site.expression + "\n";
  EXPECT_TRUE(result.unresolved.empty())
      << "The test cannot tell which pictures these expressions name:\n"
      << unresolved
      << "Name pictures with string literals, constants, or functions of the code that return "
         "them.\n";

  // The navigation bar's background is chosen by name rather than loaded by a screen.
  for (const int tag : {0, 1})
    result.names[LKNavigationController::navigationBarBackgroundForTag(tag)];

  const auto problems = test::checkPictures(result.names, numberedNames());
  EXPECT_TRUE(problems.empty()) << test::describe(problems);
}

TEST_F(ShippedPictures, ScanFindsNamesOfEveryKind) {
  // Guards the test above against a scanner that silently finds nothing.
  const auto result = scanApplication();
  for (const char* name : {
           "shopinfo_star2",                     // a literal
           "navbar_button_long",                 // one side of a choice
           "tabbar_item_search.png",             // a field of a table of constants
           "shopinfo_tab_share",                 // an element of an array constant
           "comment_arrow_up_disabled",          // a constant with a suffix
           "PXPhotoBrowser.bundle/images/next",  // a function joining a folder and a name
           "coupon_typeicon_%d",                 // a function returning a pattern
           "userlevel_%d",                       // a qualified function
           "loading_load%d",                     // a literal and a number
           "firstpage_channel_%d",               // a pattern
       }) {
    EXPECT_TRUE(result.names.contains(name)) << name;
  }
  EXPECT_GT(result.names.size(), 50U);
}

}  // namespace
}  // namespace lk
