// The hit list engine on generated databases beside the same queries in SQLite (with an index
// on the play time) and beside one sequential read of the hit file.
//   small: 2,000 songs, 200 albums, 100 artists, 20,000 plays over a year
//   large: 50,000 songs, 5,000 albums, 2,000 artists, 1,000,000 plays over ten years
// The playlist filter (1,000 tracks with ID3v1 tags) is set beside reading those tags alone.
#include <benchmark/benchmark.h>
#include <sqlite3.h>
#ifdef __GLIBC__
#include <malloc.h>
#endif

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "base/file.h"
#include "base/player.h"
#include "base/text.h"
#include "bench/bench_util.h"
#include "db/paths.h"
#include "hitlist/engine.h"
#include "tags/track_tag.h"

namespace spinox {
namespace {

struct Shape {
  const char* name;
  int songs, albums, artists, hits;
  int32_t span;  // seconds the plays spread over
};
const Shape kSmall = {"small", 2000, 200, 100, 20000, 365 * 86400};
const Shape kLarge = {"large", 50000, 5000, 2000, 1000000, 10 * 365 * 86400};
constexpr int32_t kFirstPlay = 1300000000;
constexpr int kPlaylistTracks = 1000;
constexpr int32_t kTop = 100;
const char kMark[] = "complete-v3";
// A playlist track: the size of a three-minute MP3 at 128 kbit/s. The audio is a hole in the
// file (nothing is written there): the tag readers look at its head and tail only.
constexpr int64_t kTrackSize = 3 * 1024 * 1024;

int32_t LastPlay(const Shape& s) {
  return kFirstPlay + s.span;
}

std::string Dir(const Shape& s) {
  return bench::BenchDataDir(std::string("hitlist-") + s.name);
}

// Song i is on album i % albums; album a is by artist a % artists. Popular songs are played
// more: a song is drawn as the square of a uniform number.
void WriteFiles(const Shape& s, std::vector<HitRecord>* hits) {
  std::vector<ArtistRecord> artists(static_cast<size_t>(s.artists));
  for (int i = 0; i < s.artists; ++i) {
    artists[i] = ArtistRecord{static_cast<uint32_t>(i), {}};
    SetField(artists[i].name, "artist " + std::to_string(i));
  }
  std::vector<AlbumRecord> albums(static_cast<size_t>(s.albums));
  for (int i = 0; i < s.albums; ++i) {
    albums[i] = AlbumRecord{static_cast<uint32_t>(i), {}, {}};
    SetField(albums[i].album, "album " + std::to_string(i));
    SetField(albums[i].artist, artists[i % s.artists].name);
  }
  std::vector<SongRecord> songs(static_cast<size_t>(s.songs));
  for (int i = 0; i < s.songs; ++i) {
    int album = i % s.albums;
    SongRecord& r = songs[i];
    r = SongRecord{};
    r.id = static_cast<uint32_t>(i);
    r.albumId = static_cast<uint32_t>(album);
    r.artistId = static_cast<uint32_t>(album % s.artists);
    SetField(r.title, "title " + std::to_string(i));
    SetField(r.artist, albums[album].artist);
    SetField(r.album, albums[album].album);
    SetField(r.file, "/music/" + std::to_string(i) + ".mp3");
  }
  std::mt19937 rng(42);
  std::uniform_real_distribution<double> u(0, 1);
  hits->resize(static_cast<size_t>(s.hits));
  for (int i = 0; i < s.hits; ++i) {
    double x = u(rng);
    const SongRecord& song = songs[static_cast<size_t>(x * x * s.songs) % s.songs];
    int32_t t = kFirstPlay + static_cast<int32_t>(static_cast<int64_t>(s.span) * i / s.hits);
    (*hits)[i] = HitRecord{song.id, song.artistId, song.albumId, t};
  }
  auto put = [](const std::string& path, const void* data, size_t n) {
    File f(path, "wb");
    f.Write(data, n);
  };
  std::string dir = Dir(s);
  put(dir + "/" + kArtistFile, artists.data(), artists.size() * sizeof(ArtistRecord));
  put(dir + "/" + kAlbumFile, albums.data(), albums.size() * sizeof(AlbumRecord));
  put(dir + "/" + kSongFile, songs.data(), songs.size() * sizeof(SongRecord));
  put(dir + "/" + kHitFile, hits->data(), hits->size() * sizeof(HitRecord));
}

// The playlist: files with an ID3v1 tag naming every 37th song.
void WriteTracks(const Shape& s) {
  std::string dir = Dir(s) + "/tracks";
  std::filesystem::create_directories(dir);
  for (int i = 0; i < kPlaylistTracks; ++i) {
    int song = (i * 37) % s.songs, album = song % s.albums;
    std::string tag(128, '\0');
    std::memcpy(&tag[0], "TAG", 3);
    std::string title = "title " + std::to_string(song),
                artist = "artist " + std::to_string(album % s.artists),
                alb = "album " + std::to_string(album);
    std::memcpy(&tag[3], title.data(), title.size());
    std::memcpy(&tag[33], artist.data(), artist.size());
    std::memcpy(&tag[63], alb.data(), alb.size());
    tag[127] = static_cast<char>(0xFF);
    File f(dir + "/" + std::to_string(i) + ".mp3", "wb");
    std::string audio(4096, '\x55');
    f.Write(audio.data(), audio.size());
    f.Seek(kTrackSize - static_cast<int64_t>(tag.size()));
    f.Write(tag.data(), tag.size());
  }
}

void Exec(sqlite3* db, const char* sql) {
  char* err = nullptr;
  if (sqlite3_exec(db, sql, nullptr, nullptr, &err) != SQLITE_OK) {
    std::fprintf(stderr, "sqlite: %s\n", err ? err : "?");
    sqlite3_free(err);
  }
}

void WriteSqlite(const Shape& s, const std::vector<HitRecord>& hits) {
  std::string path = Dir(s) + "/hits.sqlite";
  std::remove(path.c_str());
  sqlite3* db = nullptr;
  sqlite3_open(path.c_str(), &db);
  Exec(db, "PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF; BEGIN;");
  Exec(db,
       "CREATE TABLE songs(id INTEGER PRIMARY KEY, artist_id INT, album_id INT, title TEXT, "
       "artist TEXT, album TEXT);"
       "CREATE TABLE hits(song_id INT, artist_id INT, album_id INT, time INT);");
  sqlite3_stmt* st = nullptr;
  sqlite3_prepare_v2(db, "INSERT INTO songs VALUES(?,?,?,?,?,?)", -1, &st, nullptr);
  for (int i = 0; i < s.songs; ++i) {
    int album = i % s.albums;
    std::string title = "title " + std::to_string(i);
    std::string artist = "artist " + std::to_string(album % s.artists);
    std::string alb = "album " + std::to_string(album);
    sqlite3_bind_int(st, 1, i);
    sqlite3_bind_int(st, 2, album % s.artists);
    sqlite3_bind_int(st, 3, album);
    sqlite3_bind_text(st, 4, title.c_str(), -1, SQLITE_TRANSIENT);
    sqlite3_bind_text(st, 5, artist.c_str(), -1, SQLITE_TRANSIENT);
    sqlite3_bind_text(st, 6, alb.c_str(), -1, SQLITE_TRANSIENT);
    sqlite3_step(st);
    sqlite3_reset(st);
  }
  sqlite3_finalize(st);
  sqlite3_prepare_v2(db, "INSERT INTO hits VALUES(?,?,?,?)", -1, &st, nullptr);
  for (const HitRecord& h : hits) {
    sqlite3_bind_int(st, 1, static_cast<int>(h.songId));
    sqlite3_bind_int(st, 2, static_cast<int>(h.artistId));
    sqlite3_bind_int(st, 3, static_cast<int>(h.albumId));
    sqlite3_bind_int(st, 4, h.time);
    sqlite3_step(st);
    sqlite3_reset(st);
  }
  sqlite3_finalize(st);
  Exec(db,
       "CREATE INDEX hits_time ON hits(time); CREATE INDEX songs_names ON songs(title, "
       "artist, album); CREATE INDEX songs_album ON songs(album_id); COMMIT; ANALYZE;");
  sqlite3_close(db);
}

void Prepare(const Shape& s) {
  std::string mark = Dir(s) + "/" + kMark;
  if (!FileExists(mark)) {
    std::vector<HitRecord> hits;
    WriteFiles(s, &hits);
    WriteTracks(s);
    WriteSqlite(s, hits);
    File(mark, "wb");
  }
  SetDataDir(Dir(s));
}

struct Period {
  const char* name;
  int32_t length;  // 0: all time
};
const Period kWeek = {"week", 604800}, kYear = {"year", 31536000}, kAll = {"all", 0};

int32_t From(const Shape& s, const Period& p) {
  return p.length ? LastPlay(s) - p.length : 0;
}

// ---- the engine ----

void Engine(benchmark::State& state, const Shape& s, int32_t type, Period p, int32_t mode,
            int32_t filterType, const std::string& filter) {
  Prepare(s);
  std::vector<HitListItem> items(kTop);
  char value[kFilterSize];
  for (auto _ : state) {
    SetField(value, filter);
    HitListQuery q;
    q.type = type;
    q.from = From(s, p);
    q.to = LastPlay(s) + 1;
    q.filterType = filterType;
    q.filterValue = value;
    q.mode = mode;
    int32_t n = GetHitList(q, items.data(), kTop);
    benchmark::DoNotOptimize(n);
  }
}

void SequentialRead(benchmark::State& state, const Shape& s) {
  Prepare(s);
  std::vector<unsigned char> buf(128 * 1024);
  for (auto _ : state) {
    File f(FullPath(kHitFile), "rb");
    int64_t total = 0;
    size_t n;
    while ((n = std::fread(buf.data(), 1, buf.size(), f.get())) > 0) total += n;
    benchmark::DoNotOptimize(total);
  }
}

// ---- the playlist filter ----

// A playlist of `count` entries: the generated tracks, or (missing) files that are not there
// and URLs, every other one.
class Tracks : public Player {
 public:
  explicit Tracks(const Shape& s, int count = kPlaylistTracks, bool missing = false)
      : dir_(Dir(s) + (missing ? "/missing/" : "/tracks/")), count_(count), missing_(missing) {
    SetCurrentPlayer(this);
  }
  ~Tracks() override { SetCurrentPlayer(nullptr); }
  int PlayState() override { return 0; }
  int TrackLength() override { return -1; }
  int PlaylistLength() override { return count_; }
  int PlaylistPosition() override { return 0; }
  bool PlaylistFile(int i, std::string* file) override {
    if (i < 0 || i >= count_) return false;
    *file = (missing_ && i % 2 ? "http://radio.example/" : dir_) + std::to_string(i) + ".mp3";
    return true;
  }
  void ClearPlaylist() override {}
  bool LoadPlaylist(const std::string&) override { return true; }
  void LoadAnsiPlaylist(const std::string&) override {}
  void Play() override {}

 private:
  std::string dir_;
  int count_;
  bool missing_;
};

void ReadTags(Tracks& tracks, std::vector<TrackTag>* tags) {
  tags->assign(kPlaylistTracks, TrackTag{});
  std::string file;
  for (int i = 0; i < kPlaylistTracks && tracks.PlaylistFile(i, &file); ++i) {
    SetField((*tags)[i].file, file);
    ReadTag(&(*tags)[i]);
  }
}

void PlaylistTags(benchmark::State& state, const Shape& s) {
  Prepare(s);
  Tracks tracks(s);
  std::vector<TrackTag> tags;
  for (auto _ : state) ReadTags(tracks, &tags);
}

// ---- SQLite ----

class Sql {
 public:
  explicit Sql(const Shape& s) { sqlite3_open((Dir(s) + "/hits.sqlite").c_str(), &db_); }
  ~Sql() { sqlite3_close(db_); }
  void Exec(const char* sql) { spinox::Exec(db_, sql); }
  sqlite3_stmt* Prepare(const std::string& sql) {
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(db_, sql.c_str(), -1, &st, nullptr) != SQLITE_OK)
      std::fprintf(stderr, "sqlite: %s\n", sqlite3_errmsg(db_));
    return st;
  }

 private:
  sqlite3* db_ = nullptr;
};

// Runs a prepared top-list query for [from, to) and collects (id, count) rows.
void Rows(sqlite3_stmt* st, int32_t from, int32_t to, std::vector<std::pair<int, int>>* out) {
  out->clear();
  sqlite3_bind_int(st, 1, from);
  sqlite3_bind_int(st, 2, to);
  while (sqlite3_step(st) == SQLITE_ROW)
    out->emplace_back(sqlite3_column_int(st, 0), sqlite3_column_int(st, 1));
  sqlite3_reset(st);
}

const char* Column(int32_t type) {
  return type == 1 ? "album_id" : type == 2 ? "artist_id" : "song_id";
}

void SqliteTop(benchmark::State& state, const Shape& s, int32_t type, Period p, bool previous) {
  Prepare(s);
  Sql sql(s);
  std::string c = Column(type);
  sqlite3_stmt* st = sql.Prepare("SELECT " + c +
                                 ", COUNT(*) AS n FROM hits WHERE time >= ?1 AND "
                                 "time < ?2 AND " +
                                 c + " != -1 GROUP BY " + c + " ORDER BY n DESC LIMIT 100");
  std::vector<std::pair<int, int>> now, before;
  int32_t from = From(s, p), to = LastPlay(s) + 1;
  for (auto _ : state) {
    Rows(st, from, to, &now);
    if (previous) {
      Rows(st, from - (to - from), from, &before);
      std::vector<int> pos(now.size(), -1);
      for (size_t i = 0; i < now.size(); ++i)
        for (size_t k = 0; k + 1 < before.size(); ++k)
          if (before[k].first == now[i].first) pos[i] = static_cast<int>(k);
      benchmark::DoNotOptimize(pos);
    }
  }
  sqlite3_finalize(st);
}

void SqliteLog(benchmark::State& state, const Shape& s) {
  Prepare(s);
  Sql sql(s);
  sqlite3_stmt* st = sql.Prepare(
      "SELECT song_id, time FROM hits WHERE time >= ?1 AND time < ?2 "
      "AND song_id != -1 ORDER BY time DESC LIMIT 100");
  std::vector<std::pair<int, int>> rows;
  for (auto _ : state) Rows(st, 0, LastPlay(s) + 1, &rows);
  sqlite3_finalize(st);
}

void SqliteFiltered(benchmark::State& state, const Shape& s, const char* where) {
  Prepare(s);
  Sql sql(s);
  sqlite3_stmt* st = sql.Prepare(std::string("SELECT h.song_id, COUNT(*) AS n FROM hits h JOIN "
                                             "songs s ON s.id = h.song_id WHERE h.time >= ?1 AND "
                                             "h.time < ?2 AND ") +
                                 where + " GROUP BY h.song_id ORDER BY n DESC LIMIT 100");
  std::vector<std::pair<int, int>> rows;
  for (auto _ : state) Rows(st, From(s, kYear), LastPlay(s) + 1, &rows);
  sqlite3_finalize(st);
}

// The playlist's tags, each looked up by name (indexed) into a table of the playlist's songs,
// then the plays of those songs alone are grouped (filtering before grouping is about twice as
// fast as grouping every song's plays and filtering the groups).
void SqlitePlaylist(benchmark::State& state, const Shape& s) {
  Prepare(s);
  Sql sql(s);
  Tracks tracks(s);
  sql.Exec("CREATE TEMP TABLE members(id INTEGER PRIMARY KEY)");
  sqlite3_stmt* add = sql.Prepare(
      "INSERT OR IGNORE INTO members SELECT id FROM songs WHERE title = ?1 AND artist = ?2 AND "
      "album = ?3 ORDER BY id LIMIT 1");
  sqlite3_stmt* count = sql.Prepare(
      "SELECT song_id, COUNT(*) AS n FROM hits WHERE time >= ?1 AND time < ?2 AND song_id IN "
      "(SELECT id FROM members) GROUP BY song_id ORDER BY n DESC");
  std::vector<TrackTag> tags;
  std::vector<std::pair<int, int>> rows;
  for (auto _ : state) {
    ReadTags(tracks, &tags);
    sql.Exec("BEGIN; DELETE FROM members;");
    for (const TrackTag& t : tags) {
      sqlite3_bind_text(add, 1, t.title, -1, SQLITE_STATIC);
      sqlite3_bind_text(add, 2, t.artist, -1, SQLITE_STATIC);
      sqlite3_bind_text(add, 3, t.album, -1, SQLITE_STATIC);
      sqlite3_step(add);
      sqlite3_reset(add);
    }
    Rows(count, From(s, kYear), LastPlay(s) + 1, &rows);
    sql.Exec("COMMIT");
    benchmark::DoNotOptimize(rows);
  }
  sqlite3_finalize(add);
  sqlite3_finalize(count);
}

void EnginePlaylist(benchmark::State& state, const Shape& s) {
  Prepare(s);
  Tracks tracks(s);
  Engine(state, s, kListSongs, kYear, kPosNone, kFilterPlaylist, "");
}

// A playlist whose entries the database does not hold: files that are not there and URLs.
// Such entries once each cost a scan of the song file and a new record (a 20,000-entry playlist
// took 6.2 s); the filter now only reads, so the time grows with the entries alone.
void EngineMissingPlaylist(benchmark::State& state, const Shape& s) {
  Prepare(s);
  Tracks tracks(s, static_cast<int>(state.range(0)), true);
  int64_t songs = FileSize(FullPath(kSongFile));
  Engine(state, s, kListSongs, kYear, kPosNone, kFilterPlaylist, "");
  state.counters["records_added"] =
      static_cast<double>((FileSize(FullPath(kSongFile)) - songs) / sizeof(SongRecord));
}

void Register(const Shape& s) {
  const char* types[] = {"songs", "albums", "artists"};
  std::string n = s.name;
  benchmark::RegisterBenchmark((n + "/read_hit_file").c_str(), SequentialRead, s);
  for (int32_t type = 0; type < 3; ++type) {
    for (const Period& p : {kWeek, kYear, kAll}) {
      for (bool prev : {false, true}) {
        if (prev && p.length == 0) continue;  // "All" has no previous period
        std::string name = n + "/" + types[type] + "_" + p.name + (prev ? "_prev" : "");
        benchmark::RegisterBenchmark(("engine/" + name).c_str(), Engine, s, type, p,
                                     prev ? kPosCompare : kPosNone, kFilterNone, "");
        benchmark::RegisterBenchmark(("sqlite/" + name).c_str(), SqliteTop, s, type, p, prev);
      }
    }
  }
  benchmark::RegisterBenchmark(("engine/" + n + "/log").c_str(), Engine, s, kListLog, kAll,
                               kPosNone, kFilterNone, "");
  benchmark::RegisterBenchmark(("sqlite/" + n + "/log").c_str(), SqliteLog, s);
  benchmark::RegisterBenchmark(("engine/" + n + "/artist_filter").c_str(), Engine, s, kListSongs,
                               kYear, kPosNone, kFilterArtist, "artist 7");
  benchmark::RegisterBenchmark(("sqlite/" + n + "/artist_filter").c_str(), SqliteFiltered, s,
                               "s.artist = 'artist 7'");
  benchmark::RegisterBenchmark(("engine/" + n + "/album_filter").c_str(), Engine, s, kListSongs,
                               kYear, kPosNone, kFilterAlbum, "artist 7 - album 7");
  // Membership by the song record's album, as the engine decides it (a song edited into
  // another album after its plays counts for the new one).
  benchmark::RegisterBenchmark(("sqlite/" + n + "/album_filter").c_str(), SqliteFiltered, s,
                               "s.album_id = 7");
  // For comparison only: by the album id stored in each play, a cheaper but different question.
  benchmark::RegisterBenchmark(("sqlite/" + n + "/album_filter_by_play").c_str(), SqliteFiltered, s,
                               "h.album_id = 7");
  benchmark::RegisterBenchmark((n + "/playlist_tags").c_str(), PlaylistTags, s);
  benchmark::RegisterBenchmark(("engine/" + n + "/playlist_filter").c_str(), EnginePlaylist, s);
  benchmark::RegisterBenchmark(("sqlite/" + n + "/playlist_filter").c_str(), SqlitePlaylist, s);
  benchmark::RegisterBenchmark(("engine/" + n + "/playlist_filter_missing").c_str(),
                               EngineMissingPlaylist, s)
      ->Arg(2000)
      ->Arg(20000)
      ->Unit(benchmark::kMillisecond);
}

}  // namespace
}  // namespace spinox

int main(int argc, char** argv) {
#ifdef __GLIBC__
  // Keep freed memory in the C heap between iterations, as the Windows heap does, for the
  // engine and SQLite alike: glibc otherwise returns it to the system after each computation,
  // and the next one pays a page fault per 4 KB again (tens of microseconds each on a VM).
  mallopt(M_MMAP_THRESHOLD, 64 << 20);
  mallopt(M_TRIM_THRESHOLD, 128 << 20);
#endif
  spinox::Register(spinox::kSmall);
  spinox::Register(spinox::kLarge);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
