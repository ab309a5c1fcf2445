// Texts of the run, in UTF-8 with CR LF line breaks, as the window's widgets show them.
#pragma once

#include <QString>
#include <string>

namespace tarvik::app::window {

// CR LF becomes one line break; a lone CR or LF stays a line break too.
inline QString DisplayText(const std::string& text) {
  QString shown = QString::fromStdString(text);
  shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  return shown;
}

}  // namespace tarvik::app::window
