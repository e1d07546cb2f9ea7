// An LD_PRELOAD library that makes the n-th write, flush (fsync) or rename of a process fail,
// as a full or failing disk would, so that the real tool binary can be driven through every
// failure point of a change.
//
//   FAULTSHIM_AT=N        the N-th counted call fails (1-based); 0 or unset: none fails
//   FAULTSHIM_OPS=LIST    which calls count, comma-separated: write, fsync, rename, remove
//                         (default "write,fsync,rename")
//   FAULTSHIM_ERRNO=NAME  ENOSPC (default) or EIO
//   FAULTSHIM_STICKY=1    every counted call from the N-th on fails (a disk that stays full)
//   FAULTSHIM_COUNT=PATH  at exit, "CALLS FAILED" is written to PATH: how many counted calls
//                         the process made and how many of them were made to fail
//
// Writes count only when they go to a regular file (standard output and pipes never fail);
// fsync counts for files and folders alike. A stream write (fwrite) counts as one write.
#define _GNU_SOURCE
#include <dlfcn.h>
#include <errno.h>
#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

enum { kWrite = 1, kFsync = 2, kRename = 4, kRemove = 8 };

static int gOps = kWrite | kFsync | kRename;
static long gAt = 0;
static int gErrno = ENOSPC;
static int gSticky = 0;
static long gCalls = 0;
static long gFailed = 0;
static const char* gCountPath = NULL;

__attribute__((constructor)) static void ReadSettings(void) {
  const char* at = getenv("FAULTSHIM_AT");
  const char* ops = getenv("FAULTSHIM_OPS");
  const char* err = getenv("FAULTSHIM_ERRNO");
  const char* sticky = getenv("FAULTSHIM_STICKY");
  if (at) gAt = strtol(at, NULL, 10);
  if (ops) {
    gOps = 0;
    if (strstr(ops, "write")) gOps |= kWrite;
    if (strstr(ops, "fsync")) gOps |= kFsync;
    if (strstr(ops, "rename")) gOps |= kRename;
    if (strstr(ops, "remove")) gOps |= kRemove;
  }
  if (err && strcmp(err, "EIO") == 0) gErrno = EIO;
  gSticky = sticky && strcmp(sticky, "1") == 0;
  gCountPath = getenv("FAULTSHIM_COUNT");
}

__attribute__((destructor)) static void WriteCount(void) {
  if (!gCountPath) return;
  int fd = open(gCountPath, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) return;
  char text[64];
  int n = snprintf(text, sizeof text, "%ld %ld\n", gCalls, gFailed);
  ssize_t (*real)(int, const void*, size_t) =
      (ssize_t(*)(int, const void*, size_t))dlsym(RTLD_NEXT, "write");
  if (n > 0 && real) (void)real(fd, text, (size_t)n);
  close(fd);
}

// Counts a call of kind `op`; true when this one is to fail (errno is then set).
static int Fails(int op) {
  if (!(gOps & op)) return 0;
  ++gCalls;
  if (gAt <= 0 || gCalls < gAt || (gCalls > gAt && !gSticky)) return 0;
  ++gFailed;
  errno = gErrno;
  return 1;
}

static int IsRegular(int fd) {
  struct stat st;
  return fd >= 0 && fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
}

#define REAL(name, type) ((type)dlsym(RTLD_NEXT, name))

ssize_t write(int fd, const void* buf, size_t n) {
  if (IsRegular(fd) && Fails(kWrite)) return -1;
  return REAL("write", ssize_t(*)(int, const void*, size_t))(fd, buf, n);
}

ssize_t pwrite(int fd, const void* buf, size_t n, off_t at) {
  if (IsRegular(fd) && Fails(kWrite)) return -1;
  return REAL("pwrite", ssize_t(*)(int, const void*, size_t, off_t))(fd, buf, n, at);
}

// glibc's streams write through an internal entry that an LD_PRELOAD library cannot replace.
size_t fwrite(const void* buf, size_t size, size_t count, FILE* f) {
  if (size && count && IsRegular(fileno(f)) && Fails(kWrite)) return 0;
  return REAL("fwrite", size_t(*)(const void*, size_t, size_t, FILE*))(buf, size, count, f);
}

int fsync(int fd) {
  if (Fails(kFsync)) return -1;
  return REAL("fsync", int (*)(int))(fd);
}

int fdatasync(int fd) {
  if (Fails(kFsync)) return -1;
  return REAL("fdatasync", int (*)(int))(fd);
}

int rename(const char* from, const char* to) {
  if (Fails(kRename)) return -1;
  return REAL("rename", int (*)(const char*, const char*))(from, to);
}

int renameat(int fromDir, const char* from, int toDir, const char* to) {
  if (Fails(kRename)) return -1;
  return REAL("renameat", int (*)(int, const char*, int, const char*))(fromDir, from, toDir, to);
}

int unlink(const char* path) {
  if (Fails(kRemove)) return -1;
  return REAL("unlink", int (*)(const char*))(path);
}

int remove(const char* path) {
  if (Fails(kRemove)) return -1;
  return REAL("remove", int (*)(const char*))(path);
}
