// Times a conversion driven through the Win32 main window under Wine: the
// window starts from the data files next to this program, the point file
// given is accepted as the input, and Convert is clicked with the questions
// answered by the window's message box seam. Prints the best wall time of
// the runs, Convert click to return.
//
// Usage: win32_bench POINT_FILE [RUNS [EVENT_STEP_MS]]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "bench_start.h"
#include "platform/program_seams.h"
#include "platform/wide_text_win32.h"
#include "startup/startup.h"
#include "win32/main_window.h"
#include "win32/win32_locations.h"

namespace {

using namespace velorin;

// Processor time of this process so far, user and kernel, in seconds.
struct ProcessorTime {
  double user = 0;
  double kernel = 0;
};

ProcessorTime ProcessorSeconds() {
  FILETIME created, exited, kernel, user;
  GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
  const auto seconds = [](const FILETIME& t) {
    return static_cast<double>((static_cast<unsigned long long>(t.dwHighDateTime) << 32) |
                               t.dwLowDateTime) /
           1e7;
  };
  return {seconds(user), seconds(kernel)};
}

int Fail(const char* what) {
  std::fprintf(stderr, "win32_bench: %s\n", what);
  return 1;
}

// What the window's host costs per entry of its own, in seconds for a
// million: the progress text and the event step, in the running layout.
double HostSecondsPerMillion(MainPresenter& host) {
  host.OnRunning();
  const auto start = std::chrono::steady_clock::now();
  for (int entry = 1; entry <= 1'000'000; ++entry) {
    host.OnRecordWritten(entry);
    host.EventStep();
  }
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  host.ShowExecutionPanel(0);
  return seconds;
}

struct RunTimes {
  double wall = -1;  ///< the best of the runs
  ProcessorTime processor{-1, -1};
};

// Clicks Convert `runs` times, the output removed before each (no overwrite
// question); nothing when a run does not end with its finished message.
std::optional<RunTimes> TimeRuns(Win32MainWindow& window, std::vector<std::string>& boxes,
                                 int runs) {
  const std::wstring output = Widen(window.PathText(PathKind::kOutput));
  RunTimes best;
  for (int run = 0; run < runs; ++run) {
    std::filesystem::remove(output);
    boxes.clear();
    const ProcessorTime processorStart = ProcessorSeconds();
    const auto start = std::chrono::steady_clock::now();
    SendMessageW(window.ControlHandle(MainControl::kCommand_for_Convert), BM_CLICK, 0, 0);
    const double took =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const ProcessorTime processorEnd = ProcessorSeconds();
    const ProcessorTime processor{processorEnd.user - processorStart.user,
                                  processorEnd.kernel - processorStart.kernel};
    if (boxes.size() != 2) return std::nullopt;
    if (best.wall < 0 || took < best.wall) best.wall = took;
    if (best.processor.user < 0 ||
        processor.user + processor.kernel < best.processor.user + best.processor.kernel)
      best.processor = processor;
  }
  std::filesystem::remove(output);
  return best;
}

}  // namespace

int main() {
  const std::vector<std::string> arguments = ProgramArguments();
  if (arguments.empty()) return Fail("usage: win32_bench POINT_FILE [RUNS [EVENT_STEP_MS]]");
  const int runs = arguments.size() > 1 ? std::max(1, std::atoi(arguments[1].c_str())) : 1;

  const std::optional<bench::BenchStart> velorin = bench::StartLikeVelorin();
  if (!velorin) return Fail("the start-up failed: are the data files next to win32_bench?");
  const StartupTables& tables = velorin->tables;
  const FileLocations& locations = velorin->locations;
  std::vector<std::string> boxes;
  Win32Seams seams;
  seams.messageBox = [&boxes](const std::string&, const std::string& text, MessageButtons,
                              MessageAnswer, MessageIcon) {
    boxes.push_back(text);
    return boxes.size() == 1 ? MessageAnswer::kYes : MessageAnswer::kOk;
  };
  Win32MainWindow window(tables, locations, seams);
  ShowWindow(window.Handle(), SW_SHOWNA);
  UpdateWindow(window.Handle());
  MainPresenter& host = window.Presenter();
  if (arguments.size() > 2) host.SetEventStepInterval(std::atoi(arguments[2].c_str()));
  window.Presenter().AcceptInputPath(arguments[0]);

  const std::optional<RunTimes> times = TimeRuns(window, boxes, runs);
  if (!times) return Fail("the run did not end with its finished message");
  const double hostSeconds = HostSecondsPerMillion(host);

  std::string final = boxes.back();
  for (std::size_t at; (at = final.find("\r\n")) != std::string::npos;) final.replace(at, 2, " / ");
  std::printf(
      "window convert: %.3f s (best of %d; processor %.3f s user, %.3f s kernel); final message: "
      "%s\n",
      times->wall, runs, times->processor.user, times->processor.kernel, final.c_str());
  std::printf("window host alone: %.1f ns an entry (progress text and event step)\n",
              hostSeconds * 1e3);
  return 0;
}
