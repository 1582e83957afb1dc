// SPDX-License-Identifier: GPL-3.0-or-later
// Board names as the record stores them: at most 50 bytes in Windows-1252. A character the code
// page lacks is stored as '?'.
#pragma once

#include <QByteArray>
#include <QString>

// The name slot's bytes for a text: one byte per character, cut to 50 bytes. The picture of a control
// character gives that character, so that a name edited in the editor keeps the ones it had.
QByteArray NameBytesFromText(const QString& text);

// The text the editor shows for a name slot's bytes: ShownName's.
QString TextFromNameBytes(const QByteArray& bytes);
