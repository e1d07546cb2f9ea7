// The player seam answered with messages to the player's main window.
#include "plugin/player_win.h"

#include <windows.h>

#include <cstring>
#include <cwchar>
#include <string>

#include "base/ansi_path.h"
#include "base/codepage.h"
#include "base/player.h"
#include "db/records.h"

namespace spinox {

namespace {

// The longest name Windows has, in characters: a name is never read past it.
constexpr size_t kLongestName = 32767;

class WinampPlayer : public Player {
 public:
  void Attach(HWND player) { player_ = player; }

  int PlayState() override { return static_cast<int>(Query(0, kQueryPlayState)); }
  int TrackLength() override { return static_cast<int>(Query(1, kQueryTrackLength)); }
  int PlaylistLength() override { return static_cast<int>(Query(0, kQueryPlaylistLength)); }
  int PlaylistPosition() override { return static_cast<int>(Query(0, kQueryPlaylistPosition)); }

  // The name lives in the player's memory until its next change: it is copied at once. Older
  // players answer only the ANSI query.
  bool PlaylistFile(int index, std::string* file) override {
    auto* wide = reinterpret_cast<const wchar_t*>(Query(index, kQueryPlaylistFileWide));
    if (wide) {
      *file = Utf8FromWide(wide, wcsnlen(wide, kLongestName));
    } else {
      auto* ansi = reinterpret_cast<const char*>(Query(index, kQueryPlaylistFile));
      if (!ansi) return false;
      *file = AnsiToUtf8(std::string(ansi, strnlen(ansi, kLongestName)));
    }
    file->resize(Utf8CutLength(file->data(), file->size(), kPathSize - 1));
    return true;
  }

  void ClearPlaylist() override { Query(0, kQueryClearPlaylist); }

  bool LoadPlaylist(const std::string& path) override {
    std::wstring wide = WideFromUtf8(path);
    return Copy(kCopyDataLoadPlaylistWide, wide.c_str(), (wide.size() + 1) * sizeof(wchar_t));
  }

  void LoadAnsiPlaylist(const std::string& path) override {
    std::string ansi = AnsiPathOf(path).text;
    Copy(kCopyDataLoadPlaylist, ansi.c_str(), ansi.size() + 1);
  }

  void Play() override { SendMessageA(player_, WM_COMMAND, kCommandPlay, 0); }

 private:
  LRESULT Query(WPARAM argument, PlayerQuery query) {
    return SendMessageA(player_, kPlayerMessage, argument, query);
  }

  bool Copy(ULONG_PTR kind, const void* data, size_t bytes) {
    COPYDATASTRUCT copy = {};
    copy.dwData = kind;
    copy.lpData = const_cast<void*>(data);
    copy.cbData = static_cast<DWORD>(bytes);
    return SendMessageA(player_, WM_COPYDATA, reinterpret_cast<WPARAM>(player_),
                        reinterpret_cast<LPARAM>(&copy)) != 0;
  }

  HWND player_ = nullptr;
};

WinampPlayer gPlayer;

}  // namespace

HBITMAP QuerySkinBitmap(HWND player) {
  return reinterpret_cast<HBITMAP>(SendMessageA(player, kPlayerMessage, 0, kQuerySkinBitmap));
}

HWND QueryEmbedFrame(HWND player, EmbedWindowState* state) {
  return reinterpret_cast<HWND>(
      SendMessageA(player, kPlayerMessage, reinterpret_cast<WPARAM>(state), kQueryEmbedFrame));
}

void InstallWinampPlayer(HWND player) {
  gPlayer.Attach(player);
  SetCurrentPlayer(&gPlayer);
}

void RemoveWinampPlayer() {
  if (CurrentPlayer() == &gPlayer) SetCurrentPlayer(nullptr);
  gPlayer.Attach(nullptr);
}

}  // namespace spinox
