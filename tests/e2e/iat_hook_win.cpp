#include "tests/e2e/iat_hook_win.h"

#include <cstring>

namespace spinox::e2e {

namespace {

template <typename T>
T* At(HMODULE module, DWORD rva) {
  return reinterpret_cast<T*>(reinterpret_cast<BYTE*>(module) + rva);
}

void* Patch(void** slot, void* replacement) {
  DWORD old = 0;
  if (!VirtualProtect(slot, sizeof *slot, PAGE_READWRITE, &old)) return nullptr;
  void* before = *slot;
  *slot = replacement;
  VirtualProtect(slot, sizeof *slot, old, &old);
  return before;
}

void* HookIn(HMODULE module, const IMAGE_IMPORT_DESCRIPTOR& d, const char* function,
             void* replacement) {
  auto* names =
      At<IMAGE_THUNK_DATA>(module, d.OriginalFirstThunk ? d.OriginalFirstThunk : d.FirstThunk);
  auto* slots = At<IMAGE_THUNK_DATA>(module, d.FirstThunk);
  for (; names->u1.AddressOfData; ++names, ++slots) {
    if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
    auto* byName = At<IMAGE_IMPORT_BY_NAME>(module, static_cast<DWORD>(names->u1.AddressOfData));
    if (std::strcmp(reinterpret_cast<const char*>(byName->Name), function) != 0) continue;
    return Patch(reinterpret_cast<void**>(&slots->u1.Function), replacement);
  }
  return nullptr;
}

}  // namespace

void* HookImport(HMODULE module, const char* dll, const char* function, void* replacement) {
  auto* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(module);
  auto* nt = At<IMAGE_NT_HEADERS>(module, dos->e_lfanew);
  const IMAGE_DATA_DIRECTORY& dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  if (!dir.VirtualAddress) return nullptr;
  for (auto* d = At<IMAGE_IMPORT_DESCRIPTOR>(module, dir.VirtualAddress); d->Name; ++d) {
    if (lstrcmpiA(At<const char>(module, d->Name), dll) != 0) continue;
    if (void* before = HookIn(module, *d, function, replacement)) return before;
  }
  return nullptr;
}

}  // namespace spinox::e2e
