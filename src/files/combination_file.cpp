// One writer for the three text files: a header, then one line "row,n1,...,n7" per combination,
// every line ending in CR LF. The rows are formatted straight from the store into one of two large
// buffers on the calling thread, while a second thread writes the other buffer to a temporary file
// of this writer's own beside the target (see ReplacementFile); so formatting hides behind the disk.
// The temporary file replaces the old file only once every byte has been written: a failed or
// cancelled write never destroys the previous file and leaves no temporary file behind.

#include "files/combination_file.h"

#include <array>
#include <atomic>
#include <charconv>
#include <condition_variable>
#include <cstring>
#include <exception>
#include <memory>
#include <new>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

#include "base/replacement_file.h"
#include "engine/run.h"
#include "base/worker_threads.h"

namespace quillstep {
namespace {

struct FileKind {
    const char* fileName;
    const char* guaranteeLine;  // third header line of the system files; null for the combination file
    int32_t progressInterval;   // rows between two progress reports
};

constexpr int32_t SYSTEM_FILE_PROGRESS_INTERVAL = 50;
constexpr FileKind COMBINATIONS{COMBINATION_FILE_NAME, nullptr, 5000};
constexpr FileKind G4_SYSTEM{G4_SYSTEM_FILE_NAME, "gar.:4 from 7 OK numbers", SYSTEM_FILE_PROGRESS_INTERVAL};
constexpr FileKind G5_SYSTEM{G5_SYSTEM_FILE_NAME, "gar.:5 from 7 OK numbers", SYSTEM_FILE_PROGRESS_INTERVAL};

// Set by requestWriteCancel, possibly from a signal handler: only a lock-free atomic may be touched there.
std::atomic<bool> writeCancelRequested{false};
static_assert(std::atomic<bool>::is_always_lock_free);

constexpr size_t BUFFER_BYTES = size_t{1} << 20;
constexpr size_t LONGEST_ROW = 128;  // row number and seven numbers of any 32-bit value, with slack for fixed-size copies

// The row number as decimal text, counted up in place. Copied out as a fixed 16 bytes of which
// only the digits count: the next field overwrites the rest.
class RowNumber {
public:
    void next() {
        for (int i = length_ - 1;; --i) {
            if (i < 0) {  // all nines: one digit more
                std::memmove(digits_ + 1, digits_, length_);
                digits_[0] = '1';
                ++length_;
                return;
            }
            if (digits_[i] != '9') {
                ++digits_[i];
                return;
            }
            digits_[i] = '0';
        }
    }
    char* append(char* out) const {
        std::memcpy(out, digits_, sizeof digits_);
        return out + length_;
    }

private:
    char digits_[16] = {'0'};
    int length_ = 1;
};

// ",n" for the numbers 0 to 99 as four bytes (",7" or ",39"), with the length that counts.
struct Field {
    char text[4];
    uint32_t length;
};

constexpr std::array<Field, 100> makeFields() {
    std::array<Field, 100> fields{};
    for (int v = 0; v < 100; ++v) {
        Field& f = fields[v];
        f.text[0] = ',';
        if (v < 10) {
            f.text[1] = char('0' + v);
            f.length = 2;
        } else {
            f.text[1] = char('0' + v / 10);
            f.text[2] = char('0' + v % 10);
            f.length = 3;
        }
    }
    return fields;
}
constexpr std::array<Field, 100> FIELDS = makeFields();

inline char* appendField(char* out, int32_t v) {
    if (static_cast<uint32_t>(v) < FIELDS.size()) {
        std::memcpy(out, FIELDS[v].text, 4);
        return out + FIELDS[v].length;
    }
    *out = ',';
    return std::to_chars(out + 1, out + 16, v).ptr;
}

// Writes blocks on a thread of its own, one block at a time, while the caller fills the next one.
// Where no thread can be started, each block is written on the calling thread as it is handed over.
class BlockWriter {
public:
    explicit BlockWriter(ReplacementFile& out) : out_(out) {
        try {
            thread_ = startWorkerThread([this] { loop(); });
        } catch (const std::system_error&) {
            // No second thread: slower, but the file is written all the same.
        }
    }
    ~BlockWriter() { finish(); }

    // What the disk thread threw, if anything, now on the calling thread (after finish()).
    void rethrowFailure() {
        if (error_) std::rethrow_exception(error_);
    }

    // Hands a filled block over; returns once the previous block has been written, so that its
    // buffer may be filled again.
    void submit(const char* data, size_t size) {
        if (!thread_.joinable()) {
            out_.write(data, size);
            if (!out_.ok()) failed_ = true;
            return;
        }
        std::unique_lock lock(mutex_);
        idle_.wait(lock, [this] { return pending_ == nullptr; });
        pending_ = data;
        pendingSize_ = size;
        ready_.notify_one();
    }
    void finish() {
        if (!thread_.joinable()) return;
        {
            std::unique_lock lock(mutex_);
            idle_.wait(lock, [this] { return pending_ == nullptr; });
            done_ = true;
            ready_.notify_one();
        }
        thread_.join();
    }
    bool failed() const { return failed_.load(std::memory_order_relaxed); }

private:
    void loop() {
        std::unique_lock lock(mutex_);
        for (;;) {
            ready_.wait(lock, [this] { return pending_ != nullptr || done_; });
            if (pending_ == nullptr) return;
            lock.unlock();
            try {
                out_.write(pending_, pendingSize_);
                if (!out_.ok()) failed_ = true;
            } catch (...) {
                error_ = std::current_exception();  // read by the calling thread after the join
                failed_ = true;
            }
            lock.lock();
            pending_ = nullptr;
            idle_.notify_one();
        }
    }

    ReplacementFile& out_;
    std::mutex mutex_;
    std::condition_variable ready_, idle_;
    const char* pending_ = nullptr;
    size_t pendingSize_ = 0;
    bool done_ = false;
    std::atomic<bool> failed_{false};
    std::exception_ptr error_;
    std::thread thread_;  // last: started once everything it uses exists
};

// Each line in double quotes, then a blank line.
std::string quotedHeader(const std::vector<std::string>& lines) {
    std::string header;
    for (const std::string& line : lines) header += "\"" + line + "\"\r\n";
    header += "\r\n";
    return header;
}

std::string headerOf(const FileKind& kind, const std::string& description) {
    std::vector<std::string> lines{PROGRAM_HEADER_LINE, description};
    if (kind.guaranteeLine) lines.emplace_back(kind.guaranteeLine);
    return quotedHeader(lines);
}

FileWriteResult ended(const WriteObserver& observer, const FileWriteResult& result) {
    if (observer.onEnded) observer.onEnded(result);
    return result;
}

double timeOfDay(const WriteObserver& observer) { return observer.timeOfDaySeconds ? observer.timeOfDaySeconds() : 0.0; }

// The rows into `target` after `header`; the result names the file `shownName`.
FileWriteResult writeRowsTo(const std::filesystem::path& target, const std::string& shownName, const std::string& header,
                            int32_t progressInterval, const int32_t* source, int32_t rows, const WriteObserver& observer,
                            const CheckBeforeReplacing& checkBeforeReplacing) {
    FileWriteResult result;
    result.fileName = shownName;
    result.rows = rows;

    std::vector<char> buffers[2];
    try {
        for (auto& buffer : buffers) buffer.resize(BUFFER_BYTES);
    } catch (const std::bad_alloc&) {
        result.error = WRITER_OUT_OF_MEMORY_ERROR;
        return ended(observer, result);
    }
    ReplacementFile out(target);
    out.write(header.data(), header.size());

    int current = 0;
    char* begin = buffers[current].data();
    char* flushAt = begin + BUFFER_BYTES - LONGEST_ROW;
    char* p = begin;
    RowNumber number;

    const double t0 = timeOfDay(observer);
    try {
        BlockWriter writer(out);
        int32_t nextProgress = 0;
        for (int32_t i = 0; i < rows; ++i, source += 7) {
            if (i == nextProgress) {
                if (observer.onProgress) observer.onProgress(i);
                nextProgress += progressInterval;
            }
            number.next();
            p = number.append(p);
            for (int k = 0; k < 7; ++k) p = appendField(p, source[k]);
            std::memcpy(p, "\r\n", 2);
            p += 2;
            if (p >= flushAt) {
                if (writer.failed() || writeCancelRequested.load()) break;
                writer.submit(begin, size_t(p - begin));
                current ^= 1;
                begin = p = buffers[current].data();
                flushAt = begin + BUFFER_BYTES - LONGEST_ROW;
            }
        }
        if (!writer.failed() && !writeCancelRequested.load()) writer.submit(begin, size_t(p - begin));
        writer.finish();
        writer.rethrowFailure();
    } catch (const std::bad_alloc&) {
        // The disk thread or the progress report ran out of memory: the previous file stays.
        out.discard();
        result.error = WRITER_OUT_OF_MEMORY_ERROR;
        return ended(observer, result);
    }
    const double t1 = timeOfDay(observer);

    if (writeCancelRequested.load()) {
        out.discard();
        result.error = WRITE_INTERRUPTED_ERROR;
    } else if (checkBeforeReplacing && out.ok() && !checkBeforeReplacing(out)) {
        out.discard();
        result.refusedBeforeReplacing = true;
        result.error = shownName + " does not read back as the system that was written";
    } else if (!out.commit()) {
        result.error = out.error();
    }
    if (result.error.empty()) {
        result.written = true;
        result.seconds = elapsedSeconds(t0, t1);
    }
    return ended(observer, result);
}

// The kind's file in the output folder, or a target the user chose.
FileWriteResult writeRows(SharedState& state, const FileKind& kind, const int32_t* source, int32_t rows,
                          const std::string& descriptionNote, const WriteObserver& observer,
                          const CheckBeforeReplacing& checkBeforeReplacing = {},
                          const std::filesystem::path& chosenTarget = {}) {
    const bool chosen = !chosenTarget.empty();
    return writeRowsTo(chosen ? chosenTarget : state.outputFolder / kind.fileName,
                       chosen ? pathText(chosenTarget) : std::string(kind.fileName),
                       headerOf(kind, state.memoryDescription + descriptionNote), kind.progressInterval, source, rows,
                       observer, checkBeforeReplacing);
}

}  // namespace

const char* const WRITE_INTERRUPTED_ERROR = "interrupted";
const char* const WRITER_OUT_OF_MEMORY_ERROR = "not enough memory for the writer's buffers";

void requestWriteCancel() noexcept { writeCancelRequested.store(true); }
void clearWriteCancel() noexcept { writeCancelRequested.store(false); }

FileWriteResult writeCombinationRows(SharedState& state, const WriteObserver& observer) {
    return writeRows(state, COMBINATIONS, state.storedCombination(0), state.generatedCount, {}, observer);
}

const char* systemFileName(int guaranteedHits) { return guaranteedHits == 5 ? G5_SYSTEM_FILE_NAME : G4_SYSTEM_FILE_NAME; }

FileWriteResult writeSystemRows(SharedState& state, int guaranteedHits, int32_t systemSize,
                                const std::string& descriptionNote, const WriteObserver& observer,
                                const CheckBeforeReplacing& checkBeforeReplacing,
                                const std::filesystem::path& target) {
    return writeRows(state, guaranteedHits == 5 ? G5_SYSTEM : G4_SYSTEM, state.systemCombination(0), systemSize,
                     descriptionNote, observer, checkBeforeReplacing, target);
}

std::string pathText(const std::filesystem::path& path) {
    try {
        return path.string();
    } catch (const std::exception&) {  // a name the narrow character set cannot spell
        const std::u8string name = path.u8string();
        return std::string(name.begin(), name.end());
    }
}

FileWriteResult writeNumberRows(const std::filesystem::path& target, const std::string& shownName,
                                const std::vector<std::string>& headerLines, const int32_t* numbers, int32_t rows,
                                const WriteObserver& observer, const CheckBeforeReplacing& checkBeforeReplacing) {
    return writeRowsTo(target, shownName, quotedHeader(headerLines), SYSTEM_FILE_PROGRESS_INTERVAL, numbers, rows,
                       observer, checkBeforeReplacing);
}

Fault writtenFileFault(const FileWriteResult& file) {
    if (file.refusedBeforeReplacing) return {FaultReason::ReadBackDiffers, 0, 0, file.fileName};
    if (!file.written) return {FaultReason::WriteFailed, 0, 0, file.error};
    return {};
}

}  // namespace quillstep
