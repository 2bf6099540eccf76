#include <algorithm>
#include <cstdlib>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <exception>
#include <map>
#include <mutex>
#include <thread>
#include <vector>

#include "image/bitmap/PLTextException.h"
#include "image/codec/PLPicDecoder.h"
#include "image/codec/external/PLTiffGlue.h"
#include "image/codec/external/PLTiffSamples.h"
#include "image/large/BoxSampler.h"
#include "image/large/PartSources.h"

namespace vornel {

namespace {

// Reading in parallel pays from this many units and decoded bytes on.
constexpr size_t kParallelUnits = 8;
constexpr uint64_t kParallelBytes = uint64_t(8) << 20;
constexpr unsigned kMaxReaders = 8;

struct TiffCloser {
  void operator()(TIFF* tiff) const { TIFFClose(tiff); }
};

// A reduced copy of the picture stored in the file (a pyramid level): a directory of the
// file's chain or a sub-directory of the first, and the power of two it is reduced by.
struct Level {
  bool subDirectory = false;
  uint64_t where = 0;  // the directory's number in the chain, or a sub-directory's offset
  int reduction = 1;
};

// One handle of the library over the file, set to one directory, with its sample reader:
// each thread has its own.
class TiffReader {
 public:
  TiffReader(const uint8_t* data, uint64_t size, const Level& level = {}) : file_(data, size), tiff_(file_.Open()) {
    if (!tiff_) PLPicDecoder::RaiseError(kPLErrWrongSignature, file_.LastError());
    const bool set = !level.subDirectory ? level.where == 0 || TIFFSetDirectory(tiff_.get(), tdir_t(level.where)) == 1
                                         : TIFFSetSubDirectory(tiff_.get(), level.where) == 1;
    if (!set) PLPicDecoder::RaiseError(kPLErrFormatUnknown, file_.LastError());
  }
  TIFF* Handle() const { return tiff_.get(); }
  bool Handles() const { return PLTiffSamples::Handles(tiff_.get()); }
  PLTiffSamples& Samples() {
    if (!samples_) samples_ = std::make_unique<PLTiffSamples>(tiff_.get(), file_.LastError());
    return *samples_;
  }

 private:
  // Declared in the order they are made: the handle goes before its file.
  PLTiffMemFile file_;
  std::unique_ptr<TIFF, TiffCloser> tiff_;
  std::unique_ptr<PLTiffSamples> samples_;
};

// The reduced copies of a `width` x `height` picture the file holds, in the chain of
// directories after the first or among its sub-directories, each the picture reduced by a
// power of two (to within a pixel), in a layout the samples reader takes; by reduction.
std::vector<Level> FindLevels(const uint8_t* data, uint64_t size, uint32_t width, uint32_t height) {
  constexpr int kMaxDirectories = 64;
  std::vector<Level> candidates;
  {
    TiffReader probe(data, size);
    for (int d = 1; d < kMaxDirectories && TIFFReadDirectory(probe.Handle()) == 1; ++d) {
      candidates.push_back({false, uint64_t(d), 1});
    }
  }
  {
    TiffReader probe(data, size);
    uint16_t count = 0;
    uint64_t* offsets = nullptr;
    if (TIFFGetField(probe.Handle(), TIFFTAG_SUBIFD, &count, &offsets) == 1 && offsets != nullptr) {
      for (uint16_t i = 0; i < count && i < kMaxDirectories; ++i) candidates.push_back({true, offsets[i], 1});
    }
  }
  std::map<int, Level> byReduction;
  for (Level level : candidates) {
    try {
      TiffReader reader(data, size, level);
      uint32_t w = 0;
      uint32_t h = 0;
      uint32_t kind = 0;
      TIFFGetField(reader.Handle(), TIFFTAG_IMAGEWIDTH, &w);
      TIFFGetField(reader.Handle(), TIFFTAG_IMAGELENGTH, &h);
      TIFFGetField(reader.Handle(), TIFFTAG_SUBFILETYPE, &kind);
      if ((kind & FILETYPE_REDUCEDIMAGE) == 0 || w == 0 || h == 0 || !reader.Handles()) continue;
      for (int r = 2; r <= LargeImageSource::kMaxFactor; r *= 2) {
        const auto near = [r](uint32_t whole, uint32_t part) {
          const int64_t reduced = (int64_t(whole) + r - 1) / r;
          return std::abs(reduced - int64_t(part)) <= 1;
        };
        if (near(width, w) && near(height, h)) {
          level.reduction = r;
          byReduction.emplace(r, level);
          break;
        }
      }
    } catch (const PLTextException&) {
      // A directory that cannot be read is no level.
    }
  }
  std::vector<Level> levels;
  for (const auto& entry : byReduction) levels.push_back(entry.second);
  return levels;
}

// Adds what unit `index` holds of `region` to `sampler`: only the rows and columns that count.
void AddUnit(PLTiffSamples& samples, size_t index, const ImageRegion& region, BoxSampler& sampler,
             std::vector<PLPixel32>& row) {
  const PLTiffSamples::Unit& unit = samples.UnitAt(index);
  // As the library's own reading does, a damaged unit leaves its pixels and the rest goes on.
  samples.ReadUnit(index, true);
  const int64_t x0 = std::max<int64_t>(unit.x, region.x) - region.x;
  const int64_t x1 = std::min<int64_t>(int64_t(unit.x) + unit.width, int64_t(region.x) + region.width) - region.x;
  const int32_t count = sampler.ColumnCount(x0, x1);
  if (count <= 0) return;
  const int64_t first = sampler.FirstColumn(x0);
  row.resize(size_t(count));
  const int64_t top = std::max<int64_t>(unit.y, region.y);
  const int64_t bottom = std::min<int64_t>(int64_t(unit.y) + unit.height, int64_t(region.y) + region.height);
  for (int64_t y = top; y < bottom; ++y) {
    if (!sampler.WantsRow(y - region.y)) continue;
    samples.RowPixels(static_cast<uint32_t>(y - unit.y), static_cast<uint32_t>(first + region.x - unit.x),
                      static_cast<uint32_t>(sampler.Step()), static_cast<uint32_t>(count), row.data());
    sampler.Add(y - region.y, first, row.data(), count);
  }
}

// The strips, bands or tiles that meet the region, a group at a time: in parallel when there
// are many, each thread with a handle of its own.
class TiffSource : public LargeImageSource {
 public:
  TiffSource(std::unique_ptr<PLFileSource> file, std::unique_ptr<TiffReader> reader, std::vector<Level> levels)
      : LargeImageSource(int32_t(reader->Samples().Width()), int32_t(reader->Samples().Height()),
                         reader->Samples().HasAlpha()),
        file_(std::move(file)),
        levels_(std::move(levels)) {
    readers_[1] = std::move(reader);
  }

 protected:
  void DoRead(const ImageRegion& wanted, int factor, PLBmp& out, IProgressNotification* progress) override {
    // The most reduced copy the file holds that is not more reduced than asked: its region.
    Level level;
    for (const Level& l : levels_) {
      if (l.reduction <= factor) level = l;
    }
    const int r = level.reduction;
    std::unique_ptr<TiffReader>& reader = readers_[r];
    if (!reader) reader = std::make_unique<TiffReader>(file_->ReadEverything(), uint64_t(file_->GetFileSize()), level);
    PLTiffSamples& samples = reader->Samples();
    const int64_t x0 = wanted.x / r;
    const int64_t y0 = wanted.y / r;
    const ImageRegion region{
        int32_t(x0), int32_t(y0),
        int32_t(std::min<int64_t>((int64_t(wanted.x) + wanted.width + r - 1) / r, samples.Width()) - x0),
        int32_t(std::min<int64_t>((int64_t(wanted.y) + wanted.height + r - 1) / r, samples.Height()) - y0)};
    if (region.width <= 0 || region.height <= 0) PLPicDecoder::RaiseError(kPLErrFormatUnknown, "Bad reduced image.");
    factor /= r;

    // The units that meet the region, in groups that one reader reads in order.
    std::map<uint32_t, std::vector<size_t>> byGroup;
    size_t count = 0;
    for (size_t i = 0; i < samples.UnitCount(); ++i) {
      const PLTiffSamples::Unit& unit = samples.UnitAt(i);
      if (int64_t(unit.x) >= int64_t(region.x) + region.width || int64_t(unit.x) + unit.width <= region.x ||
          int64_t(unit.y) >= int64_t(region.y) + region.height || int64_t(unit.y) + unit.height <= region.y) {
        continue;
      }
      byGroup[samples.GroupOf(i)].push_back(i);
      ++count;
    }
    std::vector<std::vector<size_t>> groups;
    for (auto& entry : byGroup) groups.push_back(std::move(entry.second));
    BoxSampler sampler(out, region, factor);
    const unsigned readers = std::min<unsigned>({std::max(1u, std::thread::hardware_concurrency()), kMaxReaders,
                                                 static_cast<unsigned>(groups.size())});
    if (readers > 1 && count >= kParallelUnits && count * samples.UnitBytes() >= kParallelBytes) {
      ReadInParallel(level, groups, count, region, sampler, readers, progress);
    } else {
      std::vector<PLPixel32> row;
      size_t done = 0;
      for (const auto& group : groups) {
        for (const size_t i : group) {
          AddUnit(samples, i, region, sampler, row);
          ReportDecodeProgress(progress, double(++done) / double(count));
        }
      }
    }
    sampler.Finish();
  }

 private:
  void ReadInParallel(const Level& level, const std::vector<std::vector<size_t>>& groups, size_t count,
                      const ImageRegion& region, BoxSampler& sampler, unsigned readers,
                      IProgressNotification* progress) {
    std::atomic<size_t> nextGroup{0};
    std::atomic<size_t> done{0};
    std::atomic<bool> stop{false};
    std::mutex mutex;  // guards the sampler's sums, the failure and the finished count
    std::condition_variable changed;
    std::exception_ptr failure;
    unsigned finished = 0;
    const auto work = [&] {
      try {
        TiffReader reader(file_->ReadEverything(), static_cast<uint64_t>(file_->GetFileSize()), level);
        PLTiffSamples& samples = reader.Samples();
        std::vector<PLPixel32> row;
        for (size_t g = nextGroup++; g < groups.size() && !stop; g = nextGroup++) {
          for (const size_t i : groups[g]) {
            if (stop) break;
            const PLTiffSamples::Unit& unit = samples.UnitAt(i);
            BoxSampler part = sampler.Part(int64_t(unit.y) - region.y, int64_t(unit.y) + unit.height - region.y,
                                           int64_t(unit.x) - region.x, int64_t(unit.x) + unit.width - region.x);
            AddUnit(samples, i, region, part, row);
            std::lock_guard lock(mutex);
            sampler.Merge(part);
            ++done;
          }
        }
      } catch (...) {
        std::lock_guard lock(mutex);
        if (!failure) failure = std::current_exception();
        stop = true;
      }
      std::lock_guard lock(mutex);
      ++finished;
      changed.notify_all();
    };
    std::vector<std::thread> threads;
    for (unsigned k = 0; k < readers; ++k) threads.emplace_back(work);
    // This thread tells the listener how far the readers have come, and stops them when asked.
    std::exception_ptr cancelled;
    {
      std::unique_lock lock(mutex);
      while (finished < readers) {
        changed.wait_for(lock, std::chrono::milliseconds(40));
        if (cancelled || stop) continue;
        const double part = double(done) / double(count);
        lock.unlock();
        try {
          ReportDecodeProgress(progress, part);
        } catch (...) {
          cancelled = std::current_exception();
          stop = true;
        }
        lock.lock();
      }
    }
    for (std::thread& thread : threads) thread.join();
    if (cancelled) std::rethrow_exception(cancelled);
    if (failure) std::rethrow_exception(failure);
    ReportDecodeProgress(progress, 1.0);
  }

  std::unique_ptr<PLFileSource> file_;
  std::vector<Level> levels_;
  std::map<int, std::unique_ptr<TiffReader>> readers_;  // by reduction, made on first use
};

}  // namespace

std::unique_ptr<LargeImageSource> OpenTiffParts(std::unique_ptr<PLFileSource> file) {
  const uint8_t* data = file->ReadEverything();
  const auto size = static_cast<uint64_t>(file->GetFileSize());
  auto reader = std::make_unique<TiffReader>(data, size);
  if (!reader->Handles()) return nullptr;
  PLTiffSamples& samples = reader->Samples();  // refuses bad layouts now rather than at the first read
  std::vector<Level> levels = FindLevels(data, size, samples.Width(), samples.Height());
  return std::make_unique<TiffSource>(std::move(file), std::move(reader), std::move(levels));
}

}  // namespace vornel
