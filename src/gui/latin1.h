#pragma once
// On-disk names and the wizard's texts are 8-bit text, shown as Latin-1.
#include <QString>
#include <string>
#include <string_view>

namespace lumbra {

inline QString Latin1(std::string_view text) { return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size())); }

inline std::string ToLatin1(const QString& text) { return text.toLatin1().toStdString(); }

// Static texts of the desktop break lines at "\r\n".
inline QString StaticText(std::string_view text) { return Latin1(text).replace("\r\n", "\n"); }

}  // namespace lumbra
