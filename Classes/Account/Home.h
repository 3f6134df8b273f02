#pragma once

#include <boost/json/object.hpp>

#include <memory>
#include <optional>
#include <string>

#include "Classes/Records/Observable.h"
#include "Classes/ServiceClient/HttpRequestDelegate.h"
#include "Platform/Image/Image.h"

namespace lk {

class HttpRequest;

// The logged-in user's profile as the user centre shows it. The avatar, the place and the time
// of the latest broadcast arrive later and are observable.
class Home : private HttpRequestDelegate {
 public:
  Home();
  Home(const Home&) = delete;
  Home& operator=(const Home&) = delete;
  ~Home() override;

  std::string uid;
  std::string name;
  int level = 0;
  int broadcastCount = 0;
  int wantCount = 0;
  int beenCount = 0;

  // The avatar's address. A new address drops the old picture and its download, then takes the
  // picture from the picture store or downloads it; an empty address means no avatar.
  [[nodiscard]] const std::string& imgUrl() const { return imgUrl_; }
  void setImgUrl(const std::string& url);
  [[nodiscard]] Observable<ImagePtr>& img() { return img_; }
  [[nodiscard]] const Observable<ImagePtr>& img() const { return img_; }
  // Stops a pending avatar download; the address is forgotten so that setting it again fetches.
  void cancelImageRequest();
  [[nodiscard]] const HttpRequest* request() const { return request_.get(); }

  Observable<std::optional<std::string>> lastBroadcastLocation;
  Observable<double> lastBroadcastTime;  // seconds since 1970, 0 for none
  // The time of the latest broadcast in the application's date format.
  [[nodiscard]] std::string lastBroadcastTimeString() const;

  // Fills the record from a profile answer ("userinfo" and the two list counts), in the order
  // that starts the avatar download after the name is known.
  void updateFromProfile(const boost::json::object& answer);
  // Fills the latest broadcast from a "cmtlist" answer; none when the list is empty.
  void updateFromLatestBroadcasts(const boost::json::object& answer);

 private:
  void requestSucceeded(HttpRequest& request) override;
  void requestFailed(HttpRequest& request, const PlatformError& error) override;

  std::string imgUrl_;
  Observable<ImagePtr> img_;
  std::unique_ptr<HttpRequest> request_;
};

}  // namespace lk
