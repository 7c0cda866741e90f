// SPDX-License-Identifier: GPL-3.0-or-later
#include "IniFile.h"

#include "Strings.h"

#include <QFile>
#include <QSaveFile>
#include <QStringDecoder>
#include <QStringList>

#include <algorithm>
#include <limits>
#include <optional>

namespace korvane {

namespace {

    // The settings file is small; anything bigger than this is not ours and is
    // read only as far as this.
    constexpr qint64 MaxIniBytes = 4 * 1024 * 1024;
    constexpr qsizetype MaxValueLength = 2047;
    constexpr QByteArrayView Utf8Mark("\xEF\xBB\xBF");
    constexpr QByteArrayView Utf16LEMark("\xFF\xFE");
    constexpr QByteArrayView Utf16BEMark("\xFE\xFF");

    struct Line
    {
        qsizetype Begin = 0; // first character of the line
        qsizetype End = 0; // past its last character, line break excluded
        qsizetype Next = 0; // first character of the following line
    };

    QList<Line> SplitLines(const QString &text)
    {
        QList<Line> lines;
        qsizetype begin = 0;
        while (begin < text.size()) {
            qsizetype nl = text.indexOf(u'\n', begin);
            const qsizetype next = nl < 0 ? text.size() : nl + 1;
            qsizetype end = nl < 0 ? text.size() : nl;
            if (end > begin && text.at(end - 1) == u'\r')
                --end;
            lines.append({begin, end, next});
            begin = next;
        }
        return lines;
    }

    // The section name of a "[name]" line, or a null string for other lines.
    QString SectionName(QStringView line)
    {
        line = line.trimmed();
        if (line.size() < 2 || line.front() != u'[')
            return {};
        const qsizetype close = line.indexOf(u']');
        if (close < 0)
            return {};
        return line.mid(1, close - 1).trimmed().toString();
    }

    // True when the line is "key = value" for this key; value receives the rest.
    bool KeyLine(QStringView line, const QString &key, QStringView *value)
    {
        const qsizetype eq = line.indexOf(u'=');
        if (eq < 0)
            return false;
        if (line.left(eq).trimmed().compare(key, Qt::CaseInsensitive) != 0)
            return false;
        if (value)
            *value = line.mid(eq + 1).trimmed();
        return true;
    }

    // UTF-16 without a mark, told by its first line: each character of it is
    // one NUL byte and one other byte, in the same order throughout.
    std::optional<IniCharset> Utf16Unmarked(QByteArrayView bytes)
    {
        for (const IniCharset charset : {icUtf16LE, icUtf16BE}) {
            const qsizetype nul = charset == icUtf16LE ? 1 : 0;
            qsizetype i = 0;
            for (; i + 1 < bytes.size(); i += 2) {
                if (bytes[i + nul] != 0 || bytes[i + 1 - nul] == 0)
                    break;
                if (bytes[i + 1 - nul] == '\n')
                    return charset;
            }
            // A first line that runs to the end ends on a whole character.
            if (i > 0 && i == bytes.size())
                return charset;
        }
        return std::nullopt;
    }

} // namespace

QString IniValue(const QString &text, const QString &section, const QString &key,
                 const QString &fallback)
{
    bool inSection = false;
    for (const Line &l : SplitLines(text)) {
        const QStringView line = QStringView(text).mid(l.Begin, l.End - l.Begin);
        const QString name = SectionName(line);
        if (!name.isNull()) {
            inSection = name.compare(section, Qt::CaseInsensitive) == 0;
            continue;
        }
        QStringView value;
        if (inSection && KeyLine(line, key, &value))
            return LeftPart(value.toString(), MaxValueLength);
    }
    return fallback;
}

QString IniWithValue(const QString &text, const QString &section, const QString &key,
                     const QString &value)
{
    const QList<Line> lines = SplitLines(text);
    const QString eol
        = text.contains(QStringLiteral("\r\n")) ? QStringLiteral("\r\n") : QStringLiteral("\n");
    const QString entry = key + u'=' + value;
    // Text that goes on after its last line ends that line first. A lone "\r" at
    // the end already ended it, cut short: it becomes a whole line break, so
    // that the next write reads the same lines.
    const auto endLastLine = [&eol](QString before) {
        if (before.endsWith(u'\r'))
            before.chop(1);
        else if (before.isEmpty() || before.endsWith(u'\n'))
            return before;
        return before + eol;
    };

    bool inSection = false;
    qsizetype insertAt = -1; // after the last non-blank line of the section
    for (const Line &l : lines) {
        const QStringView line = QStringView(text).mid(l.Begin, l.End - l.Begin);
        const QString name = SectionName(line);
        if (!name.isNull()) {
            if (inSection)
                break; // the key goes at the end of the first matching section
            inSection = name.compare(section, Qt::CaseInsensitive) == 0;
            if (inSection)
                insertAt = l.Next;
            continue;
        }
        if (!inSection)
            continue;
        if (KeyLine(line, key, nullptr))
            return text.left(l.Begin) + entry + text.mid(l.End);
        if (!line.trimmed().isEmpty())
            insertAt = l.Next;
    }

    if (insertAt >= 0)
        return endLastLine(text.left(insertAt)) + entry + eol + text.mid(insertAt);
    return endLastLine(text) + u'[' + section + u']' + eol + entry + eol;
}

int IniInteger(const QString &value, int fallback)
{
    const QString t = value.trimmed();
    QStringView digits = t;
    int base = 10;
    if (t.startsWith(u'$')) {
        digits = digits.mid(1);
        base = 16;
    } else if (t.startsWith(QStringLiteral("0x"), Qt::CaseInsensitive)) {
        digits = digits.mid(2);
        base = 16;
    }
    // A hexadecimal number carries no sign, blank or second prefix of its own:
    // only digits may follow "0x" or "$".
    const auto hexDigit = [](QChar c) {
        return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
    };
    if (digits.isEmpty() || (base == 16 && !std::all_of(digits.begin(), digits.end(), hexDigit)))
        return fallback;
    bool ok = false;
    const qlonglong n = digits.toLongLong(&ok, base);
    if (!ok)
        return fallback;
    if (n >= std::numeric_limits<int>::min() && n <= std::numeric_limits<int>::max())
        return static_cast<int>(n);
    // Eight hexadecimal digits are a 32-bit pattern: $FFFFFFFF is -1.
    if (base == 16 && n <= 0xFFFFFFFFLL)
        return static_cast<int>(static_cast<quint32>(n));
    return fallback;
}

QString IniDecode(QByteArrayView bytes, IniEncoding *encoding)
{
    *encoding = {};
    std::optional<IniCharset> utf16;
    for (const auto &[mark, charset] :
         {std::pair {Utf16LEMark, icUtf16LE}, {Utf16BEMark, icUtf16BE}}) {
        if (bytes.startsWith(mark)) {
            utf16 = charset;
            encoding->Mark = true;
            bytes = bytes.sliced(mark.size());
            break;
        }
    }
    if (!utf16)
        utf16 = Utf16Unmarked(bytes);
    if (utf16) {
        encoding->Charset = *utf16;
        // A second mark stays text; a lone byte at the end becomes U+FFFD
        // rather than vanishing.
        QStringDecoder decoder(
            *utf16 == icUtf16LE ? QStringConverter::Utf16LE : QStringConverter::Utf16BE,
            QStringConverter::Flag::Stateless | QStringConverter::Flag::ConvertInitialBom);
        return decoder.decode(bytes);
    }
    encoding->Mark = bytes.startsWith(Utf8Mark);
    if (encoding->Mark)
        bytes = bytes.sliced(Utf8Mark.size());
    // Stateless: a sequence cut short at the end is an error, not a byte dropped.
    QStringDecoder utf8(QStringConverter::Utf8,
                        QStringConverter::Flag::Stateless
                            | QStringConverter::Flag::ConvertInitialBom);
    QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return text;
    // Not UTF-8: some 8-bit encoding, whose every byte Latin-1 keeps as it was.
    encoding->Charset = icLatin1;
    return QString::fromLatin1(bytes);
}

QByteArray IniEncode(const QString &text, IniEncoding *encoding)
{
    if (encoding->Charset == icUtf16LE || encoding->Charset == icUtf16BE) {
        const bool le = encoding->Charset == icUtf16LE;
        QStringEncoder utf16(le ? QStringConverter::Utf16LE : QStringConverter::Utf16BE);
        QByteArray bytes = utf16.encode(text);
        if (encoding->Mark)
            bytes.prepend(le ? Utf16LEMark : Utf16BEMark);
        return bytes;
    }
    if (encoding->Charset == icLatin1
        && !std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() <= 0xFF; }))
        encoding->Charset = icUtf8;
    auto encode = [&] {
        QByteArray bytes = encoding->Charset == icLatin1 ? text.toLatin1() : text.toUtf8();
        if (encoding->Mark)
            bytes.prepend(Utf8Mark);
        return bytes;
    };
    QByteArray bytes = encode();
    // A first line with a NUL in every other byte would read back as UTF-16
    // (a write can end the line that made the whole text): UTF-8's mark
    // keeps the text as it is.
    if (!encoding->Mark && Utf16Unmarked(bytes)) {
        encoding->Mark = true;
        bytes = encode();
    }
    if (encoding->Charset == icLatin1) {
        // A write may leave Latin-1 bytes that read back as UTF-8 (the one
        // line that was not valid UTF-8 replaced): the next start would see
        // other characters. UTF-8 keeps the text.
        IniEncoding check;
        if (IniDecode(bytes, &check) != text) {
            encoding->Charset = icUtf8;
            bytes = encode();
        }
    }
    return bytes;
}

IniFile::IniFile(QString path)
    : FPath(std::move(path))
{
    QFile file(FPath);
    if (!file.open(QIODevice::ReadOnly))
        return;
    // As much as the file holds, then whatever else it gives up to the limit:
    // asking for the whole limit at once would allocate all of it.
    const qint64 first = std::min(file.size(), MaxIniBytes) + 1;
    QByteArray bytes = file.read(first);
    if (bytes.size() == first && first <= MaxIniBytes)
        bytes += file.read(MaxIniBytes + 1 - first);
    FWhole = bytes.size() <= MaxIniBytes;
    bytes.truncate(MaxIniBytes);
    FText = IniDecode(bytes, &FEncoding);
}

QString IniFile::ReadString(const QString &section, const QString &key,
                            const QString &fallback) const
{
    return IniValue(FText, section, key, fallback);
}

int IniFile::ReadInteger(const QString &section, const QString &key, int fallback) const
{
    const QString value = IniValue(FText, section, key, QString());
    return value.isNull() ? fallback : IniInteger(value, fallback);
}

bool IniFile::ReadBool(const QString &section, const QString &key, bool fallback) const
{
    return ReadInteger(section, key, fallback ? 1 : 0) != 0;
}

void IniFile::WriteString(const QString &section, const QString &key, const QString &value)
{
    FText = IniWithValue(FText, section, key, value);
}

void IniFile::WriteInteger(const QString &section, const QString &key, int value)
{
    WriteString(section, key, QString::number(value));
}

void IniFile::WriteBool(const QString &section, const QString &key, bool value)
{
    WriteString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

bool IniFile::Save()
{
    if (!FWhole)
        return false;
    IniEncoding encoding = FEncoding;
    const QByteArray bytes = IniEncode(FText, &encoding);
    // Written whole through a temporary file, so a failed write never leaves
    // half a settings file behind.
    QSaveFile file(FPath);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(bytes);
    if (!file.commit())
        return false;
    FEncoding = encoding;
    return true;
}

} // namespace korvane
