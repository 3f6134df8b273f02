#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "Classes/Records/Area.h"
#include "Classes/ServiceClient/HttpRequestDelegate.h"

namespace lk {
class HttpRequest;
}

namespace lk::cli {

// Looks a city up in the service's city index, as the city pickers browse it: the province index
// ("/index/0/province", whose hot cities come first and whose two special regions are cities
// themselves), then the cities of one province after another ("/index/ID/city") until one
// matches. A city matches by id, by name, or by both when both are given.
class CityIndexLookup : private HttpRequestDelegate {
 public:
  enum class State { kIdle, kRunning, kFound, kNotFound, kFailed };

  CityIndexLookup(std::optional<int> id, std::optional<std::string> name);
  CityIndexLookup(const CityIndexLookup&) = delete;
  CityIndexLookup& operator=(const CityIndexLookup&) = delete;
  ~CityIndexLookup() override;

  void start();
  [[nodiscard]] State state() const { return state_; }
  [[nodiscard]] bool finished() const {
    return state_ != State::kIdle && state_ != State::kRunning;
  }
  // The city found (kFound).
  [[nodiscard]] const std::shared_ptr<Area>& city() const { return city_; }
  // What went wrong (kFailed), for the person at the terminal.
  [[nodiscard]] const std::string& failure() const { return failure_; }
  // A city with the id asked for but another name (kNotFound with both given), if one was seen.
  [[nodiscard]] const std::shared_ptr<Area>& sameId() const { return sameId_; }

 private:
  void requestSucceeded(HttpRequest& request) override;
  void requestFailed(HttpRequest& request, const PlatformError& error) override;
  // Whether one of `cities` is the one asked for; records it (or the city with the same id).
  bool match(const std::vector<std::shared_ptr<Area>>& cities);
  void requestNextProvince();
  void finish(State state);

  std::optional<int> id_;
  std::optional<std::string> name_;
  State state_ = State::kIdle;
  std::unique_ptr<HttpRequest> request_;
  std::vector<std::shared_ptr<Area>> provinces_;  // still to ask
  std::shared_ptr<Area> city_;
  std::shared_ptr<Area> sameId_;
  std::string failure_;
};

}  // namespace lk::cli
