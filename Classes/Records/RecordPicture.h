#pragma once

#include <any>
#include <memory>
#include <string>

#include "Classes/Records/Observable.h"
#include "Classes/ServiceClient/HttpRequestDelegate.h"
#include "Platform/Image/Image.h"

namespace lk {

class HttpRequest;

// A record's picture by URL (an author's avatar, a broadcast photo, a shop photo): setting a new
// URL takes the picture from the shared picture store or downloads it through the request engine,
// and the picture arrives through an observable property that drawn cells watch. The download
// is the record's own: it is cancelled when the URL changes or the record goes away.
class RecordPicture : private HttpRequestDelegate {
 public:
  // `extraData` tags the download requests (records with two pictures tell them apart by it).
  explicit RecordPicture(std::any extraData = {});
  RecordPicture(const RecordPicture&) = delete;
  RecordPicture& operator=(const RecordPicture&) = delete;
  ~RecordPicture() override;

  [[nodiscard]] const std::string& url() const { return url_; }
  // Does nothing for the URL already set. Otherwise stores it and, with `fetch`, looks the
  // picture up in the store, else starts a download (an empty URL downloads nothing). A download
  // of the previous URL is dropped.
  void setUrl(const std::string& url, bool fetch = true);

  [[nodiscard]] Observable<ImagePtr>& image() { return image_; }
  [[nodiscard]] const Observable<ImagePtr>& image() const { return image_; }
  // The pending download, if any.
  [[nodiscard]] const HttpRequest* request() const { return request_.get(); }

 private:
  void requestSucceeded(HttpRequest& request) override;
  void requestFailed(HttpRequest& request, const PlatformError& error) override;

  std::any extraData_;
  std::string url_;
  std::string requestedUrl_;
  Observable<ImagePtr> image_;
  std::unique_ptr<HttpRequest> request_;
};

}  // namespace lk
