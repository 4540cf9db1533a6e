// The one boundary between stored bytes (Windows-1252) and the QString of the user interface.
#pragma once

#include <QString>

#include <string>
#include <string_view>

namespace kit {

QString fromCp1252(std::string_view bytes);
// Characters that Windows-1252 cannot hold become `replacement`.
std::string toCp1252(QStringView text, char replacement = '?');
// True when every character of `text` has a Windows-1252 byte.
bool fitsCp1252(QStringView text) noexcept;

}  // namespace kit
