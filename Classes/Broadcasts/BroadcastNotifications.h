#pragma once

namespace lk {

// Posted (no object) once a composed broadcast has been accepted by the service; user info
// "shopId" (a std::string) names the shop it was about.
inline constexpr const char* kBroadcastComposeSucceed = "kBroadcastComposeSucceed";
inline constexpr const char* kBroadcastComposeShopIdKey = "shopId";
// Posted by a broadcast row's "@shop" button: user info "shop" holds a std::shared_ptr<ShopInfo>.
inline constexpr const char* kBroadcastGoShopinfo = "kBroadcastGoShopinfo";
inline constexpr const char* kBroadcastGoShopinfoShopKey = "shop";
// Posted by a broadcast row's photo: user info "imgurl" holds the photo's URL (std::string).
inline constexpr const char* kBroadcastGoImageView = "kBroadcastGoImageView";
inline constexpr const char* kBroadcastGoImageViewUrlKey = "imgurl";

// Posted (no object) by the attached photo's remove button, or a tap on the photo, while a
// broadcast is being written.
inline constexpr const char* kBroadcastRemoveImage = "kBroadcastRemoveImage";

}  // namespace lk
