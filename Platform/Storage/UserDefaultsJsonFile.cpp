#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <boost/json/object.hpp>
#include <boost/json/parse.hpp>
#include <boost/json/serialize.hpp>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <ctime>
#include <fstream>
#include <sstream>

#include "Platform/Log/Log.h"
#include "Platform/Storage/UserDefaults.h"

namespace lk {

namespace {

namespace fs = std::filesystem;

constexpr const char* kTempInfix = ".tmp-";
// Temporary files older than this are leftovers of a write that a crash interrupted.
constexpr auto kStaleTempAge = std::chrono::minutes(10);

std::string errnoText() {
  return std::strerror(errno);
}

// Writes all of `data` to `fd`, retrying short writes.
bool writeAll(int fd, std::string_view data) {
  while (!data.empty()) {
    const ssize_t n = ::write(fd, data.data(), data.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    data.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

std::string timestamp() {
  const std::time_t now = std::time(nullptr);
  std::tm tm{};
  ::gmtime_r(&now, &tm);
  char buf[32];
  std::strftime(buf, sizeof buf, "%Y%m%dT%H%M%SZ", &tm);
  return buf;
}

class UserDefaultsJsonFile final : public UserDefaults {
 public:
  explicit UserDefaultsJsonFile(fs::path path) : path_(std::move(path)) {
    removeStaleTemporaries();
    load();
  }

  std::optional<boost::json::value> objectForKey(std::string_view key) const override {
    const auto* v = values_.if_contains(key);
    if (v == nullptr) return std::nullopt;
    return *v;
  }

  void setObject(std::string_view key, boost::json::value value) override {
    if (value.is_null()) {
      removeObjectForKey(key);
      return;
    }
    if (const auto* old = values_.if_contains(key); old != nullptr && *old == value) return;
    values_[key] = std::move(value);
    dirty_ = true;
    (void)write();
  }

  void removeObjectForKey(std::string_view key) override {
    if (values_.erase(key) == 0) return;
    dirty_ = true;
    (void)write();
  }

  bool synchronize() override { return !dirty_ || write(); }

  std::vector<std::string> keys() const override {
    std::vector<std::string> out;
    out.reserve(values_.size());
    for (const auto& kv : values_)
      out.emplace_back(kv.key());
    return out;
  }

 private:
  void load() {
    std::error_code ec;
    if (!fs::exists(path_, ec) && !ec) return;  // first launch

    std::string problem;
    std::ifstream in(path_, std::ios::binary);
    std::ostringstream text;
    if (!in || fs::is_directory(path_, ec)) {
      problem = "cannot be read";
    } else {
      text << in.rdbuf();
      if (in.bad()) problem = "cannot be read";
    }
    if (problem.empty()) {
      boost::system::error_code jec;
      boost::json::value parsed = boost::json::parse(text.str(), jec);
      if (jec) {
        problem = "is not valid JSON (" + jec.message() + ")";
      } else if (!parsed.is_object()) {
        problem = "does not hold a JSON object";
      } else {
        values_ = std::move(parsed.get_object());
        return;
      }
    }
    moveAside(problem);
  }

  // Keeps a damaged file for inspection under a new name; the store starts empty.
  void moveAside(const std::string& problem) {
    fs::path aside = path_.string() + ".corrupt-" + timestamp();
    std::error_code ec;
    for (int i = 1; fs::exists(aside, ec) && i < 1000; ++i) {
      aside = path_.string() + ".corrupt-" + timestamp() + "-" + std::to_string(i);
    }
    if (::rename(path_.c_str(), aside.c_str()) == 0) {
      logf("user defaults %s %s: moved aside to %s, starting with defaults", path_.c_str(),
           problem.c_str(), aside.c_str());
      return;
    }
    // It cannot be moved: keep it untouched and do not write over it.
    writable_ = false;
    logf(
        "user defaults %s %s and cannot be moved aside (%s): starting with defaults, changes "
        "are not saved",
        path_.c_str(), problem.c_str(), errnoText().c_str());
  }

  void removeStaleTemporaries() {
    std::error_code ec;
    const fs::path dir = path_.has_parent_path() ? path_.parent_path() : fs::path(".");
    const std::string prefix = path_.filename().string() + kTempInfix;
    const auto now = fs::file_time_type::clock::now();
    for (const auto& entry : fs::directory_iterator(dir, ec)) {
      const std::string name = entry.path().filename().string();
      if (name.rfind(prefix, 0) != 0) continue;
      std::error_code tec;
      const auto modified = fs::last_write_time(entry.path(), tec);
      if (!tec && now - modified > kStaleTempAge) fs::remove(entry.path(), tec);
    }
  }

  // Temporary file beside the store, fsync, rename over the store, fsync the directory.
  bool write() {
    if (!writable_) return false;
    const std::string data = boost::json::serialize(values_);
    std::string temp = path_.string() + kTempInfix + "XXXXXX";
    const int fd = ::mkstemp(temp.data());  // mode 0600
    if (fd < 0) return fail("cannot create a temporary file", nullptr);
    bool ok = ::fchmod(fd, S_IRUSR | S_IWUSR) == 0 && writeAll(fd, data) && ::fsync(fd) == 0;
    const int savedErrno = errno;
    if (::close(fd) != 0 && ok) return fail("cannot close the temporary file", temp.c_str());
    if (!ok) {
      errno = savedErrno;
      return fail("cannot write the temporary file", temp.c_str());
    }
    if (::rename(temp.c_str(), path_.c_str()) != 0) {
      return fail("cannot replace the store", temp.c_str());
    }
    syncDirectory();
    dirty_ = false;
    if (failing_) logf("user defaults %s: saved again", path_.c_str());
    failing_ = false;
    return true;
  }

  // Said once until a write succeeds again: an unusable directory fails every write alike.
  bool fail(const char* what, const char* temp) {
    const std::string reason = errnoText();
    if (temp != nullptr) ::unlink(temp);
    if (failing_) return false;
    failing_ = true;
    std::error_code ec;
    const bool stored = fs::is_regular_file(path_, ec);
    logf("user defaults %s: %s (%s); %s, and changes are not saved until a write succeeds",
         path_.c_str(), what, reason.c_str(),
         stored ? "the previous content is kept" : "nothing was stored before");
    return false;
  }

  void syncDirectory() const {
    const fs::path dir = path_.has_parent_path() ? path_.parent_path() : fs::path(".");
    const int dfd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dfd < 0) return;
    (void)::fsync(dfd);
    ::close(dfd);
  }

  fs::path path_;
  boost::json::object values_;
  bool dirty_ = false;
  bool writable_ = true;
  bool failing_ = false;
};

}  // namespace

std::unique_ptr<UserDefaults> makeJsonFileUserDefaults(const std::filesystem::path& path) {
  return std::make_unique<UserDefaultsJsonFile>(path);
}

std::unique_ptr<UserDefaults> makeDefaultUserDefaults(const std::filesystem::path& path) {
  return makeJsonFileUserDefaults(path);
}

}  // namespace lk
