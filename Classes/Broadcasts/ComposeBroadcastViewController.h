#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "Classes/Account/LoginViewControllerDelegate.h"
#include "Classes/ServiceClient/FormValue.h"
#include "Classes/ServiceClient/HttpRequestDelegate.h"
#include "Classes/Toolkit/LKNavigationController.h"
#include "Platform/Notifications/NotificationCenter.h"
#include "Platform/RunLoop/RunLoop.h"
#include "Platform/UI/ActionSheetDelegate.h"
#include "Platform/UI/AlertViewDelegate.h"
#include "Platform/UI/Button.h"
#include "Platform/UI/Image.h"
#include "Platform/UI/ImagePickerController.h"
#include "Platform/UI/Label.h"
#include "Platform/UI/TextView.h"
#include "Platform/UI/TextViewDelegate.h"

namespace lk {

class HttpRequest;
class LKLoadingView;
class ShopInfo;
class ThumbnailView;
struct PlatformError;

namespace ui {
class ActionSheet;
class AlertView;
class BarButtonItem;
}  // namespace ui

// Writing a broadcast about one shop: up to 140 characters and an optional photo, posted with
// "发布". Always shown modally in a stack of its own; asks for a login first.
class ComposeBroadcastViewController : public LKNavigationController,
                                       public ui::TextViewDelegate,
                                       public ui::ActionSheetDelegate,
                                       public ui::AlertViewDelegate,
                                       public ui::ImagePickerDelegate,
                                       public LoginViewControllerDelegate,
                                       private HttpRequestDelegate {
 public:
  static constexpr int kMaxLength = 140;
  static constexpr int kPhotoSheet = 0;
  static constexpr int kRemoveSheet = 1;
  static constexpr const char* kTitle = "现场播报";
  static constexpr const char* kSendTitle = "发布";
  static constexpr const char* kCancelTitle = "取消";
  static constexpr const char* kTakePhotoTitle = "拍照上传";
  static constexpr const char* kChoosePhotoTitle = "从相册上传";
  static constexpr const char* kRemovePhotoTitle = "删除图片";
  static constexpr const char* kPostingText = "正在发布";
  static constexpr const char* kPostedText = "发布成功";
  static constexpr const char* kFailedText = "发布失败";
  static constexpr const char* kFailureTitle = "提示";
  static constexpr const char* kFailureMessage = "播报发布失败";
  static constexpr const char* kRetryTitle = "重试";
  static constexpr const char* kNoShopMessage = "请选择商户";
  static constexpr const char* kCameraImage = "broadcast_camera";
  static constexpr const char* kBackgroundImage = "compose_background";
  static constexpr Duration kDismissDelay = seconds(1);

  ComposeBroadcastViewController();
  ~ComposeBroadcastViewController() override;

  [[nodiscard]] const std::shared_ptr<ShopInfo>& shopInfo() const { return shopInfo_; }
  void setShopInfo(std::shared_ptr<ShopInfo> shop) { shopInfo_ = std::move(shop); }
  // The attached photo (null when none). Posting replaces it by its upright, scaled redrawing.
  [[nodiscard]] const ui::Image& image() const { return image_; }

  [[nodiscard]] const std::shared_ptr<ui::TextView>& textView() const { return textView_; }
  [[nodiscard]] const std::shared_ptr<ui::Label>& txtCountLabel() const { return txtCountLabel_; }
  [[nodiscard]] const std::shared_ptr<ui::Button>& photoButton() const { return photoButton_; }
  [[nodiscard]] const std::shared_ptr<ThumbnailView>& thumbnail() const { return tv_; }
  [[nodiscard]] const HttpRequest* request() const { return request_.get(); }
  [[nodiscard]] bool isInteractionEnabled() const { return interactionEnabled_; }
  // The characters left: 140 less the text's length in UTF-16 units (below 0 after a paste).
  [[nodiscard]] int charactersLeft() const;

  // The post's address and fields, or nothing without a shop id or a session. `img` is the
  // photo's Base64 text, escaped once on the way out.
  [[nodiscard]] std::optional<std::string> postURL() const;
  [[nodiscard]] std::optional<HttpParameters> postFields(
      const std::optional<std::string>& img) const;

  // Actions.
  void cancel();
  void attachPhoto();
  void send();
  void removeImage();
  void interactionEnabled(bool enabled);

  // Life cycle.
  void loadView() override;
  void viewDidLoad() override;
  void viewDidUnload() override;
  void viewDidAppear(bool animated) override;
  void viewDidDisappear(bool animated) override;

  // The text limit and the counter.
  bool textViewShouldChangeTextInRange(ui::TextView& view, ui::TextRange range,
                                       const std::string& replacement) override;
  void textViewDidChange(ui::TextView& view) override;

  // The photo sheet, the removal sheet, the retry alert, the picker and the login.
  void actionSheetClickedButtonAtIndex(ui::ActionSheet& sheet, int index) override;
  void alertViewClickedButtonAtIndex(ui::AlertView& alert, int index) override;
  void imagePickerDidFinishPickingImage(ui::ImagePickerController& picker,
                                        const ui::Image& image) override;
  void imagePickerDidCancel(ui::ImagePickerController& picker) override;
  void loginSucceed(LoginViewController& login) override;

 protected:
  // Opens the camera or photo-library picker modally; tests may replace it.
  virtual void openPicker(ui::ImagePickerController::SourceType source);

 private:
  void requestSucceeded(HttpRequest& request) override;
  void requestFailed(HttpRequest& request, const PlatformError& error) override;

  void attach(const ui::Image& image);
  void removePhoto();
  void updateSendButton();
  void showSheet(std::shared_ptr<ui::ActionSheet> sheet);
  void closePicker(ui::ImagePickerController& picker);
  // The photo redrawn upright and scaled (it replaces `image`), as Base64 text; nothing when it
  // cannot be encoded.
  std::optional<std::string> encodedPhoto();
  void finishPosting(bool success);
  [[nodiscard]] bool isTopScreen() const;

  std::shared_ptr<ShopInfo> shopInfo_;
  ui::Image image_;
  std::shared_ptr<ui::TextView> textView_;
  std::shared_ptr<ui::Label> txtCountLabel_;
  std::shared_ptr<ui::Label> shopLabel_;
  std::shared_ptr<ui::Button> photoButton_;
  std::shared_ptr<ThumbnailView> tv_;
  std::shared_ptr<ui::BarButtonItem> sendButton_;
  std::unique_ptr<LKLoadingView> loadingView_;
  std::unique_ptr<HttpRequest> request_;
  std::shared_ptr<ui::ActionSheet> sheet_;
  std::shared_ptr<ui::AlertView> failureAlert_;
  std::shared_ptr<ui::ImagePickerController> picker_;
  std::vector<ObserverToken> observers_;
  // Closes the stack a second after a successful post; goes with the editor.
  ScopedTimer dismissTimer_;
  bool interactionEnabled_ = true;
};

}  // namespace lk
