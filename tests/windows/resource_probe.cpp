// resource_probe: reads a program's resources as Explorer does for the file's properties and icon,
// from outside the program: the version block (through the system's version calls) and the icon
// group, whose images it compares with an .ico file.
//
//   resource_probe PROGRAM.exe ICON.ico
//
// Prints key=value lines (UTF-8): Translation, the version strings, the fixed version numbers,
// Icon (the .ico's name when the group holds exactly its images, in its order) and IconLoads
// (whether the system makes a 32-pixel icon of it). Exit code 1 when the program has no version
// block or no icon group.
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/win32/wide.h"

namespace {

using tarvik::platform::Narrow;
using tarvik::platform::Widen;

#pragma pack(push, 2)
struct GroupEntry {  // GRPICONDIRENTRY: an entry of RT_GROUP_ICON
  BYTE width, height, colors, reserved;
  WORD planes, bit_count;
  DWORD bytes;
  WORD id;
};
#pragma pack(pop)

struct FileEntry {  // ICONDIRENTRY: an entry of an .ico file
  BYTE width, height, colors, reserved;
  WORD planes, bit_count;
  DWORD bytes, offset;
};

std::string FixedVersion(DWORD high, DWORD low) {
  return std::to_string(HIWORD(high)) + "." + std::to_string(LOWORD(high)) + "." + std::to_string(HIWORD(low)) +
         "." + std::to_string(LOWORD(low));
}

bool PrintVersion(const std::wstring& program) {
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeW(program.c_str(), &ignored);
  if (size == 0) return false;
  std::vector<char> block(size);
  if (!GetFileVersionInfoW(program.c_str(), 0, size, block.data())) return false;
  void* value = nullptr;
  UINT length = 0;
  if (!VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation", &value, &length) || length < 4) return false;
  const WORD* translation = static_cast<const WORD*>(value);
  wchar_t language[16];
  std::swprintf(language, 16, L"%04X%04X", translation[0], translation[1]);
  std::printf("Translation=%s\n", Narrow(language).c_str());
  for (const wchar_t* name : {L"FileVersion", L"ProductVersion", L"FileDescription", L"ProductName", L"CompanyName",
                              L"InternalName", L"OriginalFilename"}) {
    const std::wstring query = std::wstring(L"\\StringFileInfo\\") + language + L"\\" + name;
    std::string text = "(manca)";
    if (VerQueryValueW(block.data(), query.c_str(), &value, &length) && length > 0)
      text = Narrow(static_cast<const wchar_t*>(value));
    std::printf("%s=%s\n", Narrow(name).c_str(), text.c_str());
  }
  if (!VerQueryValueW(block.data(), L"\\", &value, &length) || length < sizeof(VS_FIXEDFILEINFO)) return false;
  const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(value);
  std::printf("FixedFileVersion=%s\nFixedProductVersion=%s\n",
              FixedVersion(fixed->dwFileVersionMS, fixed->dwFileVersionLS).c_str(),
              FixedVersion(fixed->dwProductVersionMS, fixed->dwProductVersionLS).c_str());
  return true;
}

BOOL CALLBACK FirstName(HMODULE, LPCWSTR, LPWSTR name, LONG_PTR found) {
  *reinterpret_cast<LPCWSTR*>(found) = name;
  return FALSE;
}

std::string ReadWholeFile(const std::string& path) {
  std::ifstream in(Widen(path).c_str(), std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// What differs between the module's icon group and the .ico file; empty when nothing does.
std::string CompareIcon(HMODULE module, const GroupEntry* entries, WORD count, const std::string& ico) {
  if (ico.size() < 6) return "il file .ico non si legge";
  WORD file_count = 0;
  std::memcpy(&file_count, ico.data() + 4, 2);
  if (file_count != count) return std::to_string(count) + " immagini invece di " + std::to_string(file_count);
  for (WORD i = 0; i < count; ++i) {
    FileEntry file{};
    if (ico.size() < 6 + 16u * (i + 1u)) return "il file .ico è troncato";
    std::memcpy(&file, ico.data() + 6 + 16 * i, sizeof file);
    const std::string size = std::to_string(entries[i].width ? entries[i].width : 256);
    if (file.width != entries[i].width || file.height != entries[i].height || file.bytes != entries[i].bytes)
      return "l'immagine " + std::to_string(i) + " (" + size + " pixel) non corrisponde";
    HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(entries[i].id), MAKEINTRESOURCEW(3));  // RT_ICON
    HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
    if (!loaded || SizeofResource(module, found) != file.bytes || ico.size() < file.offset + file.bytes)
      return "l'immagine " + std::to_string(i) + " (" + size + " pixel) manca";
    if (std::memcmp(LockResource(loaded), ico.data() + file.offset, file.bytes) != 0)
      return "l'immagine " + std::to_string(i) + " (" + size + " pixel) è diversa";
  }
  return {};
}

bool PrintIcon(const std::wstring& program, const std::string& ico_path) {
  HMODULE module = LoadLibraryExW(program.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  if (!module) return false;
  LPCWSTR group_name = nullptr;
  EnumResourceNamesW(module, MAKEINTRESOURCEW(14), FirstName, reinterpret_cast<LONG_PTR>(&group_name));  // RT_GROUP_ICON
  HRSRC group = group_name ? FindResourceW(module, group_name, MAKEINTRESOURCEW(14)) : nullptr;
  HGLOBAL loaded = group ? LoadResource(module, group) : nullptr;
  if (!loaded || SizeofResource(module, group) < 6) {
    FreeLibrary(module);
    return false;
  }
  const auto* bytes = static_cast<const BYTE*>(LockResource(loaded));
  WORD count = 0;
  std::memcpy(&count, bytes + 4, 2);
  std::vector<GroupEntry> entries(count);
  if (SizeofResource(module, group) >= 6 + sizeof(GroupEntry) * count)
    std::memcpy(entries.data(), bytes + 6, sizeof(GroupEntry) * count);
  else
    count = 0;
  const std::string difference = CompareIcon(module, entries.data(), count, ReadWholeFile(ico_path));
  const std::string name = ico_path.substr(ico_path.find_last_of("/\\") + 1);
  std::printf("Icon=%s\n", difference.empty() ? name.c_str() : difference.c_str());
  HANDLE icon = LoadImageW(module, group_name, IMAGE_ICON, 32, 32, 0);
  std::printf("IconLoads=%s\n", icon ? "sì" : "no");
  if (icon) DestroyIcon(static_cast<HICON>(icon));
  FreeLibrary(module);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "uso: resource_probe PROGRAMMA.exe ICONA.ico\n");
    return 64;
  }
  const std::wstring program = Widen(argv[1]);
  const bool version = PrintVersion(program);
  if (!version) std::puts("Version=(manca)");
  const bool icon = PrintIcon(program, argv[2]);
  if (!icon) std::puts("Icon=(manca)");
  return version && icon ? 0 : 1;
}
