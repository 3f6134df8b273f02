#include "Classes/Util/Utility.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <climits>
#include <cmath>
#include <cstring>
#include <limits>

#include "Platform/Device/DeviceInfo.h"
#include "Platform/UI/View.h"
#include "tests/support/ScopedTimeZone.h"

namespace lk {
namespace {

using Stars = Utility::StarCounts;

TEST(UtilityFormatFloat, DropsAZeroDecimal) {
  EXPECT_EQ(Utility::formatFloat(0.0f), "0");
  EXPECT_EQ(Utility::formatFloat(4.0f), "4");
  EXPECT_EQ(Utility::formatFloat(4.04f), "4");
  EXPECT_EQ(Utility::formatFloat(4.5f), "4.5");
  EXPECT_EQ(Utility::formatFloat(3.96f), "4");
  EXPECT_EQ(Utility::formatFloat(4.96f), "5");
  EXPECT_EQ(Utility::formatFloat(-1.25f), "-1.2");
  EXPECT_EQ(Utility::formatFloat(-0.04f), "-0");
}

TEST(UtilityFormatFloat, HugeAndNonFiniteValuesStayText) {
  EXPECT_EQ(Utility::formatFloat(1e10f), "10000000000");
  EXPECT_EQ(Utility::formatFloat(FLT_MAX).size(), 39u);
  EXPECT_EQ(Utility::formatFloat(std::numeric_limits<float>::infinity()), "inf");
  EXPECT_EQ(Utility::formatFloat(std::nanf("")), "nan");
}

TEST(UtilityRoundoff, RoundsHalfUpOnTheFirstDecimal) {
  EXPECT_EQ(Utility::roundoff(3.5f), 4);
  EXPECT_EQ(Utility::roundoff(3.44f), 3);
  EXPECT_EQ(Utility::roundoff(2.5f), 3);
  EXPECT_EQ(Utility::roundoff(2.449f), 2);
  EXPECT_EQ(Utility::roundoff(2.45f), 3);  // "%.1f" gives 2.5 first
  EXPECT_EQ(Utility::roundoff(0.0f), 0);
  // The text's whole part keeps its sign, the decimal is added: -2.5 -> -2 + 1.
  EXPECT_EQ(Utility::roundoff(-2.5f), -1);
}

TEST(UtilityRoundoff, SaturatesInsteadOfOverflowing) {
  EXPECT_EQ(Utility::roundoff(1e20f), INT_MAX);
  EXPECT_EQ(Utility::roundoff(-1e20f), INT_MIN);
  EXPECT_EQ(Utility::roundoff(2147483648.0f), INT_MAX);  // INT_MAX + .5 would wrap
  EXPECT_EQ(Utility::roundoff(std::numeric_limits<float>::infinity()), 0);
  EXPECT_EQ(Utility::roundoff(-std::numeric_limits<float>::infinity()), 0);
  EXPECT_EQ(Utility::roundoff(std::nanf("")), 0);
}

TEST(UtilityCacluateRate, SplitsIntoFullHalfAndEmpty) {
  EXPECT_EQ(Utility::cacluateRate(3.5f, 5), (Stars{3, 1, 1}));
  EXPECT_EQ(Utility::cacluateRate(3.7f, 5), (Stars{4, 0, 1}));
  EXPECT_EQ(Utility::cacluateRate(3.3f, 5), (Stars{3, 0, 2}));
  EXPECT_EQ(Utility::cacluateRate(5.0f, 5), (Stars{5, 0, 0}));
  EXPECT_EQ(Utility::cacluateRate(0.2f, 5), (Stars{0, 0, 5}));
  EXPECT_EQ(Utility::cacluateRate(4.95f, 5), (Stars{5, 0, 0}));
  EXPECT_EQ(Utility::cacluateRate(0.0f, 5), (Stars{0, 0, 5}));
}

TEST(UtilityCacluateRate, SinglePrecisionRemainderAgainstDoubleBounds) {
  // 2.4f - 2 leaves 0.4000001 (a half); 1.4f - 1 leaves 0.39999998 (nothing).
  EXPECT_EQ(Utility::cacluateRate(2.4f, 5), (Stars{2, 1, 2}));
  EXPECT_EQ(Utility::cacluateRate(1.4f, 5), (Stars{1, 0, 4}));
  // Between 0.699 and 0.7 nothing is added; above 0.999 nothing either.
  EXPECT_EQ(Utility::cacluateRate(2.6995f, 5), (Stars{2, 0, 3}));
  EXPECT_EQ(Utility::cacluateRate(0.9995f, 5), (Stars{0, 0, 5}));
  // 0.7f widens to 0.69999998...: below the double 0.7, above 0.699.
  EXPECT_EQ(Utility::cacluateRate(0.7f, 5), (Stars{0, 0, 5}));
  EXPECT_EQ(Utility::cacluateRate(0.6989f, 5), (Stars{0, 1, 4}));
  EXPECT_EQ(Utility::cacluateRate(0.7001f, 5), (Stars{1, 0, 4}));
}

TEST(UtilityCacluateRate, OutOfRangeRatesEnd) {
  EXPECT_EQ(Utility::cacluateRate(7.0f, 5), (Stars{7, 0, -2}));
  EXPECT_EQ(Utility::cacluateRate(-3.0f, 5), (Stars{0, 0, 5}));
  EXPECT_EQ(Utility::cacluateRate(std::nanf(""), 5), (Stars{0, 0, 5}));
  EXPECT_EQ(Utility::cacluateRate(1e30f, 5).full, INT_MAX);
  EXPECT_EQ(Utility::cacluateRate(std::numeric_limits<float>::infinity(), -5).empty, INT_MIN);
  EXPECT_EQ(Utility::cacluateRate(8388607.5f, 5), (Stars{8388607, 1, -8388603}));
}

TEST(UtilityRemoveTag, StripsTheTagAndThreeEntities) {
  EXPECT_EQ(Utility::removeTag("em", "<em>Tea</em> House &amp; Bar"), "Tea House & Bar");
  EXPECT_EQ(Utility::removeTag("em", "&quot;A&quot; &#39;B&#39;"), "\"A\" 'B'");
  EXPECT_EQ(Utility::removeTag("em", "plain text"), "plain text");
  EXPECT_EQ(Utility::removeTag("em", "<b>x</b>"), "<b>x</b>");
  // The replacements run in order over the whole text, so "&amp;quot;" ends as a quote.
  EXPECT_EQ(Utility::removeTag("em", "&amp;quot;"), "\"");
  EXPECT_EQ(Utility::removeTag("em", "<em><em>a</em>"), "a");
}

TEST(UtilityScaleSize, ShrinksByAWholeFactor) {
  const ui::Size photo = Utility::scaleSize({1600, 1200}, 320);
  EXPECT_NEAR(photo.width, 533.33, 0.01);
  EXPECT_EQ(photo.height, 400);
  EXPECT_EQ(Utility::scaleSize({300, 800}, 320), (ui::Size{300, 800}));
  EXPECT_EQ(Utility::scaleSize({640, 640}, 320), (ui::Size{320, 320}));
  EXPECT_EQ(Utility::scaleSize({320, 320}, 320), (ui::Size{320, 320}));
  EXPECT_EQ(Utility::scaleSize({959, 2000}, 320), (ui::Size{479.5, 1000}));
}

TEST(UtilityScaleSize, LimitsThatAreNotPositiveLeaveTheSize) {
  EXPECT_EQ(Utility::scaleSize({640, 480}, 0), (ui::Size{640, 480}));
  EXPECT_EQ(Utility::scaleSize({640, 480}, -320), (ui::Size{640, 480}));
  EXPECT_EQ(Utility::scaleSize({640, 480}, std::nanf("")), (ui::Size{640, 480}));
}

TEST(UtilityColorWithHex, BytesOver255AndOpaque) {
  EXPECT_EQ(Utility::colorWithHex(0xFF8000), (ui::Color{1.0, 128 / 255.0, 0.0, 1.0}));
  EXPECT_EQ(Utility::colorWithHex(0x000000), (ui::Color{0, 0, 0, 1}));
  EXPECT_EQ(Utility::colorWithHex(0x0A0B0C).blue, 12 / 255.0);
  EXPECT_EQ(Utility::colorWithHex(0x7F123456), Utility::colorWithHex(0x123456));
}

TEST(UtilityMoveView, MovesDownKeepingTheSize) {
  ui::View view(ui::Rect{10, 20, 100, 50});
  Utility::moveView(view, 44);
  EXPECT_EQ(view.frame(), (ui::Rect{10, 64, 100, 50}));
  Utility::moveView(view, -64);
  EXPECT_EQ(view.frame(), (ui::Rect{10, 0, 100, 50}));
}

TEST(UtilitySystemVersion, MajorBelowFourIsThree) {
  EXPECT_EQ(Utility::systemVersion("3.1.3"), "3");
  EXPECT_EQ(Utility::systemVersion("4.0"), "4");
  EXPECT_EQ(Utility::systemVersion("17.2"), "4");
  EXPECT_EQ(Utility::systemVersion(""), "3");
  DeviceInfo::setSystemVersion("3.1.3");
  EXPECT_EQ(Utility::systemVersion(), "3");
  DeviceInfo::setSystemVersion("4.2.1");
  EXPECT_EQ(Utility::systemVersion(), "4");
  DeviceInfo::setSystemVersion("");
}

TEST(UtilityUrlEncodeBytes, EncodesLettersSpacesAndEscapes) {
  const std::uint8_t input[] = {'a', ' ', 'b', '&'};
  char out[16];
  std::memset(out, 'x', sizeof out);
  EXPECT_EQ(Utility::urlEncodeBytes(input, 4, out, sizeof out), 6);
  EXPECT_STREQ(out, "a+b%26");
  EXPECT_EQ(Utility::urlEncodeBytes(input, 4, out, 6), 0);
  EXPECT_EQ(Utility::urlEncodeBytes(input, 4, out, 7), 6);
  const std::uint8_t high[] = {0xE5, '-', '9', 'Z'};
  EXPECT_EQ(Utility::urlEncodeBytes(high, 4, out, sizeof out), 8);
  EXPECT_STREQ(out, "%E5%2D9Z");
}

TEST(UtilityUrlEncodeBytes, MissingArgumentsGiveZero) {
  const std::uint8_t input[] = {'a'};
  char out[4] = {'q', 'q', 'q', 'q'};
  EXPECT_EQ(Utility::urlEncodeBytes(nullptr, 1, out, 4), 0);
  EXPECT_EQ(Utility::urlEncodeBytes(input, 1, nullptr, 4), 0);
  EXPECT_EQ(Utility::urlEncodeBytes(input, 0, out, 4), 0);
  EXPECT_EQ(Utility::urlEncodeBytes(input, 1, out, 0), 0);
  EXPECT_EQ(out[0], 'q');
  EXPECT_EQ(Utility::urlEncodeBytes(input, 1, out, 1), 0);  // no room for the terminator
  EXPECT_EQ(Utility::urlEncodeBytes(input, 1, out, 2), 1);
}

TEST(UtilityDates, CalendarDatesInTheUsersTimeZone) {
  test::ScopedTimeZone zone("Asia/Shanghai");
  EXPECT_EQ(Utility::stringWithDate(dateFromSeconds(0)), "1970-01-01");
  // 2010-06-30 16:30 UTC is already 1 July in Beijing.
  EXPECT_EQ(Utility::stringWithDate(dateFromSeconds(1277915400)), "2010-07-01");
  {
    test::ScopedTimeZone newYork("America/New_York");
    EXPECT_EQ(Utility::stringWithDate(dateFromSeconds(0)), "1969-12-31");
    EXPECT_EQ(Utility::stringWithDate(dateFromSeconds(1277915400)), "2010-06-30");
  }
  const auto parsed = Utility::dateFromString("2010-07-01");
  ASSERT_TRUE(parsed.has_value());
  EXPECT_EQ(secondsSince1970(*parsed), 1277913600.0);  // local midnight
  EXPECT_EQ(Utility::dateFormatter().locale(), "zh_CN");
  EXPECT_EQ(Utility::dateFormatter().pattern(), "yyyy-MM-dd");
}

TEST(UtilityDates, TextThatIsNoDateGivesNothing) {
  test::ScopedTimeZone zone("Asia/Shanghai");
  EXPECT_FALSE(Utility::dateFromString("").has_value());
  EXPECT_FALSE(Utility::dateFromString("2010-13-01").has_value());
  EXPECT_FALSE(Utility::dateFromString("2010-02-30").has_value());
  EXPECT_FALSE(Utility::dateFromString("2010/07/01").has_value());
  EXPECT_FALSE(Utility::dateFromString("2010-07-01 12:00").has_value());
  EXPECT_FALSE(Utility::dateFromString("yesterday").has_value());
  ASSERT_TRUE(Utility::dateFromString("2012-02-29").has_value());
  EXPECT_EQ(Utility::stringWithDate(*Utility::dateFromString("2010-7-1")), "2010-07-01");
  EXPECT_EQ(Utility::stringWithDate(*Utility::dateFromString("1970-01-01")), "1970-01-01");
}

}  // namespace
}  // namespace lk

namespace lk {
namespace {

TEST(DateFromSeconds, ClampsToTheClocksRange) {
  test::ScopedTimeZone zone("UTC");
  EXPECT_EQ(Utility::stringWithDate(dateFromSeconds(1e300)).substr(0, 2), "22");
  EXPECT_EQ(Utility::stringWithDate(dateFromSeconds(-1e300)).substr(0, 2), "16");
  EXPECT_EQ(Utility::stringWithDate(dateFromSeconds(std::nan(""))), "1970-01-01");
  EXPECT_DOUBLE_EQ(secondsSince1970(dateFromSeconds(1277915400.25)), 1277915400.25);
}

}  // namespace
}  // namespace lk
