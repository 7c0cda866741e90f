// SPDX-License-Identifier: GPL-3.0-or-later
// The settings file's reader and writer on any text. Every key the text holds
// is read; then one key is written: it reads back as written, and every other
// line of the text is kept as it was. The input is also taken as a file's
// bytes: decoded and encoded again, they and every written character survive.
#include "IniFile.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <QStringList>

#include <cstdio>
#include <cstdlib>

using namespace korvane;

namespace {

void Check(bool ok, const char *what)
{
    if (!ok) {
        std::fprintf(stderr, "check failed: %s\n", what);
        std::abort();
    }
}

QString Take(FuzzedDataProvider &in, std::size_t longest)
{
    return QString::fromUtf8(in.ConsumeRandomLengthString(longest));
}

// Lines without their breaks; a break at the very end ends the last line
// rather than starting an empty one. Carriage returns at the end of a line
// count as part of its break: a last line's lone one becomes a whole break
// when a write adds a line after it.
QStringList Lines(const QString &text)
{
    QStringList lines = text.split(u'\n');
    if (lines.last().isEmpty())
        lines.removeLast();
    for (QString &line : lines) {
        while (line.endsWith(u'\r'))
            line.chop(1);
    }
    return lines;
}

// Longer than any value read: it cannot be mistaken for one.
const QString Missing(2048, u'?');

// The key of a "key = value" line; a null string for other lines.
QString KeyOf(const QString &line)
{
    const qsizetype eq = line.indexOf(u'=');
    return eq < 0 ? QString() : line.left(eq).trimmed();
}

// Reads every "key=value" line of every section as the window reads its keys:
// as text and as a number.
void ReadEverything(const QString &text)
{
    QString section;
    bool inSection = false; // lines before the first section belong to none
    for (const QString &line : Lines(text)) {
        const QString t = line.trimmed();
        if (t.startsWith(u'[') && t.contains(u']')) {
            section = t.mid(1, t.indexOf(u']') - 1).trimmed();
            inSection = true;
            continue;
        }
        const QString key = KeyOf(line);
        if (key.isNull() || !inSection)
            continue;
        const QString value = IniValue(text, section, key, Missing);
        Check(value.size() <= 2047, "a key that is there is found, cut to 2047 characters");
        IniInteger(value, 0);
    }
}

// Names and values the program could write: no line breaks, no blanks at
// either end, no "=" in a key, no "[" or "]" in a section name. Anything else
// may be written but cannot be expected to read back as it was.
bool Writable(const QString &section, const QString &key, const QString &value)
{
    for (const QString *s : {&section, &key, &value}) {
        if (s->contains(u'\n') || *s != s->trimmed())
            return false;
    }
    return !key.isEmpty() && !key.contains(u'=') && !key.startsWith(u'[') && !section.isEmpty()
        && !section.contains(u'[') && !section.contains(u']') && !section.contains(u'=');
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    FuzzedDataProvider in(data, size);
    const QString section = Take(in, 16);
    const QString key = Take(in, 16);
    const QString value = Take(in, 64);
    const int number = in.ConsumeIntegral<int>();
    const std::string raw = in.ConsumeRemainingBytesAsString();
    const QByteArray bytes(raw.data(), qsizetype(raw.size()));
    const QString text = QString::fromUtf8(bytes);

    ReadEverything(text);

    // The same bytes as a file: its text gives them back, and a write of any
    // value keeps every character, in the file's encoding or in UTF-8.
    IniEncoding encoding;
    const QString decoded = IniDecode(bytes, &encoding);
    IniEncoding same = encoding;
    const bool utf16 = encoding.Charset == icUtf16LE || encoding.Charset == icUtf16BE;
    if (!utf16 || bytes.size() % 2 == 0)
        Check(IniEncode(decoded, &same) == bytes, "a file's own text gives its bytes back");
    const QString rewritten = IniWithValue(decoded, section, key, value);
    IniEncoding reread = encoding;
    Check(IniDecode(IniEncode(rewritten, &reread), &reread) == rewritten,
          "every character of a write survives");

    Check(IniInteger(QString::number(number), 0) == number, "a written number reads back");
    Check(IniInteger(QStringLiteral(" %1 ").arg(number), 0) == number,
          "blanks around a number are allowed");

    const QString after = IniWithValue(text, section, key, value);
    ReadEverything(after);
    if (!Writable(section, key, value))
        return 0;
    Check(IniValue(after, section, key, Missing) == value.left(2047),
          "a written key reads back as written");
    Check(IniWithValue(after, section, key, value) == after,
          "writing a value twice changes nothing");

    // The lines after the write are those before it with the key's line
    // replaced, or with the key inserted, or with its section and the key
    // appended at the end.
    // A key that already holds the value is written in place, byte for byte.
    if (after == text)
        return 0;
    const QStringList was = Lines(text);
    const QStringList now = Lines(after);
    const QString entry = key + u'=' + value;
    qsizetype i = 0;
    while (i < was.size() && i < now.size() && was[i] == now[i])
        ++i;
    if (i == now.size() && now.size() == was.size()) {
        // The key's line lost a carriage return of its own ("k=v\r\r\n" read
        // as "k=v\r" and written back as "k=v"), which these lines ignore.
        Check(now.contains(entry) && QString(text).remove(u'\r') == QString(after).remove(u'\r'),
              "only carriage returns of the key's line went");
        return 0;
    }
    Check(i < now.size(), "the write changed a line");
    if (now.size() == was.size()) {
        Check(now[i] == entry, "the replaced line is the key's");
        Check(KeyOf(was[i]).compare(key, Qt::CaseInsensitive) == 0
                  && now.mid(i + 1) == was.mid(i + 1),
              "only the key's line was replaced");
    } else if (now.size() == was.size() + 1) {
        Check(now[i] == entry && now.mid(i + 1) == was.mid(i), "only the key's line was inserted");
    } else {
        Check(now.size() == was.size() + 2 && i == was.size(), "a new section goes at the end");
        Check(now[i] == u'[' + section + u']' && now[i + 1] == entry,
              "the new section holds the key");
    }
    return 0;
}
