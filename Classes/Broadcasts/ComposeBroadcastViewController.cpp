#include "Classes/Broadcasts/ComposeBroadcastViewController.h"

#include "Classes/Account/LoginViewController.h"
#include "Classes/Broadcasts/BroadcastNotifications.h"
#include "Classes/Broadcasts/BroadcastPhoto.h"
#include "Classes/Broadcasts/ComposeLogin.h"
#include "Classes/Broadcasts/ThumbnailView.h"
#include "Classes/Records/ShopInfo.h"
#include "Classes/ServiceClient/AnswerErrNo.h"
#include "Classes/ServiceClient/HttpRequest.h"
#include "Classes/ServiceClient/ServiceAnswer.h"
#include "Classes/ServiceClient/ServiceEndpoints.h"
#include "Classes/Toolkit/AlertCenter.h"
#include "Classes/Toolkit/LKLoadingView.h"
#include "Platform/Device/DeviceInfo.h"
#include "Platform/Image/ImageBitmap.h"
#include "Platform/Log/Log.h"
#include "Platform/Net/PlatformError.h"
#include "Platform/UI/ActionSheet.h"
#include "Platform/UI/AlertView.h"
#include "Platform/UI/BarButtonItem.h"
#include "Platform/UI/ImageView.h"
#include "Platform/UI/NavigationController.h"
#include "Platform/UI/TextMeasure.h"

namespace lk {

namespace {

const ui::Rect kTextFrame{10, 34, 300, 120};
const ui::Rect kPhotoButtonFrame{10, 160, 40, 32};
const ui::Rect kThumbnailFrame{10, 160, ThumbnailView::kSize.width, ThumbnailView::kSize.height};

// Keeps a sheet or alert alive until the call it is running has unwound.
void keepUntilLater(std::shared_ptr<void> view) {
  RunLoop::main().post([view = std::move(view)] {});
}

}  // namespace

ComposeBroadcastViewController::ComposeBroadcastViewController() = default;

ComposeBroadcastViewController::~ComposeBroadcastViewController() {
  observers_.clear();
  request_.reset();
  if (textView_) textView_->setDelegate(nullptr);
  if (sheet_) sheet_->setDelegate(nullptr);
  if (failureAlert_) failureAlert_->setDelegate(nullptr);
  if (picker_) picker_->pickerDelegate = nullptr;
}

int ComposeBroadcastViewController::charactersLeft() const {
  const std::size_t length = textView_ ? ui::TextMeasure::utf16Length(textView_->text()) : 0;
  return kMaxLength - static_cast<int>(length);
}

// ---------------------------------------------------------------------------------------------
// Life cycle

void ComposeBroadcastViewController::loadView() {
  LKNavigationController::loadView();
  addSubview(std::make_shared<ui::ImageView>(ui::Rect{0, 0, 320, 416},
                                             ui::Image::named(kBackgroundImage)));
  shopLabel_ = std::make_shared<ui::Label>(ui::Rect{10, 8, 300, 20});
  shopLabel_->setFont(ui::Font::system(14));
  shopLabel_->setBackgroundColor(ui::Color::clear());
  addSubview(shopLabel_);
  textView_ = std::make_shared<ui::TextView>(kTextFrame);
  textView_->setFont(ui::Font::system(14));
  textView_->setDelegate(this);
  addSubview(textView_);
  txtCountLabel_ = std::make_shared<ui::Label>(ui::Rect{260, 160, 50, 20}, "140");
  txtCountLabel_->setTextAlignment(ui::TextAlignment::kRight);
  txtCountLabel_->setBackgroundColor(ui::Color::clear());
  addSubview(txtCountLabel_);
  photoButton_ = std::make_shared<ui::Button>(kPhotoButtonFrame);
  photoButton_->setImage(ui::Image::named(kCameraImage));
  photoButton_->setAction([this](ui::Button&) { attachPhoto(); });
  if (image_.isNull()) {
    addSubview(photoButton_);
  } else {
    tv_ = std::make_shared<ThumbnailView>(kThumbnailFrame, image_, true);
    addSubview(tv_);
  }
}

void ComposeBroadcastViewController::viewDidLoad() {
  LKNavigationController::viewDidLoad();
  setTitle(kTitle);
  navigationItem().leftBarButtonItem =
      buttonItemWithTitle(kCancelTitle, &ComposeBroadcastViewController::cancel, this);
  if (shopLabel_) {
    shopLabel_->setText(strprintf("@%s ", shopInfo_ ? shopInfo_->strName().c_str() : ""));
  }
  observers_.clear();
  observers_.push_back(NotificationCenter::defaultCenter().addObserver(
      kBroadcastRemoveImage, [this](const Notification&) { removeImage(); }));
  updateSendButton();
  (void)pushLoginIfNeeded(*this, this);
}

void ComposeBroadcastViewController::viewDidUnload() {
  observers_.clear();
  if (textView_) textView_->setDelegate(nullptr);
  textView_.reset();
  txtCountLabel_.reset();
  shopLabel_.reset();
  photoButton_.reset();
  tv_.reset();
  LKNavigationController::viewDidUnload();
}

void ComposeBroadcastViewController::viewDidAppear(bool animated) {
  LKNavigationController::viewDidAppear(animated);
  if (textView_ && interactionEnabled_) textView_->becomeFirstResponder();
}

void ComposeBroadcastViewController::viewDidDisappear(bool animated) {
  LKNavigationController::viewDidDisappear(animated);
  interactionEnabled(true);
}

void ComposeBroadcastViewController::loginSucceed(LoginViewController& login) {
  popLogin(*this, login);
}

// ---------------------------------------------------------------------------------------------
// The text

bool ComposeBroadcastViewController::textViewShouldChangeTextInRange(
    ui::TextView& view, ui::TextRange /*range*/, const std::string& replacement) {
  // Below the limit anything goes (a paste may run past it); at the limit only deletions.
  if (ui::TextMeasure::utf16Length(view.text()) < static_cast<std::size_t>(kMaxLength)) {
    return true;
  }
  return replacement.empty();
}

void ComposeBroadcastViewController::textViewDidChange(ui::TextView& /*view*/) {
  updateSendButton();
}

void ComposeBroadcastViewController::updateSendButton() {
  if (txtCountLabel_) txtCountLabel_->setText(strprintf("%d", charactersLeft()));
  const bool hasText = textView_ && !textView_->text().empty();
  if (hasText || !image_.isNull()) {
    if (!sendButton_) {
      sendButton_ = buttonItemWithTitle(kSendTitle, &ComposeBroadcastViewController::send, this);
    }
    sendButton_->setEnabled(interactionEnabled_);
    navigationItem().rightBarButtonItem = sendButton_;
  } else {
    navigationItem().rightBarButtonItem = nullptr;
  }
}

// ---------------------------------------------------------------------------------------------
// The photo

void ComposeBroadcastViewController::attachPhoto() {
  if (!interactionEnabled_) return;
  std::vector<std::string> sources;
  if (ui::ImagePickerController::isSourceTypeAvailable(
          ui::ImagePickerController::SourceType::kCamera)) {
    sources.emplace_back(kTakePhotoTitle);
  }
  sources.emplace_back(kChoosePhotoTitle);
  auto sheet = std::make_shared<ui::ActionSheet>("", this, std::string(kCancelTitle), std::nullopt,
                                                 std::move(sources));
  sheet->setTag(kPhotoSheet);
  showSheet(std::move(sheet));
}

void ComposeBroadcastViewController::showSheet(std::shared_ptr<ui::ActionSheet> sheet) {
  if (sheet_) {
    sheet_->setDelegate(nullptr);
    sheet_->removeFromSuperview();
  }
  sheet_ = std::move(sheet);
  sheet_->showInView(view().get());
}

void ComposeBroadcastViewController::actionSheetClickedButtonAtIndex(ui::ActionSheet& sheet,
                                                                     int index) {
  // The sheet goes on a later turn: this call runs inside it.
  keepUntilLater(sheet.shared_from_this());
  if (&sheet == sheet_.get()) sheet_.reset();
  if (index < 0 || index >= sheet.numberOfButtons() || index == sheet.cancelButtonIndex()) return;
  const std::string title = sheet.buttonTitles()[static_cast<std::size_t>(index)];
  if (sheet.tag() == kPhotoSheet) {
    if (title == kTakePhotoTitle) openPicker(ui::ImagePickerController::SourceType::kCamera);
    if (title == kChoosePhotoTitle)
      openPicker(ui::ImagePickerController::SourceType::kPhotoLibrary);
  } else if (sheet.tag() == kRemoveSheet && title == kRemovePhotoTitle) {
    removePhoto();
  }
}

void ComposeBroadcastViewController::openPicker(ui::ImagePickerController::SourceType source) {
  if (picker_) picker_->pickerDelegate = nullptr;
  picker_ = std::make_shared<ui::ImagePickerController>();
  picker_->sourceType = source;
  picker_->pickerDelegate = this;
  presentModalViewController(picker_, true);
}

void ComposeBroadcastViewController::imagePickerDidFinishPickingImage(
    ui::ImagePickerController& picker, const ui::Image& image) {
  // A pick without a picture changes nothing.
  if (!image.isNull()) attach(image);
  closePicker(picker);
}

void ComposeBroadcastViewController::imagePickerDidCancel(ui::ImagePickerController& picker) {
  closePicker(picker);
}

void ComposeBroadcastViewController::closePicker(ui::ImagePickerController& picker) {
  picker.pickerDelegate = nullptr;
  // Dismissed through the picker itself: this screen presented nothing of its own.
  picker.dismissModalViewController(true);
  if (&picker == picker_.get()) picker_.reset();
}

void ComposeBroadcastViewController::attach(const ui::Image& image) {
  image_ = image;
  if (isViewLoaded()) {
    if (photoButton_) photoButton_->removeFromSuperview();
    if (tv_) tv_->removeFromSuperview();
    tv_ = std::make_shared<ThumbnailView>(kThumbnailFrame, image_, true);
    addSubview(tv_);
  }
  updateSendButton();
}

void ComposeBroadcastViewController::removeImage() {
  // Only the editor on top asks, and not while a post is on its way.
  if (!isTopScreen() || !interactionEnabled_ || image_.isNull()) return;
  auto sheet =
      std::make_shared<ui::ActionSheet>("", this, std::string(kCancelTitle),
                                        std::string(kRemovePhotoTitle), std::vector<std::string>{});
  sheet->setTag(kRemoveSheet);
  showSheet(std::move(sheet));
}

void ComposeBroadcastViewController::removePhoto() {
  image_ = {};
  if (tv_) tv_->removeFromSuperview();
  tv_.reset();
  if (photoButton_ && isViewLoaded()) addSubview(photoButton_);
  updateSendButton();
}

bool ComposeBroadcastViewController::isTopScreen() const {
  auto* stack = navigationController();
  return stack != nullptr && stack->topViewController() == this && modalViewController() == nullptr;
}

void ComposeBroadcastViewController::interactionEnabled(bool enabled) {
  interactionEnabled_ = enabled;
  if (sendButton_) sendButton_->setEnabled(enabled);
  if (photoButton_) photoButton_->setEnabled(enabled);
  if (textView_) {
    textView_->editable = enabled;
    textView_->setEnabled(enabled);
  }
  if (tv_) tv_->setCancelButtonEnabled(enabled);
}

// ---------------------------------------------------------------------------------------------
// Posting

std::optional<std::string> ComposeBroadcastViewController::postURL() const {
  if (!shopInfo_ || shopInfo_->shopId().empty()) return std::nullopt;
  return strprintf("%s/submit/%s/addMiniCmt", ServiceEndpoints::serviceURL().c_str(),
                   FormValue::escape(shopInfo_->shopId()).c_str());
}

std::optional<HttpParameters> ComposeBroadcastViewController::postFields(
    const std::optional<std::string>& img) const {
  const auto& ssid = LoginViewController::sharedInstance().ssid();
  if (!shopInfo_ || shopInfo_->shopId().empty() || !ssid || ssid->empty()) return std::nullopt;
  HttpParameters fields{
      {"shop_id", shopInfo_->shopId()},
      {"content", textView_ ? textView_->text() : std::string()},
      {"ssid", *ssid},
      {"terminal_type", 3},
  };
  // The Base64 text is escaped once, by the form encoding: "+" goes as "%2B", never "%252B".
  if (img) fields.emplace_back("img", *img);
  fields.emplace_back("xda_from", "iPhone");
  fields.emplace_back("xda_page", "Broadcast");
  fields.emplace_back("xda_did", DeviceInfo::uniqueIdentifier());
  return fields;
}

std::optional<std::string> ComposeBroadcastViewController::encodedPhoto() {
  const ImagePtr pixels = fromUiImage(image_);
  if (!pixels) return std::nullopt;
  // The redrawn picture is upright: sending it again turns nothing.
  const auto upright =
      std::make_shared<const Image>(BroadcastPhoto::prepared(*pixels, image_.orientation()));
  image_ = toUiImage(upright);
  if (tv_) tv_->setImage(image_);
  return BroadcastPhoto::base64Text(*upright);
}

void ComposeBroadcastViewController::send() {
  if (request_) return;
  const auto url = postURL();
  if (!url) {
    AlertCenter::sharedInstance().showAlertWithTitle(std::nullopt, std::string(kNoShopMessage));
    return;
  }
  // Nothing goes out without a session.
  if (pushLoginIfNeeded(*this, this)) return;
  if (textView_) textView_->resignFirstResponder();
  loadingView_ = std::make_unique<LKLoadingView>(isViewLoaded() ? view() : nullptr, kPostingText);
  loadingView_->show();
  std::optional<std::string> img;
  if (!image_.isNull()) {
    img = encodedPhoto();
    if (!img) {
      logLine("Compose failed, the photo could not be encoded");
      finishPosting(false);
      return;
    }
  }
  const auto fields = postFields(img);
  if (!fields) {
    logLine("Compose failed, no session");
    finishPosting(false);
    return;
  }
  request_ = std::make_unique<HttpRequest>(static_cast<HttpRequestDelegate*>(this), 0);
  request_->requestPOST(*url, *fields);
  interactionEnabled(false);
}

void ComposeBroadcastViewController::finishPosting(bool success) {
  if (loadingView_) {
    loadingView_->hideWithStatus(success, success ? kPostedText : kFailedText);
    loadingView_.reset();
  }
  if (!success) interactionEnabled(true);
}

void ComposeBroadcastViewController::requestSucceeded(HttpRequest& request) {
  if (&request != request_.get()) return;
  const auto answer = readJsonAnswer(request, AnswerEncoding::kPlain);
  // Only a present errNo of 0 is a success; an answer without one is not.
  const bool posted = answer && hasZeroErrNo(*answer);
  if (!answer && isAnswerStep(answer.error(), AnswerStep::kStatus)) {
    logf("code = %d", request.statusCode());
  } else if (!posted) {
    logf("%s", request.recievedData().c_str());
  }
  request_.reset();
  if (!posted) {
    finishPosting(false);
    if (failureAlert_) failureAlert_->setDelegate(nullptr);
    failureAlert_ = std::make_shared<ui::AlertView>(kFailureTitle, kFailureMessage, this,
                                                    std::string(kCancelTitle),
                                                    std::vector<std::string>{kRetryTitle});
    failureAlert_->show();
    return;
  }
  finishPosting(true);
  const std::string shopId = shopInfo_ ? shopInfo_->shopId() : std::string();
  Notification n{kBroadcastComposeSucceed, {}, {}};
  n.userInfo[kBroadcastComposeShopIdKey] = shopId;
  NotificationCenter::defaultCenter().post(n);
  dismissTimer_.start(kDismissDelay, [this] { dismissModalViewController(true); });
}

void ComposeBroadcastViewController::requestFailed(HttpRequest& request,
                                                   const PlatformError& error) {
  if (&request != request_.get()) return;
  logf("Compose failed, error = %s (%d)", error.domain.c_str(), error.code);
  request_.reset();
  finishPosting(false);
}

void ComposeBroadcastViewController::alertViewClickedButtonAtIndex(ui::AlertView& alert,
                                                                   int index) {
  if (&alert != failureAlert_.get()) return;
  failureAlert_->setDelegate(nullptr);
  keepUntilLater(alert.shared_from_this());
  failureAlert_.reset();
  if (index == alert.cancelButtonIndex()) return;
  send();
}

void ComposeBroadcastViewController::cancel() {
  // The post of a closed editor is not waited for.
  request_.reset();
  dismissTimer_.cancel();
  dismissModalViewController(true);
}

}  // namespace lk
