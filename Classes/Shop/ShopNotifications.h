#pragma once

namespace lk {

// Posted (no object) by the drawn cells of the shop screen; the visible shop screen acts on them.
inline constexpr const char* kShopInfoCommentList = "kShopInfoCommentList";
inline constexpr const char* kShopInfoBroadcastList = "kShopInfoBroadcastList";
inline constexpr const char* kShopInfoImageViews = "kShopInfoImageViews";
inline constexpr const char* kShopInfoShowMap = "kShopInfoShowMap";
inline constexpr const char* kShopInfoCall = "kShopInfoCall";
inline constexpr const char* kShopInfoBusInfo = "kShopInfoBusInfo";

// Posted by the compose screen after a broadcast was accepted; user info "shopId" (a string).
inline constexpr const char* kBroadcastComposeSucceed = "kBroadcastComposeSucceed";
inline constexpr const char* kBroadcastComposeShopIdKey = "shopId";

// Posted (no object, no user info) by the review pager for the page after the last loaded one.
inline constexpr const char* kCommentLoadMore = "kCommentLoadMore";

}  // namespace lk
