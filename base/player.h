// Every exchange with the player goes through this interface. The Win32 shell answers it with
// messages to the player window; tests and the tool use a scripted player.
#pragma once
#include <string>

namespace spinox {

class Player {
 public:
  virtual ~Player() = default;
  // 1 while playing; other values (stopped, paused) are not acted on.
  virtual int PlayState() = 0;
  // Length of the current track in seconds, -1 when unknown.
  virtual int TrackLength() = 0;
  virtual int PlaylistLength() = 0;
  // Index of the current playlist entry.
  virtual int PlaylistPosition() = 0;
  // File name of a playlist entry in UTF-8, at most 249 bytes (cut between characters); false
  // past the end.
  virtual bool PlaylistFile(int index, std::string* file) = 0;
  virtual void ClearPlaylist() = 0;
  // Loads a UTF-8 playlist (.m3u8) into the player's list. False when the player does not take
  // it (an older player): it is given the same list in the ANSI code page instead.
  virtual bool LoadPlaylist(const std::string& path) = 0;
  // Loads a playlist in the ANSI code page (.m3u); `path` is UTF-8, passed on in the form the
  // player reads.
  virtual void LoadAnsiPlaylist(const std::string& path) = 0;
  virtual void Play() = 0;
};

// The player the core talks to; null until the shell or a test installs one.
Player* CurrentPlayer();
void SetCurrentPlayer(Player* player);

}  // namespace spinox
