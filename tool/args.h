// Option parsing shared by the tool's commands.
#pragma once
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "tool/command.h"

namespace spinox::cli {

struct ParsedArgs {
  std::map<std::string, std::string> values;  // options that take a value (last one wins)
  std::set<std::string> flags;                // options without a value
  std::vector<std::string> positional;
  bool help = false;  // --help or -h was given

  bool Has(const std::string& name) const { return flags.count(name) || values.count(name); }
  std::string Get(const std::string& name, const std::string& fallback = "") const;
};

// Parses `args` against the options a command knows: `valued` take the next argument (or
// "--name=value"), `flags` take none. "--" ends the options. On an unknown option or a missing
// value it prints "spinox COMMAND: ..." to io.err and returns false.
bool ParseArgs(const std::vector<std::string>& args, const std::vector<std::string>& valued,
               const std::vector<std::string>& flags, const char* command, ParsedArgs* out, Io& io);

// Parses YYYY-MM-DD[THH:MM[:SS]] in local time or @UNIXTIME; false when malformed, out of
// range, or not representable as a signed 32-bit time.
bool ParseDate(const std::string& text, int32_t* out);
// Why the date option's text is not a date the files can hold: malformed, or outside the
// 32-bit range (the message names the range).
std::string DateProblem(const std::string& option, const std::string& text);
// Parses the date option's value; prints DateProblem and returns false when it is no date.
bool ReadDate(const ParsedArgs& args, const std::string& option, const char* command, Io& io,
              int32_t* out);

// Formats a time as local "YYYY-MM-DD HH:MM:SS" (empty for 0).
std::string FormatTime(int32_t t);

// Points the database at --db, else $SPINOX_DB, else the current folder, and finishes or
// undoes a change a process that died left unfinished (saying so). False (with a message) when
// the folder is not one, or a data file there is a folder, pipe or device.
bool UseDatabaseDir(const ParsedArgs& args, const char* command, Io& io);
// UseDatabaseDir for a command that writes: an earlier version's database is first converted
// to UTF-8 texts (a backup first; both said on io.err), a new folder marked. False (with a
// message, nothing changed) when that cannot be done.
bool UseDatabaseForWriting(const ParsedArgs& args, const char* command, Io& io);
// Only points the database at the folder, for a command that reports the rest itself.
void SetDatabaseDir(const ParsedArgs& args);

// Fixes "now" from the named date option when it is given; prints an error and returns false
// when the date is bad.
bool ApplyNow(const ParsedArgs& args, const std::string& option, const char* command, Io& io);

// Prints "spinox COMMAND: message" to io.err and returns `code`.
int Fail(Io& io, const char* command, const std::string& message, int code = kFailed);

}  // namespace spinox::cli
