#include "frontends/commands/CommandLine.h"

#include <gtest/gtest.h>

#include "frontends/commands/CliOptions.h"

namespace lk::cli {
namespace {

using Words = std::vector<std::string>;

TEST(CommandLine, BlanksSeparateAndQuotesKeepThem) {
  EXPECT_EQ(CommandLine::split("  tab   2 "), Words({"tab", "2"}));
  EXPECT_EQ(CommandLine::split("type \"火锅 店\" 'a \"b\"'"),
            Words({"type", "火锅 店", "a \"b\""}));
  EXPECT_EQ(CommandLine::split(R"(say "x\"y" a\ b 'c\d')"), Words({"say", "x\"y", "a b", "c\\d"}));
  EXPECT_EQ(CommandLine::split("type \"\""), Words({"type", ""}));
  EXPECT_EQ(CommandLine::split("a\"b c\"d"), Words({"ab cd"}));
}

TEST(CommandLine, CommentsAndEmptyLinesGiveNoWords) {
  EXPECT_EQ(CommandLine::split(""), Words{});
  EXPECT_EQ(CommandLine::split(" \t\r"), Words{});
  EXPECT_EQ(CommandLine::split("# a comment"), Words{});
  EXPECT_EQ(CommandLine::split("tab 2 # the nearby tab"), Words({"tab", "2"}));
  EXPECT_EQ(CommandLine::split("type a#b"), Words({"type", "a#b"}));
}

TEST(CommandLine, OpenQuoteOrTrailingBackslashIsAnError) {
  std::string error;
  EXPECT_FALSE(CommandLine::split("type \"abc", &error));
  EXPECT_NE(error.find("not closed"), std::string::npos);
  EXPECT_FALSE(CommandLine::split("type 'abc", &error));
  EXPECT_FALSE(CommandLine::split("type abc\\", &error));
  EXPECT_NE(error.find("backslash"), std::string::npos);
}

TEST(CliOptions, EveryOptionWithSeparateOrInlineValue) {
  std::string error;
  auto o = CliOptions::parse(
      {"--service-url", "http://127.0.0.1:9/client", "--data-dir=/d", "--cache-dir", "/c",
       "--script", "-", "--position", "39.9,116.4", "--log=/tmp/l"},
      &error);
  ASSERT_TRUE(o) << error;
  EXPECT_EQ(o->serviceURL, "http://127.0.0.1:9/client");
  EXPECT_EQ(o->dataDir, "/d");
  EXPECT_EQ(o->cacheDir, "/c");
  EXPECT_EQ(o->script, "-");
  EXPECT_EQ(o->logFile, "/tmp/l");
  ASSERT_TRUE(o->position);
  EXPECT_DOUBLE_EQ(o->position->latitude, 39.9);
  EXPECT_DOUBLE_EQ(o->position->longitude, 116.4);
  EXPECT_FALSE(o->help);
  EXPECT_TRUE(CliOptions::parse({"--help"}, &error)->help);
  EXPECT_FALSE(CliOptions::parse({}, &error)->position);
}

TEST(CliOptions, MistakesAreReportedInOneLine) {
  std::string error;
  EXPECT_FALSE(CliOptions::parse({"--bogus"}, &error));
  EXPECT_NE(error.find("unknown option"), std::string::npos);
  EXPECT_FALSE(CliOptions::parse({"--data-dir"}, &error));
  EXPECT_NE(error.find("needs a value"), std::string::npos);
  EXPECT_FALSE(CliOptions::parse({"--script="}, &error));
  for (const char* bad :
       {"39.9", "north,east", "91,0", "0,181", "1,2,3", "nan,1", "1e999,0", ",", "39.9;116.4"}) {
    EXPECT_FALSE(CliOptions::parse({"--position", bad}, &error)) << bad;
    EXPECT_NE(error.find("LAT,LON"), std::string::npos) << bad;
  }
  auto edge = CliOptions::parsePosition("-90, +180");
  ASSERT_TRUE(edge);
  EXPECT_DOUBLE_EQ(edge->latitude, -90);
  EXPECT_DOUBLE_EQ(edge->longitude, 180);
}

TEST(CliOptions, AServiceURLIsHttpOrHttpsWithAHost) {
  for (const char* good :
       {"http://127.0.0.1:8080/client", "https://dir.example.com/client/", "HTTP://h/client",
        "http://h", "http://[::1]:9/client", "http://my-host_1.lan:65535/a/b"}) {
    EXPECT_FALSE(CliOptions::serviceURLProblem(good)) << good;
  }
  for (const char* bad : {"notaurl",
                          "127.0.0.1:8080/client",
                          "ftp://h/client",
                          "file:///tmp/x",
                          "http://",
                          "http:///client",
                          "http://:80/client",
                          "http://h:/client",
                          "http://h:0/client",
                          "http://h:70000/client",
                          "http://h:8o/client",
                          "http://h a/client",
                          "http://h/cli ent",
                          "http://h/client?x=1",
                          "http://h/client#top",
                          "http://user@h/client",
                          "http://[]/c",
                          "http://[::1/c",
                          "http://h\t/client",
                          "javascript:alert(1)",
                          ""}) {
    const auto problem = CliOptions::serviceURLProblem(bad);
    EXPECT_TRUE(problem) << bad;
    if (problem) EXPECT_EQ(problem->find('\n'), std::string::npos);
  }
}

}  // namespace
}  // namespace lk::cli
