#include "Platform/Net/UrlEscape.h"

#include <gtest/gtest.h>

#include "Platform/Net/NetworkActivityIndicator.h"

namespace lk {
namespace {

TEST(UrlEscape, IllegalCharactersBecomeUtf8PercentBytes) {
  EXPECT_EQ(percentEscapeURL("http://h/s?k=a b"), "http://h/s?k=a%20b");
  EXPECT_EQ(percentEscapeURL("k=\xE4\xB8\xAD"), "k=%E4%B8%AD");  // 中
  EXPECT_EQ(percentEscapeURL("\"<>{}|\\^`"), "%22%3C%3E%7B%7D%7C%5C%5E%60");
  EXPECT_EQ(percentEscapeURL(std::string("a\x01\x7F", 3)), "a%01%7F");
}

TEST(UrlEscape, ReservedCharactersAndPercentStaySoCallersMayPreEscape) {
  const std::string kept = "http://u@h:80/p;x?a=1&b=%2B+c#frag[]!$'()*,~-._";
  EXPECT_EQ(percentEscapeURL(kept), kept);
  EXPECT_EQ(percentEscapeURL(percentEscapeURL("a b")), "a%20b") << "escaping twice is stable";
}

TEST(NetworkActivityIndicator, ObserverHearsOnlyChanges) {
  std::vector<bool> heard;
  NetworkActivityIndicator::setVisible(false);
  NetworkActivityIndicator::setObserver([&](bool v) { heard.push_back(v); });
  NetworkActivityIndicator::setVisible(true);
  NetworkActivityIndicator::setVisible(true);
  EXPECT_TRUE(NetworkActivityIndicator::isVisible());
  NetworkActivityIndicator::setVisible(false);
  NetworkActivityIndicator::setObserver(nullptr);
  EXPECT_EQ(heard, (std::vector<bool>{true, false}));
}

}  // namespace
}  // namespace lk
