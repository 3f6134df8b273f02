#include "tests/resources/ImageNameScanner.h"

#include <algorithm>
#include <cctype>

namespace lk::test {

namespace {

constexpr int kMaxCallDepth = 4;

bool isIdentifierChar(char c) {
  return std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '_';
}

bool isIdentifier(std::string_view s) {
  return !s.empty() && std::isdigit(static_cast<unsigned char>(s.front())) == 0 &&
         std::all_of(s.begin(), s.end(), isIdentifierChar);
}

// Characters of the picture names the code uses; anything else in a literal is a text shown to
// the user (titles in a table of tabs) rather than a name.
bool isNameLike(std::string_view s) {
  return !s.empty() && std::all_of(s.begin(), s.end(), [](char c) {
    return isIdentifierChar(c) || c == '.' || c == '/' || c == '@' || c == '%' || c == '-';
  });
}

std::string_view trim(std::string_view s) {
  while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front())) != 0)
    s.remove_prefix(1);
  while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back())) != 0)
    s.remove_suffix(1);
  return s;
}

// Comments become spaces (line breaks stay, so positions keep their line numbers).
std::string blankComments(std::string text) {
  enum class State { kCode, kLine, kBlock, kString, kChar } state = State::kCode;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    const char next = i + 1 < text.size() ? text[i + 1] : '\0';
    switch (state) {
      case State::kCode:
        if (c == '/' && next == '/') {
          state = State::kLine;
          text[i] = ' ';
        } else if (c == '/' && next == '*') {
          state = State::kBlock;
          text[i] = ' ';
          text[++i] = ' ';
        } else if (c == '"') {
          state = State::kString;
        } else if (c == '\'' &&
                   (i == 0 || !std::isxdigit(static_cast<unsigned char>(text[i - 1])))) {
          state = State::kChar;  // not a digit separator
        }
        break;
      case State::kLine:
        if (c == '\n') {
          state = State::kCode;
        } else {
          text[i] = ' ';
        }
        break;
      case State::kBlock:
        if (c == '*' && next == '/') {
          text[i] = ' ';
          text[++i] = ' ';
          state = State::kCode;
        } else if (c != '\n') {
          text[i] = ' ';
        }
        break;
      case State::kString:
      case State::kChar:
        if (c == '\\') {
          ++i;
        } else if (c == (state == State::kString ? '"' : '\'')) {
          state = State::kCode;
        }
        break;
    }
  }
  return text;
}

// The index just past the string or character literal starting at `i`.
std::size_t skipLiteral(std::string_view s, std::size_t i) {
  const char quote = s[i];
  for (++i; i < s.size(); ++i) {
    if (s[i] == '\\') {
      ++i;
    } else if (s[i] == quote) {
      return i + 1;
    }
  }
  return s.size();
}

// Calls `visit(i)` for every character outside literals and nested brackets; stops when it
// returns true and gives that index, else npos.
template <typename Visit>
std::size_t findTopLevel(std::string_view s, Visit visit, std::size_t from = 0) {
  int depth = 0;
  for (std::size_t i = from; i < s.size();) {
    const char c = s[i];
    if (c == '"' || c == '\'') {
      i = skipLiteral(s, i);
      continue;
    }
    if (depth == 0 && visit(i)) return i;
    if (c == '(' || c == '[' || c == '{') ++depth;
    if ((c == ')' || c == ']' || c == '}') && depth > 0) --depth;
    ++i;
  }
  return std::string_view::npos;
}

// The index of the bracket closing the one at `open`, or npos.
std::size_t matchingClose(std::string_view s, std::size_t open) {
  int depth = 0;
  for (std::size_t i = open; i < s.size();) {
    const char c = s[i];
    if (c == '"' || c == '\'') {
      i = skipLiteral(s, i);
      continue;
    }
    if (c == '(' || c == '[' || c == '{') ++depth;
    if (c == ')' || c == ']' || c == '}') {
      if (--depth == 0) return i;
    }
    ++i;
  }
  return std::string_view::npos;
}

std::vector<std::string_view> splitTopLevel(std::string_view s, char separator) {
  std::vector<std::string_view> parts;
  std::size_t start = 0;
  for (;;) {
    const std::size_t at = findTopLevel(
        s, [&](std::size_t i) { return s[i] == separator; }, start);
    parts.push_back(trim(s.substr(start, at == std::string_view::npos ? s.npos : at - start)));
    if (at == std::string_view::npos) return parts;
    start = at + 1;
  }
}

// The text of a literal that spans all of `term`.
std::optional<std::string> literalText(std::string_view term) {
  if (term.size() < 2 || term.front() != '"' || skipLiteral(term, 0) != term.size()) {
    return std::nullopt;
  }
  std::string text;
  for (std::size_t i = 1; i + 1 < term.size(); ++i) {
    if (term[i] == '\\' && i + 2 < term.size()) ++i;
    text += term[i];
  }
  return text;
}

// `prefix(...)` spanning all of `term`: the text between the parentheses.
std::optional<std::string_view> callArguments(std::string_view term, std::string_view prefix) {
  if (!term.starts_with(prefix)) return std::nullopt;
  const std::size_t open = prefix.size() - 1;
  if (term[open] != '(' && term[open] != '{') return std::nullopt;
  if (matchingClose(term, open) != term.size() - 1) return std::nullopt;
  return term.substr(open + 1, term.size() - open - 2);
}

// Only "%d" (and "%%") may stand in a pattern: the test expands it over whole numbers.
bool isNumberPattern(std::string_view format) {
  for (std::size_t i = format.find('%'); i != format.npos; i = format.find('%', i + 2)) {
    if (i + 1 >= format.size() || (format[i + 1] != 'd' && format[i + 1] != '%')) return false;
  }
  return true;
}

std::string_view stem(std::string_view path) {
  const auto dot = path.rfind('.');
  const auto slash = path.rfind('/');
  return dot != path.npos && (slash == path.npos || dot > slash) ? path.substr(0, dot) : path;
}

int lineAt(std::string_view text, std::size_t pos) {
  return 1 + static_cast<int>(std::count(text.begin(), text.begin() + pos, '\n'));
}

std::string collapseSpace(std::string_view s) {
  std::string out;
  for (const char c : s) {
    if (std::isspace(static_cast<unsigned char>(c)) != 0) {
      if (!out.empty() && out.back() != ' ') out += ' ';
    } else {
      out += c;
    }
  }
  return std::string(trim(out));
}

// Positions where the identifier `name` stands on its own (not part of a longer identifier, not
// a member reached through "." or "->").
std::vector<std::size_t> identifierPositions(std::string_view text, std::string_view name) {
  std::vector<std::size_t> found;
  for (std::size_t at = text.find(name); at != text.npos; at = text.find(name, at + 1)) {
    const std::size_t end = at + name.size();
    if (at > 0 && (isIdentifierChar(text[at - 1]) || text[at - 1] == '.')) continue;
    if (at > 1 && text.substr(at - 2, 2) == "->") continue;
    if (end < text.size() && isIdentifierChar(text[end])) continue;
    found.push_back(at);
  }
  return found;
}

std::size_t skipSpace(std::string_view s, std::size_t i) {
  while (i < s.size() && std::isspace(static_cast<unsigned char>(s[i])) != 0)
    ++i;
  return i;
}

}  // namespace

void ImageNameScanner::addSource(std::string path, std::string text) {
  sources_.push_back(Source{std::move(path), blankComments(std::move(text))});
}

ImageNameScanner::Result ImageNameScanner::scan() const {
  constexpr std::string_view kCall = "Image::named";
  Result result;
  for (std::size_t index = 0; index < sources_.size(); ++index) {
    const std::string_view text = sources_[index].text;
    for (const std::size_t at : identifierPositions(text, kCall)) {
      const std::size_t open = skipSpace(text, at + kCall.size());
      if (open >= text.size() || text[open] != '(') continue;
      const std::size_t close = matchingClose(text, open);
      if (close == text.npos) continue;
      const std::string_view argument =
          splitTopLevel(text.substr(open + 1, close - open - 1), ',').front();
      Site site{sources_[index].path, lineAt(text, at), collapseSpace(argument)};
      if (auto names = resolve(argument, index, {}, 0)) {
        for (const auto& name : *names)
          result.names[name].push_back(site);
      } else {
        result.unresolved.push_back(std::move(site));
      }
    }
  }
  return result;
}

std::optional<std::set<std::string>> ImageNameScanner::resolve(std::string_view expression,
                                                               std::size_t source,
                                                               const Bindings& bindings,
                                                               int depth) const {
  expression = trim(expression);
  if (expression.empty()) return std::nullopt;

  // cond ? a : b names whatever a and b name.
  const std::size_t question =
      findTopLevel(expression, [&](std::size_t i) { return expression[i] == '?'; });
  if (question != expression.npos) {
    const std::size_t colon = findTopLevel(
        expression,
        [&](std::size_t i) {
          return expression[i] == ':' && expression[i - 1] != ':' &&
                 (i + 1 >= expression.size() || expression[i + 1] != ':');
        },
        question + 1);
    if (colon == expression.npos) return std::nullopt;
    auto yes =
        resolve(expression.substr(question + 1, colon - question - 1), source, bindings, depth);
    auto no = resolve(expression.substr(colon + 1), source, bindings, depth);
    if (!yes || !no) return std::nullopt;
    yes->merge(*no);
    return yes;
  }

  // a + b: every combination.
  const auto parts = splitTopLevel(expression, '+');
  if (parts.size() > 1) {
    std::set<std::string> joined{""};
    for (const auto part : parts) {
      const auto names = resolveTerm(part, source, bindings, depth);
      if (!names) return std::nullopt;
      std::set<std::string> next;
      for (const auto& head : joined) {
        for (const auto& tail : *names)
          next.insert(head + tail);
      }
      joined = std::move(next);
    }
    return joined;
  }
  return resolveTerm(expression, source, bindings, depth);
}

std::optional<std::set<std::string>> ImageNameScanner::resolveTerm(std::string_view term,
                                                                   std::size_t source,
                                                                   const Bindings& bindings,
                                                                   int depth) const {
  term = trim(term);
  if (term.empty()) return std::nullopt;
  if (auto text = literalText(term)) return std::set<std::string>{*text};
  if (term.front() == '(' && matchingClose(term, 0) == term.size() - 1) {
    return resolve(term.substr(1, term.size() - 2), source, bindings, depth);
  }
  for (const std::string_view wrapper : {"std::string(", "std::string{", "std::string_view("}) {
    if (auto inner = callArguments(term, wrapper)) return resolve(*inner, source, bindings, depth);
  }
  if (auto arguments = callArguments(term, "strprintf(")) {
    const auto format = literalText(splitTopLevel(*arguments, ',').front());
    if (!format || !isNumberPattern(*format)) return std::nullopt;
    return std::set<std::string>{*format};
  }
  if (callArguments(term, "std::to_string(")) return std::set<std::string>{"%d"};

  // A::B::name, name[i], name[i].field: a constant, or a parameter of the function being read.
  std::string_view chain = term;
  if (const auto bracket = chain.find('['); bracket < chain.find('(')) {
    const std::size_t close = matchingClose(chain, bracket);
    if (close == chain.npos) return std::nullopt;
    std::string_view rest = trim(chain.substr(close + 1));
    while (rest.starts_with(".") || rest.starts_with("->")) {
      rest = trim(rest.substr(rest.front() == '.' ? 1 : 2));
      std::size_t n = 0;
      while (n < rest.size() && isIdentifierChar(rest[n]))
        ++n;
      if (n == 0) return std::nullopt;
      rest = trim(rest.substr(n));
    }
    if (!rest.empty()) return std::nullopt;
    chain = trim(chain.substr(0, bracket));
  }
  const std::size_t lastColon = chain.rfind("::");
  const std::string_view name =
      lastColon == chain.npos ? chain : chain.substr(lastColon + std::string_view("::").size());
  if (isIdentifier(name)) {
    const bool qualified = lastColon != chain.npos;
    if (!qualified) {
      if (const auto bound = bindings.find(std::string(name)); bound != bindings.end()) {
        return bound->second;
      }
    }
    return constant(name, source);
  }

  // name(arguments), A::name(arguments): the names the sources' own function returns.
  const std::size_t open = term.find('(');
  if (open != term.npos && matchingClose(term, open) == term.size() - 1) {
    const std::string_view callee = trim(term.substr(0, open));
    const std::size_t colon = callee.rfind("::");
    const std::string_view function =
        colon == callee.npos ? callee : callee.substr(colon + std::string_view("::").size());
    if (isIdentifier(function)) {
      return call(function, term.substr(open + 1, term.size() - open - 2), source, bindings, depth);
    }
  }
  return std::nullopt;
}

std::optional<std::set<std::string>> ImageNameScanner::constant(std::string_view name,
                                                                std::size_t source) const {
  // A constant of the same class (its header or source) wins over one of the same name elsewhere.
  const auto lookIn = [&](bool sameStem) -> std::optional<std::set<std::string>> {
    std::set<std::string> names;
    for (std::size_t index = 0; index < sources_.size(); ++index) {
      if ((stem(sources_[index].path) == stem(sources_[source].path)) != sameStem) continue;
      const std::string_view text = sources_[index].text;
      for (const std::size_t at : identifierPositions(text, name)) {
        std::size_t i = skipSpace(text, at + name.size());
        if (i < text.size() && text[i] == '[') {
          const std::size_t close = matchingClose(text, i);
          if (close == text.npos) continue;
          i = skipSpace(text, close + 1);
        }
        std::string_view initializer;
        if (i < text.size() && text[i] == '=' && (i + 1 >= text.size() || text[i + 1] != '=')) {
          const std::size_t end = findTopLevel(
              text, [&](std::size_t j) { return text[j] == ';'; }, i + 1);
          if (end == text.npos) continue;
          initializer = text.substr(i + 1, end - i - 1);
        } else if (i < text.size() && text[i] == '{') {
          const std::size_t close = matchingClose(text, i);
          if (close == text.npos) continue;
          initializer = text.substr(i, close - i + 1);
        } else {
          continue;
        }
        for (std::size_t j = 0; j < initializer.size(); ++j) {
          if (initializer[j] != '"') continue;
          const std::size_t end = skipLiteral(initializer, j);
          if (auto value = literalText(initializer.substr(j, end - j));
              value && isNameLike(*value)) {
            names.insert(*value);
          }
          j = end - 1;
        }
      }
    }
    if (names.empty()) return std::nullopt;
    return names;
  };
  if (auto names = lookIn(true)) return names;
  return lookIn(false);
}

std::optional<std::set<std::string>> ImageNameScanner::call(std::string_view name,
                                                            std::string_view arguments,
                                                            std::size_t source,
                                                            const Bindings& bindings,
                                                            int depth) const {
  if (depth >= kMaxCallDepth) return std::nullopt;
  const auto callArguments = splitTopLevel(arguments, ',');
  for (const bool sameStem : {true, false}) {
    for (std::size_t index = 0; index < sources_.size(); ++index) {
      if ((stem(sources_[index].path) == stem(sources_[source].path)) != sameStem) continue;
      const std::string_view text = sources_[index].text;
      for (const std::size_t at : identifierPositions(text, name)) {
        // A definition: name(parameters) [const] { body }.
        const std::size_t open = skipSpace(text, at + name.size());
        if (open >= text.size() || text[open] != '(') continue;
        const std::size_t close = matchingClose(text, open);
        if (close == text.npos) continue;
        std::size_t brace = skipSpace(text, close + 1);
        if (text.substr(brace).starts_with("const")) brace = skipSpace(text, brace + 5);
        if (brace >= text.size() || text[brace] != '{') continue;
        const std::size_t end = matchingClose(text, brace);
        if (end == text.npos) continue;

        Bindings parameters;
        const std::string_view list = trim(text.substr(open + 1, close - open - 1));
        const auto declared =
            list.empty() ? std::vector<std::string_view>{} : splitTopLevel(list, ',');
        for (std::size_t p = 0; p < declared.size(); ++p) {
          std::string_view parameter = declared[p].substr(0, declared[p].find('='));
          parameter = trim(parameter);
          std::size_t start = parameter.size();
          while (start > 0 && isIdentifierChar(parameter[start - 1]))
            --start;
          parameters[std::string(parameter.substr(start))] =
              p < callArguments.size() ? resolve(callArguments[p], source, bindings, depth + 1)
                                       : std::nullopt;
        }

        const std::string_view body = text.substr(brace + 1, end - brace - 1);
        std::set<std::string> names;
        bool returns = false;
        for (const std::size_t r : identifierPositions(body, "return")) {
          const std::size_t stop = findTopLevel(
              body, [&](std::size_t j) { return body[j] == ';'; }, r + 6);
          if (stop == body.npos) return std::nullopt;
          auto returned = resolve(body.substr(r + 6, stop - r - 6), index, parameters, depth + 1);
          if (!returned) return std::nullopt;
          names.merge(*returned);
          returns = true;
        }
        if (!returns) return std::nullopt;
        return names;
      }
    }
  }
  return std::nullopt;
}

}  // namespace lk::test
