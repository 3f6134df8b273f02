// The window front end: painting the results screen, start-up to the first painted frame, and a
// tap on a row to the next screen painted. Offscreen, software raster, scale 2.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QPainter>
#include <QPicture>
#include <QProcess>
#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <memory>
#include <sstream>
#include <vector>

#include "Classes/LocalState/CacheCenter.h"
#include "Classes/ServiceClient/HttpRequestCacheCenter.h"
#include "Classes/ServiceClient/ServiceEndpoints.h"
#include "Classes/Toolkit/AlertCenter.h"
#include "Platform/UI/Application.h"
#include "Platform/UI/ScreenInput.h"
#include "Platform/UI/TableView.h"
#include "Platform/UI/TableViewCell.h"
#include "Platform/UI/TextMeasure.h"
#include "Platform/UI/TextMetricsQt.h"
#include "Platform/UI/Window.h"
#include "bench/BenchFixtures.h"
#include "bench/SideBySide.h"
#include "frontends/commands/CliSession.h"
#include "frontends/qt/ScreenRenderer.h"
#include "frontends/qt/TouchInput.h"
#include "frontends/qt/ViewPainter.h"
#include "tests/support/ScopedClientStorage.h"
#include "tests/support/TestSupport.h"

namespace lk {
namespace {

constexpr double kScale = 2;

QApplication& application() {
  static int argc = 1;
  static char name[] = "lokavo_bench";
  static char* argv[] = {name, nullptr};
  static std::unique_ptr<QApplication> app = [] {
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) qputenv("QT_QPA_PLATFORM", "offscreen");
    return std::make_unique<QApplication>(argc, argv);
  }();
  return *app;
}

double median(std::vector<double> v) {
  if (v.empty()) return 0;
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

// The client against the stand-in, as the window runs it (its text metrics), with the results
// of a search for 火锅 on screen: 15 rows.
struct WindowSession {
  WindowSession() {
    application();
    ui::TextMeasure::setMetrics(&metrics);
    ui::Application::resetSharedInstanceForTesting();
    HttpRequestCacheCenter::resetSharedInstanceForTesting();
    AlertCenter::resetSharedInstanceForTesting();
    ServiceEndpoints::setServiceURL(service->baseURL());
    cli::CliOptions located;
    located.position = cli::CliOptions::Position{39.915, 116.404};
    session = std::make_unique<cli::CliSession>(out, located);
    session->start();
    session->execute("search 火锅");
  }
  ~WindowSession() {
    session->finish();
    session.reset();
    ServiceEndpoints::setServiceURL("");
    AlertCenter::resetSharedInstanceForTesting();
    HttpRequestCacheCenter::resetSharedInstanceForTesting();
    CacheCenter::resetSharedInstanceForTesting();
    ui::Application::resetSharedInstanceForTesting();
    ui::TextMeasure::setMetrics(nullptr);
  }
  ui::TableView* list() { return ui::ScreenInput().topTableView(); }

  ui::TextMetricsQt metrics;
  test::ScopedMainLoop loop{false};
  test::ScopedClientStorage storage;
  std::unique_ptr<test::ServiceLauncher> service = bench::seededService();
  std::ostringstream out;
  std::unique_ptr<cli::CliSession> session;
  qt::PictureStore pictures;
};

// Painting the results screen (ours: the tree walk, layout, measuring and replaying the drawn
// rows) against QPainter drawing the same texts, images and rectangles directly (the painter's
// commands of one frame recorded, then played into a fresh image).
void BM_PaintResultsScreen(benchmark::State& state) {
  WindowSession window;
  auto* table = window.list();
  if (table == nullptr || table->numberOfRowsInSection(0) < 15) {
    state.SkipWithError("the results screen did not show 15 rows");
    return;
  }
  (void)qt::renderScreen(window.pictures, kScale);  // pictures loaded once, as in the window
  QPicture recorded;
  {
    QPainter painter(&recorded);
    painter.scale(kScale, kScale);
    qt::ViewPainter views(painter, window.pictures);
    views.paintScreen(ui::Application::shared().keyWindow());
  }
  std::vector<double> ours;
  std::vector<double> reference;
  for (auto _ : state) {
    const double t0 = bench::threadSeconds();
    QImage image = qt::renderScreen(window.pictures, kScale);
    benchmark::DoNotOptimize(image.constBits());
    const double t1 = bench::threadSeconds();
    QImage direct(static_cast<int>(320 * kScale), static_cast<int>(480 * kScale),
                  QImage::Format_ARGB32_Premultiplied);
    direct.fill(Qt::black);
    {
      QPainter painter(&direct);
      painter.drawPicture(0, 0, recorded);
    }
    benchmark::DoNotOptimize(direct.constBits());
    const double t2 = bench::threadSeconds();
    ours.push_back((t1 - t0) * 1e3);
    reference.push_back((t2 - t1) * 1e3);
  }
  state.counters["rows"] = table->numberOfRowsInSection(0);
  state.counters["ours_ms"] = median(ours);
  state.counters["reference_ms"] = median(reference);
  state.counters["ratio"] = median(reference) > 0 ? median(ours) / median(reference) : 0;
}
BENCHMARK(BM_PaintResultsScreen)->Iterations(200)->Unit(benchmark::kMillisecond);

// A tap on the first row to the shop screen painted, the shop's answer from the response cache
// (the shop was opened once before). The reference is painting that screen alone.
void BM_TapRowToShopPainted(benchmark::State& state) {
  WindowSession window;
  auto* table = window.list();
  if (table == nullptr || !table->cellForRowAtIndexPath(ui::IndexPath{0, 0})) {
    state.SkipWithError("no results");
    return;
  }
  const ui::Rect row = table->cellForRowAtIndexPath(ui::IndexPath{0, 0})->frameInRoot();
  const ui::Point at{row.x() + row.width() / 2, row.y() + row.height() / 2};
  qt::TouchInput touches;
  auto shopShown = [] {
    return ui::Application::shared().dumpScreen().find("navbar: 商户详情") != std::string::npos;
  };
  // Once over the network, so that the answers are in the cache.
  touches.tap(at);
  window.session->settle();
  if (!shopShown()) {
    state.SkipWithError("the tap did not open the shop");
    return;
  }
  window.session->execute("back");
  auto& loop = DrivableRunLoop::main();
  std::vector<double> ours;
  std::vector<double> reference;
  for (auto _ : state) {
    const auto t0 = std::chrono::steady_clock::now();
    touches.tap(at);
    loop.runUntilIdle();
    QImage image = qt::renderScreen(window.pictures, kScale);
    benchmark::DoNotOptimize(image.constBits());
    const auto t1 = std::chrono::steady_clock::now();
    QImage alone = qt::renderScreen(window.pictures, kScale);
    benchmark::DoNotOptimize(alone.constBits());
    const auto t2 = std::chrono::steady_clock::now();
    state.PauseTiming();
    if (!shopShown()) state.SkipWithError("the shop did not show from the cache");
    ours.push_back(std::chrono::duration<double, std::milli>(t1 - t0).count());
    reference.push_back(std::chrono::duration<double, std::milli>(t2 - t1).count());
    window.session->execute("back");
    state.ResumeTiming();
  }
  state.counters["ours_ms"] = median(ours);
  state.counters["reference_ms"] = median(reference);
}
BENCHMARK(BM_TapRowToShopPainted)->Iterations(30)->Unit(benchmark::kMillisecond);

// Milliseconds from starting `program` with `args` until `marker` appears on its output.
double millisecondsUntil(const QString& program, const QStringList& args,
                         const QByteArray& marker) {
  QProcess process;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert("QT_QPA_PLATFORM", "offscreen");
  process.setProcessEnvironment(environment);
  const auto start = std::chrono::steady_clock::now();
  process.start(program, args);
  QByteArray seen;
  double at = -1;
  while (process.waitForReadyRead(10000)) {
    seen += process.readAllStandardOutput();
    if (seen.contains(marker)) {
      at = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
               .count();
      break;
    }
  }
  process.waitForFinished(10000);
  return at;
}

// Process start of lokavo-qt until its window painted the first tab (offscreen), against the
// stand-in; the reference is the same program until its usage text (process start, loading of
// Qt and the program, static set-up).
void BM_WindowStartupToFirstFrame(benchmark::State& state) {
  application();
  auto service = bench::seededService();
  test::TempDir scratch;
  const QString program = QString::fromUtf8(LOKAVO_QT_PATH);
  std::vector<double> startup;
  std::vector<double> floor;
  int run = 0;
  for (auto _ : state) {
    for (int i = 0; i < state.range(0); ++i) {
      const auto data = scratch / ("data" + std::to_string(run++));
      const double t = millisecondsUntil(
          program,
          {"--service-url", QString::fromStdString(service->baseURL()), "--data-dir",
           QString::fromStdString(data.string()), "--log", "/dev/null", "--position",
           "39.915,116.404", "--quit-after-first-frame"},
          "first frame");
      const double f = millisecondsUntil(program, {"--help"}, "usage:");
      if (t < 0 || f < 0) {
        state.SkipWithError("lokavo-qt did not start");
        return;
      }
      startup.push_back(t);
      floor.push_back(f);
    }
  }
  state.counters["startup_ms"] = median(startup);
  state.counters["process_floor_ms"] = median(floor);
}
BENCHMARK(BM_WindowStartupToFirstFrame)->Arg(9)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace lk
