// spinox settings: every field of a settings file, by name.
#include <cerrno>
#include <cstring>

#include "base/file.h"
#include "base/text.h"
#include "db/paths.h"
#include "db/text_encoding.h"
#include "settings/settings.h"
#include "tool/args.h"
#include "tool/json.h"
#include "tool/text_out.h"

namespace spinox::cli {

namespace {

const char kUsage[] =
    "usage: spinox settings [--db DIR] [--json] [FILE]\n"
    "       spinox settings [--db DIR] [--json] --defaults\n"
    "Prints every field of a settings file (default: gen_spinox.dat in the database\n"
    "folder) with its name, or the values a first start gives. Fields that a short\n"
    "file does not hold show the defaults the plug-in takes for them. Texts are read\n"
    "in the encoding of the database folder's files (UTF-8, or an earlier version's ANSI).\n\n"
    "  --db DIR     folder of the gen_spinox.* files (default $SPINOX_DB, else .)\n"
    "  --json       print JSON\n"
    "  --defaults   print the defaults\n";

std::string ColorText(uint32_t c) {
  if (c == kNoColor) return "none";
  char buf[16];
  std::snprintf(buf, sizeof buf, "#%.2x%.2x%.2x", c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
  return buf;
}

// A settings text for a terminal: its line breaks as \n, other control characters as \xNN.
std::string Escaped(const std::string& utf8) {
  std::string out;
  for (char c : TerminalText(utf8, true)) out += c == '\n' ? std::string("\\n") : std::string(1, c);
  return out;
}

// The field's value as text (`json`: as a JSON value), its texts read in `encoding`.
std::string FieldValue(const SettingsField& f, const unsigned char* rec, bool json,
                       TextEncoding encoding) {
  const unsigned char* p = rec + f.offset;
  int32_t v;
  std::memcpy(&v, p, 4);
  uint32_t u = static_cast<uint32_t>(v);
  std::string text = FieldText(reinterpret_cast<const char*>(p), static_cast<size_t>(f.width));
  switch (f.kind) {
    case SettingsFieldKind::kMagic:
    case SettingsFieldKind::kText:
      text = StoredTextAsUtf8(text, encoding);
      return json ? JsonString(text) : Escaped(text);
    case SettingsFieldKind::kColor:
      if (json) return std::to_string(u);
      return std::to_string(u) + " (" + ColorText(u) + ")";
    case SettingsFieldKind::kTime:
      if (json || v == 0) return std::to_string(v);
      return std::to_string(v) + " (" + FormatTime(v) + ")";
    case SettingsFieldKind::kRect: {
      int32_t r[4];
      std::memcpy(r, p, sizeof r);
      std::string list = std::to_string(r[0]) + ", " + std::to_string(r[1]) + ", " +
                         std::to_string(r[2]) + ", " + std::to_string(r[3]);
      return json ? "[" + list + "]" : list;
    }
    default:
      return std::to_string(v);
  }
}

void Print(const Settings& rec, const std::string& source, int64_t bytes, bool json,
           TextEncoding encoding, FILE* out) {
  const unsigned char* raw = reinterpret_cast<const unsigned char*>(&rec);
  if (json) {
    std::fprintf(out, "{\"file\": %s, \"bytes\": %lld, \"fields\": {\n", JsonString(source).c_str(),
                 static_cast<long long>(bytes));
  } else {
    std::fprintf(out, "file: %s (%lld bytes)\n", source.c_str(), static_cast<long long>(bytes));
    if (bytes >= 0 && bytes < kSettingsSize)
      std::fprintf(out, "fields past byte %lld show their defaults\n",
                   static_cast<long long>(bytes));
  }
  const std::vector<SettingsField>& fields = SettingsFields();
  for (size_t i = 0; i < fields.size(); ++i) {
    const SettingsField& f = fields[i];
    if (json)
      std::fprintf(out, "  %s: %s%s\n", JsonString(f.name).c_str(),
                   FieldValue(f, raw, true, encoding).c_str(), i + 1 < fields.size() ? "," : "");
    else
      std::fprintf(out, "%-16s %s\n", f.name, FieldValue(f, raw, false, encoding).c_str());
  }
  if (json) std::fprintf(out, "}}\n");
}

int RunSettings(const std::vector<std::string>& argv, Io& io) {
  ParsedArgs args;
  if (!ParseArgs(argv, {"--db"}, {"--json", "--defaults"}, "settings", &args, io)) return kBadUsage;
  if (args.help) return std::fprintf(io.out, "%s", kUsage), kOk;
  bool defaults = args.Has("--defaults");
  if (args.positional.size() > (defaults ? 0u : 1u))
    return Fail(io, "settings", "give at most one FILE, and none with --defaults", kBadUsage);
  if (!UseDatabaseDir(args, "settings", io)) return kFailed;
  if (defaults) {
    Print(DefaultSettings(), "(defaults)", kSettingsSize, args.Has("--json"), TextEncoding::kUtf8,
          io.out);
    return kOk;
  }
  std::string path = args.positional.empty() ? FullPath(kSettingsFile) : args.positional[0];
  int64_t size = FileSize(path);
  if (size < 0) return Fail(io, "settings", "cannot read '" + path + "': " + FileErrorText(errno));
  Settings rec;
  if (!ReadSettingsFile(path, &rec))
    return Fail(io, "settings",
                "'" + path + "' is not a settings file (it does not begin with SPX)");
  Print(rec, path, size, args.Has("--json"), StoredTextEncoding(), io.out);
  return kOk;
}

Registration settings({"settings", "print the fields of a settings file", RunSettings});

}  // namespace

}  // namespace spinox::cli
