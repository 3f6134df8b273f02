#pragma once

#include <memory>
#include <string>

#include "Classes/Search/SearchResultsViewController.h"

namespace lk {

// The logged-in user's own shop lists, 15 a page: those the user wants to visit (type 0,
// "我想去的") and those the user has been to (otherwise, "我去过的"). The rows, paging and shop
// screens are the search results'; there is no filter header and no add-shop row.
class WantBeenViewController : public SearchResultsViewController {
 public:
  static constexpr int kWantType = 0;
  static constexpr int kBeenType = 1;
  static constexpr int kListRequest = 0;

  explicit WantBeenViewController(int type);
  ~WantBeenViewController() override;

  [[nodiscard]] int type() const { return type_; }
  [[nodiscard]] std::string controllerTitle() const;
  [[nodiscard]] const HttpRequest* listRequest() const { return listRequest_.get(); }

  // The page `currentPage` of the list, or nothing when nobody is logged in.
  [[nodiscard]] std::string searchURL() const override;
  void searchRequest() override;
  [[nodiscard]] std::string sectionTitle() const override;

  void viewDidLoad() override;
  void viewDidUnload() override;

  void requestSucceeded(HttpRequest& request) override;
  void requestFailed(HttpRequest& request, const PlatformError& error) override;

 private:
  void listAnswered(HttpRequest& request);
  void endLoading();

  int type_;
  std::unique_ptr<HttpRequest> listRequest_;
};

}  // namespace lk
