// The streaming form of the run. Large tables are formatted by two threads
// while the calling thread settles the plan and then writes: each formatter
// walks the same accumulated x as one thread would and formats every second
// segment, at most two segments ahead of what has been written, so the bytes
// and their order are those of one thread and memory stays small.
#include <algorithm>
#include <array>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "table_plan.h"
#include "tabulation.h"

namespace wertomat {
namespace {

constexpr std::size_t kSegmentBytes = 256 << 10;
constexpr std::size_t kFormatters = 2;
constexpr std::size_t kBuffersEach = 2;  // segments a formatter may be ahead

// One formatter's finished segments, handed to the writer in order.
struct Slot {
    std::string buffer;
    std::size_t length = 0;
};

class ParallelTable {
public:
    explicit ParallelTable(const TabulationRequest& request)
        : request_(request),
          limit_(RowLimit(request)),
          rowLengthBound_(RowLengthBound(request)),
          rowsPerSegment_(std::max<std::size_t>(1, kSegmentBytes / rowLengthBound_)) {}

    ~ParallelTable() { Stop(); }
    ParallelTable(const ParallelTable&) = delete;
    ParallelTable& operator=(const ParallelTable&) = delete;

    void Start() {
        for (std::size_t formatter = 0; formatter < kFormatters; ++formatter) {
            threads_[formatter] = std::jthread([this, formatter] { Format(formatter); });
        }
    }

    // Writes every segment in order; false when `write` fails.
    bool WriteAll(std::size_t rowCount, const std::function<bool(std::string_view)>& write) {
        const std::size_t segments = (rowCount + rowsPerSegment_ - 1) / rowsPerSegment_;
        for (std::size_t segment = 0; segment < segments; ++segment) {
            const std::size_t formatter = segment % kFormatters;
            const std::size_t round = segment / kFormatters;
            Slot* slot = nullptr;
            {
                std::unique_lock lock(mutex_);
                changed_.wait(lock, [&] { return formatted_[formatter] > round; });
                slot = &slots_[formatter][round % kBuffersEach];
            }
            if (!write({slot->buffer.data(), slot->length})) {
                return false;
            }
            const std::lock_guard lock(mutex_);
            written_ = segment + 1;
            changed_.notify_all();
        }
        return true;
    }

    void Stop() {
        {
            const std::lock_guard lock(mutex_);
            stopped_ = true;
            changed_.notify_all();
        }
        for (std::jthread& thread : threads_) {
            if (thread.joinable()) {
                thread.join();
            }
        }
    }

private:
    bool Before(double x) const { return request_.step < 0 ? x > limit_ : x < limit_; }

    // Walks x over all segments, formatting its own and stepping over the
    // others'. Stops at the end of the table, at the row cap, or when told.
    void Format(std::size_t formatter) {
        double x = request_.start;
        std::size_t rows = 0;
        for (std::size_t segment = 0; Before(x) && rows < kMaximumRowCount; ++segment) {
            const std::size_t count = std::min(rowsPerSegment_, kMaximumRowCount - rows);
            if (segment % kFormatters != formatter) {
                x = AdvanceX(request_, x, count);  // the other formatter's rows
                rows += count;
                continue;
            }
            const std::size_t round = segment / kFormatters;
            {
                std::unique_lock lock(mutex_);
                changed_.wait(lock, [&] {
                    return stopped_ || segment < written_ + kFormatters * kBuffersEach;
                });
                if (stopped_) {
                    return;
                }
            }
            Slot& slot = slots_[formatter][round % kBuffersEach];
            slot.buffer.resize(rowsPerSegment_ * rowLengthBound_ + kMaximumRowLength);
            std::size_t length = 0;
            for (std::size_t row = 0; row < count && Before(x); ++row, ++rows) {
                length += WriteRow(x, Evaluate(request_.kind, x), slot.buffer.data() + length);
                x += request_.step;
            }
            const std::lock_guard lock(mutex_);
            slot.length = length;
            formatted_[formatter] = round + 1;
            changed_.notify_all();
        }
    }

    const TabulationRequest request_;
    const double limit_;
    const std::size_t rowLengthBound_;
    const std::size_t rowsPerSegment_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::array<std::array<Slot, kBuffersEach>, kFormatters> slots_;
    std::array<std::size_t, kFormatters> formatted_{};  // segments done, per formatter
    std::size_t written_ = 0;                           // segments written, in all
    bool stopped_ = false;
    std::array<std::jthread, kFormatters> threads_;
};

bool StreamInOneThread(const TabulationRequest& request, const TablePlan& table,
                       const std::function<bool(std::string_view)>& write) {
    const std::size_t rowsPerSegment =
        std::max<std::size_t>(1, kSegmentBytes / table.rowLengthBound);
    std::string buffer(rowsPerSegment * table.rowLengthBound + kMaximumRowLength, '\0');
    double x = request.start;
    for (std::size_t first = 0; first < table.rowCount; first += rowsPerSegment) {
        const std::size_t rows = std::min(rowsPerSegment, table.rowCount - first);
        if (!write({buffer.data(), WriteRows(request, x, rows, buffer.data())})) {
            return false;
        }
        x = AdvanceX(request, x, rows);
    }
    return true;
}

}  // namespace

StreamOutcome StreamTabulation(const TabulationRequest& request,
                               const std::function<bool(std::string_view)>& write,
                               Threads threads) {
    // Large ranges start formatting while the plan is still being settled; a
    // refusal stops the formatters before anything is written.
    std::optional<ParallelTable> parallel;
    if (UsesASecondThread(threads) && !RefusalFor(request) &&
        EstimatedStepCount(request) >= static_cast<double>(kRowsWorthASecondThread)) {
        parallel.emplace(request);
        parallel->Start();
    }
    const auto plan = PlanTable(request);
    if (const auto* refusal = std::get_if<TabulationRefusal>(&plan)) {
        return {StreamResult::Refused, *refusal};
    }
    const auto& table = std::get<TablePlan>(plan);
    const bool written =
        write(kTableHeader) && (parallel ? parallel->WriteAll(table.rowCount, write)
                                         : StreamInOneThread(request, table, write));
    return {written ? StreamResult::Written : StreamResult::WriteFailed, {}};
}

}  // namespace wertomat
