// The results field and the main dialog with the largest table (start 0, step
// 0.000001, end 1: 1,000,001 rows, about 23 MB), headless:
//  - BM_ResultsViewSetText / BM_PlainTextEditSetText: the text set into our results view,
//    and into Qt's QPlainTextEdit for comparison, each until painted;
//  - BM_SaveExchangeReadsTheTable: UpdateData(TRUE), which reads the table back;
//  - BM_ComputeClickToTableShown: a click on "Berechnen" until the table is painted,
//    with the process's resident memory afterwards;
//  - BM_StartToDialogShown: the program started as a process until its dialog shows;
//  - BM_CopyTheWholeTable: Ctrl+C on the whole table, nobody asking for it yet;
//  - BM_TableFlavourAsked: the table flavour (Gnumeric's, the one a table this
//    large is offered in) made for a program that
//    asks for it, with its size and the memory it takes.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QTest>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>

#include "core/tabulation.h"
#include "framework/qt/dialog_window.h"
#include "framework/qt/qt_text.h"
#include "framework/qt/text_view.h"
#include "framework/winapp.h"
#include "tests/support/gui_test.h"
#include "tests/support/headless.h"
#include "ui/wertomatdlg.h"

namespace {

constexpr wertomat::TabulationRequest kLargestTable{0.0, 0.000001, 1.0, 0};

CWertomatDlg* mainDialog = nullptr;

const std::string& LargestTable() {
    static const std::string table = wertomat::RunTabulation(kLargestTable).text;
    return table;
}

void BM_ResultsViewSetText(benchmark::State& state) {
    framework::TextView view;
    view.resize(300, 400);
    view.show();
    const std::string& table = LargestTable();
    for (auto _ : state) {
        view.setText(std::make_shared<const std::string>(table));
        view.viewport()->repaint();
        state.PauseTiming();
        view.setText(nullptr);
        state.ResumeTiming();
    }
}

void BM_PlainTextEditSetText(benchmark::State& state) {
    QPlainTextEdit editor;
    editor.setReadOnly(true);
    editor.setLineWrapMode(QPlainTextEdit::NoWrap);
    editor.setUndoRedoEnabled(false);
    editor.resize(300, 400);
    editor.show();
    const QString table = framework::FromWindows1252(LargestTable());
    for (auto _ : state) {
        editor.setPlainText(table);
        editor.viewport()->repaint();
        state.PauseTiming();
        editor.clear();
        state.ResumeTiming();
    }
}

void TypeInto(int id, const char* text) {
    auto* edit = qobject_cast<QLineEdit*>(mainDialog->Window()->Control(id));
    edit->setText(QString::fromLatin1(text));
}

void BM_ComputeClickToTableShown(benchmark::State& state) {
    TypeInto(IDC_XA, "0");
    TypeInto(IDC_XSW, "0.000001");
    TypeInto(IDC_XE, "1");
    QWidget* compute = mainDialog->Window()->Control(IDC_COMPUTE);
    auto* results = qobject_cast<framework::TextView*>(mainDialog->Window()->Control(IDC_RESULTS));
    for (auto _ : state) {
        QTest::mouseClick(compute, Qt::LeftButton);
        results->viewport()->repaint();
    }
    if (results->model().Layout().LineCount() != 1'000'003) {
        state.SkipWithError("the table did not appear");
    }
    // The whole process with the table shown: one shared copy of it.
    state.counters["resident_MB"] = static_cast<double>(testing_support::ResidentBytes()) / 1e6;
}

void BM_SaveExchangeReadsTheTable(benchmark::State& state) {
    auto* results = qobject_cast<framework::TextView*>(mainDialog->Window()->Control(IDC_RESULTS));
    results->setText(std::make_shared<const std::string>(LargestTable()));
    for (auto _ : state) {
        benchmark::DoNotOptimize(mainDialog->UpdateData(TRUE));
    }
}

void BM_StartToDialogShown(benchmark::State& state) {
    const std::string command =
        "QT_QPA_PLATFORM=offscreen WERTOMAT_PROBE_CLOSE=cancel " WERTOMAT_STARTUP_PROBE;
    for (auto _ : state) {
        const auto started = std::chrono::steady_clock::now();
        FILE* program = popen(command.c_str(), "r");
        char line[256];
        if (program == nullptr || std::fgets(line, sizeof line, program) == nullptr) {
            state.SkipWithError("the program did not start");
            break;
        }
        const auto shown = std::chrono::steady_clock::now();
        state.SetIterationTime(std::chrono::duration<double>(shown - started).count());
        while (std::fgets(line, sizeof line, program) != nullptr) {
        }
        pclose(program);
    }
}

framework::TextView* ResultsHoldingTheWholeTable() {
    auto* results = qobject_cast<framework::TextView*>(mainDialog->Window()->Control(IDC_RESULTS));
    results->setText(std::make_shared<const std::string>(LargestTable()));
    results->selectAll();
    return results;
}

void BM_CopyTheWholeTable(benchmark::State& state) {
    const framework::TextView* results = ResultsHoldingTheWholeTable();
    for (auto _ : state) {
        results->copy();
    }
}

void BM_TableFlavourAsked(benchmark::State& state) {
    ResultsHoldingTheWholeTable()->copy();
    const QMimeData* copied = QApplication::clipboard()->mimeData();
    const long before = testing_support::ResidentBytes();
    long largestGrowth = 0;
    qsizetype size = 0;
    for (auto _ : state) {
        const QByteArray table = copied->data(QStringLiteral("application/x-gnumeric"));
        size = table.size();
        largestGrowth = std::max(largestGrowth, testing_support::ResidentBytes() - before);
    }
    state.counters["flavour_MB"] = static_cast<double>(size) / 1e6;
    state.counters["resident_growth_MB"] = static_cast<double>(largestGrowth) / 1e6;
}

}  // namespace

// The click first: its resident figure is then the program with one table.
BENCHMARK(BM_ComputeClickToTableShown)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(9)
    ->ReportAggregatesOnly();
BENCHMARK(BM_SaveExchangeReadsTheTable)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly();
BENCHMARK(BM_ResultsViewSetText)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly();
BENCHMARK(BM_PlainTextEditSetText)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(3)
    ->ReportAggregatesOnly();
BENCHMARK(BM_CopyTheWholeTable)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(9)
    ->ReportAggregatesOnly();
BENCHMARK(BM_TableFlavourAsked)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(9)
    ->ReportAggregatesOnly();
BENCHMARK(BM_StartToDialogShown)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(10)
    ->Repetitions(3)
    ->ReportAggregatesOnly();

int main(int argc, char** argv) {
    const testing_support::HeadlessToolkit toolkit(argc, argv);
    benchmark::Initialize(&argc, argv);
    CWertomatDlg dialog;
    mainDialog = &dialog;
    testing_support::WhenModalAppears([&](QWidget*) {
        benchmark::RunSpecifiedBenchmarks();
        dialog.EndDialog(IDCANCEL);
    });
    dialog.DoModal();
    benchmark::Shutdown();
    return 0;
}
