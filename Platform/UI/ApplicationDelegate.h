#pragma once

namespace lk::ui {

class Application;

// The program's own object told of the application's life cycle. Every callback is optional.
class ApplicationDelegate {
 public:
  ApplicationDelegate() = default;
  ApplicationDelegate(const ApplicationDelegate&) = delete;
  ApplicationDelegate& operator=(const ApplicationDelegate&) = delete;
  virtual ~ApplicationDelegate() = default;

  virtual bool applicationDidFinishLaunching(Application& /*app*/) { return true; }
  virtual void applicationDidBecomeActive(Application& /*app*/) {}
  virtual void applicationWillResignActive(Application& /*app*/) {}
  virtual void applicationDidEnterBackground(Application& /*app*/) {}
  virtual void applicationWillEnterForeground(Application& /*app*/) {}
  virtual void applicationWillTerminate(Application& /*app*/) {}
  virtual void applicationDidReceiveMemoryWarning(Application& /*app*/) {}
};

}  // namespace lk::ui
