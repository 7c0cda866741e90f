// SPDX-License-Identifier: GPL-3.0-or-later
// A small INI reader and writer that works on the text of the file, so that
// writing a key leaves every other line exactly as it was.
#pragma once

#include <QString>

namespace korvane {

// The value of key in section (names compared without regard to letter case,
// the first match winning), with blanks around it removed; fallback when the
// section or key is missing.
QString IniValue(const QString &text, const QString &section, const QString &key,
                 const QString &fallback);

// The text with key set to value: the key's line is replaced in place, or the
// key is added at the end of its section, or the section is added at the end.
QString IniWithValue(const QString &text, const QString &section, const QString &key,
                     const QString &value);

// Reads a value as a signed 32-bit number: decimal with an optional sign, or
// hexadecimal after "0x", "0X" or "$"; blanks around it allowed. Anything else,
// an empty text or a number out of range gives fallback.
int IniInteger(const QString &value, int fallback);

// How a settings file's bytes hold its text, and whether they begin with a
// byte-order mark (UTF-8's for UTF-8 and Latin-1). Both are written back as read.
enum IniCharset { icUtf8, icLatin1, icUtf16LE, icUtf16BE };

struct IniEncoding
{
    IniCharset Charset = icUtf8;
    bool Mark = false;
};

// The text of a settings file: UTF-16 after its byte-order mark (either
// order) or, without one, when every other byte of the first line is NUL;
// else UTF-8 when the bytes are valid UTF-8, else Latin-1, which gives every
// byte a character of its own. encoding receives which it was.
QString IniDecode(QByteArrayView bytes, IniEncoding *encoding);

// The bytes of text in encoding. Latin-1 that cannot hold every character
// gives the whole text as UTF-8 instead, and encoding is changed to say so.
QByteArray IniEncode(const QString &text, IniEncoding *encoding);

// The settings file: read whole when opened. Writes change its text in memory,
// and Save puts that text on disk in one go.
class IniFile
{
public:
    explicit IniFile(QString path);

    QString ReadString(const QString &section, const QString &key, const QString &fallback) const;
    int ReadInteger(const QString &section, const QString &key, int fallback) const;
    bool ReadBool(const QString &section, const QString &key, bool fallback) const;

    void WriteString(const QString &section, const QString &key, const QString &value);
    void WriteInteger(const QString &section, const QString &key, int value);
    void WriteBool(const QString &section, const QString &key, bool value);

    // Replaces the file by the text as written, atomically and synced once.
    // False when the file could not be written; it is then as it was.
    bool Save();

    const QString &Path() const { return FPath; }

private:
    QString FPath;
    QString FText;
    // How the file's bytes became FText, so that a save gives back the same
    // bytes in every line it does not touch.
    IniEncoding FEncoding;
    // False when the file was too big to be read whole: writing would cut it short.
    bool FWhole = true;
};

} // namespace korvane
