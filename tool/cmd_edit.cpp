// spinox edit: renames or merges a song, an album or an artist, as the edit dialog does.
#include <cstdlib>

#include "base/codepage.h"
#include "base/file.h"
#include "base/text.h"
#include "db/edit.h"
#include "db/lookup.h"
#include "tool/args.h"
#include "tool/terminal_user.h"

namespace spinox::cli {

namespace {

const char kUsage[] =
    "usage: spinox edit [--db DIR] [--merge|--no-merge] song ID [--title T] [--album A] [--artist "
    "R]\n"
    "       spinox edit [--db DIR] [--merge|--no-merge] album ID [--album A] [--artist R]\n"
    "       spinox edit [--db DIR] [--merge|--no-merge] artist ID --name N\n"
    "Gives the entry new names. When the names are those of another entry, the two\n"
    "are merged if you agree. A name not given keeps its present text. Prints which\n"
    "result happened: 0 merge declined, 1 unchanged, 2 merged, 3 renamed.\n\n"
    "  --db DIR      folder of the gen_spinox.* files (default $SPINOX_DB, else .)\n"
    "  --merge       merge without asking when a merge is offered\n"
    "  --no-merge    decline a merge without asking\n";

const char* const kResultText[4] = {
    "merge declined: nothing written",
    "unchanged: the names already identify this entry",
    "merged with the existing entry",
    "renamed: names changed in place",
};

// An id as given: a record number, or -1 (none), which the edit refuses.
bool ParseEditId(const std::string& text, RecId* id) {
  if (text == "-1") return *id = kNoId, true;
  if (text.empty() || text.size() > 10 || text.find_first_not_of("0123456789") != std::string::npos)
    return false;
  unsigned long long v = std::strtoull(text.c_str(), nullptr, 10);
  if (v >= kNoId) return false;
  *id = static_cast<RecId>(v);
  return true;
}

// The option's text as it is stored (UTF-8, malformed bytes made U+FFFD), or `present` when
// the option is not given.
bool NameOption(const ParsedArgs& args, const char* option, const char* present, Io& io,
                std::string* out) {
  if (!args.values.count(option)) return *out = present, true;
  *out = CleanUtf8(args.Get(option));
  if (out->size() < kNameSize) return true;
  Fail(io, "edit", std::string(option) + " is longer than 49 bytes", kBadUsage);
  return false;
}

int Edit(const std::string& kind, RecId id, const ParsedArgs& args, Io& io, int* result) {
  char title[kNameSize] = {}, album[kNameSize] = {}, artist[kNameSize] = {};
  int listType = kind == "song" ? 0 : kind == "album" ? 1 : 2;
  if (id != kNoId) GetSongInfo(id, listType, title, album, artist);
  std::string t, b, r, n;
  if (!NameOption(args, "--title", title, io, &t) || !NameOption(args, "--album", album, io, &b) ||
      !NameOption(args, "--artist", artist, io, &r) || !NameOption(args, "--name", artist, io, &n))
    return kBadUsage;
  if (kind == "song") *result = UpdateSong(id, t.c_str(), b.c_str(), r.c_str());
  if (kind == "album") *result = UpdateAlbum(id, b.c_str(), r.c_str());
  if (kind == "artist") *result = UpdateArtist(id, n.c_str());
  return kOk;
}

bool OptionsFit(const std::string& kind, const ParsedArgs& args) {
  if (kind == "song") return !args.Has("--name");
  if (kind == "album") return !args.Has("--name") && !args.Has("--title");
  return kind == "artist" && !args.Has("--title") && !args.Has("--album") && !args.Has("--artist");
}

int RunEdit(const std::vector<std::string>& argv, Io& io) {
  ParsedArgs args;
  if (!ParseArgs(argv, {"--db", "--title", "--album", "--artist", "--name"},
                 {"--merge", "--no-merge"}, "edit", &args, io))
    return kBadUsage;
  if (args.help) return std::fprintf(io.out, "%s", kUsage), kOk;
  RecId id;
  if (args.positional.size() != 2 || !OptionsFit(args.positional[0], args) ||
      (args.Has("--merge") && args.Has("--no-merge")))
    return Fail(io, "edit", "give song, album or artist, an ID and its options (see --help)",
                kBadUsage);
  if (!ParseEditId(args.positional[1], &id))
    return Fail(io, "edit", "'" + args.positional[1] + "' is not an id", kBadUsage);
  if (!UseDatabaseForWriting(args, "edit", io)) return kFailed;
  Answer answer = args.Has("--merge")      ? Answer::kYes
                  : args.Has("--no-merge") ? Answer::kNo
                                           : Answer::kAsk;
  TerminalUser user(io, answer);
  int result = kEditFailed;
  int rc = Edit(args.positional[0], id, args, io, &result);
  if (rc != kOk) return rc;
  if (result == kEditRefused) return Fail(io, "edit", user.note());
  if (result == kEditFailed) return Fail(io, "edit", LastIoError() + "; nothing was changed");
  std::fprintf(io.out, "result %d: %s\n", result, kResultText[result]);
  return kOk;
}

Registration edit({"edit", "rename or merge a song, album or artist", RunEdit});

}  // namespace

}  // namespace spinox::cli
