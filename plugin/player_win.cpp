// The player seam answered with messages to the player's main window.
#include "plugin/player_win.h"

#include <windows.h>

#include <cstring>
#include <string>

#include "base/player.h"
#include "db/records.h"

namespace spinox {

namespace {

class WinampPlayer : public Player {
 public:
  void Attach(HWND player) { player_ = player; }

  int PlayState() override { return static_cast<int>(Query(0, kQueryPlayState)); }
  int TrackLength() override { return static_cast<int>(Query(1, kQueryTrackLength)); }
  int PlaylistLength() override { return static_cast<int>(Query(0, kQueryPlaylistLength)); }
  int PlaylistPosition() override { return static_cast<int>(Query(0, kQueryPlaylistPosition)); }

  // The name lives in the player's memory until its next change: it is copied at once.
  bool PlaylistFile(int index, std::string* file) override {
    const char* name = reinterpret_cast<const char*>(Query(index, kQueryPlaylistFile));
    if (!name) return false;
    file->assign(name, strnlen(name, kPathSize - 1));
    return true;
  }

  void ClearPlaylist() override { Query(0, kQueryClearPlaylist); }

  void LoadPlaylist(const std::string& path) override {
    COPYDATASTRUCT data = {};
    data.dwData = kCopyDataLoadPlaylist;
    data.lpData = const_cast<char*>(path.c_str());
    data.cbData = static_cast<DWORD>(path.size() + 1);
    SendMessageA(player_, WM_COPYDATA, reinterpret_cast<WPARAM>(player_),
                 reinterpret_cast<LPARAM>(&data));
  }

  void Play() override { SendMessageA(player_, WM_COMMAND, kCommandPlay, 0); }

 private:
  LRESULT Query(WPARAM argument, PlayerQuery query) {
    return SendMessageA(player_, kPlayerMessage, argument, query);
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
