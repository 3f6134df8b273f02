#include "tests/account/ScriptedPassport.h"

#include <thread>

#include "Platform/Image/Image.h"
#include "Platform/Image/ImageCodec.h"

namespace lk::test {

namespace {

std::string formField(const std::string& body, const std::string& name) {
  const std::string key = name + "=";
  std::size_t at = 0;
  while ((at = body.find(key, at)) != std::string::npos) {
    if (at == 0 || body[at - 1] == '&') {
      const auto start = at + key.size();
      return body.substr(start, body.find('&', start) - start);
    }
    at += key.size();
  }
  return {};
}

void reply(httplib::Response& res, const ScriptedPassport::Answer& answer, const char* type) {
  if (answer.delay.count() > 0) std::this_thread::sleep_for(answer.delay);
  res.status = answer.status;
  res.set_content(answer.body, type);
}

}  // namespace

ScriptedPassport::ScriptedPassport() {
  auto& s = server_.server();
  s.Post("/passport/", [this](const httplib::Request& req, httplib::Response& res) {
    record({"POST", req.path, req.target.substr(req.path.size()), req.body});
    const std::string name = formField(req.body, "login_username");
    reply(res, pick("login:" + name, {200, successXml("S-" + name), {}}), "text/xml");
  });
  s.Get("/cgi-bin/genimage", [this](const httplib::Request& req, httplib::Response& res) {
    record({"GET", req.path, req.target.substr(req.path.size()), {}});
    reply(res, pick("image", {200, ImageCodec::encodePng(Image(100, 40)), {}}), "image/png");
  });
  s.Get("/client/user/0/info", [this](const httplib::Request& req, httplib::Response& res) {
    record({"GET", req.path, req.target.substr(req.path.size()), {}});
    const bool state = req.has_param("ssid");
    reply(res,
          state ? pick("state", {200, R"({"login":"小吃货","uid":"7"})", {}})
                : pick("statistics", {200, R"({"errNo":0})", {}}),
          "application/json");
  });
  s.Post("/client/user/0/active", [this](const httplib::Request& req, httplib::Response& res) {
    record({"POST", req.path, {}, req.body});
    reply(res, pick("active", {200, R"({"errNo":0,"result":"激活成功"})", {}}), "application/json");
  });
  // What a hostile reply's external DTD would name: it must never be fetched.
  s.Get("/evil.dtd", [this](const httplib::Request& req, httplib::Response& res) {
    record({"GET", req.path, {}, {}});
    res.set_content("<!ENTITY s \"stolen\">", "application/xml-dtd");
  });
  server_.start();
}

ScriptedPassport::~ScriptedPassport() {
  server_.stop();
}

void ScriptedPassport::answerLogin(const std::string& username, Answer answer) {
  std::lock_guard lock(mutex_);
  answers_["login:" + username] = std::move(answer);
}
void ScriptedPassport::answerVerifyImage(Answer answer) {
  std::lock_guard lock(mutex_);
  answers_["image"] = std::move(answer);
}
void ScriptedPassport::answerAccountState(Answer answer) {
  std::lock_guard lock(mutex_);
  answers_["state"] = std::move(answer);
}
void ScriptedPassport::answerActivation(Answer answer) {
  std::lock_guard lock(mutex_);
  answers_["active"] = std::move(answer);
}
void ScriptedPassport::answerStatistics(Answer answer) {
  std::lock_guard lock(mutex_);
  answers_["statistics"] = std::move(answer);
}

ScriptedPassport::Answer ScriptedPassport::pick(const std::string& key,
                                                const Answer& fallback) const {
  std::lock_guard lock(mutex_);
  const auto it = answers_.find(key);
  return it == answers_.end() ? fallback : it->second;
}

void ScriptedPassport::record(Request request) {
  std::lock_guard lock(mutex_);
  requests_.push_back(std::move(request));
}

std::vector<ScriptedPassport::Request> ScriptedPassport::requests() const {
  std::lock_guard lock(mutex_);
  return requests_;
}

std::vector<ScriptedPassport::Request> ScriptedPassport::requestsTo(
    const std::string& prefix) const {
  std::vector<Request> found;
  for (auto& r : requests()) {
    if (r.path.rfind(prefix, 0) == 0) found.push_back(r);
  }
  return found;
}

std::string ScriptedPassport::successXml(const std::string& ssid) {
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<login_succ><param name=\"ssid\" value=\"" +
         ssid + "\"/></login_succ>\n";
}

std::string ScriptedPassport::refusalXml(int reason) {
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<login_fail><reason id=\"" +
         std::to_string(reason) + "\">x</reason></login_fail>\n";
}

}  // namespace lk::test
