// One writer at a time, and plays that count once: several processes recording at once, a busy
// lock, and a failure at every I/O step of a play followed by its retry.
#include "db/lock.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "base/clock.h"
#include "base/file.h"
#include "base/text.h"
#include "db/check.h"
#include "db/journal.h"
#include "db/paths.h"
#include "db/play.h"
#include "db/test_records.h"
#include "tests/test_util.h"

namespace spinox {
namespace {

using test::Records;

// Song k of `artists` artists and `albums` albums.
SongInfo Track(int k, int artists = 3, int albums = 2) {
  return test::Track(("Artist " + std::to_string(k % artists)).c_str(),
                     ("Song " + std::to_string(k)).c_str(),
                     ("Album " + std::to_string(k % albums)).c_str());
}

constexpr int kSongs = 6;

// Every hit names its song's artist and album; times never decrease; no name is stored twice.
void ExpectSound(const test::TempDir& db) {
  std::vector<SongRecord> songs = Records<SongRecord>(db.File(kSongFile));
  std::vector<HitRecord> hits = Records<HitRecord>(db.File(kHitFile));
  std::set<std::string> artists, albums, titles;
  for (const ArtistRecord& r : Records<ArtistRecord>(db.File(kArtistFile)))
    EXPECT_TRUE(artists.insert(test::Lower(FieldText(r.name))).second) << FieldText(r.name);
  for (const AlbumRecord& b : Records<AlbumRecord>(db.File(kAlbumFile)))
    EXPECT_TRUE(albums.insert(test::Lower(FieldText(b.album) + "|" + FieldText(b.artist))).second);
  for (const SongRecord& s : songs) EXPECT_TRUE(titles.insert(FieldText(s.title)).second);
  for (size_t i = 0; i < hits.size(); ++i) {
    ASSERT_LT(hits[i].songId, songs.size());
    const SongRecord& song = songs[hits[i].songId];
    EXPECT_EQ(hits[i].artistId, song.artistId) << i;
    EXPECT_EQ(hits[i].albumId, song.albumId) << i;
    if (i > 0) {
      EXPECT_GE(hits[i].time, hits[i - 1].time) << i;
    }
  }
}

// Each process plays the same new songs in the same order, so that every artist, album and
// song is first stored while other processes look for it; the pause stands for the time a
// track plays between its resolving and its counting.
TEST(LockTest, SeveralProcessesRecordingAtOnceLoseNothing) {
  test::TempDatabase db;
  constexpr int kProcesses = 4, kPlays = 40;
  std::vector<pid_t> children;
  for (int p = 0; p < kProcesses; ++p) {
    pid_t child = fork();
    if (child == 0) {
      SetLockWait(20000);
      int failed = 0;
      for (int n = 0; n < kPlays; ++n) {
        // The clocks disagree: some processes run behind the others.
        SetClockOverride(1000000 + n * 10 - p * 15);
        SongInfo info = Track(n, 7, 5);
        FillSongInfo(&info);
        usleep(1000);
        failed += !Hit(&info);
      }
      _exit(failed);
    }
    children.push_back(child);
  }
  for (pid_t child : children) {
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
  }
  std::vector<HitRecord> hits = Records<HitRecord>(db.File(kHitFile));
  EXPECT_EQ(hits.size(), size_t{kProcesses * kPlays});
  EXPECT_EQ(Records<SongRecord>(db.File(kSongFile)).size(), size_t{kPlays});
  ExpectSound(db);
  std::vector<int> perSong(kPlays);
  std::vector<SongRecord> songs = Records<SongRecord>(db.File(kSongFile));
  for (const HitRecord& h : hits) {
    if (h.songId >= songs.size()) continue;
    std::string title = FieldText(songs[h.songId].title);
    ++perSong[std::stoi(title.substr(title.find(' ') + 1))];
  }
  EXPECT_EQ(perSong, std::vector<int>(kPlays, kProcesses));
}

// Another process holding the lock until it is let go.
class Holder {
 public:
  explicit Holder(LockKind kind) {
    int ready[2], go[2];
    if (pipe(ready) != 0 || pipe(go) != 0) ADD_FAILURE() << "pipe";
    pid_ = fork();
    if (pid_ == 0) {
      DatabaseLock lock(kind);
      char c = lock.held() ? 1 : 0;
      if (write(ready[1], &c, 1) != 1 || read(go[0], &c, 1) != 1) _exit(2);
      _exit(0);
    }
    char held = 0;
    EXPECT_EQ(read(ready[0], &held, 1), 1);
    EXPECT_EQ(held, 1);
    go_ = go[1];
    close(ready[0]), close(ready[1]), close(go[0]);
  }
  ~Holder() { Release(); }
  void Release() {
    if (pid_ <= 0) return;
    char c = 1;
    EXPECT_EQ(write(go_, &c, 1), 1);
    close(go_);
    waitpid(pid_, nullptr, 0);
    pid_ = 0;
  }

 private:
  pid_t pid_ = 0;
  int go_ = -1;
};

double SecondsOf(const std::function<void()>& f) {
  auto start = std::chrono::steady_clock::now();
  f();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

TEST(LockTest, ABusyDatabaseFailsThePlayAtOnceOrAfterTheSetWait) {
  test::TempDatabase db;
  SongInfo info = Track(0);
  ASSERT_TRUE(Hit(&info));
  Holder writer(LockKind::kExclusive);
  struct Case {
    int waitMs;
    double atLeast, atMost;
  };
  for (const Case& c : {Case{0, 0.0, 0.2}, Case{300, 0.3, 2.0}}) {
    SetLockWait(c.waitMs);
    ClearIoError();
    bool recorded = true;
    double took = SecondsOf([&] { recorded = Hit(&info); });
    EXPECT_FALSE(recorded);
    EXPECT_GE(took, c.atLeast);
    EXPECT_LE(took, c.atMost);
    EXPECT_NE(LastIoError().find("is busy"), std::string::npos) << LastIoError();
    EXPECT_FALSE(RemoveFromDatabase(0));
  }
  SetLockWait(0);
  EXPECT_EQ(Records<HitRecord>(db.File(kHitFile)).size(), 1u);
  writer.Release();
  ASSERT_TRUE(Hit(&info));  // the retry on a later tick
  EXPECT_EQ(Records<HitRecord>(db.File(kHitFile)).size(), 2u);
}

TEST(LockTest, ReadersShareTheLockButKeepWritersOut) {
  test::TempDatabase db;
  SongInfo info = Track(0);
  ASSERT_TRUE(Hit(&info));
  Holder reader(LockKind::kShared);
  SongInfo read = Track(0);
  EXPECT_TRUE(FillSongInfo(&read));
  EXPECT_EQ(read.hits, 1);
  EXPECT_FALSE(Hit(&read));
  reader.Release();
  EXPECT_TRUE(Hit(&read));
}

// A journal beside a change another process is making is no change cut short: the check waits
// for the lock (and says the database is busy) instead of reporting damage.
TEST(LockTest, TheCheckDoesNotTakeALiveChangeForOneCutShort) {
  test::TempDatabase db;
  SongInfo info = Track(0);
  ASSERT_TRUE(Hit(&info));
  Holder writer(LockKind::kExclusive);
  test::WriteBytes(db.File(kJournalFile), {'x'});  // as the writer's commit has it
  SetLockWait(0);
  CheckReport busy = CheckDatabase();
  EXPECT_NE(busy.error.find("is busy"), std::string::npos) << busy.error;
  EXPECT_TRUE(busy.Clean());
  writer.Release();
}

// A play failing at any step of its writes is not recorded; the retry (the same SongInfo, as
// the plug-in's next tick passes it) records it once, with every record stored once.
TEST(LockTest, APlayFailingAtAnyStepCountsOnceWhenRetried) {
  struct Case {
    const char* name;
    SongInfo played;
    size_t songs, artists, albums;  // records afterwards
  };
  const Case cases[] = {
      {"new artist, album and song", test::Track("Newcomer", "New", "Debut"), 7, 4, 7},
      {"known song", Track(0), 6, 3, 6}};
  for (const Case& c : cases) {
    // Builds the database, resolves the play and records it with the fault set.
    int steps = 0;
    auto play = [&](IoFault fault) {
      SetClockOverride(5000);
      for (int k = 0; k < kSongs; ++k) {
        SongInfo earlier = Track(k);
        EXPECT_TRUE(Hit(&earlier));
      }
      SongInfo info = c.played;
      FillSongInfo(&info);
      SetIoFault(fault);
      bool recorded = Hit(&info);
      steps = IoStepCount();
      SetIoFault({});
      return std::pair{recorded, info};
    };
    {
      test::TempDatabase db;
      ASSERT_TRUE(play({}).first);
    }
    const int total = steps;
    ASSERT_GT(total, 1);
    for (int at = 1; at <= total; ++at) {
      for (bool sticky : {false, true}) {
        SCOPED_TRACE(std::string(c.name) + " failing at step " + std::to_string(at) +
                     (sticky ? " and after" : " only"));
        test::TempDatabase db;
        auto [recorded, info] = play({at, sticky, nullptr});
        EXPECT_FALSE(recorded);
        ASSERT_TRUE(Hit(&info));
        std::vector<HitRecord> hits = Records<HitRecord>(db.File(kHitFile));
        std::vector<SongRecord> songs = Records<SongRecord>(db.File(kSongFile));
        EXPECT_EQ(hits.size(), size_t{kSongs + 1});
        EXPECT_EQ(songs.size(), c.songs);
        EXPECT_EQ(Records<ArtistRecord>(db.File(kArtistFile)).size(), c.artists);
        EXPECT_EQ(Records<AlbumRecord>(db.File(kAlbumFile)).size(), c.albums);
        ASSERT_LT(hits.back().songId, songs.size());
        EXPECT_EQ(songs[hits.back().songId].lastPlayed, 5000);
      }
    }
  }
}

}  // namespace
}  // namespace spinox
