// Click to painted table of 1,000,001 rows in the Win32 main dialog, run under
// Wine: `make bench`. Google Benchmark has no build for the Windows target
// here (Debian ships no sources of it), so this one times by itself: the
// median of nine runs, with the fastest and slowest.
#include <algorithm>
#include <cstdio>
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

}  // namespace

int main() {
    std::vector<double> seconds;
    long long shownLength = 0;
    const auto mainDialog = [] { return driver::FindDialog("Wertomat", IDC_XA); };
    std::vector<std::function<void()>> steps = {[&] {
        driver::SetText(mainDialog(), IDC_XA, "0");
        driver::SetText(mainDialog(), IDC_XSW, "0.000002");
        driver::SetText(mainDialog(), IDC_XE, "2");
    }};
    for (int run = 0; run < kRuns; ++run) {
        steps.emplace_back([&] {
            seconds.push_back(
                bench::SecondsToClickAndPaint(mainDialog(), IDC_COMPUTE, IDC_RESULTS));
            shownLength = bench::TextLength(mainDialog(), IDC_RESULTS);
        });
    }
    steps.emplace_back([&] { driver::Click(mainDialog(), IDCANCEL); });
    driver::RunSteps(std::move(steps));
    CWertomatDlg dlg(nullptr);
    dlg.DoModal();

    const auto expected =
        static_cast<long long>(wertomat::RunTabulation({0.0, 0.000002, 2.0, 0}).text.size());
    if (seconds.size() != kRuns || shownLength != expected) {
        std::fprintf(stderr, "the table did not appear whole (%lld of %lld bytes)\n", shownLength,
                     expected);
        return 1;
    }
    std::sort(seconds.begin(), seconds.end());
    std::printf(
        "Win32 dialog, 1,000,001 rows, click to painted table (%d runs under Wine):\n"
        "  median %.1f ms, fastest %.1f ms, slowest %.1f ms\n",
        kRuns, seconds[kRuns / 2] * 1000, seconds.front() * 1000, seconds.back() * 1000);
    return 0;
}
