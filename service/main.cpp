// lokavo-service: the stand-in directory service. Prints the port it listens on as the first line
// of its output, then serves until SIGINT or SIGTERM.
#include <csignal>
#include <filesystem>
#include <iostream>
#include <thread>

#include <pthread.h>

#include "service/ServiceOptions.h"
#include "service/ServiceServer.h"

int main(int argc, char** argv) {
  using lk::service::ServiceOptions;
  std::string error;
  bool help = false;
  auto options = ServiceOptions::parse(argc, argv, error, help);
  if (help) {
    std::cout << ServiceOptions::usage();
    return 0;
  }
  if (!options) {
    std::cerr << "lokavo-service: " << error << "\n" << ServiceOptions::usage();
    return 2;
  }
  if (options->reset && options->database != ":memory:") {
    std::error_code ec;
    for (const char* suffix : {"", "-wal", "-shm"}) {
      std::filesystem::remove(options->database + suffix, ec);
    }
  }

  // Signals are taken by one thread that stops the server; the workers never see them.
  sigset_t stopSignals;
  sigemptyset(&stopSignals);
  sigaddset(&stopSignals, SIGINT);
  sigaddset(&stopSignals, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);
  std::signal(SIGPIPE, SIG_IGN);

  try {
    lk::service::ServiceServer server(*options);
    const int port = server.bind();
    if (port < 0) {
      std::cerr << "lokavo-service: cannot listen on " << options->host << ":" << options->port
                << "\n";
      return 1;
    }
    std::cout << port << std::endl;
    std::thread stopper([&server, &stopSignals] {
      int signal = 0;
      sigwait(&stopSignals, &signal);
      server.stop();
    });
    const bool ok = server.run();
    // Wakes the stopper when the server ended by itself.
    pthread_kill(stopper.native_handle(), SIGTERM);
    stopper.join();
    return ok ? 0 : 1;
  } catch (const std::exception& e) {
    std::cerr << "lokavo-service: " << e.what() << "\n";
    return 1;
  }
}
