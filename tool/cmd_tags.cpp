// spinox tags: what the plug-in reads from each track file's tags.
#include <cerrno>
#include <cstdio>
#include <string>
#include <vector>

#include "base/file.h"
#include "base/text.h"
#include "tags/track_tag.h"
#include "tool/args.h"
#include "tool/json.h"
#include "tool/text_out.h"

namespace spinox::cli {

namespace {

const char kUsage[] =
    "usage: spinox tags [--json] FILE...\n"
    "Reads each file's tags (ID3v2, ID3v1, Ogg Vorbis comments; the file name when it has\n"
    "none) as the plug-in does and prints title, artist, album and whether a tag was found.\n"
    "\n  --json      print a JSON array of objects with file, title, artist, album, tagged\n";

// Why a file cannot be read, or empty when it can.
std::string Refusal(const std::string& path) {
  if (path.size() > static_cast<size_t>(kPathSize - 1))
    return "path longer than " + std::to_string(kPathSize - 1) + " bytes: " + path;
  if (!FileExists(path)) return "cannot read " + path + ": " + FileErrorText(errno);
  return "";
}

void PrintText(const std::string& path, const TrackTag& tag, FILE* out) {
  std::fprintf(out, "file: %s\ntitle: %s\nartist: %s\nalbum: %s\ntagged: %d\n\n",
               TerminalText(path).c_str(), TerminalText(FieldText(tag.title)).c_str(),
               TerminalText(FieldText(tag.artist)).c_str(),
               TerminalText(FieldText(tag.album)).c_str(), tag.tagged);
}

void PrintJson(const std::string& path, const TrackTag& tag, bool first, FILE* out) {
  std::fprintf(out,
               "%s{\"file\": %s, \"title\": %s, \"artist\": %s, \"album\": %s, \"tagged\": %s}",
               first ? "\n " : ",\n ", JsonString(path).c_str(),
               JsonString(FieldText(tag.title)).c_str(), JsonString(FieldText(tag.artist)).c_str(),
               JsonString(FieldText(tag.album)).c_str(), tag.tagged ? "true" : "false");
}

int RunTags(const std::vector<std::string>& argv, Io& io) {
  ParsedArgs args;
  if (!ParseArgs(argv, {}, {"--json"}, "tags", &args, io)) return kBadUsage;
  if (args.help) return std::fprintf(io.out, "%s", kUsage), kOk;
  if (args.positional.empty()) {
    std::fprintf(io.err, "%s", kUsage);
    return Fail(io, "tags", "give at least one FILE", kBadUsage);
  }
  bool json = args.Has("--json");
  int code = kOk;
  size_t shown = 0;
  if (json) std::fprintf(io.out, "[");
  for (const std::string& path : args.positional) {
    std::string refusal = Refusal(path);
    if (!refusal.empty()) {
      code = Fail(io, "tags", refusal);
      continue;
    }
    TrackTag tag{};
    SetField(tag.file, path);
    ReadTag(&tag);
    if (json)
      PrintJson(path, tag, shown == 0, io.out);
    else
      PrintText(path, tag, io.out);
    ++shown;
  }
  if (json) std::fprintf(io.out, "%s]\n", shown ? "\n" : "");
  return code;
}

Registration tags({"tags", "print the title, artist and album read from track files", RunTags});

}  // namespace

}  // namespace spinox::cli
