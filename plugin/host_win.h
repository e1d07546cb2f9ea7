// The player's side of the plug-in interface, declared from the numbers the player documents
// for its general-purpose plug-ins: the plug-in record, the private messages and the record of
// an embedded (skinned) window.
#pragma once
#include <windows.h>

#include <cstddef>

namespace spinox {

// Queries: SendMessageA(player, kPlayerMessage, argument, query number).
constexpr UINT kPlayerMessage = WM_USER;
enum PlayerQuery : LPARAM {
  kQueryClearPlaylist = 101,
  kQueryPlayState = 104,
  kQueryTrackLength = 105,  // argument 1: length in seconds, -1 unknown
  kQueryPlaylistLength = 124,
  kQueryPlaylistPosition = 125,
  kQueryPlaylistFile = 211,      // argument: entry index; the answer is the ANSI name, or 0
  kQueryPlaylistFileWide = 214,  // the same as a NUL-terminated UTF-16 name; 0 from older players
  kQuerySkinBitmap = 503,        // the skin's dialog-colour bitmap, or 0
  kQueryEmbedFrame = 505,        // argument: an EmbedWindowState; the answer is the frame, or 0
};

// WM_COPYDATA: load the playlist whose NUL-terminated path is the data, in the ANSI code page
// (100), or in UTF-16 with cbData counting the bytes of the NUL too (1100; older players answer
// it 0). The player reads an .m3u8 as UTF-8 and an .m3u in the ANSI code page.
constexpr ULONG_PTR kCopyDataLoadPlaylist = 100;
constexpr ULONG_PTR kCopyDataLoadPlaylistWide = 1100;
constexpr WPARAM kCommandPlay = 40045;  // WM_COMMAND: start playing

// The plug-in record the player receives from the export. The three operations use the
// compiler's default calling convention.
struct PluginRecord {
  int version;
  const char* description;
  int (*init)();
  void (*config)();
  void (*quit)();
  HWND hwndParent;         // the player's main window, filled in by the player
  HINSTANCE hDllInstance;  // this module, filled in by the player
};
constexpr int kPluginRecordVersion = 16;

// An embedded window: the plug-in fills in `r` (where the frame goes) and asks the player for
// a frame with kQueryEmbedFrame; the player keeps `r` current as the frame moves. The record is
// laid out with the platform's natural alignment, as the player compiles it: on 64-bit builds
// the user pointer is 8-aligned, which leaves 4 bytes after the rectangle.
constexpr int kEmbedExtraInts = 64;
struct EmbedWindowState {
  HWND me;  // the frame, set by the player
  int flags;
  RECT r;
  void* user_ptr;
  int extra_data[kEmbedExtraInts];  // the player's own
};
#ifdef _WIN64
static_assert(offsetof(EmbedWindowState, r) == 12, "frame rectangle");
static_assert(offsetof(EmbedWindowState, user_ptr) == 32, "user pointer");
static_assert(sizeof(EmbedWindowState) == 296, "the 64-bit player's record");
#else
static_assert(offsetof(EmbedWindowState, r) == 8, "frame rectangle");
static_assert(offsetof(EmbedWindowState, user_ptr) == 24, "user pointer");
static_assert(sizeof(EmbedWindowState) == 284, "the 32-bit player's record");
#endif

}  // namespace spinox
