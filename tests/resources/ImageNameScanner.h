#pragma once

#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace lk::test {

// Reads C++ sources and collects the picture names passed to `Image::named`: string literals,
// choices between them (`a ? "x" : "y"`), concatenations, named constants (also arrays and
// tables of them), patterns (`strprintf("name_%d", n)`, `"name" + std::to_string(i)`, kept as
// "name_%d") and the results of the sources' own functions that build names. What it cannot
// follow is reported, so that a new way of naming pictures is noticed rather than skipped.
class ImageNameScanner {
 public:
  struct Site {
    std::string file;
    int line = 0;
    std::string expression;
  };
  struct Result {
    std::map<std::string, std::vector<Site>> names;  // a name or a "%d" pattern -> its uses
    std::vector<Site> unresolved;
  };

  void addSource(std::string path, std::string text);
  [[nodiscard]] Result scan() const;

 private:
  struct Source {
    std::string path;
    std::string text;  // comments blanked, line breaks kept
  };
  // Values of a called function's parameters: the names its argument can be, or none when the
  // argument is not a name.
  using Bindings = std::map<std::string, std::optional<std::set<std::string>>>;

  [[nodiscard]] std::optional<std::set<std::string>> resolve(std::string_view expression,
                                                             std::size_t source,
                                                             const Bindings& bindings,
                                                             int depth) const;
  [[nodiscard]] std::optional<std::set<std::string>> resolveTerm(std::string_view term,
                                                                 std::size_t source,
                                                                 const Bindings& bindings,
                                                                 int depth) const;
  [[nodiscard]] std::optional<std::set<std::string>> constant(std::string_view name,
                                                              std::size_t source) const;
  [[nodiscard]] std::optional<std::set<std::string>> call(std::string_view name,
                                                          std::string_view arguments,
                                                          std::size_t source,
                                                          const Bindings& bindings,
                                                          int depth) const;

  std::vector<Source> sources_;
};

}  // namespace lk::test
