// Arbitrary JSON into every record decoder. The decoders must neither crash nor throw, whatever
// the members hold. Picture URLs get a base with a scheme no transfer supports, and shop records
// stay out of detail mode, so no traffic leaves the process.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string_view>

#include "Classes/Json/JsonValue.h"
#include "Classes/Records/Broadcast.h"
#include "Classes/Records/Comment.h"
#include "Classes/Records/CouponList.h"
#include "Classes/Records/ShopInfo.h"
#include "Platform/RunLoop/DrivableRunLoop.h"
#include "Platform/Storage/AppDirectories.h"

namespace {

constexpr std::string_view kNoNetwork = "fuzz-no-network:";

void decodeObject(const boost::json::object& o) {
  (void)lk::ShopInfo::fromSearchItem(o)->firstTag();
  (void)lk::CouponList::fromCouponListEntry(o);
  (void)lk::CouponList::fromNearbyShop(o);
  (void)lk::Comment::fromReviewEntry(o, kNoNetwork)->createdDate();
  (void)lk::Broadcast::fromBroadcastEntry(o, kNoNetwork);
  boost::json::object shopAnswer = o;
  shopAnswer["base"] = kNoNetwork;
  lk::ShopInfo shop;
  shop.decodeShopInformation(shopAnswer);
  (void)shop.recommendString();
  (void)shop.hasRecommend();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* /*argc*/, char*** /*argv*/) {
  static const auto loop = lk::makePollRunLoop();
  lk::DrivableRunLoop::setMain(loop.get());
  // Record pictures consult the picture store; keep its directory out of the user's caches.
  lk::AppDirectories::setCacheDirectory(std::filesystem::temp_directory_path() /
                                        "lokavo-fuzz-records");
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto root = lk::json::parse(std::string_view(reinterpret_cast<const char*>(data), size));
  if (!root) return 0;
  if (root->is_object()) decodeObject(root->get_object());
  if (const auto* list = root->if_array()) {
    for (const auto& item : *list) {
      if (item.is_object()) decodeObject(item.get_object());
    }
  }
  // Picture downloads the records started (and dropped) leave their news on the main loop.
  lk::DrivableRunLoop::main().runUntilIdle();
  return 0;
}
