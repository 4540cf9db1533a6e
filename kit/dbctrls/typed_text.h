// What becomes of characters that the user types or pastes into a field of a single-byte
// Windows-1252 table whose values are separated by TABs and lines: TAB, CR and LF turn into a
// blank, NUL and characters that the character set cannot hold are dropped, and the letter case
// is converted one character for one within the set (so "ß" stays "ß" and "µ" stays "µ").
#pragma once

#include <QString>
#include <QStringView>

namespace kit {

enum class CharCase { Normal, Upper, Lower };

QString convertTypedText(QStringView typed, CharCase charCase);

// Where two texts differ: `before` became `after` by replacing after.mid(start, insertedLength)
// for before.mid(start, removedLength). The common head and tail are as long as possible.
struct TextChange {
    qsizetype start = 0;
    qsizetype insertedLength = 0;
    qsizetype removedLength = 0;
};
TextChange textChange(QStringView before, QStringView after) noexcept;

}  // namespace kit
