#pragma once

#include <chrono>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "tests/support/LoopbackHttpServer.h"

namespace lk::test {

// A loopback stand-in for the passport and the account endpoints that answers what a test sets,
// including answers the real service never gives (a session without value, an activation without
// "errNo", hostile XML). Every request is recorded.
class ScriptedPassport {
 public:
  struct Answer {
    int status = 200;
    std::string body;
    std::chrono::milliseconds delay{0};
  };
  struct Request {
    std::string method;
    std::string path;
    std::string query;
    std::string body;
  };

  ScriptedPassport();
  ~ScriptedPassport();
  ScriptedPassport(const ScriptedPassport&) = delete;
  ScriptedPassport& operator=(const ScriptedPassport&) = delete;

  // "http://127.0.0.1:PORT/client".
  [[nodiscard]] std::string baseURL() const { return server_.url("/client"); }
  [[nodiscard]] std::string origin() const { return server_.url(); }

  // The passport's answer to a login with `username` (default: a session "S-<name>").
  void answerLogin(const std::string& username, Answer answer);
  void answerVerifyImage(Answer answer);
  void answerAccountState(Answer answer);
  void answerActivation(Answer answer);
  void answerStatistics(Answer answer);

  [[nodiscard]] std::vector<Request> requests() const;
  // The recorded requests whose path starts with `prefix`.
  [[nodiscard]] std::vector<Request> requestsTo(const std::string& prefix) const;

  static std::string successXml(const std::string& ssid);
  static std::string refusalXml(int reason);

 private:
  Answer pick(const std::string& key, const Answer& fallback) const;
  void record(Request request);

  mutable std::mutex mutex_;
  std::map<std::string, Answer> answers_;
  std::vector<Request> requests_;
  LoopbackHttpServer server_;
};

}  // namespace lk::test
