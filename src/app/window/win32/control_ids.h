// The window's class and control ids: fixed, so that other programs (the tests' probe among them)
// find the controls as they find those of any Windows dialog. None is IDOK or IDCANCEL, so Enter
// and Escape outside the button do nothing.
#pragma once

namespace tarvik::app::window::win32 {

inline constexpr wchar_t kFormClassName[] = L"TarvikExportForm1";
inline constexpr int kCommand1Id = 101;
inline constexpr int kTxtDirectoryId = 102;
inline constexpr int kTxtErroreId = 103;
inline constexpr int kLblAvanzamentoId = 104;

}  // namespace tarvik::app::window::win32
