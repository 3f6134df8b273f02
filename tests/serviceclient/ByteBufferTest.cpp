#include "Classes/ServiceClient/ByteBuffer.h"

#include <gtest/gtest.h>

#include <sstream>
#include <vector>

#include "tests/support/Compression.h"
#include "tests/support/TestSupport.h"

namespace lk {
namespace {

const std::string kJson =
    R"({"searchlist":[{"shop_id":"42","shop_name":"老王面馆","address":"人民路 1 号"}]})";

TEST(DecompressGZip, GzipAnswerInflatesToTheOriginalBytes) {
  EXPECT_EQ(decompressGZip(test::gzipBytes(kJson)), kJson);
  std::string big;
  for (int i = 0; i < 20000; ++i)
    big += kJson;
  EXPECT_EQ(decompressGZip(test::gzipBytes(big)), big);
}

TEST(DecompressGZip, LengthPrefixedZlibGivesExactlyTheAnnouncedBytes) {
  EXPECT_EQ(decompressGZip(test::lengthPrefixedZlib(kJson)), kJson);
  EXPECT_EQ(decompressGZip(test::lengthPrefixedZlib("")), "");
}

TEST(DecompressGZip, PlainJsonEmptyAndTinyInputsGiveNothing) {
  EXPECT_EQ(decompressGZip(kJson), std::nullopt);  // read as a (huge) length prefix
  EXPECT_EQ(decompressGZip(""), std::nullopt);
  EXPECT_EQ(decompressGZip("{}"), std::nullopt);  // 3 bytes or fewer: read as gzip
  EXPECT_EQ(decompressGZip("\x1F\x8B"), std::nullopt);
}

TEST(DecompressGZip, DamagedOrTruncatedStreamsGiveNothingAndSaySo) {
  const std::string gz = test::gzipBytes(kJson);
  EXPECT_EQ(decompressGZip(gz.substr(0, gz.size() / 2)), std::nullopt);
  std::string damaged = gz;
  damaged[12] = static_cast<char>(damaged[12] ^ 0x55);
  damaged[13] = static_cast<char>(damaged[13] ^ 0x55);
  test::LogCapture log;
  EXPECT_EQ(decompressGZip(damaged), std::nullopt);
  EXPECT_TRUE(log.contains("decompressGZip: inflate() failed with error"));

  const std::string prefixed = test::lengthPrefixedZlib(kJson);
  EXPECT_EQ(decompressGZip(prefixed.substr(0, prefixed.size() - 6)), std::nullopt);
}

TEST(DecompressGZip, AnnouncedLengthMustMatchTheStream) {
  const auto size = static_cast<std::uint32_t>(kJson.size());
  EXPECT_EQ(decompressGZip(test::lengthPrefixedZlib(kJson, size + 1)), std::nullopt) << "short";
  EXPECT_EQ(decompressGZip(test::lengthPrefixedZlib(kJson, size - 1)), std::nullopt) << "longer";
}

// A few bytes announcing a huge answer are refused, and no answer may inflate past the cap.
TEST(DecompressGZip, HostileSizesAreRefusedWithoutHugeAllocations) {
  EXPECT_EQ(decompressGZip(test::lengthPrefixedZlib("x", 1u << 30)), std::nullopt);
  EXPECT_EQ(decompressGZip(test::lengthPrefixedZlib("x", (1u << 30) - 1)), std::nullopt);
  EXPECT_EQ(decompressGZip(
                test::lengthPrefixedZlib("x", static_cast<std::uint32_t>(kMaxInflatedSize) + 1)),
            std::nullopt);

  const std::string zeros(kMaxInflatedSize + 1, '\0');
  const std::string bomb = test::gzipBytes(zeros);
  ASSERT_LT(bomb.size(), 100u * 1024);
  EXPECT_EQ(decompressGZip(bomb), std::nullopt);
  const std::string atTheCap = test::gzipBytes(std::string_view(zeros).substr(1));
  const auto inflated = decompressGZip(atTheCap);
  ASSERT_TRUE(inflated);
  EXPECT_EQ(inflated->size(), kMaxInflatedSize);
}

TEST(Base64, StandardAlphabetAndPadding) {
  EXPECT_EQ(base64EncodingWithLineLength("", 0), "");
  EXPECT_EQ(base64EncodingWithLineLength("f", 0), "Zg==");
  EXPECT_EQ(base64EncodingWithLineLength("fo", 0), "Zm8=");
  EXPECT_EQ(base64EncodingWithLineLength("foo", 0), "Zm9v");
  EXPECT_EQ(base64EncodingWithLineLength("foobar", 0), "Zm9vYmFy");
  EXPECT_EQ(base64EncodingWithLineLength(std::string("\xFB\xFF\xBF", 3), 0), "+/+/");
}

std::vector<std::size_t> lineLengths(const std::string& text) {
  std::vector<std::size_t> lengths;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);)
    lengths.push_back(line.size());
  return lengths;
}

std::string bytes(std::size_t n) {
  std::string s(n, '\0');
  for (std::size_t i = 0; i < n; ++i)
    s[i] = static_cast<char>(i * 7 + 3);
  return s;
}

TEST(Base64, LineLengthThreeBreaksAfterEveryGroup) {
  EXPECT_EQ(base64EncodingWithLineLength("foobar", 3), "Zm9v\nYmFy\n");
}

TEST(Base64, LineLength76GivesLinesOf76) {
  const std::string out = base64EncodingWithLineLength(bytes(200), 76);  // 268 characters
  EXPECT_EQ(lineLengths(out), (std::vector<std::size_t>{76, 76, 76, 40}));
  EXPECT_NE(out.back(), '\n');
}

TEST(Base64, LineLength32764IsTheLargestThatIsHonoured) {
  const std::string out = base64EncodingWithLineLength(bytes(30000), 32764);  // 40000 characters
  EXPECT_EQ(lineLengths(out), (std::vector<std::size_t>{32764, 7236}));
}

TEST(Base64, LargerLineLengthsBreakEvery32768BecauseTheCounterWraps) {
  const std::string out = base64EncodingWithLineLength(bytes(60000), 40000);  // 80000 characters
  EXPECT_EQ(lineLengths(out), (std::vector<std::size_t>{32768, 32768, 14464}));
  const std::string other = base64EncodingWithLineLength(bytes(30000), 32766);
  EXPECT_EQ(lineLengths(other), (std::vector<std::size_t>{32768, 7232}));
}

TEST(Base64, LineBreaksDoNotChangeTheEncodedCharacters) {
  const std::string data = bytes(1000);
  std::string broken = base64EncodingWithLineLength(data, 76);
  std::erase(broken, '\n');
  EXPECT_EQ(broken, base64EncodingWithLineLength(data, 0));
}

}  // namespace
}  // namespace lk
