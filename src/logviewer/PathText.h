#pragma once
// Paths between Qt's text and the file system, in the platform's file name encoding, and
// between Qt's text and REDA's own path text (NativePath.h: UTF-8 on Windows, bytes elsewhere).

#include <QFile>
#include <QString>
#include <filesystem>
#include <string>

#include "NativePath.h"

namespace reda {

inline std::filesystem::path toPath(const QString& path) {
#ifdef _WIN32
    return std::filesystem::path(path.toStdWString());
#else
    return std::filesystem::path(QFile::encodeName(path).toStdString());
#endif
}

inline QString fromPath(const std::filesystem::path& path) {
#ifdef _WIN32
    return QString::fromStdWString(path.native());
#else
    return QFile::decodeName(QByteArray::fromStdString(path.native()));
#endif
}

inline std::string toPathText(const QString& path) {
    return textOfPath(toPath(path));
}

inline QString fromPathText(const std::string& text) {
    return fromPath(pathOfText(text));
}

}  // namespace reda
