#include "Classes/Json/JsonDocument.h"

#include <simdjson.h>

#include <cstring>
#include <vector>

#include "Classes/Json/JsonValue.h"

namespace lk::json {

namespace dom = simdjson::dom;

// Nesting deeper than this is refused, as json::parse refuses it.
constexpr std::size_t kMaxDepth = 32;
// The storage of a document freed on a thread is kept for the next answer parsed there (its tape
// takes eight bytes per byte of text: allocating and freeing it for every answer costs more than
// parsing a small one), unless it was made for a text longer than this.
constexpr std::size_t kKeptCapacity = 64 * 1024;

struct Document::Storage {
  // The parsed tape; or, for the rare text the fast parser refuses but json::parse reads (numbers
  // beyond 64 bits or beyond the double range), the value json::parse made.
  dom::document tape;
  std::optional<boost::json::value> fallback;
  dom::element root;
};

namespace {

// One parser per thread, reused: its working buffers stay warm between answers. The text is
// copied into a padded buffer of its own, since the parser reads a little past the end.
// Set when this thread's parser is gone (documents freed later, at exit, free their storage).
thread_local bool fastParserGone = false;

struct FastParser {
  FastParser() = default;
  FastParser(const FastParser&) = delete;
  FastParser& operator=(const FastParser&) = delete;
  ~FastParser() { fastParserGone = true; }

  dom::parser parser{};
  std::vector<char> padded;
  bool ready = false;
  std::unique_ptr<Document::Storage> spare;

  simdjson::error_code parse(std::string_view text, dom::document& into, dom::element& root) {
    if (!ready) {
      if (const auto error = parser.allocate(text.size(), kMaxDepth)) return error;
      ready = true;
    }
    const std::size_t needed = text.size() + simdjson::SIMDJSON_PADDING;
    if (padded.size() < needed) padded.resize(needed);
    std::memcpy(padded.data(), text.data(), text.size());
    std::memset(padded.data() + text.size(), 0, simdjson::SIMDJSON_PADDING);
    return parser.parse_into_document(into, padded.data(), text.size(), false).get(root);
  }
};

FastParser& fastParser() {
  thread_local FastParser fast;
  return fast;
}

}  // namespace

Document::Document(std::unique_ptr<Storage> storage) : storage_(std::move(storage)) {}
Document::Document(Document&&) noexcept = default;

Document& Document::operator=(Document&& other) noexcept {
  if (this != &other) {
    Document old(std::move(*this));
    storage_ = std::move(other.storage_);
  }
  return *this;
}

Document::~Document() {
  if (!storage_ || fastParserGone || storage_->tape.capacity() > kKeptCapacity) return;
  auto& fast = fastParser();
  if (fast.spare) return;
  storage_->fallback.reset();
  fast.spare = std::move(storage_);
}

std::optional<Document> Document::parse(std::string_view text, std::string* error) {
  auto& fast = fastParser();
  auto storage = fast.spare ? std::move(fast.spare) : std::make_unique<Storage>();
  if (fast.parse(text, storage->tape, storage->root) == simdjson::SUCCESS) {
    return Document(std::move(storage));
  }
  // Refused: json::parse decides, and gives the error's message.
  auto value = json::parse(text, error);
  if (!value) return std::nullopt;
  storage->fallback = std::move(value);
  return Document(std::move(storage));
}

Node Document::root() const {
  if (storage_->fallback) return Node(*storage_->fallback);
  return Node::fromTapeElement(&storage_->root);
}

}  // namespace lk::json
