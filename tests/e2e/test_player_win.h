// A stand-in for the player: a main window that answers the player's messages, frames for
// embedded windows, a skin bitmap, a playlist that "plays" without sound, and the plug-in
// loaded and driven as the player drives it. Used by spinox-player.exe and the end-to-end tests.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "plugin/host_win.h"

namespace spinox::e2e {

constexpr UINT_PTR kPluginTimer = 1923;
constexpr int kUnknownLength = -1;

struct Entry {
  std::string file;             // UTF-8
  int length = kUnknownLength;  // seconds
};

class TestPlayer {
 public:
  TestPlayer();
  ~TestPlayer();
  TestPlayer(const TestPlayer&) = delete;
  TestPlayer& operator=(const TestPlayer&) = delete;

  HWND window() const { return window_; }
  WNDPROC ownProcedure() const;

  // The playlist. state: 0 stopped, 1 playing, 3 paused.
  std::vector<Entry> playlist;
  int position = 0;
  int state = 0;
  int elapsed = 0;              // seconds into the current entry
  bool closeRequested = false;  // the main window was asked to close
  // Appends an M3U playlist's entries (#EXTINF lengths, paths relative to the list's folder),
  // the file opened by its wide name: an .m3u8 is UTF-8, an .m3u in the ANSI code page.
  bool LoadM3u(const std::string& path);
  // An older player: answers 0 to the wide name query (214) and to the wide playlist path
  // (WM_COPYDATA 1100), as players before them do.
  bool older = false;
  // The playlists loaded through WM_COPYDATA: "1100 PATH" or "100 PATH", the path in UTF-8.
  std::vector<std::string> loads;

  // The skin bitmap handed out for query 503: the top row's pixels from x = 0 (0x00BBGGRR).
  // Without pixels the player has no bitmap. Each query makes a new bitmap: the plug-in owns it.
  std::vector<COLORREF> skinRow;
  int skinQueries = 0;

  // Frames for query 505, in the order asked; none when framesRefused.
  bool framesRefused = false;
  std::vector<HWND> frames;
  std::vector<EmbedWindowState*> frameStates;
  // The plug-in's window inside the n-th frame.
  HWND Embedded(size_t n) const;

  // The plug-in.
  bool Load(const std::string& dllPath);
  PluginRecord* plugin() const { return plugin_; }
  HMODULE module() const { return module_; }
  int Init();
  void Quit();
  void Unload();  // quits first when needed
  bool initialized() const { return initialized_; }

  // A second guest that subclasses the main window as plug-ins do and, like Spinox, gives the
  // window its procedure back at quit only while its own is the one installed, else keeps
  // passing messages on (and steps out once on top again). It counts the messages it sees.
  void LoadGuest();
  void QuitGuest();
  int guestMessages() const;
  bool guestInChain() const;

  // Stops the plug-in's real timer so that only Tick drives the plug-in.
  void StopRealTimer();
  // n seconds: the timer message as the plug-in's timer sends it, then playback moves on.
  void Tick(int n = 1);
  // Dispatches pending messages for about `ms` milliseconds (0: only what is queued).
  void Pump(int ms = 0);

 private:
  static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT Answer(UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT Query(WPARAM argument, LPARAM query);
  HBITMAP MakeSkinBitmap();
  HWND MakeFrame(EmbedWindowState* state);
  void Advance();

  // The name last handed out by query 214 (UTF-16) and by 211 (ANSI code page): valid until
  // the next query, as the player's own.
  std::wstring wideName_;
  std::string ansiName_;
  HWND window_ = nullptr;
  HMODULE module_ = nullptr;
  PluginRecord* plugin_ = nullptr;
  bool initialized_ = false;
};

// The folder of the running executable, without a trailing backslash.
std::string ExeFolder();

}  // namespace spinox::e2e
