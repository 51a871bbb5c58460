// Click to painted table in the Win32 main dialog, run under Wine: `make
// bench`. 1,000,001 rows in the results view; and 10,001 rows in the view
// against the platform's own edit control, which cannot take the large table
// in reasonable time; and 1,000,001 rows again with a screen reader's
// WinEvent hook listening, with the process's resident memory; and what an
// MSAA client pays to read the value (the whole table) after hearing it
// change. Google Benchmark has no build for
// the Windows target here (Debian ships no sources of it), so this times by itself: medians, with
// the fastest and slowest run.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "bench/windows/show_table.h"
#include "core/tabulation.h"
#include "framework/winapp.h"
#include "resources/resource.h"
#include "tests/win32/dialog_driver.h"
#include "ui/wertomatdlg.h"

namespace {

CWinApp benchApplication;
constexpr int kRuns = 9;
constexpr int kEditRuns = 3;

void Report(const char* what, std::vector<double> seconds) {
    std::sort(seconds.begin(), seconds.end());
    std::printf("  %-44s median %8.1f ms, fastest %8.1f ms, slowest %8.1f ms (%zu runs)\n", what,
                seconds[seconds.size() / 2] * 1000, seconds.front() * 1000, seconds.back() * 1000,
                seconds.size());
}

double Median(std::vector<double> seconds) {
    std::sort(seconds.begin(), seconds.end());
    return seconds[seconds.size() / 2];
}

}  // namespace

int main() {
    std::vector<double> large;
    std::vector<double> smallView;
    std::vector<double> smallEdit;
    long long shownLength = 0;
    const auto mainDialog = [] { return driver::FindDialog("Wertomat", IDC_XA); };
    const auto enter = [&](const char* step) {
        driver::SetText(mainDialog(), IDC_XA, "0");
        driver::SetText(mainDialog(), IDC_XSW, step);
        driver::SetText(mainDialog(), IDC_XE, "2");
    };
    const std::string smallTable = wertomat::RunTabulation({0.0, 0.0002, 2.0, 0}).text;
    std::vector<std::function<void()>> steps = {[&] { enter("0.0002"); }};
    for (int run = 0; run < kRuns; ++run) {
        steps.emplace_back([&] {
            smallView.push_back(
                bench::SecondsToClickAndPaint(mainDialog(), IDC_COMPUTE, IDC_RESULTS));
        });
    }
    for (int run = 0; run < kEditRuns; ++run) {
        steps.emplace_back([&] {
            smallEdit.push_back(
                bench::SecondsToShowInPlatformEdit(mainDialog(), IDC_RESULTS, smallTable));
        });
    }
    steps.emplace_back([&] { enter("0.000002"); });
    for (int run = 0; run < kRuns; ++run) {
        steps.emplace_back([&] {
            large.push_back(bench::SecondsToClickAndPaint(mainDialog(), IDC_COMPUTE, IDC_RESULTS));
            shownLength = bench::TextLength(mainDialog(), IDC_RESULTS);
        });
    }
    std::vector<double> listened;
    std::size_t eventsHeard = 0;
    steps.emplace_back([] { driver::StartListening(); });
    for (int run = 0; run < kRuns; ++run) {
        steps.emplace_back([&] {
            listened.push_back(
                bench::SecondsToClickAndPaint(mainDialog(), IDC_COMPUTE, IDC_RESULTS));
        });
    }
    std::vector<double> valueReads;
    std::size_t valueLength = 0;
    for (int run = 0; run < kRuns; ++run) {
        steps.emplace_back([&] {
            const auto began = std::chrono::steady_clock::now();
            valueLength = driver::ReadAccessible(mainDialog(), IDC_RESULTS).value.size();
            valueReads.push_back(
                std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count());
        });
    }
    steps.emplace_back([&] {
        eventsHeard = driver::EventsHeard(mainDialog(), IDC_RESULTS).size();
        driver::StopListening();
        driver::Click(mainDialog(), IDCANCEL);
    });
    driver::RunSteps(std::move(steps));
    CWertomatDlg dlg(nullptr);
    dlg.DoModal();

    const auto expected =
        static_cast<long long>(wertomat::RunTabulation({0.0, 0.000002, 2.0, 0}).text.size());
    if (large.size() != kRuns || smallEdit.size() != kEditRuns || shownLength != expected) {
        std::fprintf(stderr, "the table did not appear whole (%lld of %lld bytes)\n", shownLength,
                     expected);
        return 1;
    }
    std::printf("Win32 main dialog under Wine, click to painted table:\n");
    Report("1,000,001 rows, results view", large);
    Report("10,001 rows, results view", smallView);
    Report("10,001 rows, the platform's edit (text only)", smallEdit);
    std::printf("  10,001 rows: the platform's edit takes %.0f times as long\n",
                Median(smallEdit) / Median(smallView));
    Report("1,000,001 rows, a WinEvent hook listening", listened);
    std::printf("  the hook heard %zu events from the results; resident %.1f MiB, peak %.1f MiB\n",
                eventsHeard, bench::ResidentMegabytes(), bench::PeakResidentMegabytes());
    Report("1,000,001 rows, an MSAA client reads the value", valueReads);
    std::printf("  the value read holds %zu bytes\n", valueLength);
    return 0;
}
