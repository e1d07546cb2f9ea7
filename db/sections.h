// The run of four record sections shared by backup files and the old single-file database: for
// the hit, song, artist and album files in that order, a 32-bit count and that many records.
#pragma once
#include <cstddef>
#include <cstdint>

#include "base/file.h"

namespace spinox {

constexpr int kSectionCount = 4;

struct SectionFile {
  const char* name;  // the record file
  size_t recSize;
};
// Hits, songs, artists, albums: the order of the sections, not of the file names.
extern const SectionFile kSectionFiles[kSectionCount];

struct Sections {
  int64_t offset[kSectionCount];  // where each section's records start
  uint32_t count[kSectionCount];
  int64_t end;  // just past the last album record
};

// Reads the four counts from `start` on in an open file of `size` bytes. False when a count is
// negative or promises more records than the file holds; the layout is then unusable.
bool ReadSections(File& f, int64_t start, int64_t size, Sections* out);

// Rewrites each record file (FullPath: the staged copy while a Change is open) with its
// section's records. False when anything could not be read or written.
bool WriteSectionFiles(File& f, const Sections& s);

// Appends one section for a record file to `out`: the count of its whole records and the
// records. A missing record file gives the count 0.
bool WriteSection(File& out, const SectionFile& file);

}  // namespace spinox
