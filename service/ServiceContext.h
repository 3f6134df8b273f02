#pragma once

#include <cstdint>
#include <string>

#include "service/Database.h"
#include "service/SessionStore.h"
#include "service/ShopCatalog.h"

namespace lk::service {

// What every handler reaches: the database, the in-memory catalogue, the sessions and the few
// settings that change answers.
struct ServiceContext {
  Database& db;
  ShopCatalog& catalog;
  SessionStore& sessions;
  std::string verifyCode;  // fixed verification code, or empty for random codes

  [[nodiscard]] static std::int64_t now();
};

}  // namespace lk::service
