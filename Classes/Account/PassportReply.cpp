#include "Classes/Account/PassportReply.h"

#include <libxml/parser.h>
#include <libxml/tree.h>
#include <libxml/xpath.h>

#include <cctype>
#include <climits>
#include <memory>

namespace lk {

namespace {

struct DocFree {
  void operator()(xmlDoc* doc) const { xmlFreeDoc(doc); }
};
struct ContextFree {
  void operator()(xmlXPathContext* context) const { xmlXPathFreeContext(context); }
};
struct ObjectFree {
  void operator()(xmlXPathObject* object) const { xmlXPathFreeObject(object); }
};
struct XmlCharFree {
  void operator()(xmlChar* text) const { xmlFree(text); }
};

using Doc = std::unique_ptr<xmlDoc, DocFree>;
using Context = std::unique_ptr<xmlXPathContext, ContextFree>;
using Object = std::unique_ptr<xmlXPathObject, ObjectFree>;
using XmlText = std::unique_ptr<xmlChar, XmlCharFree>;

// Network access off; parser messages off. Never NOENT, DTDLOAD, XINCLUDE or HUGE.
constexpr int kParseOptions = XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING;

std::optional<std::string> owned(xmlChar* text) {
  XmlText holder(text);
  if (!holder) return std::nullopt;
  return std::string(reinterpret_cast<const char*>(holder.get()));
}

// The first node that `path` selects, or nullptr.
xmlNode* firstNode(xmlXPathContext& context, const char* path, Object& keep) {
  keep.reset(xmlXPathEvalExpression(reinterpret_cast<const xmlChar*>(path), &context));
  if (!keep || keep->type != XPATH_NODESET || keep->nodesetval == nullptr ||
      keep->nodesetval->nodeNr < 1) {
    return nullptr;
  }
  return keep->nodesetval->nodeTab[0];
}

std::optional<std::string> attributeAt(xmlXPathContext& context, const char* path,
                                       const char* attribute) {
  Object result;
  xmlNode* node = firstNode(context, path, result);
  if (node == nullptr || node->type != XML_ELEMENT_NODE) return std::nullopt;
  return owned(xmlGetProp(node, reinterpret_cast<const xmlChar*>(attribute)));
}

std::optional<std::string> textAt(xmlXPathContext& context, const char* path) {
  Object result;
  xmlNode* node = firstNode(context, path, result);
  if (node == nullptr) return std::nullopt;
  return owned(xmlNodeGetContent(node));
}

// A DOCTYPE anywhere (also in a comment) refuses the document before the parser sees it: no
// entity or DTD declaration is ever read. A NUL byte is no part of a UTF-8 XML text (the parser
// would stop reading at it).
bool refusedBeforeParsing(std::string_view xml) {
  return xml.find("<!DOCTYPE") != std::string_view::npos ||
         xml.find('\0') != std::string_view::npos;
}

}  // namespace

int PassportReply::intValue(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i])) != 0)
    ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  long long value = 0;
  for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])) != 0; ++i) {
    value = value * 10 + (text[i] - '0');
    if (value > static_cast<long long>(INT_MAX) + 1) break;
  }
  if (negative) value = -value;
  if (value > INT_MAX) return INT_MAX;
  if (value < INT_MIN) return INT_MIN;
  return static_cast<int>(value);
}

std::optional<PassportReply> PassportReply::parse(std::string_view xml) {
  if (xml.empty() || xml.size() > kMaxSize || refusedBeforeParsing(xml)) return std::nullopt;
  // Read as UTF-8 whatever the document declares, so that the DOCTYPE search above sees
  // every declaration the parser could read.
  Doc doc(xmlReadMemory(xml.data(), static_cast<int>(xml.size()), nullptr, "UTF-8", kParseOptions));
  if (!doc) return std::nullopt;
  if (doc->intSubset != nullptr || doc->extSubset != nullptr) return std::nullopt;
  xmlNode* root = xmlDocGetRootElement(doc.get());
  if (root == nullptr || root->name == nullptr) return std::nullopt;

  PassportReply reply;
  const std::string_view rootName(reinterpret_cast<const char*>(root->name));
  if (rootName != "login_succ" && rootName != "login_fail") return reply;

  Context context(xmlXPathNewContext(doc.get()));
  if (!context) return std::nullopt;
  if (rootName == "login_succ") {
    reply.kind = Kind::kSucceeded;
    reply.ssid = attributeAt(*context, "//login_succ/param", "value");
  } else {
    reply.kind = Kind::kFailed;
    reply.reason = intValue(attributeAt(*context, "//login_fail/reason", "id").value_or(""));
    reply.qzVerify = textAt(*context, "//login_fail/qzVcodeString");
    reply.qzStoken = textAt(*context, "//login_fail/qzQzstoken");
    reply.qzTime = textAt(*context, "//login_fail/qzTime");
  }
  return reply;
}

}  // namespace lk
