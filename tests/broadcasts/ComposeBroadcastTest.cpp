// The broadcast editor: the 140-character counter, the photo sheet and thumbnail, the post on
// the wire (the photo field escaped once, "重试" sending the same bytes), and what each answer
// leaves on the screen.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <memory>
#include <optional>
#include <string>

#include "Classes/Broadcasts/BroadcastNotifications.h"
#include "Classes/Broadcasts/ComposeBroadcastViewController.h"
#include "Classes/Broadcasts/ThumbnailView.h"
#include "Platform/Image/ImageBitmap.h"
#include "Platform/Image/ImageCodec.h"
#include "Platform/Net/PlatformError.h"
#include "Platform/Notifications/NotificationCenter.h"
#include "Platform/UI/ActionSheet.h"
#include "Platform/UI/Keyboard.h"
#include "tests/broadcasts/ComposeFixture.h"

namespace lk::test {
namespace {

constexpr const char* kPostPattern = R"(.*/submit/\d+/addMiniCmt)";

// A form body's value of `name`, as it went on the wire (still escaped).
std::string wireField(const std::string& body, const std::string& name) {
  const std::string key = name + "=";
  std::size_t at = body.rfind('&' + key);
  at = at == std::string::npos ? (body.rfind(key, 0) == 0 ? 0 : std::string::npos) : at + 1;
  if (at == std::string::npos) return {};
  const std::size_t from = at + key.size();
  return body.substr(from, body.find('&', from) - from);
}

std::string unescape(const std::string& wire) {
  std::string out;
  for (std::size_t i = 0; i < wire.size(); ++i) {
    if (wire[i] == '%' && i + 2 < wire.size()) {
      out += static_cast<char>(std::stoi(wire.substr(i + 1, 2), nullptr, 16));
      i += 2;
    } else {
      out += wire[i] == '+' ? ' ' : wire[i];
    }
  }
  return out;
}

// Standard Base64 back to bytes; nothing for a character outside the alphabet.
std::optional<std::string> base64Decode(const std::string& text) {
  static const std::string kAlphabet =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string out;
  unsigned int bits = 0;
  int count = 0;
  for (const char c : text) {
    if (c == '=') break;
    const auto at = kAlphabet.find(c);
    if (at == std::string::npos) return std::nullopt;
    bits = (bits << 6) | static_cast<unsigned int>(at);
    count += 6;
    if (count >= 8) {
      count -= 8;
      out += static_cast<char>((bits >> count) & 0xFF);
    }
  }
  return out;
}

// A picture as a camera hands it over: `width` x `height` stored pixels with an orientation.
ui::Image cameraPicture(int width, int height, ImageOrientation orientation) {
  Image pixels(width, height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x)
      pixels.setPixel(x, y, x < width / 2 ? 0xFF0000FF : 0x0000FFFF);
  }
  return toUiImage(std::make_shared<const Image>(std::move(pixels))).withOrientation(orientation);
}

FakeTransport::Responder postAnswer(int status, std::string body) {
  return [status, body = std::move(body)](const FakeTransport::Request&) {
    FakeTransport::Answer a;
    a.status = status;
    a.body = body;
    return a;
  };
}

class ComposeBroadcast : public ComposeFixture {
 protected:
  // The editor about shop 42, logged in, its stack shown over the presenter.
  void openEditor(bool loggedIn = true) {
    if (loggedIn) logIn();
    editor = std::make_shared<ComposeBroadcastViewController>();
    editor->setShopInfo(shop("42", "老北京炸酱面"));
    stack = present(editor);
  }
  ui::TextView& text() { return *editor->textView(); }
  std::string counter() { return editor->txtCountLabel()->text(); }
  bool sendShown() {
    const auto& item = editor->navigationItem().rightBarButtonItem;
    return item && item->label() == "发布";
  }
  // The camera button, the sheet's "从相册上传", then the picker answers with `picture`.
  void attach(const ui::Image& picture) {
    ASSERT_TRUE(editor->photoButton()->tap());
    ASSERT_TRUE(input.chooseAlertButton("从相册上传"));
    auto* picker = dynamic_cast<ui::ImagePickerController*>(stack->modalViewController());
    ASSERT_NE(picker, nullptr) << "the photo library picker shows";
    picker->pickImage(picture);
    settle();
    EXPECT_EQ(stack->modalViewController(), nullptr) << "the picker is dismissed";
  }
  std::vector<const FakeTransport::Request*> posts() { return requestsTo("/addMiniCmt"); }

  std::shared_ptr<ComposeBroadcastViewController> editor;
  std::shared_ptr<ui::NavigationController> stack;
};

TEST_F(ComposeBroadcast, TheCounterCountsUtf16UnitsOfChineseTextAndPastes) {
  openEditor();
  EXPECT_TRUE(text().isFirstResponder()) << "the text takes the keyboard as the editor shows";
  EXPECT_EQ(counter(), "140");
  EXPECT_TRUE(shows("@老北京炸酱面"));

  std::string chinese;
  for (int i = 0; i < 139; ++i)
    chinese += "好";
  ui::Keyboard::shared().type(chinese);
  EXPECT_EQ(counter(), "1") << "139 characters, not 417 bytes";
  ui::Keyboard::shared().type("吃");
  EXPECT_EQ(counter(), "0");
  ui::Keyboard::shared().type("啊");
  EXPECT_EQ(counter(), "0") << "typing stops at 140";
  ui::Keyboard::shared().paste("再来");
  EXPECT_EQ(counter(), "0") << "at 140 a paste is refused too";
  ui::Keyboard::shared().deleteBackward();
  EXPECT_EQ(counter(), "1") << "deleting works at the limit";

  // Below the limit a paste goes in whole, past the limit, and the counter shows it.
  ui::Keyboard::shared().paste("一二三四五六七八九十");
  EXPECT_EQ(counter(), "-9");
  ui::Keyboard::shared().type("多");
  EXPECT_EQ(counter(), "-9");
  ui::Keyboard::shared().deleteBackward();
  EXPECT_EQ(counter(), "-8");

  // A character outside the basic plane takes two units, as the handset counts it.
  text().setText("");
  ui::Keyboard::shared().type("\xF0\x9F\x98\x80");  // U+1F600
  EXPECT_EQ(counter(), "138");
}

TEST_F(ComposeBroadcast, SendShowsWithTextOrPhotoAndGoesWithBoth) {
  openEditor();
  EXPECT_FALSE(sendShown());
  ui::Keyboard::shared().type("a");
  EXPECT_TRUE(sendShown());
  ui::Keyboard::shared().deleteBackward();
  EXPECT_FALSE(sendShown());

  attach(cameraPicture(40, 30, ImageOrientation::kUp));
  ASSERT_NE(editor->thumbnail(), nullptr);
  EXPECT_EQ(editor->photoButton()->superview(), nullptr) << "the thumbnail takes its place";
  EXPECT_TRUE(sendShown()) << "a photo alone can be posted";

  ASSERT_TRUE(editor->thumbnail()->cancelButton()->tap());
  ASSERT_TRUE(input.chooseAlertButton("删除图片"));
  settle();
  EXPECT_EQ(editor->thumbnail(), nullptr);
  EXPECT_TRUE(editor->image().isNull());
  EXPECT_NE(editor->photoButton()->superview(), nullptr) << "the camera button is back";
  EXPECT_FALSE(sendShown()) << "no text, no photo: nothing to post";
}

TEST_F(ComposeBroadcast, ThePhotoSheetOffersTheCameraOnlyWithOne) {
  openEditor();
  const auto titles = [&] {
    editor->attachPhoto();
    const auto views = window->subviews();
    std::vector<std::string> out;
    for (const auto& v : views) {
      if (auto* sheet = dynamic_cast<ui::ActionSheet*>(v.get())) out = sheet->buttonTitles();
    }
    (void)input.chooseAlertButton("取消");
    settle();
    return out;
  };
  EXPECT_EQ(titles(), (std::vector<std::string>{"从相册上传", "取消"}));
  ui::ImagePickerController::setCameraAvailable(true);
  EXPECT_EQ(titles(), (std::vector<std::string>{"拍照上传", "从相册上传", "取消"}));
  EXPECT_EQ(stack->modalViewController(), nullptr) << "\"取消\" opens nothing";
}

TEST_F(ComposeBroadcast, ANullPickChangesNothing) {
  openEditor();
  attach(ui::Image());
  EXPECT_EQ(editor->thumbnail(), nullptr);
  EXPECT_TRUE(editor->image().isNull());
  EXPECT_FALSE(sendShown());
}

TEST_F(ComposeBroadcast, APostCarriesItsFieldsAndAnnouncesTheShop) {
  transport.respond(kPostPattern, postAnswer(200, R"({"errNo":0})"));
  std::vector<std::string> announced;
  auto token = NotificationCenter::defaultCenter().addObserver(
      kBroadcastComposeSucceed, [&](const Notification& n) {
        const auto* id = n.info<std::string>(kBroadcastComposeShopIdKey);
        announced.push_back(id != nullptr ? *id : "?");
      });
  openEditor();
  ui::Keyboard::shared().type("面很好吃 & 便宜");
  ASSERT_TRUE(input.tap("发布"));
  EXPECT_TRUE(shows("正在发布"));
  EXPECT_FALSE(editor->isInteractionEnabled()) << "locked while posting";
  settle(seconds(0.1));

  ASSERT_EQ(posts().size(), 1u);
  const auto& post = *posts()[0];
  EXPECT_EQ(post.httpMethod, "POST");
  EXPECT_EQ(post.url, std::string(kBase) + "/submit/42/addMiniCmt");
  const std::string body = post.body.value_or("");
  EXPECT_EQ(wireField(body, "shop_id"), "42");
  EXPECT_EQ(unescape(wireField(body, "content")), "面很好吃 & 便宜");
  EXPECT_EQ(wireField(body, "ssid"), "S-lokavo");
  EXPECT_EQ(wireField(body, "terminal_type"), "3");
  EXPECT_EQ(wireField(body, "xda_from"), "iPhone");
  EXPECT_EQ(wireField(body, "xda_page"), "Broadcast");
  EXPECT_FALSE(wireField(body, "xda_did").empty());
  EXPECT_EQ(body.find("img="), std::string::npos) << "no photo, no img field";

  EXPECT_EQ(announced, (std::vector<std::string>{"42"}));
  EXPECT_TRUE(shows("发布成功"));
  EXPECT_NE(presenter->modalViewController(), nullptr) << "still there before the second";
  loop->runFor(seconds(1));
  EXPECT_EQ(presenter->modalViewController(), nullptr) << "closed a second later";
}

TEST_F(ComposeBroadcast, TheDismissalTimerGoesWithTheEditor) {
  transport.respond(kPostPattern, postAnswer(200, R"({"errNo":0})"));
  openEditor();
  ui::Keyboard::shared().type("hello");
  editor->send();
  settle(seconds(0.1));
  ASSERT_TRUE(shows("发布成功"));
  // The stack is closed and destroyed before its second is up; another screen is presented.
  presenter->dismissModalViewController(false);
  std::weak_ptr<ComposeBroadcastViewController> gone = editor;
  editor.reset();
  stack.reset();
  loop->runFor(seconds(0.1));
  ASSERT_TRUE(gone.expired());
  auto other =
      std::make_shared<ui::NavigationController>(std::make_shared<LKNavigationController>());
  presenter->presentModalViewController(other, false);
  loop->runFor(seconds(2));
  EXPECT_EQ(presenter->modalViewController(), other.get()) << "no stale timer closed it";
}

TEST_F(ComposeBroadcast, ARefusalOffersRetryWhichSendsTheSameUprightBytes) {
  int answered = 0;
  transport.respond(kPostPattern, [&](const FakeTransport::Request&) {
    FakeTransport::Answer a;
    a.body = ++answered == 1 ? R"({"errNo":5,"errMsg":"busy"})" : R"({"errNo":0})";
    return a;
  });
  openEditor();
  ui::Keyboard::shared().type("图 文");
  // Held on its side: 1600 x 1200 stored, upright 1200 x 1600, sent at a third.
  attach(cameraPicture(1600, 1200, ImageOrientation::kRight));
  editor->send();
  settle();

  ASSERT_EQ(posts().size(), 1u);
  ui::AlertView* alert = shownAlert();
  ASSERT_NE(alert, nullptr);
  EXPECT_EQ(alert->title(), "提示");
  EXPECT_EQ(alert->message(), "播报发布失败");
  EXPECT_EQ(alert->buttonTitles(), (std::vector<std::string>{"取消", "重试"}));
  EXPECT_TRUE(shows("发布失败"));
  EXPECT_TRUE(editor->isInteractionEnabled());
  EXPECT_EQ(text().text(), "图 文") << "the text stays";
  ASSERT_FALSE(editor->image().isNull()) << "the photo stays";
  EXPECT_EQ(editor->image().orientation(), ImageOrientation::kUp) << "redrawn upright";

  ASSERT_TRUE(input.chooseAlertButton("重试"));
  settle();
  ASSERT_EQ(posts().size(), 2u);
  const std::string first = posts()[0]->body.value_or("");
  const std::string second = posts()[1]->body.value_or("");
  EXPECT_EQ(first, second) << "the same bytes: the upright photo is not turned again";

  const std::string img = wireField(first, "img");
  ASSERT_FALSE(img.empty());
  for (const char c : img) {
    ASSERT_TRUE(std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '%') << c;
  }
  EXPECT_EQ(img.find("%25"), std::string::npos) << "escaped once: never %252B";
  EXPECT_NE(img.find("%2B"), std::string::npos);
  const std::string base64 = unescape(img);
  EXPECT_EQ(std::count(base64.begin(), base64.end(), '\n'), 1) << "one line feed, as %0A";
  std::string stripped = base64;
  stripped.erase(std::remove(stripped.begin(), stripped.end(), '\n'), stripped.end());
  const auto jpeg = base64Decode(stripped);
  ASSERT_TRUE(jpeg.has_value());
  EXPECT_EQ(ImageCodec::formatOf(*jpeg), ImageCodec::Format::kJpeg);
  const auto sent = ImageCodec::decode(*jpeg);
  ASSERT_TRUE(sent.has_value());
  EXPECT_EQ(sent->width(), 400);
  EXPECT_EQ(sent->height(), 533);
  EXPECT_TRUE(shows("发布成功"));
}

TEST_F(ComposeBroadcast, AnAnswerWithoutErrNoIsNoSuccess) {
  transport.respond(kPostPattern, postAnswer(200, R"({"result":"ok"})"));
  int announced = 0;
  auto token = NotificationCenter::defaultCenter().addObserver(
      kBroadcastComposeSucceed, [&](const Notification&) { ++announced; });
  openEditor();
  ui::Keyboard::shared().type("x");
  editor->send();
  settle();
  EXPECT_EQ(announced, 0);
  EXPECT_TRUE(shows("发布失败"));
  ASSERT_NE(shownAlert(), nullptr);
  EXPECT_EQ(shownAlert()->message(), "播报发布失败");
  loop->runFor(seconds(2));
  EXPECT_NE(presenter->modalViewController(), nullptr) << "the editor stays";
}

TEST_F(ComposeBroadcast, ABadStatusOffersRetryAndANetworkFailureOnlySaysSo) {
  transport.respond(kPostPattern, postAnswer(500, R"({"errNo":0})"));
  openEditor();
  ui::Keyboard::shared().type("x");
  editor->send();
  settle();
  ASSERT_NE(shownAlert(), nullptr) << "a 500 is no success, whatever its body";
  ASSERT_TRUE(input.chooseAlertButton("取消"));
  settle();
  EXPECT_EQ(posts().size(), 1u) << "\"取消\" sends nothing more";

  transport.clearAnswers();
  transport.fail(std::string(kBase) + "/submit/42/addMiniCmt", UrlError::kNotConnectedToInternet);
  editor->send();
  settle();
  EXPECT_TRUE(shows("发布失败"));
  EXPECT_EQ(shownAlert(), nullptr) << "a network failure shows no retry alert";
  EXPECT_TRUE(editor->isInteractionEnabled());
}

TEST_F(ComposeBroadcast, APhotoThatCannotBeEncodedSendsNothing) {
  openEditor();
  // Bytes that claim to be a picture but decode to nothing.
  auto junk = std::make_shared<const std::vector<std::uint8_t>>(
      std::vector<std::uint8_t>{0xFF, 0xD8, 0xFF, 0x00, 0x01, 0x02});
  attach(ui::Image::fromData(junk, {40, 30}));
  ASSERT_NE(editor->thumbnail(), nullptr);
  editor->send();
  settle();
  EXPECT_TRUE(posts().empty()) << "nothing goes out silently without its photo";
  EXPECT_TRUE(shows("发布失败"));
  EXPECT_TRUE(editor->isInteractionEnabled());
}

TEST_F(ComposeBroadcast, WithoutAShopItAsksForOne) {
  logIn();
  editor = std::make_shared<ComposeBroadcastViewController>();
  stack = present(editor);
  ui::Keyboard::shared().type("x");
  editor->send();
  settle();
  ASSERT_NE(shownAlert(), nullptr);
  EXPECT_EQ(shownAlert()->message(), "请选择商户");
  EXPECT_TRUE(posts().empty());
}

TEST_F(ComposeBroadcast, WithoutALoginTheLoginScreenComesFirst) {
  openEditor(/*loggedIn=*/false);
  EXPECT_EQ(stack->topViewController(), &LoginViewController::sharedInstance());
  EXPECT_FALSE(stack->lastTransitionAnimated());
  EXPECT_TRUE(shows("取消"));

  auto& login = LoginViewController::sharedInstance();
  login.setUsername("lokavo");
  login.setPassword("lokavo123");
  login.login();
  settle();
  EXPECT_EQ(stack->topViewController(), editor.get()) << "the login comes off after it succeeded";
  EXPECT_EQ(login.delegate(), nullptr);
  EXPECT_TRUE(text().isFirstResponder());
}

TEST_F(ComposeBroadcast, CancellingTheLoginClosesTheWholeStack) {
  openEditor(/*loggedIn=*/false);
  ASSERT_TRUE(input.tap("取消"));
  settle();
  EXPECT_EQ(presenter->modalViewController(), nullptr);
}

}  // namespace
}  // namespace lk::test
