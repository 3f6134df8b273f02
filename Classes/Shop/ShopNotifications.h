#pragma once

#include "Classes/Broadcasts/BroadcastNotifications.h"

namespace lk {

// Posted (no object) by the drawn cells of the shop screen; the visible shop screen acts on them.
inline constexpr const char* kShopInfoCommentList = "kShopInfoCommentList";
inline constexpr const char* kShopInfoBroadcastList = "kShopInfoBroadcastList";
inline constexpr const char* kShopInfoImageViews = "kShopInfoImageViews";
inline constexpr const char* kShopInfoShowMap = "kShopInfoShowMap";
inline constexpr const char* kShopInfoCall = "kShopInfoCall";
inline constexpr const char* kShopInfoBusInfo = "kShopInfoBusInfo";

// kBroadcastComposeSucceed and its "shopId" key come from the broadcast screens.

// Posted (no object, no user info) by the review pager for the page after the last loaded one.
inline constexpr const char* kCommentLoadMore = "kCommentLoadMore";

}  // namespace lk
