// Files read and written whole: the configuration files, setutily.ini.
//
// A write never leaves the old file empty or half written: the new content
// goes to a temporary file beside it, is flushed to the disk, and only then
// renamed over the old one; a failure anywhere (a full disk at the final
// flush included) removes the temporary file and keeps the old file as it
// was. Written files are readable and writable by their owner only: they
// hold passwords.
//
// Every failure comes with its reason as a short Japanese phrase for the
// user: "空き容量がありません", "書き込む権限がありません", "フォルダーです" ...
#pragma once

#include <QByteArray>
#include <QString>

class QIODevice;

namespace setutily {

// The reason for the system error number error (errno); writing picks the
// words for a write.
QString FileErrorReason(int error, bool writing);

// Why path cannot be read as a file of at most maxBytes; empty when it can.
QString ReadProblem(const QString& path, qint64 maxBytes);

// Reads the whole of path (at most maxBytes); false with why.
bool ReadWholeFile(const QString& path, qint64 maxBytes, QByteArray& bytes, QString& why);

// Reads an open device (standard input) to its end, at most maxBytes.
bool ReadToEnd(QIODevice& device, qint64 maxBytes, QByteArray& bytes, QString& why);

// Why a file cannot be written at path; empty when it can. Refused: a
// folder, a device, a pipe or a socket, a file the user may not write, and
// a folder that is missing or that the user may not write into. A symbolic
// link is judged by the file it leads to, which is the one replaced.
QString WriteProblem(const QString& path);

// Replaces the content of path with bytes (see above); false with why, the
// old file then unchanged.
bool WriteWholeFile(const QString& path, const QByteArray& bytes, QString& why);

// "1 MiB": how a size limit is told.
QString SizeText(qint64 bytes);

}  // namespace setutily
