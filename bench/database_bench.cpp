// The database operations on a large generated library: 50,000 songs on 5,000 albums by 2,000
// artists, and 1,000,000 plays over five years. FillSongInfo is measured against simply reading
// the hit file and the song file once, sequentially (the counter "ratio").
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "base/file.h"
#include "base/text.h"
#include "bench/bench_util.h"
#include "db/lookup.h"
#include "db/paths.h"
#include "db/play.h"

namespace spinox {
namespace {

constexpr int kArtists = 2000;
constexpr int kAlbums = 5000;
constexpr int kSongs = 50000;
constexpr int kHits = 1000000;
constexpr int32_t kFirstPlay = 1546300800;  // 2019-01-01
constexpr int32_t kPlaySpan = 5 * 365 * 86400;
const char kCompleteMark[] = "complete-v1";

const char* const kWords[] = {
    "midnight", "river",  "golden", "heart",   "summer",   "shadow", "blue",    "fire",
    "dream",    "city",   "lonely", "road",    "electric", "love",   "silver",  "night",
    "wild",     "ocean",  "broken", "light",   "black",    "sun",    "rain",    "stone",
    "dancing",  "moon",   "velvet", "angel",   "street",   "echo",   "crystal", "highway",
    "paper",    "garden", "secret", "thunder", "morning",  "star",   "winter",  "kingdom"};
const char* const kFirstNames[] = {"john",  "mary",   "david", "anna",  "peter", "laura",
                                   "james", "sophie", "tom",   "emma",  "lucas", "nina",
                                   "oscar", "julia",  "frank", "grace", "henry", "iris"};
const char* const kLastNames[] = {"miller", "baker",  "carter", "dawson", "ellis",  "fisher",
                                  "grant",  "hughes", "irving", "jensen", "keller", "lowe",
                                  "morgan", "nolan",  "owens",  "parker", "quinn",  "reed"};

template <size_t N>
const char* Pick(const char* const (&list)[N], std::mt19937& rng) {
  return list[rng() % N];
}

std::string Phrase(std::mt19937& rng, int words) {
  std::string s = Pick(kWords, rng);
  for (int i = 1; i < words; ++i) s += std::string(" ") + Pick(kWords, rng);
  return s;
}

std::string ArtistName(std::mt19937& rng) {
  switch (rng() % 3) {
    case 0:
      return std::string(Pick(kFirstNames, rng)) + " " + Pick(kLastNames, rng);
    case 1:
      return "the " + Phrase(rng, 2) + "s";
    default:
      return Phrase(rng, 1 + rng() % 2) + " & " + Pick(kLastNames, rng);
  }
}

// Distinct texts, each made by `make`.
template <typename Make>
std::vector<std::string> Distinct(int count, Make make) {
  std::set<std::string> seen;
  std::vector<std::string> out;
  while (static_cast<int>(out.size()) < count) {
    std::string s = make();
    if (s.size() < kNameSize && seen.insert(s).second) out.push_back(s);
  }
  return out;
}

struct Library {
  std::vector<ArtistRecord> artists;
  std::vector<AlbumRecord> albums;
  std::vector<SongRecord> songs;
  std::vector<HitRecord> hits;
};

void MakeArtistsAndAlbums(std::mt19937& rng, Library* lib) {
  std::vector<std::string> names = Distinct(kArtists, [&] { return ArtistName(rng); });
  for (int i = 0; i < kArtists; ++i) {
    ArtistRecord a = {};
    a.id = i;
    SetField(a.name, names[i]);
    lib->artists.push_back(a);
  }
  std::vector<std::string> titles = Distinct(
      kAlbums, [&] { return Phrase(rng, 1 + rng() % 3) + " " + std::to_string(rng() % 100); });
  for (int i = 0; i < kAlbums; ++i) {
    AlbumRecord a = {};
    a.id = i;
    SetField(a.album, titles[i]);
    SetField(a.artist, names[i % kArtists]);
    lib->albums.push_back(a);
  }
}

void MakeSongs(std::mt19937& rng, Library* lib) {
  for (int i = 0; i < kSongs; ++i) {
    const AlbumRecord& album = lib->albums[i % kAlbums];
    SongRecord s = {};
    s.id = i;
    s.albumId = album.id;
    s.artistId = album.id % kArtists;
    SetField(s.title, Phrase(rng, 1 + rng() % 4) + " " + std::to_string(i));
    std::memcpy(s.artist, album.artist, kNameSize);
    std::memcpy(s.album, album.album, kNameSize);
    std::string path = "C:\\Music\\" + FieldText(s.artist) + "\\" + FieldText(s.album) + "\\" +
                       std::to_string(i / kAlbums + 1) + " - " + FieldText(s.title) + ".mp3";
    SetField(s.file, path);
    lib->songs.push_back(s);
  }
}

// Plays in time order; a few songs are played very often, most rarely.
void MakeHits(std::mt19937& rng, Library* lib) {
  std::uniform_real_distribution<double> unit(0.0, 1.0);
  for (int i = 0; i < kHits; ++i) {
    double u = unit(rng);
    int rank = static_cast<int>(kSongs * u * u * u);
    SongRecord& song = lib->songs[(rank * 7919) % kSongs];
    int32_t time = kFirstPlay + static_cast<int32_t>(static_cast<int64_t>(kPlaySpan) * i / kHits);
    lib->hits.push_back({song.id, song.artistId, song.albumId, time});
    song.lastPlayed = time;
  }
}

template <typename Rec>
void WriteRecords(const std::string& path, const std::vector<Rec>& records) {
  File f(path, "wb");
  f.Write(records.data(), records.size() * sizeof(Rec));
}

// Generates the library once; later runs reuse the files.
const std::string& LibraryDir() {
  static const std::string dir = [] {
    std::string d = bench::BenchDataDir("database-50k");
    SetDataDir(d);
    if (FileExists(FullPath(kCompleteMark))) return d;
    std::mt19937 rng(20240601);
    Library lib;
    MakeArtistsAndAlbums(rng, &lib);
    MakeSongs(rng, &lib);
    MakeHits(rng, &lib);
    WriteRecords(FullPath(kArtistFile), lib.artists);
    WriteRecords(FullPath(kAlbumFile), lib.albums);
    WriteRecords(FullPath(kSongFile), lib.songs);
    WriteRecords(FullPath(kHitFile), lib.hits);
    File(FullPath(kCompleteMark), "wb");
    return d;
  }();
  SetDataDir(dir);
  return dir;
}

// The last song of the library, as the player would report it.
SongInfo KnownSong() {
  LibraryDir();
  SongRecord s;
  File f(FullPath(kSongFile), "rb");
  f.Seek(static_cast<int64_t>(kSongs - 1) * sizeof s);
  f.Read(&s, sizeof s);
  SongInfo info = {};
  std::memcpy(info.title, s.title, kNameSize);
  std::memcpy(info.artist, s.artist, kNameSize);
  std::memcpy(info.album, s.album, kNameSize);
  std::memcpy(info.file, s.file, kPathSize);
  return info;
}

// Reads a whole file in large chunks; returns a checksum so the reads are not optimised away.
unsigned ReadSequentially(const std::string& path) {
  static std::vector<unsigned char> buf(1 << 20);
  File f(path, "rb");
  unsigned sum = 0;
  size_t n;
  while (f.IsOpen() && (n = std::fread(buf.data(), 1, buf.size(), f.get())) > 0) sum += buf[n - 1];
  return sum;
}

// Wall-clock and processor time (user and system, of this thread) since construction. The
// processor time is what the comparison relies on: other work on a loaded machine inflates
// the wall clock of both sides unevenly.
struct Stopwatch {
  Stopwatch() : wall(std::chrono::steady_clock::now()), cpu(ThreadCpu()) {}
  static double ThreadCpu() {
    timespec ts;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return ts.tv_sec + ts.tv_nsec * 1e-9;
  }
  double Wall() const {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - wall).count();
  }
  double Cpu() const { return ThreadCpu() - cpu; }
  std::chrono::steady_clock::time_point wall;
  double cpu;
};

void BM_FillSongInfo(benchmark::State& state) {
  SongInfo known = KnownSong();
  for (auto _ : state) {
    SongInfo info = known;
    FillSongInfo(&info);
    benchmark::DoNotOptimize(info.hits);
  }
}
BENCHMARK(BM_FillSongInfo)->Unit(benchmark::kMillisecond);

void BM_ReadHitAndSongFiles(benchmark::State& state) {
  LibraryDir();
  for (auto _ : state) {
    benchmark::DoNotOptimize(ReadSequentially(FullPath(kHitFile)) +
                             ReadSequentially(FullPath(kSongFile)));
  }
}
BENCHMARK(BM_ReadHitAndSongFiles)->Unit(benchmark::kMillisecond);

// Both measured in turn in every iteration, so that they see the same machine state.
void BM_FillSongInfoRatio(benchmark::State& state) {
  SongInfo known = KnownSong();
  double fillWall = 0, fillCpu = 0, readWall = 0, readCpu = 0;
  for (auto _ : state) {
    Stopwatch fill;
    SongInfo info = known;
    FillSongInfo(&info);
    benchmark::DoNotOptimize(info.hits);
    double fillOnce = fill.Wall();
    fillWall += fillOnce;
    fillCpu += fill.Cpu();
    Stopwatch read;
    benchmark::DoNotOptimize(ReadSequentially(FullPath(kHitFile)) +
                             ReadSequentially(FullPath(kSongFile)));
    readWall += read.Wall();
    readCpu += read.Cpu();
    state.SetIterationTime(fillOnce);
  }
  double n = static_cast<double>(state.iterations());
  state.counters["fill_cpu_ms"] = 1000 * fillCpu / n;
  state.counters["read_cpu_ms"] = 1000 * readCpu / n;
  state.counters["ratio"] = fillCpu / readCpu;
  state.counters["ratio_wall"] = fillWall / readWall;
}
BENCHMARK(BM_FillSongInfoRatio)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(200);

template <typename Lookup>
void RunLookup(benchmark::State& state, Lookup lookup) {
  LibraryDir();
  for (auto _ : state) benchmark::DoNotOptimize(lookup());
}

void BM_FindArtist(benchmark::State& state) {
  RunLookup(state, [] {
    char name[] = "No Such Artist";
    return FindArtist(name);
  });
}
BENCHMARK(BM_FindArtist)->Unit(benchmark::kMicrosecond);

void BM_FindAlbum(benchmark::State& state) {
  RunLookup(state, [] {
    char album[] = "No Such Album", artist[] = "John Miller";
    return FindAlbum(album, artist);
  });
}
BENCHMARK(BM_FindAlbum)->Unit(benchmark::kMicrosecond);

void BM_FindAlbumBoth(benchmark::State& state) {
  RunLookup(state, [] {
    char both[] = "John Miller - No Such Album";
    return FindAlbumBoth(both);
  });
}
BENCHMARK(BM_FindAlbumBoth)->Unit(benchmark::kMicrosecond);

void BM_FindSong(benchmark::State& state) {
  RunLookup(state, [] {
    char title[] = "Midnight River", album[] = "Golden Heart 7", artist[] = "John Miller";
    return FindSong(title, album, artist);
  });
}
BENCHMARK(BM_FindSong)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace spinox

BENCHMARK_MAIN();
