// Board names as the record stores them: at most 50 bytes in Windows-1252. A character the code
// page lacks is stored as '?'.
#pragma once

#include <QByteArray>
#include <QString>

// The name slot's bytes for a text: one byte per character, cut to 50 bytes.
QByteArray NameBytesFromText(const QString& text);

// The text of a name slot's bytes.
QString TextFromNameBytes(const QByteArray& bytes);
