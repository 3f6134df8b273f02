#include "Classes/Account/PassportReply.h"

#include <gtest/gtest.h>

#include <string>

namespace lk {
namespace {

constexpr const char* kDeclaration = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";

TEST(PassportReply, SuccessCarriesTheSessionOfTheParamNode) {
  const auto reply = PassportReply::parse(
      std::string(kDeclaration) +
      "<login_succ><other value=\"no\"/><param name=\"ssid\" value=\"a&amp;b\"/></login_succ>");
  ASSERT_TRUE(reply);
  EXPECT_EQ(reply->kind, PassportReply::Kind::kSucceeded);
  EXPECT_EQ(reply->ssid, "a&b");

  const auto bare = PassportReply::parse("<login_succ><param name=\"ssid\"/></login_succ>");
  ASSERT_TRUE(bare);
  EXPECT_EQ(bare->kind, PassportReply::Kind::kSucceeded);
  EXPECT_EQ(bare->ssid, std::nullopt);
}

TEST(PassportReply, RefusalCarriesItsReasonAndTheCodeContext) {
  const auto refused =
      PassportReply::parse("<login_fail><reason id=\"20\">busy</reason></login_fail>");
  ASSERT_TRUE(refused);
  EXPECT_EQ(refused->kind, PassportReply::Kind::kFailed);
  EXPECT_EQ(refused->reason, 20);
  EXPECT_EQ(refused->qzVerify, std::nullopt);

  const auto challenge = PassportReply::parse(
      "<login_fail><reason id=\"204\">code</reason><qzVcodeString>tok</qzVcodeString>"
      "<qzQzstoken>st</qzQzstoken><qzTime>1700000000</qzTime></login_fail>");
  ASSERT_TRUE(challenge);
  EXPECT_EQ(challenge->reason, PassportReply::kVerifyCodeRequired);
  EXPECT_EQ(challenge->qzVerify, "tok");
  EXPECT_EQ(challenge->qzStoken, "st");
  EXPECT_EQ(challenge->qzTime, "1700000000");

  const auto noReason = PassportReply::parse("<login_fail/>");
  ASSERT_TRUE(noReason);
  EXPECT_EQ(noReason->reason, 0);
}

TEST(PassportReply, AnotherRootIsUnexpectedAndBrokenTextUnparsable) {
  const auto other = PassportReply::parse("<maintenance><param value=\"x\"/></maintenance>");
  ASSERT_TRUE(other);
  EXPECT_EQ(other->kind, PassportReply::Kind::kUnexpected);
  EXPECT_EQ(other->ssid, std::nullopt);

  EXPECT_FALSE(PassportReply::parse(""));
  EXPECT_FALSE(PassportReply::parse("<login_succ>"));
  EXPECT_FALSE(PassportReply::parse("{\"login\":1}"));
  EXPECT_FALSE(PassportReply::parse(std::string("<login_succ/>\0<x/>", 18)));
}

TEST(PassportReply, DeclarationsAndOversizedDocumentsAreRefused) {
  // An internal entity, nested entities (a billion laughs), an external DTD, an external entity.
  const std::string hostile[] = {
      "<!DOCTYPE login_succ [<!ENTITY s \"x\">]><login_succ><param value=\"&s;\"/></login_succ>",
      "<!DOCTYPE l [<!ENTITY a \"aaaaaaaaaa\"><!ENTITY b \"&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;\">"
      "<!ENTITY c \"&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;\">]><login_succ><param value=\"&c;\"/>"
      "</login_succ>",
      "<!DOCTYPE login_succ SYSTEM \"http://127.0.0.1:1/evil.dtd\"><login_succ/>",
      "<!DOCTYPE l [<!ENTITY e SYSTEM \"file:///etc/passwd\">]><login_fail><qzVcodeString>&e;"
      "</qzVcodeString></login_fail>",
  };
  for (const auto& xml : hostile)
    EXPECT_FALSE(PassportReply::parse(xml)) << xml;

  const std::string head = "<login_succ><param value=\"S\"/><!--";
  const std::string tail = "--></login_succ>";
  std::string fits =
      head + std::string(PassportReply::kMaxSize - head.size() - tail.size(), 'x') + tail;
  ASSERT_EQ(fits.size(), PassportReply::kMaxSize);
  ASSERT_TRUE(PassportReply::parse(fits));
  EXPECT_EQ(PassportReply::parse(fits)->ssid, "S");
  fits.insert(head.size(), "x");
  EXPECT_FALSE(PassportReply::parse(fits));
}

TEST(PassportReply, UndeclaredEntitiesAndOtherEncodingsDoNotSlipThrough) {
  EXPECT_FALSE(PassportReply::parse("<login_succ><param value=\"&undeclared;\"/></login_succ>"));
  // A document that claims another encoding is still read as UTF-8, so no declaration hides.
  const auto latin = PassportReply::parse(
      "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><login_succ><param value=\"\xC3\xA9\"/>"
      "</login_succ>");
  ASSERT_TRUE(latin);
  EXPECT_EQ(latin->ssid, "\xC3\xA9");
  std::string utf16 = "\xFF\xFE";
  for (char c : std::string("<!DOCTYPE l [<!ENTITY s \"x\">]><login_succ/>")) {
    utf16.push_back(c);
    utf16.push_back('\0');
  }
  EXPECT_FALSE(PassportReply::parse(utf16));
}

TEST(PassportReply, ReasonReadsTheLeadingInteger) {
  EXPECT_EQ(PassportReply::intValue("204"), 204);
  EXPECT_EQ(PassportReply::intValue("  7abc"), 7);
  EXPECT_EQ(PassportReply::intValue("-3"), -3);
  EXPECT_EQ(PassportReply::intValue("+16"), 16);
  EXPECT_EQ(PassportReply::intValue("x1"), 0);
  EXPECT_EQ(PassportReply::intValue(""), 0);
  EXPECT_EQ(PassportReply::intValue("99999999999999999999"), 2147483647);
  EXPECT_EQ(PassportReply::intValue("-99999999999999999999"), -2147483647 - 1);
}

}  // namespace
}  // namespace lk
