// The player's thread allocates nothing per event: a counting operator new, armed while a
// 10,000-event play runs on the steady clock, counts every allocation made on a thread other
// than the test's own (the player's is the only one).

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <new>
#include <thread>

#include "midi/MidiStreamEvents.h"
#include "midi/play/MidiOutStream.h"
#include "midi/play/RecordingMidiOut.h"

// The sanitizers bring their own allocator, which a replaced operator new would fight: there
// the test is left out (the ordinary build runs it).
#if defined(__SANITIZE_ADDRESS__)
#define VORNEL_COUNTING_ALLOCATOR 0
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define VORNEL_COUNTING_ALLOCATOR 0
#endif
#endif
#ifndef VORNEL_COUNTING_ALLOCATOR
#define VORNEL_COUNTING_ALLOCATOR 1
#endif

namespace {

std::atomic<bool> g_counting{false};
std::atomic<long> g_foreignAllocations{0};
std::thread::id g_testThread;

}  // namespace

#if VORNEL_COUNTING_ALLOCATOR
namespace {

void* Allocate(std::size_t size) {
  if (g_counting.load(std::memory_order_relaxed) && std::this_thread::get_id() != g_testThread) {
    g_foreignAllocations.fetch_add(1, std::memory_order_relaxed);
  }
  if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
  throw std::bad_alloc();
}

}  // namespace

void* operator new(std::size_t size) { return Allocate(size); }
void* operator new[](std::size_t size) { return Allocate(size); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
#endif

namespace vornel {
namespace {

class QuietOwner : public MidiPlayerOwner {
 public:
  void ReportsPending() override { ++calls; }
  std::atomic<int> calls{0};
};

TEST(PlayerAllocationTest, NoAllocationOnThePlayersThreadInATenThousandEventPlay) {
  if (!VORNEL_COUNTING_ALLOCATOR) GTEST_SKIP() << "the sanitizers' allocator is in place";
  // 5,000 notes a tick apart, every tenth with a bar position for the owner.
  strMidiBuffer b;
  for (uint32_t i = 0; i < 5000; ++i) {
    b.AddNote(i, static_cast<uint8_t>(40 + i % 40), 80, 1, 0);
    if (i % 10 == 0) b.AddRecord(strMidiNote::kBarMarker, i, 0, static_cast<uint8_t>(i / 10), 0);
  }
  b.AddNoteOffs();
  const MidiPlayProgram program{{}, WriteStreamEvents(b)};
  ASSERT_GE(program.stream.size() / kMidiStreamEventBytes, 10000u);

  MidiRecording recording(20000);
  SteadyPlayerClock steady;
  QuietOwner owner;
  MidiOutStream player(&owner, [&] { return std::make_unique<RecordingMidiOut>(recording, steady); });
  player.tempo = 0xFFFF;  // about 5 microseconds a tick
  g_testThread = std::this_thread::get_id();
  g_foreignAllocations = 0;
  g_counting = true;
  ASSERT_TRUE(player.PlayProgram(program));
  for (int i = 0; i < 500 && player.IsPlaying(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
  g_counting = false;
  EXPECT_FALSE(player.IsPlaying());
  EXPECT_EQ(g_foreignAllocations.load(), 0);
  size_t sent = 0;
  for (const MidiRecord& r : recording.records) sent += (r.bytes[0] & 0xE0) == 0x80;
  EXPECT_EQ(sent, 10000u);
  EXPECT_GE(owner.calls, 1);
}

}  // namespace
}  // namespace vornel
