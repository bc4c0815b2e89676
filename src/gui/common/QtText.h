#pragma once

// Texts between the core and Qt. The core keeps every text as UTF-8 in a std::string and every
// path in the file system's encoding; the window keeps both as QString. These four functions
// are the only crossings.

#include <QByteArray>
#include <QFile>
#include <QString>

#include <cstddef>
#include <string>
#include <string_view>

namespace hz::gui {

// A UTF-8 text of the core, embedded zero bytes included.
inline QString fromStd(std::string_view utf8)
{
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

// A text for the core, as UTF-8.
inline std::string toStd(const QString& text)
{
    const QByteArray b = text.toUtf8();
    return std::string(b.constData(), static_cast<std::size_t>(b.size()));
}

// A path the core holds, in the file system's encoding.
inline QString fromPath(const std::string& path)
{
    return QFile::decodeName(QByteArray(path.data(), static_cast<qsizetype>(path.size())));
}

// A path for the core to open or write, in the file system's encoding.
inline std::string toPath(const QString& path)
{
    const QByteArray b = QFile::encodeName(path);
    return std::string(b.constData(), static_cast<std::size_t>(b.size()));
}

} // namespace hz::gui
