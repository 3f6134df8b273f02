#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "Classes/Json/JsonNode.h"

namespace lk::json {

// A parsed answer, read through Nodes. It accepts the texts that json::parse accepts and reads
// them the same way (a repeated key: the last value; integers beyond 64 bits and exponents beyond
// the double range: doubles, infinite ones included; at most 32 levels of nesting), but parses
// several times faster and frees everything at once. Where Boost.JSON 1.81 errs, it does not:
// doubles are correctly rounded, a zero with a large exponent ("0e309") is zero, not NaN, and
// with an exponent of many digits it is zero, not refused. The Nodes of a document stay valid
// while it lives, moves included.
class Document {
 public:
  // Parses UTF-8 JSON text. On failure returns nullopt and, when `error` is given, the same
  // message json::parse gives.
  [[nodiscard]] static std::optional<Document> parse(std::string_view text,
                                                     std::string* error = nullptr);

  Document(Document&&) noexcept;
  Document& operator=(Document&&) noexcept;
  ~Document();

  [[nodiscard]] Node root() const;

  struct Storage;  // known to the sources only

 private:
  explicit Document(std::unique_ptr<Storage> storage);
  std::unique_ptr<Storage> storage_;
};

}  // namespace lk::json
