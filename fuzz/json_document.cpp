// Arbitrary bytes into both JSON readers: the parsed Document must accept exactly the texts that
// json::parse accepts (with the same message when it refuses), hold the same values, and give
// every member conversion and every record decoder the same results as a Boost.JSON value does.
// Any difference aborts.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>

#include "Classes/Json/JsonDocument.h"
#include "Classes/Json/JsonValue.h"
#include "Classes/Records/Broadcast.h"
#include "Classes/Records/Comment.h"
#include "Classes/Records/Coupon.h"
#include "Classes/Records/DirectoryDecoder.h"
#include "Classes/Records/ShopInfo.h"
#include "Platform/RunLoop/DrivableRunLoop.h"
#include "Platform/Storage/AppDirectories.h"

namespace {

constexpr std::string_view kNoNetwork = "fuzz-no-network:";

void require(bool condition, const char* what) {
  if (condition) return;
  std::fprintf(stderr, "readers differ: %s\n", what);
  std::abort();
}

// Equal doubles, where Boost.JSON's reading may be one unit off in the last place.
bool close(double a, double b) {
  if (a == b || (std::isnan(a) && std::isnan(b))) return true;
  return std::abs(a - b) <= std::abs(a) * 1e-15;
}

// Boost.JSON 1.81 also reads a zero with an exponent beyond 308 ("0e309") as NaN; the document
// reads it as the zero it is.
// `a` as the document reads it, `b` as Boost.JSON does. Unless `exact`, a double may be one unit
// off in the last place: Boost.JSON 1.81 does not always round correctly ("1844674407370955.8"
// reads as 1844674407370956).
bool sameValue(const boost::json::value& a, const boost::json::value& b, bool exact = false) {
  if (a.is_double() && a.get_double() == 0.0 && b.is_double() && std::isnan(b.get_double())) {
    return !exact;
  }
  if (a.kind() != b.kind()) return false;
  switch (a.kind()) {
    case boost::json::kind::double_:
      return exact ? a.get_double() == b.get_double() : close(a.get_double(), b.get_double());
    case boost::json::kind::array: {
      const auto& x = a.get_array();
      const auto& y = b.get_array();
      if (x.size() != y.size()) return false;
      for (std::size_t i = 0; i < x.size(); ++i) {
        if (!sameValue(x[i], y[i], exact)) return false;
      }
      return true;
    }
    case boost::json::kind::object: {
      const auto& x = a.get_object();
      const auto& y = b.get_object();
      if (x.size() != y.size()) return false;
      for (auto i = x.begin(), j = y.begin(); i != x.end(); ++i, ++j) {
        if (i->key() != j->key() || !sameValue(i->value(), j->value(), exact)) return false;
      }
      return true;
    }
    default:
      return a == b;
  }
}

void compareConversions(lk::json::Node fast, const boost::json::value& reference, int depth) {
  using namespace lk::json;
  require(toInt(fast) == toInt(reference), "toInt");
  require(toInt64(fast) == toInt64(reference), "toInt64");
  require(close(toDouble(fast), toDouble(reference)), "toDouble");
  require(toBool(fast) == toBool(reference), "toBool");
  // Doubles are written with 15 digits, which hide a last-place difference.
  if (reference.kind() != boost::json::kind::double_) {
    require(toString(fast) == toString(reference), "toString");
  }
  if (depth > 6) return;
  if (const auto* o = reference.if_object()) {
    for (const auto& [key, unused] : fast.members()) {
      if (fast.member(key).kind() != Node::Kind::kDouble) {
        require(textMember(fast, key) == textMember(*o, key), "textMember");
      }
      require(intMember(fast, key) == intMember(*o, key), "intMember");
      require(boolMember(fast, key) == boolMember(*o, key), "boolMember");
      require(arrayMember(fast, key).exists() == (arrayMember(*o, key) != nullptr), "arrayMember");
      require(objectMember(fast, key).exists() == (objectMember(*o, key) != nullptr),
              "objectMember");
      compareConversions(fast.member(key), *lk::json::member(*o, key), depth + 1);
    }
  } else if (const auto* a = reference.if_array()) {
    require(fast.size() == a->size(), "size");
    std::size_t i = 0;
    for (const Node item : fast.elements())
      compareConversions(item, (*a)[i++], depth + 1);
  }
}

void compareShops(const lk::ShopInfo& a, const lk::ShopInfo& b) {
  require(
      a.shopId() == b.shopId() && a.strName() == b.strName() && a.strAddress() == b.strAddress(),
      "shop texts");
  require(a.intCityId() == b.intCityId() && a.intStatus() == b.intStatus() &&
              a.intCmtCount() == b.intCmtCount() && a.intMiniCmtCount() == b.intMiniCmtCount(),
          "shop counts");
  require(close(a.fltScoreTotal(), b.fltScoreTotal()) && close(a.distance(), b.distance()) &&
              close(a.fltAverage(), b.fltAverage()) && close(a.fltPositionX(), b.fltPositionX()),
          "shop numbers");
  require(a.tagList() == b.tagList() && a.arrTel() == b.arrTel(), "shop lists");
  require(a.strShopImgUrl() == b.strShopImgUrl() && a.strRecommendName() == b.strRecommendName(),
          "shop picture");
  require(a.want() == b.want() && a.been() == b.been(), "shop flags");
  require(a.arrMeta().has_value() == b.arrMeta().has_value() &&
              (!a.arrMeta() || sameValue(*a.arrMeta(), *b.arrMeta())),
          "shop meta");
  require(sameValue(a.arrScore(), b.arrScore()) && sameValue(a.arrRecommend(), b.arrRecommend()) &&
              sameValue(a.arrSpecialList(), b.arrSpecialList()),
          "shop values");
  require(a.recommendString() == b.recommendString(), "recommendString");
  require(a.arrCouponList().size() == b.arrCouponList().size(), "coupons");
  for (std::size_t i = 0; i < a.arrCouponList().size(); ++i) {
    const auto& x = *a.arrCouponList()[i];
    const auto& y = *b.arrCouponList()[i];
    require(x.couponId() == y.couponId() && x.topic() == y.topic() && x.type() == y.type(),
            "coupon");
  }
  require(a.arrCmtList().size() == b.arrCmtList().size() &&
              a.arrMiniCmtList().size() == b.arrMiniCmtList().size(),
          "latest review and broadcast");
  if (!a.arrCmtList().empty()) {
    require(a.arrCmtList()[0]->content() == b.arrCmtList()[0]->content() &&
                a.arrCmtList()[0]->userImgUrl() == b.arrCmtList()[0]->userImgUrl(),
            "latest review");
  }
  if (!a.arrMiniCmtList().empty()) {
    require(a.arrMiniCmtList()[0]->imgUrl() == b.arrMiniCmtList()[0]->imgUrl() &&
                close(a.arrMiniCmtList()[0]->createdTime(), b.arrMiniCmtList()[0]->createdTime()),
            "latest broadcast");
  }
}

void compareRecords(lk::json::Node fast, const boost::json::object& reference) {
  compareShops(*lk::ShopInfo::fromSearchItem(fast), *lk::ShopInfo::fromSearchItem(reference));
  lk::ShopInfo a;
  lk::ShopInfo b;
  a.decodeShopInformation(fast);
  b.decodeShopInformation(reference);
  compareShops(a, b);
  const auto c = lk::Comment::fromReviewEntry(fast, kNoNetwork);
  const auto d = lk::Comment::fromReviewEntry(reference, kNoNetwork);
  require(c->cmtId() == d->cmtId() && c->userImgUrl() == d->userImgUrl() &&
              close(c->fltAverage(), d->fltAverage()) && c->uLevel() == d->uLevel() &&
              c->isContentTrunc() == d->isContentTrunc() &&
              sameValue(c->detailScore(), d->detailScore()),
          "review");
  const auto e = lk::Broadcast::fromBroadcastEntry(fast, kNoNetwork);
  const auto f = lk::Broadcast::fromBroadcastEntry(reference, kNoNetwork);
  require(e->userImgUrl() == f->userImgUrl() && e->imgUrl() == f->imgUrl() &&
              e->shopId() == f->shopId() && e->content() == f->content(),
          "broadcast");
}

void compareDirectories(lk::json::Node fast, const boost::json::value& reference) {
  using lk::DirectoryDecoder;
  const auto ids = [](const auto& list) {
    std::string out;
    for (const auto& n : list) {
      out += std::to_string(n->id()) + ":" + n->nameText() + "(";
      for (const auto& child : n->children())
        out += std::to_string(child->id()) + ":" + child->nameText() + ",";
      out += ")";
    }
    return out;
  };
  require(ids(DirectoryDecoder::decodeAreaTree(fast)) ==
              ids(DirectoryDecoder::decodeAreaTree(reference)),
          "area tree");
  require(ids(DirectoryDecoder::decodeProvinceIndex(fast).provinces) ==
              ids(DirectoryDecoder::decodeProvinceIndex(reference).provinces),
          "province index");
  require(ids(DirectoryDecoder::decodeSearchChannels(fast)) ==
              ids(DirectoryDecoder::decodeSearchChannels(reference)),
          "search channels");
  require(DirectoryDecoder::decodeCityIndex(fast).allCategories ==
              DirectoryDecoder::decodeCityIndex(reference).allCategories,
          "city index");
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* /*argc*/, char*** /*argv*/) {
  static const auto loop = lk::makePollRunLoop();
  lk::DrivableRunLoop::setMain(loop.get());
  lk::AppDirectories::setCacheDirectory(std::filesystem::temp_directory_path() /
                                        "lokavo-fuzz-document");
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  std::string referenceError;
  std::string fastError;
  const auto reference = lk::json::parse(text, &referenceError);
  const auto document = lk::json::Document::parse(text, &fastError);
  // Boost.JSON 1.81 refuses a zero with an exponent of many digits ("0e37203685477370955"),
  // which is JSON; the document reads it as zero.
  if (!reference && document && referenceError == "exponent overflow") return 0;
  require(reference.has_value() == document.has_value(), "accepted texts");
  if (!reference) {
    require(referenceError == fastError, "error messages");
    return 0;
  }
  const lk::json::Node root = document->root();
  const boost::json::value fastValue = root.toValue();
  require(sameValue(fastValue, *reference), "values");
  // Conversions of numbers Boost.JSON read wrongly differ, rightly.
  if (!sameValue(fastValue, *reference, true)) return 0;
  compareConversions(root, *reference, 0);
  compareDirectories(root, *reference);
  if (const auto* o = reference->if_object()) compareRecords(root, *o);
  if (const auto* list = reference->if_array()) {
    std::size_t i = 0;
    for (const lk::json::Node item : root.elements()) {
      if (const auto* o = (*list)[i++].if_object()) compareRecords(item, *o);
    }
  }
  lk::DrivableRunLoop::main().runUntilIdle();
  return 0;
}
