// The reader in parts of plain PNG files (PngRows.h): rows inflated with zlib on a thread of
// their own ahead of the reader that unfilters and samples them, and the inflation's state
// kept every so many rows. A later read starts from the kept state nearest above its region,
// and one that spans several kept states reads the parts between them in parallel.

#include <zlib.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <exception>
#include <map>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <thread>
#include <vector>

#include "image/bitmap/PLTextException.h"
#include "image/codec/PLPicDecoder.h"
#include "image/codec/io/PLDataSource.h"
#include "image/large/BoxSampler.h"
#include "image/large/PartSources.h"
#include "image/large/PngRows.h"

namespace vornel {

namespace {

constexpr unsigned kMaxReaders = 8;
// What the kept states may take together, and the rows between two at the least (tiles of
// the viewer start on multiples of it).
constexpr uint64_t kResumeBytes = uint64_t(32) << 20;
constexpr int64_t kResumeRows = 512;
// A zlib inflation's state with its window, roughly.
constexpr uint64_t kInflateStateBytes = 48 << 10;

[[noreturn]] void RaiseDamaged() {
  PLPicDecoder::RaiseError(kPLErrFormatUnknown, "Damaged image data in the PNG file.");
}

// The inflation of the picture's data, row after row, from some row on.
class RowInflater {
 public:
  RowInflater(const PlainPng& png, const uint8_t* bytes) : png_(&png), bytes_(bytes) {
    if (inflateInit(&z_) != Z_OK) PLPicDecoder::RaiseError(kPLErrNoMemory, "Out of memory.");
    // The checksum of the data is not computed: damage still shows as bad codes or missing rows.
    inflateValidate(&z_, 0);
  }
  RowInflater(const RowInflater& other)
      : row(other.row), png_(other.png_), bytes_(other.bytes_), chunk_(other.chunk_), ended_(other.ended_) {
    if (inflateCopy(&z_, const_cast<z_stream*>(&other.z_)) != Z_OK) {
      PLPicDecoder::RaiseError(kPLErrNoMemory, "Out of memory.");
    }
  }
  ~RowInflater() { inflateEnd(&z_); }
  RowInflater& operator=(const RowInflater&) = delete;

  // Row `row`, its filter byte first, into `out` (stride + 1 bytes).
  void Next(uint8_t* out) {
    z_.next_out = out;
    z_.avail_out = static_cast<uInt>(png_->stride + 1);
    while (z_.avail_out > 0) {
      if (ended_) PLDataSource::RaiseEndOfData();
      if (z_.avail_in == 0) {
        if (chunk_ >= png_->data.size()) PLDataSource::RaiseEndOfData();
        z_.next_in = const_cast<Bytef*>(bytes_ + png_->data[chunk_].first);
        z_.avail_in = static_cast<uInt>(png_->data[chunk_].second);
        ++chunk_;
      }
      const int result = inflate(&z_, Z_NO_FLUSH);
      if (result == Z_STREAM_END) {
        ended_ = true;
      } else if (result != Z_OK && !(result == Z_BUF_ERROR && z_.avail_in == 0)) {
        RaiseDamaged();
      }
    }
    ++row;
  }

  int64_t row = 0;  // the next row

 private:
  const PlainPng* png_;
  const uint8_t* bytes_;
  z_stream z_{};
  size_t chunk_ = 0;  // the next IDAT chunk to feed
  bool ended_ = false;
};

// Where a reading can start: the inflation before row `inflater.row` and the row above it,
// unfiltered (zeros above the first row).
struct Resume {
  std::unique_ptr<RowInflater> inflater;
  std::vector<uint8_t> prior;
};

// Filtered rows handed over one after the other, with the inflater as it stood before each row
// that a state is kept at. Inflated on a thread of its own when `ahead`, blocks of rows ahead
// of the caller, otherwise as the caller asks.
class RowFeed {
 public:
  RowFeed(const RowInflater& start, size_t rowBytes, int64_t end, int64_t spacing, bool ahead)
      : inflater_(start), end_(end), spacing_(spacing), stride_(rowBytes) {
    if (!ahead) {
      single_.assign(stride_, 0);
      return;
    }
    rowsPerBlock_ = std::max<size_t>(1, (size_t(1) << 20) / stride_);
    for (Block& block : blocks_) block.bytes.resize(rowsPerBlock_ * stride_);
    thread_ = std::thread([this] { Inflate(); });
  }
  ~RowFeed() {
    if (!thread_.joinable()) return;
    {
      std::lock_guard lock(mutex_);
      stop_ = true;
    }
    changed_.notify_all();
    thread_.join();
  }
  RowFeed(const RowFeed&) = delete;
  RowFeed& operator=(const RowFeed&) = delete;

  // The next row's filter byte and bytes; `kept` gets the inflater before it when a state is
  // kept there.
  uint8_t* Next(std::unique_ptr<RowInflater>& kept) {
    if (!thread_.joinable()) {
      if (inflater_.row % spacing_ == 0) kept = std::make_unique<RowInflater>(inflater_);
      inflater_.Next(single_.data());
      return single_.data();
    }
    if (taken_ != 0 && taken_ == rowsPerBlock_) {
      std::lock_guard lock(mutex_);
      ++released_;
      taken_ = 0;
      changed_.notify_all();
    }
    Block& block = blocks_[released_ % kBlocks];
    if (taken_ == 0) {
      std::unique_lock lock(mutex_);
      changed_.wait(lock, [this] { return filled_ > released_; });
    }
    if (taken_ >= block.rows) std::rethrow_exception(block.error);
    for (auto& [at, state] : block.kept) {
      if (at == taken_ && state != nullptr) kept = std::move(state);
    }
    return block.bytes.data() + taken_++ * stride_;
  }

 private:
  static constexpr size_t kBlocks = 3;
  struct Block {
    std::vector<uint8_t> bytes;
    size_t rows = 0;
    std::vector<std::pair<size_t, std::unique_ptr<RowInflater>>> kept;
    std::exception_ptr error;
  };

  void Inflate() {
    for (uint64_t index = 0;; ++index) {
      {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] { return stop_ || index < released_ + kBlocks; });
        if (stop_) return;
      }
      Block& block = blocks_[index % kBlocks];
      block.rows = 0;
      block.kept.clear();
      block.error = nullptr;
      bool last = false;
      try {
        while (block.rows < rowsPerBlock_ && inflater_.row < end_) {
          if (inflater_.row % spacing_ == 0) block.kept.emplace_back(block.rows, std::make_unique<RowInflater>(inflater_));
          inflater_.Next(block.bytes.data() + block.rows * stride_);
          ++block.rows;
        }
        last = inflater_.row >= end_;
      } catch (...) {
        block.error = std::current_exception();
        last = true;
      }
      if (block.rows < rowsPerBlock_ && block.error == nullptr) {
        // The caller asks for no more rows than it said: past them is an error of its own.
        block.error = std::make_exception_ptr(std::out_of_range("no more rows"));
      }
      {
        std::lock_guard lock(mutex_);
        ++filled_;
      }
      changed_.notify_all();
      if (last) return;
    }
  }

  RowInflater inflater_;
  int64_t end_;
  int64_t spacing_;
  size_t stride_;
  std::vector<uint8_t> single_;
  size_t rowsPerBlock_ = 0;
  Block blocks_[kBlocks];
  size_t taken_ = 0;  // rows taken from the caller's block
  std::mutex mutex_;
  std::condition_variable changed_;
  uint64_t filled_ = 0;
  uint64_t released_ = 0;
  bool stop_ = false;
  std::thread thread_;
};

class PlainPngSource : public LargeImageSource {
 public:
  PlainPngSource(std::unique_ptr<PLFileSource> file, PlainPng png)
      : LargeImageSource(int32_t(png.width), int32_t(png.height), png.colour == 4 || png.colour == 6),
        file_(std::move(file)),
        png_(std::move(png)) {
    const uint64_t perState = kInflateStateBytes + png_.stride;
    const uint64_t states = std::max<uint64_t>(1, kResumeBytes / perState);
    const uint64_t rows = (uint64_t(png_.height) + states - 1) / states;
    spacing_ = int64_t((rows + kResumeRows - 1) / kResumeRows) * kResumeRows;
    auto top = std::make_shared<Resume>();
    top->inflater = std::make_unique<RowInflater>(png_, file_->ReadEverything());
    top->prior.assign(png_.stride, 0);
    resumes_.emplace(0, std::move(top));
  }

 protected:
  void DoRead(const ImageRegion& region, int factor, PLBmp& out, IProgressNotification* progress) override {
    BoxSampler sampler(out, region, factor);
    const int64_t end = int64_t(region.y) + region.height;
    // The kept states the reading starts from: the nearest above the region, and those in it.
    std::vector<std::shared_ptr<const Resume>> starts;
    {
      std::lock_guard lock(mutex_);
      auto at = std::prev(resumes_.upper_bound(region.y));
      for (; at != resumes_.end() && (starts.empty() || at->first < end); ++at) starts.push_back(at->second);
    }
    const unsigned readers = std::min<unsigned>({std::max(1u, std::thread::hardware_concurrency()), kMaxReaders,
                                                 static_cast<unsigned>(starts.size())});
    if (readers <= 1) {
      ReadRows(*starts.front(), end, region, sampler, progress, nullptr);
    } else {
      ReadInParallel(starts, end, region, sampler, readers, progress);
    }
    sampler.Finish();
  }

 private:
  // Rows from `from` up to `end`, those of the region into `sampler`, keeping the states met
  // on the way. Stops early when `stop` is set.
  void ReadRows(const Resume& from, int64_t end, const ImageRegion& region, BoxSampler& sampler,
                IProgressNotification* progress, const std::atomic<bool>* stop) {
    const int step = sampler.Step();
    const int32_t count = sampler.ColumnCount(0, region.width);
    std::vector<PLPixel32> pixels(size_t(std::max(count, 1)));
    std::vector<uint8_t> prior = from.prior;
    std::vector<uint8_t> current(png_.stride);
    const int64_t first = from.inflater->row;
    RowFeed feed(*from.inflater, png_.stride + 1, end, spacing_, end - first > 64);
    for (int64_t y = first; y < end; ++y) {
      if (stop != nullptr && stop->load(std::memory_order_relaxed)) return;
      if (progress != nullptr && (y - first) % 256 == 0) ReportDecodeProgress(progress, double(y - first) / double(end - first));
      std::unique_ptr<RowInflater> kept;
      const uint8_t* filtered = feed.Next(kept);
      if (kept != nullptr) Keep(std::move(kept), prior);
      uint8_t* row = current.data();
      if (!UnfilterPngRow(filtered[0], filtered + 1, row, prior.data(), png_.stride, png_.channels)) RaiseDamaged();
      const int64_t inRegion = y - region.y;
      if (inRegion >= 0 && sampler.WantsRow(inRegion) && count > 0) {
        ConvertPngPixels(png_, row, region.x, step, count, pixels.data());
        sampler.Add(inRegion, 0, pixels.data(), count);
      }
      prior.swap(current);
    }
  }

  void Keep(std::unique_ptr<RowInflater> inflater, const std::vector<uint8_t>& prior) {
    const int64_t row = inflater->row;
    std::lock_guard lock(mutex_);
    if (resumes_.contains(row)) return;
    resumes_.emplace(row, std::make_shared<Resume>(Resume{std::move(inflater), prior}));
  }

  // The parts between kept states read by `readers` threads, each into a part of the sampler
  // of its own; this thread tells the listener how far they have come and stops them when asked.
  void ReadInParallel(const std::vector<std::shared_ptr<const Resume>>& starts, int64_t end, const ImageRegion& region,
                      BoxSampler& sampler, unsigned readers, IProgressNotification* progress) {
    std::atomic<size_t> next{0};
    std::atomic<bool> stop{false};
    std::mutex merging;
    std::condition_variable progressed;
    size_t done = 0;
    std::exception_ptr error;
    const auto work = [&] {
      for (size_t i; (i = next.fetch_add(1)) < starts.size() && !stop;) {
        const int64_t from = starts[i]->inflater->row;
        const int64_t to = i + 1 < starts.size() ? starts[i + 1]->inflater->row : end;
        try {
          BoxSampler part = sampler.Part(from - region.y, to - region.y, 0, region.width);
          ReadRows(*starts[i], to, region, part, nullptr, &stop);
          std::lock_guard lock(merging);
          sampler.Merge(part);
          ++done;
        } catch (...) {
          std::lock_guard lock(merging);
          if (error == nullptr) error = std::current_exception();
          stop = true;
          ++done;
        }
        progressed.notify_all();
      }
    };
    std::vector<std::thread> threads;
    for (unsigned k = 0; k < readers; ++k) threads.emplace_back(work);
    try {
      std::unique_lock lock(merging);
      while (done < starts.size() && !stop) {
        progressed.wait_for(lock, std::chrono::milliseconds(50));
        lock.unlock();
        ReportDecodeProgress(progress, double(done) / double(starts.size()));
        lock.lock();
      }
    } catch (...) {
      stop = true;
      for (std::thread& thread : threads) thread.join();
      throw;
    }
    for (std::thread& thread : threads) thread.join();
    if (error != nullptr) std::rethrow_exception(error);
  }

  std::unique_ptr<PLFileSource> file_;
  PlainPng png_;
  int64_t spacing_ = kResumeRows;
  std::mutex mutex_;
  std::map<int64_t, std::shared_ptr<const Resume>> resumes_;
};

}  // namespace

std::unique_ptr<LargeImageSource> OpenPlainPngParts(std::unique_ptr<PLFileSource>& file) {
  PlainPng png;
  if (!FindPlainPng(file->ReadEverything(), static_cast<size_t>(file->GetFileSize()), png)) return nullptr;
  return std::make_unique<PlainPngSource>(std::move(file), std::move(png));
}

}  // namespace vornel
