#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "Classes/Records/LKObject.h"
#include "Classes/ServiceClient/HttpRequestDelegate.h"
#include "Classes/Toolkit/LKTableViewController.h"

namespace boost::json {
class value;
}

namespace lk {

class HttpRequest;
class LKPickerDelegate;

// A list that returns one directory node (a province, city, district or category) to its
// delegate. Subclasses load their list (usually with one request) and say what the rows are.
class LKPickerViewController : public LKTableViewController, public HttpRequestDelegate {
 public:
  static constexpr const char* kCancelTitle = "取消";

  LKPickerViewController();
  ~LKPickerViewController() override;

  LKPickerDelegate* delegate = nullptr;  // not owned
  bool hasCancelButton = false;
  bool hasTabbar = false;

  struct Section {
    std::string title;                            // empty: no header
    std::vector<std::shared_ptr<LKObject>> rows;  // a null row shows `placeholder`
    std::string placeholder;
    bool disclosure = false;
  };
  // What the list shows; a section without rows is left out.
  [[nodiscard]] virtual std::vector<Section> sections() const = 0;
  [[nodiscard]] const HttpRequest* request() const { return request_.get(); }

  void viewDidLoad() override;

  int numberOfSectionsInTableView(ui::TableView& tableView) override;
  int tableViewNumberOfRowsInSection(ui::TableView& tableView, int section) override;
  std::shared_ptr<ui::TableViewCell> tableViewCellForRowAtIndexPath(ui::TableView& tableView,
                                                                    ui::IndexPath ip) override;
  std::optional<std::string> tableViewTitleForHeaderInSection(ui::TableView& tableView,
                                                              int section) override;
  void tableViewDidSelectRowAtIndexPath(ui::TableView& tableView, ui::IndexPath ip) override;

  void requestSucceeded(HttpRequest& request) override;
  void requestFailed(HttpRequest& request, const PlatformError& error) override;

 protected:
  [[nodiscard]] virtual std::string defaultTitle() const = 0;
  // Issues the request, or uses data already given (then calls _dataSourceReady).
  virtual void _loadDataSource() = 0;
  void _dataSourceReady();
  // Decodes a 200 answer of the request into the list.
  virtual void decodeAnswer(const boost::json::value& answer) = 0;
  // A row was chosen (a null row is the placeholder).
  virtual void didChoose(const Section& section, const std::shared_ptr<LKObject>& row);
  // Returns `data` to the delegate.
  void pick(const std::shared_ptr<LKObject>& data);
  void startRequest(const std::string& url);

 private:
  [[nodiscard]] std::vector<Section> shownSections() const;
  void cancel();

  std::unique_ptr<HttpRequest> request_;
};

}  // namespace lk
