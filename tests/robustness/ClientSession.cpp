#include "tests/robustness/ClientSession.h"

#include <boost/json/parse.hpp>
#include <boost/json/serialize.hpp>

#include "Classes/Account/LoginViewController.h"
#include "Classes/LocalState/CacheCenter.h"
#include "Classes/Pictures/LKImageCache.h"
#include "Classes/Search/SearchResultsViewController.h"
#include "Classes/ServiceClient/HttpRequestCacheCenter.h"
#include "Classes/ServiceClient/ServiceEndpoints.h"
#include "Classes/Shell/lokavoAppDelegate.h"
#include "Classes/Toolkit/AlertCenter.h"
#include "Platform/Image/Image.h"
#include "Platform/Image/ImageCodec.h"
#include "Platform/Log/Log.h"
#include "Platform/UI/AlertView.h"
#include "Platform/UI/Application.h"
#include "Platform/UI/NavigationController.h"
#include "Platform/UI/TabBarController.h"

namespace lk::test {
namespace {

ServiceLauncher::Options withRules(const std::filesystem::path& rules) {
  writeFile(rules, "");
  ServiceLauncher::Options options;
  options.arguments = {"--fault-file", rules.string()};
  options.templateDatabase = ServiceLauncher::sharedTemplate();
  return options;
}

std::shared_ptr<Image> keptPicture() {
  auto image = std::make_shared<Image>(8, 8);
  for (int y = 0; y < 8; ++y) {
    for (int x = 0; x < 8; ++x)
      image->setPixel(x, y, 0x336699FFu + static_cast<std::uint32_t>(x * y));
  }
  return image;
}

}  // namespace

ClientSession::ClientSession()
    : rules_(scratch_ / "faults.txt"), service_(withRules(scratch_ / "faults.txt")) {
  // The debug lines of a long session would drown the test's own output.
  (void)setLogFile((scratch_ / "client.log").string());
  ui::Application::resetSharedInstanceForTesting();
  AlertCenter::resetSharedInstanceForTesting();
  HttpRequestCacheCenter::resetSharedInstanceForTesting();
  LKImageCache::resetSharedInstanceForTesting();
  {
    auto& cache = LKImageCache::sharedImageCache();
    auto picture = keptPicture();
    cache.storeImage(picture, ImageCodec::encodePng(*picture), kPictureKey, true);
    cache.waitUntilDiskJobsAreFinished();
    pictureBytes_ = readFile(cache.cachePathForKey(kPictureKey));
  }
  ServiceEndpoints::setServiceURL(service_.baseURL());
  // Positioned in 北京, as the run command starts the client.
  options_.position = cli::CliOptions::Position{39.915, 116.404};
  session_ = std::make_unique<cli::CliSession>(out_, options_);
  session_->start();
  storedSettings_ = readFile(storage_.storeFile());
}

void ClientSession::restartClient() {
  session_->finish();
  session_.reset();
  storage_.restart();
  HttpRequestCacheCenter::resetSharedInstanceForTesting();
  LKImageCache::resetSharedInstanceForTesting();
  AlertCenter::resetSharedInstanceForTesting();
  ui::Application::resetSharedInstanceForTesting();
  session_ = std::make_unique<cli::CliSession>(out_, options_);
  session_->setSettleBound(settleBound_);
  out_.str({});
  session_->start();
}

ClientSession::~ClientSession() {
  session_->finish();
  session_.reset();
  ServiceEndpoints::setServiceURL("");
  HttpRequestCacheCenter::resetSharedInstanceForTesting();
  LKImageCache::resetSharedInstanceForTesting();
  CacheCenter::resetSharedInstanceForTesting();
  AlertCenter::resetSharedInstanceForTesting();
  ui::Application::resetSharedInstanceForTesting();
  setLogToStderr();
}

void ClientSession::setFaults(const std::string& rules) {
  writeFile(rules_, rules + "\n");
}

std::string ClientSession::run(const std::string& line) {
  out_.str({});
  if (!session_->execute(line)) return "(session ended)";
  return out_.str();
}

std::string ClientSession::runWithoutWaiting(const std::string& line) {
  session_->setSettleBound(Duration::zero());
  std::string shown = run(line);
  session_->setSettleBound(settleBound_);
  return shown;
}

void ClientSession::setSettleBound(Duration bound) {
  settleBound_ = bound;
  session_->setSettleBound(bound);
}

std::string ClientSession::alert() {
  auto& center = AlertCenter::sharedInstance();
  if (!center.isShow()) return "";
  const auto& box = center.sharedAlertView();
  return box->title() + " / " + box->message();
}

void ClientSession::dismissAlert() {
  if (AlertCenter::sharedInstance().isShow()) run("alert 好的");
}

bool ClientSession::login(const std::string& name, const std::string& password) {
  run("tab 个人中心");
  run("tap 用户名");
  run("type \"" + name + "\"");
  run("return");
  run("type \"" + password + "\"");
  run("return");
  return loggedIn();
}

bool ClientSession::loggedIn() {
  return LoginViewController::sharedInstance().isLogin();
}

void ClientSession::keepStoredState() {
  storedSettings_ = readFile(storage_.storeFile());
}

int ClientSession::shownShops() {
  auto* stack = dynamic_cast<ui::NavigationController*>(
      session_->appDelegate().tabBarController()->selectedViewController());
  auto* results = stack == nullptr
                      ? nullptr
                      : dynamic_cast<SearchResultsViewController*>(stack->topViewController());
  return results == nullptr ? -1 : static_cast<int>(results->resultList().size());
}

std::string ClientSession::storedStateDifference() {
  std::string difference;
  boost::json::error_code ec;
  const auto before = boost::json::parse(storedSettings_, ec);
  const std::string afterText = readFile(storage_.storeFile());
  const auto after = boost::json::parse(afterText, ec);
  if (ec || !after.is_object() || !before.is_object()) {
    difference += "the settings file is no longer readable: " + afterText + "\n";
  } else {
    // Keyword histories may grow with the searches; everything else stays as it was.
    for (const auto& member : before.get_object()) {
      if (member.key().find("History") != boost::json::string_view::npos) continue;
      const auto* now = after.get_object().if_contains(member.key());
      if (now == nullptr || *now != member.value()) {
        difference += "setting " + std::string(member.key()) + " changed from " +
                      boost::json::serialize(member.value()) + "\n";
      }
    }
  }
  auto& cache = LKImageCache::sharedImageCache();
  cache.waitUntilDiskJobsAreFinished();
  if (readFile(cache.cachePathForKey(kPictureKey)) != pictureBytes_) {
    difference += "the stored picture changed\n";
  }
  cache.clearMemory();
  if (!cache.imageFromKey(kPictureKey)) difference += "the stored picture is no longer found\n";
  // A picture that came damaged must not have been kept.
  std::error_code listing;
  for (const auto& entry : std::filesystem::directory_iterator(cache.diskCachePath(), listing)) {
    if (entry.is_regular_file() && !ImageCodec::decode(readFile(entry.path()))) {
      difference +=
          "the picture cache holds a damaged picture: " + entry.path().filename().string() + "\n";
    }
  }
  return difference;
}

}  // namespace lk::test
