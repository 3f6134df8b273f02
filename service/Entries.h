#pragma once

#include <boost/json/array.hpp>
#include <boost/json/object.hpp>

#include <optional>
#include <string>

namespace lk::service {

class Database;

// The review and broadcast entries shared by the shop, broadcast and user answers, and the
// picture paths they carry (relative to the answer's "base").
class Entries {
 public:
  // Reviews longer than this many characters are shortened in list answers.
  static constexpr std::size_t kReviewPreview = 80;

  enum class BroadcastSource { City, Shop, User };

  [[nodiscard]] static std::string picturePath(bool thumbnail, int pictureId,
                                               const std::string& mime);
  // Reviews of a shop, newest first; `full` sends whole texts, otherwise long ones shortened.
  [[nodiscard]] static boost::json::array reviews(Database& db, int shopId, int offset, int limit,
                                                  bool full);
  // Broadcasts of a city, a shop or a user, newest first.
  [[nodiscard]] static boost::json::array broadcasts(Database& db, BroadcastSource source, int id,
                                                     int offset, int limit);
  [[nodiscard]] static int broadcastCount(Database& db, BroadcastSource source, int id);
};

}  // namespace lk::service
