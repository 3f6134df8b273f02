#include "Classes/Search/BrowseHistoryViewController.h"

#include "Classes/LocalState/CacheCenter.h"
#include "Classes/Records/ShopInfo.h"
#include "Platform/Log/Log.h"
#include "Platform/UI/ActionSheet.h"
#include "Platform/UI/TabBarController.h"
#include "Platform/UI/TableView.h"

namespace lk {

BrowseHistoryViewController::BrowseHistoryViewController() {
  headerHidden = true;
  setTitle(kTitle);
}

BrowseHistoryViewController::~BrowseHistoryViewController() {
  if (cleanSheet_) {
    cleanSheet_->setDelegate(nullptr);
    if (cleanSheet_->isVisible()) cleanSheet_->removeFromSuperview();
  }
}

std::string BrowseHistoryViewController::sectionTitle() const {
  return strprintf("浏览过的%d家商户", static_cast<int>(resultList().size()));
}

void BrowseHistoryViewController::showHistory() {
  // The screen's own list of the stored records: opening a shop reorders the stored history
  // while this list is drawn.
  setResultList(CacheCenter::sharedInstance().shopBrowseHistory());
  if (tableView()) tableView()->reloadData();
}

void BrowseHistoryViewController::viewDidLoad() {
  SearchResultsViewController::viewDidLoad();
  showAddShop = false;
  navigationItem().rightBarButtonItem =
      buttonItemWithTitle(kCleanTitle, &BrowseHistoryViewController::clean, this);
  showHistory();
}

void BrowseHistoryViewController::viewWillAppear(bool animated) {
  SearchResultsViewController::viewWillAppear(animated);
  // Back from a shop, that shop leads the history.
  showHistory();
}

void BrowseHistoryViewController::clean() {
  if (cleanSheet_ && cleanSheet_->isVisible()) return;
  if (cleanSheet_) cleanSheet_->setDelegate(nullptr);
  cleanSheet_ = std::make_shared<ui::ActionSheet>(
      kCleanQuestion, static_cast<ui::ActionSheetDelegate*>(this), std::string(kCancelTitle),
      std::string(kCleanTitle), std::vector<std::string>{});
  auto* tabs = tabBarController();
  cleanSheet_->showInView(tabs != nullptr ? tabs->view().get() : view().get());
}

void BrowseHistoryViewController::actionSheetClickedButtonAtIndex(ui::ActionSheet& sheet,
                                                                  int index) {
  if (&sheet != cleanSheet_.get() || index != sheet.destructiveButtonIndex()) return;
  CacheCenter::sharedInstance().cleanBrowseHistory();
  setResultList({});
  if (tableView()) tableView()->reloadData();
}

}  // namespace lk
