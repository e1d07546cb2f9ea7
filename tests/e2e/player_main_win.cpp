// spinox-player.exe: plays a playlist without sound, with the plug-in loaded as the player loads
// it, so that the plays land in the plug-in's database. Time can run faster than real time.

#include <windows.h>
// After windows.h.
#include <shellapi.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <string>
#include <vector>

#include "base/codepage.h"
#include "tests/e2e/player_chart_win.h"
#include "tests/e2e/test_player_win.h"

namespace spinox::e2e {
namespace {

const char kUsage[] =
    "usage: spinox-player.exe [options] PLAYLIST.m3u | FILE...\n"
    "  --plugin DLL   the plug-in to load (default: plugins\\gen_spinox.dll beside this program)\n"
    "  --speed N      seconds of playing per real second (default 1)\n"
    "  --length S     length of files without an #EXTINF length (default 180)\n"
    "  --show         show the hit list windows\n"
    "  --stay         keep running after the playlist ends, until the window is closed\n"
    "  --older        answer as an older player: no wide names (214), no wide playlist paths "
    "(1100)\n"
    "  --seconds N    stop after N seconds of playing time\n"
    "  --chart CHART   after playing, show this chart in the hit list window (repeatable; the "
    "last\n"
    "                 stays): TYPE,PERIOD[,TOP][,prev][,change][,days|time][,back=N]\n"
    "                 [,from=YYYY-MM-DD][,to=YYYY-MM-DD] (PERIOD user: those days, whole)\n"
    "  --marker FILE  then write FILE and keep the windows up until it is deleted (a screenshot)\n";

struct Options {
  std::string plugin;
  int speed = 1;
  int length = 180;
  bool show = false;
  bool stay = false;
  bool older = false;
  long seconds = -1;
  std::vector<ChartRequest> charts;
  std::string marker;
  std::vector<std::string> inputs;
};

bool EndsWith(const std::string& s, const char* tail) {
  size_t n = std::strlen(tail);
  return s.size() >= n && _stricmp(s.c_str() + s.size() - n, tail) == 0;
}

// The arguments in UTF-8, from the wide command line.
std::vector<std::string> Arguments() {
  int argc = 0;
  LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &argc);
  std::vector<std::string> args;
  for (int i = 0; wide && i < argc; ++i) args.push_back(Utf8FromWide(wide[i], wcslen(wide[i])));
  if (wide) LocalFree(wide);
  return args;
}

bool Parse(const std::vector<std::string>& args, Options* o) {
  int argc = static_cast<int>(args.size());
  for (int i = 1; i < argc; ++i) {
    const std::string& a = args[i];
    bool more = i + 1 < argc;
    if (a == "--plugin" && more)
      o->plugin = args[++i].c_str();
    else if (a == "--speed" && more)
      o->speed = std::atoi(args[++i].c_str());
    else if (a == "--length" && more)
      o->length = std::atoi(args[++i].c_str());
    else if (a == "--seconds" && more)
      o->seconds = std::atol(args[++i].c_str());
    else if (a == "--chart" && more) {
      ChartRequest chart;
      if (!ParseChart(args[++i].c_str(), &chart)) return false;
      o->charts.push_back(chart);
    } else if (a == "--marker" && more)
      o->marker = args[++i].c_str();
    else if (a == "--show")
      o->show = true;
    else if (a == "--stay")
      o->stay = true;
    else if (a == "--older")
      o->older = true;
    else if (a.rfind("--", 0) == 0)
      return false;
    else
      o->inputs.push_back(a);
  }
  return !o->inputs.empty() && o->speed > 0 && o->length > 0;
}

bool LoadInputs(const Options& o, TestPlayer* player) {
  for (const std::string& in : o.inputs) {
    if (EndsWith(in, ".m3u") || EndsWith(in, ".m3u8")) {
      if (!player->LoadM3u(in)) {
        std::fprintf(stderr, "spinox-player: cannot read %s\n", in.c_str());
        return false;
      }
    } else {
      player->playlist.push_back(Entry{in, o.length});
    }
  }
  for (Entry& e : player->playlist)
    if (e.length <= 0) e.length = o.length;
  return !player->playlist.empty();
}

// The player's skin: the first seven dialog colours; the rest are left unset (equal to the
// reference pixel at x 111), so the plug-in fills them in itself.
std::vector<COLORREF> DemoSkin() {
  const COLORREF reference = RGB(255, 0, 255);
  const COLORREF colors[] = {RGB(0x10, 0x14, 0x24), RGB(0x9C, 0xE0, 0x9C), RGB(0x24, 0x2C, 0x44),
                             RGB(0x39, 0x38, 0x42), RGB(0xF0, 0xF0, 0xF0), RGB(0xFF, 0xC8, 0x40),
                             RGB(0x30, 0x50, 0x90)};
  std::vector<COLORREF> row(120, reference);
  for (size_t i = 0; i < sizeof colors / sizeof colors[0]; ++i) row[48 + 2 * i] = colors[i];
  return row;
}

void Report(const TestPlayer& p, long second) {
  const Entry& e = p.playlist[p.position];
  std::printf("[%5ld s] %d/%zu %s (%d s)\n", second, p.position + 1, p.playlist.size(),
              e.file.c_str(), e.length);
  std::fflush(stdout);
}

int Run(const Options& o) {
  std::string plugins = ExeFolder() + "\\plugins";
  CreateDirectoryW(WideFromUtf8(plugins).c_str(), nullptr);  // an install has it
  TestPlayer player;
  player.skinRow = DemoSkin();
  player.older = o.older;
  if (!LoadInputs(o, &player)) return 1;
  if (!o.charts.empty()) PrepareChartSettings(plugins);
  std::string dll = o.plugin.empty() ? plugins + "\\gen_spinox.dll" : o.plugin;
  if (!player.Load(dll)) {
    std::fprintf(stderr, "spinox-player: cannot load %s\n", dll.c_str());
    return 1;
  }
  player.Init();
  player.StopRealTimer();
  if (o.show) SendMessageA(player.window(), WM_COMMAND, 40003, 0);
  SendMessageA(player.window(), WM_COMMAND, kCommandPlay, 0);
  DWORD pause = 1000 / static_cast<DWORD>(o.speed);
  int shown = -1;
  for (long second = 0; !player.closeRequested; ++second) {
    if (player.state == 1 && player.position != shown)
      Report(player, second), shown = player.position;
    bool playing = player.state == 1 && (o.seconds < 0 || second < o.seconds);
    if (!playing && !o.stay) break;
    if (playing)
      player.Tick(1);
    else
      SendMessageA(player.window(), WM_TIMER, kPluginTimer, 0);
    player.Pump(static_cast<int>(pause));
  }
  ShowCharts(&player, o.charts);
  if (!o.marker.empty()) HoldForScreenshot(&player, o.marker);
  player.Unload();
  std::printf("stopped; the plug-in has quit\n");
  return 0;
}

}  // namespace
}  // namespace spinox::e2e

int main() {
  spinox::e2e::Options options;
  if (!spinox::e2e::Parse(spinox::e2e::Arguments(), &options)) {
    std::fputs(spinox::e2e::kUsage, stderr);
    return 2;
  }
  return spinox::e2e::Run(options);
}
