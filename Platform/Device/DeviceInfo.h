#pragma once

#include <filesystem>
#include <string>

namespace lk {

// Facts about the device the client runs on. Each can be set by a front end or a test.
class DeviceInfo {
 public:
  // The operating system's version, "major.minor[.patch]" (on Linux the kernel release, e.g.
  // "6.1.0"; "LOKAVO_OS_VERSION" in the environment replaces it).
  [[nodiscard]] static std::string systemVersion();
  static void setSystemVersion(const std::string& version);  // "" restores the default

  // The model string the service is told. "iPhone" stands for a device that can call and send
  // SMS, which is what this client presents itself as.
  [[nodiscard]] static std::string model();
  static void setModel(const std::string& model);  // "" restores "iPhone"

  // A stable identifier of this installation: 40 lower-case hex digits, generated once and kept
  // in the file "DeviceIdentifier" of the data directory (mode 0600). When it cannot be kept the
  // identifier still stays the same for the life of the process.
  [[nodiscard]] static std::string uniqueIdentifier();
  static void setUniqueIdentifier(const std::string& identifier);  // "" re-reads the file

  static constexpr const char* kDefaultModel = "iPhone";
  static constexpr const char* kIdentifierFileName = "DeviceIdentifier";

  // Forgets every setting and the identifier read so far.
  static void resetForTesting();
};

}  // namespace lk
