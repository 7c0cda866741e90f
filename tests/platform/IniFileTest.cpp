// SPDX-License-Identifier: GPL-3.0-or-later
// The settings file: reading values out of any text, writing a key without
// touching anything else, and the file itself on disk.
#include "IniFile.h"
#include "Places.h"
#include "Unprivileged.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>

using namespace korvane;
using korvane::test::UnprivilegedFiles;

namespace {

QString Text(const char *utf8)
{
    return QString::fromUtf8(utf8);
}

// --- Reading values out of text ------------------------------------------------

struct ValueCase
{
    const char *Name;
    const char *Text;
    const char *Section;
    const char *Key;
    const char *Expected; // nullptr: the fallback
};

class IniValues : public testing::TestWithParam<ValueCase>
{ };

const QString Fallback = QStringLiteral("<fallback>");

} // namespace

TEST_P(IniValues, Read)
{
    const ValueCase &c = GetParam();
    const QString value = IniValue(Text(c.Text), Text(c.Section), Text(c.Key), Fallback);
    EXPECT_EQ(value, c.Expected ? Text(c.Expected) : Fallback);
}

INSTANTIATE_TEST_SUITE_P(
    Ini, IniValues,
    testing::Values(
        ValueCase {"Plain", "[Field]\nWidth=20\n", "Field", "Width", "20"},
        ValueCase {"SectionInOtherCase", "[FIELD]\nWidth=20\n", "field", "Width", "20"},
        ValueCase {"KeyInOtherCase", "[Field]\nwIDTH=20\n", "Field", "Width", "20"},
        ValueCase {"BlanksAroundEverything", "  [ Field ]  \n \t Width \t = \t 20 \t \n", "Field",
                   "Width", "20"},
        ValueCase {"BlanksInsideTheValueStay", "[S]\nSkin= Ice  age \n", "S", "Skin", "Ice  age"},
        ValueCase {"EmptyValue", "[S]\nSkin=\n", "S", "Skin", ""},
        ValueCase {"BlankValue", "[S]\nSkin=   \n", "S", "Skin", ""},
        ValueCase {"EqualsSignInTheValue", "[S]\nSkin=a=b\n", "S", "Skin", "a=b"},
        ValueCase {"MissingKey", "[Field]\nHeight=20\n", "Field", "Width", nullptr},
        ValueCase {"MissingSection", "[Other]\nWidth=20\n", "Field", "Width", nullptr},
        ValueCase {"KeyBeforeAnySection", "Width=5\n[Field]\nHeight=1\n", "Field", "Width",
                   nullptr},
        ValueCase {"KeyInTheSectionBefore", "[Other]\nWidth=5\n[Field]\n", "Field", "Width",
                   nullptr},
        ValueCase {"KeyInTheSectionAfter", "[Field]\n[Other]\nWidth=5\n", "Field", "Width",
                   nullptr},
        ValueCase {"EmptyText", "", "Field", "Width", nullptr},
        ValueCase {"FirstOfDuplicateKeys", "[F]\nW=1\nW=2\n", "F", "W", "1"},
        ValueCase {"FirstOfDuplicateSections", "[F]\nW=1\n[G]\n[f]\nW=2\n", "F", "W", "1"},
        ValueCase {"KeyInSecondOfDuplicateSections", "[F]\nA=1\n[G]\n[F]\nW=2\n", "F", "W", "2"},
        ValueCase {"CrLf", "[F]\r\nW=7\r\nX=8\r\n", "F", "W", "7"},
        ValueCase {"CrLfLastLine", "[F]\r\nW=7\r\n", "F", "W", "7"},
        ValueCase {"NoFinalLineBreak", "[F]\nW=7", "F", "W", "7"},
        ValueCase {"SectionIsLastLine", "[F]", "F", "W", nullptr},
        ValueCase {"SectionNameWithBlanks", "[My Section]\nW=1\n", "My Section", "W", "1"},
        ValueCase {"KeyWithBlanks", "[S]\nSkin Name = x\n", "S", "Skin Name", "x"},
        ValueCase {"LineWithoutEqualsSign", "[S]\nSkin\nSkin=y\n", "S", "Skin", "y"},
        ValueCase {"UnclosedSectionIsNoSection", "[S]\n[T\nW=3\n", "S", "W", "3"},
        ValueCase {"EmptyKeyNameIsNotAKey", "[S]\n=3\nW=4\n", "S", "W", "4"},
        ValueCase {"KeyIsNotMatchedByPrefix", "[S]\nWidth=3\n", "S", "W", nullptr},
        ValueCase {"SectionIsNotMatchedByPrefix", "[Fields]\nW=3\n", "Field", "W", nullptr},
        ValueCase {"NonAsciiValue", "[S]\nSkin=Glacé\n", "S", "Skin", "Glacé"},
        ValueCase {"Garbage", "]]][[[\n==\n[=]\n\x01\x02\x7f\n", "S", "W", nullptr},
        ValueCase {"BlankLinesAndComments", "\n\n; note\n[S]\n\n; W=1\nW=2\n\n", "S", "W", "2"}),
    [](const testing::TestParamInfo<ValueCase> &info) { return std::string(info.param.Name); });

TEST(Ini, ValueLongerThan2047CharactersIsCut)
{
    const QString longValue(3000, u'v');
    const QString text = QStringLiteral("[S]\nSkin=") + longValue + QStringLiteral("\n");
    EXPECT_EQ(IniValue(text, QStringLiteral("S"), QStringLiteral("Skin"), {}),
              longValue.left(2047));
    const QString exact(2047, u'w');
    EXPECT_EQ(IniValue(QStringLiteral("[S]\nSkin=") + exact, QStringLiteral("S"),
                       QStringLiteral("Skin"), {}),
              exact);
}

TEST(Ini, VeryLongLinesAreRead)
{
    const QString longLine(100000, u'x');
    const QString text = QStringLiteral("[S]\n") + longLine + QStringLiteral("\nW=1\n")
        + QStringLiteral("[") + longLine + QStringLiteral("]\nW=2\n") + longLine
        + QStringLiteral("=3\n");
    EXPECT_EQ(IniValue(text, QStringLiteral("S"), QStringLiteral("W"), {}), QStringLiteral("1"));
    EXPECT_EQ(IniValue(text, longLine, QStringLiteral("W"), {}), QStringLiteral("2"));
    EXPECT_EQ(IniValue(text, longLine, longLine, {}), QStringLiteral("3"));
}

TEST(Ini, BinaryTextIsReadWithoutHarm)
{
    QRandomGenerator random(7);
    for (int round = 0; round < 200; ++round) {
        QString text;
        const int length = static_cast<int>(random.bounded(400));
        for (int i = 0; i < length; ++i)
            text += QChar(static_cast<char16_t>(random.bounded(i % 5 == 0 ? 0x10000 : 0x80)));
        const QString value = IniValue(text, QStringLiteral("S"), QStringLiteral("W"), Fallback);
        EXPECT_LE(value.size(), 2047);
        const QString written
            = IniWithValue(text, QStringLiteral("S"), QStringLiteral("W"), QStringLiteral("42"));
        EXPECT_EQ(IniValue(written, QStringLiteral("S"), QStringLiteral("W"), Fallback),
                  QStringLiteral("42"))
            << "round " << round;
    }
}

// --- Writing a key into text ------------------------------------------------------

namespace {

struct WriteCase
{
    const char *Name;
    const char *Before;
    const char *Section;
    const char *Key;
    const char *Value;
    const char *After;
};

class IniWrites : public testing::TestWithParam<WriteCase>
{ };

} // namespace

TEST_P(IniWrites, Write)
{
    const WriteCase &c = GetParam();
    const QString after = IniWithValue(Text(c.Before), Text(c.Section), Text(c.Key), Text(c.Value));
    EXPECT_EQ(after, Text(c.After));
    EXPECT_EQ(IniValue(after, Text(c.Section), Text(c.Key), Fallback), Text(c.Value).trimmed());
}

INSTANTIATE_TEST_SUITE_P(
    Ini, IniWrites,
    testing::Values(
        WriteCase {"IntoEmptyText", "", "Field", "Width", "20", "[Field]\nWidth=20\n"},
        WriteCase {"ReplacesInPlace", "[F]\nA=1\nW=5\nB=2\n", "F", "W", "9",
                   "[F]\nA=1\nW=9\nB=2\n"},
        WriteCase {"ReplacesAKeyWrittenWithBlanks", "[F]\n  w  =  5  \n", "F", "W", "9",
                   "[F]\nW=9\n"},
        WriteCase {"ReplacesInASectionInOtherCase", "[field]\nW=5\n", "FIELD", "W", "9",
                   "[field]\nW=9\n"},
        WriteCase {"AddsAtTheEndOfItsSection", "[F]\nA=1\n\n[G]\nB=2\n", "F", "W", "9",
                   "[F]\nA=1\nW=9\n\n[G]\nB=2\n"},
        WriteCase {"AddsToAnEmptySection", "[F]\n[G]\nB=2\n", "F", "W", "9",
                   "[F]\nW=9\n[G]\nB=2\n"},
        WriteCase {"AddsToTheLastSection", "[G]\nB=2\n[F]\nA=1\n", "F", "W", "9",
                   "[G]\nB=2\n[F]\nA=1\nW=9\n"},
        WriteCase {"AddsASection", "[G]\nB=2\n", "F", "W", "9", "[G]\nB=2\n[F]\nW=9\n"},
        WriteCase {"NoFinalLineBreakInSection", "[F]\nA=1", "F", "W", "9", "[F]\nA=1\nW=9\n"},
        WriteCase {"NoFinalLineBreakAfterHeader", "[F]", "F", "W", "9", "[F]\nW=9\n"},
        WriteCase {"NoFinalLineBreakOtherSection", "[G]\nB=2", "F", "W", "9",
                   "[G]\nB=2\n[F]\nW=9\n"},
        WriteCase {"NoFinalLineBreakReplacing", "[F]\nW=1", "F", "W", "9", "[F]\nW=9"},
        WriteCase {"CrLfReplacing", "[F]\r\nW=5\r\nX=1\r\n", "F", "W", "9",
                   "[F]\r\nW=9\r\nX=1\r\n"},
        WriteCase {"CrLfAdding", "[F]\r\nX=1\r\n", "F", "W", "9", "[F]\r\nX=1\r\nW=9\r\n"},
        WriteCase {"CrLfAddingASection", "[G]\r\nB=2", "F", "W", "9",
                   "[G]\r\nB=2\r\n[F]\r\nW=9\r\n"},
        WriteCase {"CrLfEndingInALoneCrAdding", "[F]\r\nX=1\r", "F", "W", "9",
                   "[F]\r\nX=1\r\nW=9\r\n"},
        WriteCase {"CrLfEndingInALoneCrAddingASection", "[G]\r\nB=2\r", "F", "W", "9",
                   "[G]\r\nB=2\r\n[F]\r\nW=9\r\n"},
        WriteCase {"EmptyLastLineEndingInALoneCr", "[G]\nB=2\n\r", "F", "W", "9",
                   "[G]\nB=2\n\n[F]\nW=9\n"},
        WriteCase {"FirstOfDuplicateKeys", "[F]\nW=1\nW=2\n", "F", "W", "3", "[F]\nW=3\nW=2\n"},
        WriteCase {"FirstOfDuplicateSections", "[F]\nA=1\n[G]\n[F]\nW=2\n", "F", "W", "3",
                   "[F]\nA=1\nW=3\n[G]\n[F]\nW=2\n"},
        WriteCase {"KeyBeforeAnySectionIsLeftAlone", "W=1\n[F]\nA=1\n", "F", "W", "3",
                   "W=1\n[F]\nA=1\nW=3\n"},
        WriteCase {"KeyOfAnotherSectionIsLeftAlone", "[G]\nW=1\n", "F", "W", "3",
                   "[G]\nW=1\n[F]\nW=3\n"},
        WriteCase {"CommentsStay", "; mine\n[F]\n; W=1\nW=2 ; old\n", "F", "W", "3",
                   "; mine\n[F]\n; W=1\nW=3\n"},
        WriteCase {"EmptyValue", "[F]\nW=2\n", "F", "W", "", "[F]\nW=\n"},
        WriteCase {"BlankLinesAfterTheSectionStay", "[F]\nA=1\n\n\n", "F", "W", "3",
                   "[F]\nA=1\nW=3\n\n\n"}),
    [](const testing::TestParamInfo<WriteCase> &info) { return std::string(info.param.Name); });

TEST(Ini, WritingTwiceIsLikeWritingOnce)
{
    const QString once = IniWithValue(QStringLiteral("[F]\nA=1\n"), QStringLiteral("G"),
                                      QStringLiteral("W"), QStringLiteral("5"));
    EXPECT_EQ(IniWithValue(once, QStringLiteral("G"), QStringLiteral("W"), QStringLiteral("5")),
              once);
}

TEST(Ini, WritingIntoVeryLongLines)
{
    const QString longLine(100000, u'y');
    const QString before = QStringLiteral("[F]\n") + longLine + QStringLiteral("\nW=1\n");
    const QString after = IniWithValue(before, QStringLiteral("F"), QStringLiteral("W"), longLine);
    EXPECT_EQ(after,
              QStringLiteral("[F]\n") + longLine + QStringLiteral("\nW=") + longLine
                  + QStringLiteral("\n"));
}

// --- Property: a write changes one line and nothing else ------------------------

namespace {

struct Line
{
    QString Body;
    QString Break; // "\n", "\r\n" or "" for a last line without one
};

QList<Line> Lines(const QString &text)
{
    QList<Line> lines;
    qsizetype begin = 0;
    while (begin < text.size()) {
        const qsizetype nl = text.indexOf(u'\n', begin);
        if (nl < 0) {
            lines.append({text.mid(begin), QString()});
            break;
        }
        const bool cr = nl > begin && text.at(nl - 1) == u'\r';
        lines.append({text.mid(begin, nl - begin - (cr ? 1 : 0)),
                      cr ? QStringLiteral("\r\n") : QStringLiteral("\n")});
        begin = nl + 1;
    }
    return lines;
}

const char *const Sections[] = {"A", "b", "Field"};
const char *const Keys[] = {"x", "Y", "Width"};

QString RandomText(QRandomGenerator &random)
{
    static const char *const pieces[]
        = {"[A]",         "[a]",  "[B]",     " [ b ] ",     "[Field]",     "[field] ; note",
           "[A",          "x=1",  "X = 2",   "  y =",       "Y=old value", "Width=20",
           "width = 21 ", "junk", "",        "   ",         "; x=9",       "=5",
           "x==",         "[]",   "z\t=\t3", "Widthless=1", "\x01\x7f",    "é=ü"};
    QString text;
    const int count = static_cast<int>(random.bounded(12));
    const bool crlf = random.bounded(3) == 0;
    for (int i = 0; i < count; ++i) {
        text += QString::fromUtf8(pieces[random.bounded(int(std::size(pieces)))]);
        if (i + 1 < count || random.bounded(2) == 0)
            text += crlf || random.bounded(8) == 0 ? QStringLiteral("\r\n") : QStringLiteral("\n");
    }
    return text;
}

QString RandomValue(QRandomGenerator &random)
{
    static const char *const values[] = {"1", "0", "", "  padded  ", "Glacé", "a=b", "-3", "[x]"};
    return QString::fromUtf8(values[random.bounded(int(std::size(values)))]);
}

// The lines of after are the lines of before, except that exactly one line was
// replaced by the entry, or the entry was inserted, or the section header and
// entry were appended; a last line without a break may have gained one.
::testing::AssertionResult OnlyTheKeyChanged(const QString &before, const QString &after,
                                             const QString &section, const QString &entry)
{
    const QList<Line> a = Lines(before);
    const QList<Line> b = Lines(after);
    auto same = [&](qsizetype i, qsizetype j) {
        if (a[i].Body != b[j].Body)
            return false;
        return a[i].Break == b[j].Break || (i == a.size() - 1 && a[i].Break.isEmpty());
    };
    // Leading lines equal, trailing lines equal; what lies between is the change.
    qsizetype head = 0;
    while (head < a.size() && head < b.size() && same(head, head))
        ++head;
    qsizetype tail = 0;
    while (tail < a.size() - head && tail < b.size() - head
           && same(a.size() - 1 - tail, b.size() - 1 - tail))
        ++tail;
    const qsizetype removed = a.size() - head - tail;
    QStringList added;
    for (qsizetype j = head; j < b.size() - tail; ++j)
        added << b[j].Body;
    const bool replaced = removed == 1 && added == QStringList {entry};
    const bool inserted = removed == 0 && added == QStringList {entry};
    const bool appended = removed == 0 && tail == 0 && added.size() == 2
        && added[0] == u'[' + section + u']' && added[1] == entry;
    // The key's line may already have been exactly the entry.
    const bool unchanged = before == after
        && std::any_of(a.begin(), a.end(), [&](const Line &l) { return l.Body == entry; });
    if (replaced || inserted || appended || unchanged)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
        << "removed " << removed << " lines, added [" << added.join(u'|').toStdString() << "]";
}

} // namespace

TEST(Ini, WriteChangesOnlyTheKeysLine)
{
    QRandomGenerator random(20240607);
    for (int round = 0; round < 3000; ++round) {
        const QString before = RandomText(random);
        const QString section = Text(Sections[random.bounded(3)]);
        const QString key = Text(Keys[random.bounded(3)]);
        const QString value = RandomValue(random);
        const QString after = IniWithValue(before, section, key, value);
        const std::string context = "round " + std::to_string(round) + ", before:\n"
            + before.toStdString() + "\nafter:\n" + after.toStdString();

        EXPECT_TRUE(OnlyTheKeyChanged(before, after, section, key + u'=' + value)) << context;
        EXPECT_EQ(IniValue(after, section, key, Fallback), value.trimmed()) << context;
        // Every other key reads as before.
        for (const char *s : Sections) {
            for (const char *k : Keys) {
                if (Text(s).compare(section, Qt::CaseInsensitive) == 0
                    && Text(k).compare(key, Qt::CaseInsensitive) == 0)
                    continue;
                EXPECT_EQ(IniValue(after, Text(s), Text(k), Fallback),
                          IniValue(before, Text(s), Text(k), Fallback))
                    << s << "/" << k << ", " << context;
            }
        }
        // Line breaks keep their kind: no line of the result ends in a lone "\r".
        EXPECT_EQ(after.count(QStringLiteral("\r\n")), after.count(u'\r')) << context;
        if (HasFailure())
            break;
    }
}

// --- Numbers ---------------------------------------------------------------------

namespace {

struct IntegerCase
{
    const char *Text;
    int Expected; // Default for the fallback
};

constexpr int Default = -777;

class IniIntegers : public testing::TestWithParam<IntegerCase>
{ };

} // namespace

TEST_P(IniIntegers, Read)
{
    EXPECT_EQ(IniInteger(Text(GetParam().Text), Default), GetParam().Expected)
        << '"' << GetParam().Text << '"';
}

INSTANTIATE_TEST_SUITE_P(
    Ini, IniIntegers,
    testing::Values(
        IntegerCase {"12", 12}, IntegerCase {" 12 ", 12}, IntegerCase {"\t12", 12},
        IntegerCase {"-5", -5}, IntegerCase {"+5", 5}, IntegerCase {"0", 0}, IntegerCase {"-0", 0},
        IntegerCase {"007", 7}, IntegerCase {"0x1F", 31}, IntegerCase {"0X1f", 31},
        IntegerCase {"$ff", 255}, IntegerCase {"$FF", 255}, IntegerCase {"$0", 0},
        IntegerCase {"0x7FFFFFFF", INT_MAX}, IntegerCase {"$FFFFFFFF", -1},
        IntegerCase {"$80000000", INT_MIN}, IntegerCase {"2147483647", INT_MAX},
        IntegerCase {"-2147483648", INT_MIN}, IntegerCase {"2147483648", Default},
        IntegerCase {"-2147483649", Default}, IntegerCase {"$100000000", Default},
        IntegerCase {"99999999999", Default}, IntegerCase {"99999999999999999999999", Default},
        IntegerCase {"12abc", Default}, IntegerCase {"abc", Default}, IntegerCase {"", Default},
        IntegerCase {"   ", Default}, IntegerCase {"true", Default}, IntegerCase {"yes", Default},
        IntegerCase {"0x", Default}, IntegerCase {"$", Default}, IntegerCase {"$-1", Default},
        IntegerCase {"$+1", Default}, IntegerCase {"0x-1", Default}, IntegerCase {"$ 1F", Default},
        IntegerCase {"$ -1", Default}, IntegerCase {"0x 1F", Default},
        IntegerCase {"0x0x1F", Default}, IntegerCase {"$0x1F", Default},
        IntegerCase {"$$1", Default}, IntegerCase {"0xg", Default}, IntegerCase {"1 2", Default},
        IntegerCase {"- 5", Default}, IntegerCase {"+-5", Default}, IntegerCase {"--5", Default},
        IntegerCase {"1e3", Default}, IntegerCase {"12.5", Default}, IntegerCase {"1,000", Default},
        IntegerCase {"\u0661\u0662", Default}, IntegerCase {"\uFF11\uFF12", Default}));

// --- The file on disk ---------------------------------------------------------------

namespace {

class IniFileTest : public testing::Test
{
protected:
    QString Path(const char *name = "korvane.ini") const { return Dir.filePath(Text(name)); }

    QByteArray Contents(const char *name = "korvane.ini") const
    {
        QFile file(Path(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    void Store(const QByteArray &bytes, const char *name = "korvane.ini") const
    {
        QFile file(Path(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_EQ(file.write(bytes), bytes.size());
    }

    QTemporaryDir Dir;
};

} // namespace

TEST_F(IniFileTest, MissingFileGivesTheDefaults)
{
    const IniFile ini(Path());
    EXPECT_EQ(ini.ReadString(QStringLiteral("Settings"), QStringLiteral("Skin"),
                             QStringLiteral("Default")),
              QStringLiteral("Default"));
    EXPECT_EQ(ini.ReadInteger(QStringLiteral("Field"), QStringLiteral("Width"), 11), 11);
    EXPECT_TRUE(ini.ReadBool(QStringLiteral("Field"), QStringLiteral("Beginner"), true));
    EXPECT_FALSE(ini.ReadBool(QStringLiteral("Field"), QStringLiteral("Expert"), false));
    EXPECT_FALSE(QFile::exists(Path()));
    EXPECT_EQ(ini.Path(), Path());
}

TEST_F(IniFileTest, FirstWriteCreatesTheFile)
{
    IniFile ini(Path());
    ini.WriteBool(QStringLiteral("Field"), QStringLiteral("Beginner"), true);
    ini.WriteInteger(QStringLiteral("Field"), QStringLiteral("Width"), -3);
    ini.WriteBool(QStringLiteral("Settings"), QStringLiteral("Marks"), false);
    ini.WriteString(QStringLiteral("Settings"), QStringLiteral("Skin"), QStringLiteral("Glacé"));
    // Writes stay in memory until the one save.
    EXPECT_FALSE(QFile::exists(Path()));
    ASSERT_TRUE(ini.Save());
    EXPECT_EQ(Contents(),
              "[Field]\nBeginner=1\nWidth=-3\n[Settings]\nMarks=0\nSkin=Glac\xC3\xA9\n");

    const IniFile again(Path());
    EXPECT_TRUE(again.ReadBool(QStringLiteral("Field"), QStringLiteral("Beginner"), false));
    EXPECT_EQ(again.ReadInteger(QStringLiteral("Field"), QStringLiteral("Width"), 11), -3);
    EXPECT_FALSE(again.ReadBool(QStringLiteral("Settings"), QStringLiteral("Marks"), true));
    EXPECT_EQ(again.ReadString(QStringLiteral("Settings"), QStringLiteral("Skin"), {}),
              QStringLiteral("Glacé"));
}

TEST_F(IniFileTest, ReadsTheFileAsItWasAtConstruction)
{
    Store("[Field]\nWidth=20\n");
    const IniFile ini(Path());
    Store("[Field]\nWidth=30\n");
    EXPECT_EQ(ini.ReadInteger(QStringLiteral("Field"), QStringLiteral("Width"), 11), 20);
}

namespace {

struct BoolCase
{
    const char *Stored; // nullptr: no key
    bool Fallback;
    bool Expected;
};

class IniBools : public testing::TestWithParam<BoolCase>
{ };

} // namespace

TEST_P(IniBools, Read)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("b.ini"));
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("[Field]\n");
        if (GetParam().Stored)
            file.write(QByteArray("Beginner=") + GetParam().Stored + "\n");
    }
    EXPECT_EQ(IniFile(path).ReadBool(QStringLiteral("Field"), QStringLiteral("Beginner"),
                                     GetParam().Fallback),
              GetParam().Expected)
        << (GetParam().Stored ? GetParam().Stored : "(missing)");
}

INSTANTIATE_TEST_SUITE_P(
    Ini, IniBools,
    testing::Values(BoolCase {"1", false, true}, BoolCase {"0", true, false},
                    BoolCase {"2", false, true}, BoolCase {"-1", false, true},
                    BoolCase {"$10", false, true}, BoolCase {"0x0", true, false},
                    BoolCase {"true", false, false}, BoolCase {"true", true, true},
                    BoolCase {"yes", false, false}, BoolCase {"false", true, true},
                    BoolCase {"", true, true}, BoolCase {"", false, false},
                    BoolCase {nullptr, true, true}, BoolCase {nullptr, false, false},
                    BoolCase {"99999999999", true, true}));

TEST_F(IniFileTest, EmptyOrWordValueGivesTheIntegerDefault)
{
    Store("[Field]\nWidth=\nHeight=wide\nBombs= 12 \nWalls=0x10\n");
    const IniFile ini(Path());
    EXPECT_EQ(ini.ReadInteger(QStringLiteral("Field"), QStringLiteral("Width"), 11), 11);
    EXPECT_EQ(ini.ReadInteger(QStringLiteral("Field"), QStringLiteral("Height"), 11), 11);
    EXPECT_EQ(ini.ReadInteger(QStringLiteral("Field"), QStringLiteral("Bombs"), 10), 12);
    EXPECT_EQ(ini.ReadInteger(QStringLiteral("field"), QStringLiteral("WALLS"), 0), 16);
}

TEST_F(IniFileTest, WriteKeepsEveryOtherByteOfTheFile)
{
    const QByteArray before = "; written by hand\r\n[Settings]\r\nSkin = Ice  \r\n"
                              "Extra=kept\r\n\r\n[Other]\r\nA=1";
    Store(before);
    IniFile ini(Path());
    ini.WriteString(QStringLiteral("settings"), QStringLiteral("skin"), QStringLiteral("Fire"));
    ini.WriteString(QStringLiteral("Other"), QStringLiteral("B"), QStringLiteral("2"));
    ASSERT_TRUE(ini.Save());
    EXPECT_EQ(Contents(),
              QByteArray("; written by hand\r\n[Settings]\r\nskin=Fire\r\n"
                         "Extra=kept\r\n\r\n[Other]\r\nA=1\r\nB=2\r\n"));
}

// Bytes that are not UTF-8 (a file edited in another encoding, or damaged) are
// kept as they were in the lines that are not written.
TEST_F(IniFileTest, WriteKeepsBytesThatAreNotUtf8)
{
    const QByteArray before("[Settings]\nSkin=Glac\xE9\nJunk=\xFF\xFE\x00\x01\x80\n"
                            "Width=5\n",
                            41);
    Store(before);
    IniFile ini(Path());
    EXPECT_EQ(ini.ReadString(QStringLiteral("Settings"), QStringLiteral("Width"), {}),
              QStringLiteral("5"));
    ini.WriteInteger(QStringLiteral("Settings"), QStringLiteral("Width"), 7);
    ASSERT_TRUE(ini.Save());
    QByteArray expected = before;
    expected.replace("Width=5", "Width=7");
    EXPECT_EQ(Contents(), expected);

    // Such a file is taken as Latin-1, and new text is written to it the same way.
    EXPECT_EQ(ini.ReadString(QStringLiteral("Settings"), QStringLiteral("Skin"), {}),
              QStringLiteral("Glacé"));
    ini.WriteString(QStringLiteral("Settings"), QStringLiteral("Font"), QStringLiteral("Crème"));
    ASSERT_TRUE(ini.Save());
    EXPECT_TRUE(Contents().endsWith("Font=Cr\xE8me\n"));
    EXPECT_EQ(IniFile(Path()).ReadString(QStringLiteral("Settings"), QStringLiteral("Font"), {}),
              QStringLiteral("Crème"));
}

TEST_F(IniFileTest, ByteOrderMarkIsKeptAndIgnored)
{
    Store("\xEF\xBB\xBF[Field]\nWidth=20\n");
    IniFile ini(Path());
    EXPECT_EQ(ini.ReadInteger(QStringLiteral("Field"), QStringLiteral("Width"), 11), 20);
    ini.WriteInteger(QStringLiteral("Field"), QStringLiteral("Width"), 30);
    ASSERT_TRUE(ini.Save());
    EXPECT_EQ(Contents(), QByteArray("\xEF\xBB\xBF[Field]\nWidth=30\n"));
}

template<std::size_t N>
QByteArray Bytes(const char (&bytes)[N])
{
    return QByteArray(bytes, N - 1);
}

// Every character is kept: in the file's own encoding when it can hold them
// all, else the whole text in UTF-8; "; é" is a line the program does not own.
TEST_F(IniFileTest, EncodingsKeepEveryCharacter)
{
    const struct
    {
        const char *Name;
        QByteArray Before;
        const char *Read; // nullptr: the fallback
        const char *Write;
        QByteArray After;
    } cases[] {
        {"Utf8", "; \xC3\xA9\n[S]\nK=\xC3\xA9\n", "é", "Ω", "; \xC3\xA9\n[S]\nK=\xCE\xA9\n"},
        {"Utf8Mark", "\xEF\xBB\xBF[S]\r\nK=1\r\n", "1", "Ω", "\xEF\xBB\xBF[S]\r\nK=\xCE\xA9\r\n"},
        {"Utf16LE", Bytes("\xFF\xFE;\0 \0\xE9\0\r\0\n\0[\0S\0]\0\r\0\n\0K\0=\0\xA9\x03\r\0\n\0"),
         "Ω", "è", Bytes("\xFF\xFE;\0 \0\xE9\0\r\0\n\0[\0S\0]\0\r\0\n\0K\0=\0\xE8\0\r\0\n\0")},
        {"Utf16BENewSection", Bytes("\xFE\xFF\0;\0 \0\xE9\0\n"), nullptr, "Ω",
         Bytes("\xFE\xFF\0;\0 \0\xE9\0\n\0[\0S\0]\0\n\0K\0=\x03\xA9\0\n")},
        {"Utf16LEWithoutMark", Bytes("[\0S\0]\0\n\0K\0=\0\xA9\x03\n\0"), "Ω", "0",
         Bytes("[\0S\0]\0\n\0K\0=\0\x30\0\n\0")},
        {"Utf16BEWithoutMarkNewSection", Bytes("\0;\0 \0\xE9"), nullptr, "Ω",
         Bytes("\0;\0 \0\xE9\0\n\0[\0S\0]\0\n\0K\0=\x03\xA9\0\n")},
        {"Utf8ThatAWriteWouldMakeLookLikeUtf16", Bytes("\0"), nullptr, "1",
         Bytes("\xEF\xBB\xBF\0\n[S]\nK=1\n")},
        {"Latin1Holds", "; \xE9\n[S]\nK=\xE9\n", "é", "è", "; \xE9\n[S]\nK=\xE8\n"},
        {"Latin1CannotHold", "; \xE9\n[S]\nK=\xE9\n", "é", "Ω", "; \xC3\xA9\n[S]\nK=\xCE\xA9\n"},
        {"Utf8CutShortIsLatin1", "[S]\nK=1\n; \xC3", "1", "è", "[S]\nK=\xE8\n; \xC3"},
        // "; Ã©" in Latin-1 is valid UTF-8 once the value's byte is gone.
        {"Latin1ThatWouldReadAsUtf8", "; \xC3\xA9\n[S]\nK=\xE9\n", "é", "1",
         "; \xC3\x83\xC2\xA9\n[S]\nK=1\n"},
    };
    for (const auto &c : cases) {
        Store(c.Before);
        IniFile ini(Path());
        EXPECT_EQ(ini.ReadString(QStringLiteral("S"), QStringLiteral("K"), Fallback),
                  c.Read ? Text(c.Read) : Fallback)
            << c.Name;
        ini.WriteString(QStringLiteral("S"), QStringLiteral("K"), Text(c.Write));
        ASSERT_TRUE(ini.Save()) << c.Name;
        EXPECT_EQ(Contents(), c.After) << c.Name;
        EXPECT_EQ(IniFile(Path()).ReadString(QStringLiteral("S"), QStringLiteral("K"), {}),
                  Text(c.Write))
            << c.Name;
    }
}

TEST_F(IniFileTest, GarbageFileReadsAsDefaults)
{
    QByteArray garbage;
    QRandomGenerator random(99);
    for (int i = 0; i < 100000; ++i)
        garbage.append(static_cast<char>(random.bounded(256)));
    garbage.replace('[', 'x');
    Store(garbage);
    IniFile ini(Path());
    EXPECT_EQ(ini.ReadInteger(QStringLiteral("Field"), QStringLiteral("Width"), 11), 11);
    ini.WriteInteger(QStringLiteral("Field"), QStringLiteral("Width"), 12);
    ASSERT_TRUE(ini.Save());
    const QByteArray after = Contents();
    EXPECT_TRUE(after.startsWith(garbage)) << "the garbage before the new section is kept";
    EXPECT_EQ(IniFile(Path()).ReadInteger(QStringLiteral("Field"), QStringLiteral("Width"), 11),
              12);
}

// A file of many megabytes is not a settings file: it is read only as far as a
// settings file could go, quickly, and it is never cut short by a write.
TEST_F(IniFileTest, HugeFileIsReadUpToACapAndNotRewritten)
{
    QByteArray huge = "[Field]\nWidth=20\n";
    const QByteArray filler = QByteArray(99, 'f') + '\n';
    while (huge.size() < 5 * 1024 * 1024)
        huge += filler;
    huge += "[Late]\nKey=1\n";
    Store(huge);

    QElapsedTimer timer;
    timer.start();
    IniFile ini(Path());
    EXPECT_EQ(ini.ReadInteger(QStringLiteral("Field"), QStringLiteral("Width"), 11), 20);
    EXPECT_EQ(ini.ReadInteger(QStringLiteral("Late"), QStringLiteral("Key"), 0), 0);
    EXPECT_LT(timer.elapsed(), 10000);

    ini.WriteInteger(QStringLiteral("Field"), QStringLiteral("Width"), 30);
    EXPECT_FALSE(ini.Save());
    EXPECT_TRUE(Contents() == huge) << "the file was rewritten";
}

TEST_F(IniFileTest, WriteIntoAMissingFolderFails)
{
    IniFile ini(Dir.filePath(QStringLiteral("no such folder/korvane.ini")));
    ini.WriteInteger(QStringLiteral("Field"), QStringLiteral("Width"), 20);
    EXPECT_FALSE(ini.Save());
    EXPECT_FALSE(QDir(Dir.filePath(QStringLiteral("no such folder"))).exists());
}

TEST_F(IniFileTest, WriteOverADirectoryFails)
{
    ASSERT_TRUE(QDir(Dir.path()).mkdir(QStringLiteral("korvane.ini")));
    IniFile ini(Path());
    ini.WriteInteger(QStringLiteral("Field"), QStringLiteral("Width"), 20);
    EXPECT_FALSE(ini.Save());
    EXPECT_TRUE(QFileInfo(Path()).isDir());
}

TEST_F(IniFileTest, WriteBelowAFileFails)
{
    Store("plain", "plain");
    IniFile ini(Dir.filePath(QStringLiteral("plain/korvane.ini")));
    ini.WriteInteger(QStringLiteral("Field"), QStringLiteral("Width"), 20);
    EXPECT_FALSE(ini.Save());
    EXPECT_EQ(Contents("plain"), "plain");
}

TEST_F(IniFileTest, WriteInAReadOnlyFolderFailsAndKeepsTheOldFile)
{
    const QByteArray before = "[Field]\nWidth=20\n";
    Store(before);
    IniFile ini(Path());
    const auto writable = QFile::permissions(Dir.path());
    ASSERT_TRUE(QFile::setPermissions(Dir.path(),
                                      QFileDevice::ReadOwner | QFileDevice::ExeOwner
                                          | QFileDevice::ReadUser | QFileDevice::ExeUser));
    const UnprivilegedFiles user(Dir.path());
    if (!user.Unavailable().isEmpty()) {
        QFile::setPermissions(Dir.path(), writable);
        GTEST_SKIP() << user.Unavailable().toStdString();
    }
    // Some users write into read-only folders anyway: find out by trying.
    QFile probe(Dir.filePath(QStringLiteral("probe")));
    const bool ignored = probe.open(QIODevice::WriteOnly);
    probe.close();
    if (ignored) {
        QFile::remove(probe.fileName());
        QFile::setPermissions(Dir.path(), writable);
        GTEST_SKIP() << "this user can write into a read-only folder";
    }
    ini.WriteInteger(QStringLiteral("Field"), QStringLiteral("Width"), 30);
    const bool written = ini.Save();
    QFile::setPermissions(Dir.path(), writable);
    EXPECT_FALSE(written);
    EXPECT_EQ(Contents(), before);
    EXPECT_EQ(QDir(Dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
              QStringList {"korvane.ini"});
}

// --- Where the file lives -------------------------------------------------------------

namespace {

struct PathCase
{
    const char *Program;
    const char *Settings;
};

class SettingsPaths : public testing::TestWithParam<PathCase>
{ };

} // namespace

TEST_P(SettingsPaths, ExtensionIsReplacedByIni)
{
    EXPECT_EQ(SettingsPath(Text(GetParam().Program)), Text(GetParam().Settings));
}

INSTANTIATE_TEST_SUITE_P(Ini, SettingsPaths,
                         testing::Values(PathCase {"/a/b/korvane", "/a/b/korvane.ini"},
                                         PathCase {"/a/b/game.exe", "/a/b/game.ini"},
                                         PathCase {"/a.b/korvane", "/a.b/korvane.ini"},
                                         PathCase {"/a/b/x.tar.gz", "/a/b/x.tar.ini"},
                                         PathCase {"/a/b/korvane.", "/a/b/korvane.ini"},
                                         PathCase {"/a/b/.hidden", "/a/b/.ini"},
                                         PathCase {"korvane", "korvane.ini"},
                                         PathCase {"game.exe", "game.ini"},
                                         PathCase {"/a/b/korvane.ini", "/a/b/korvane.ini"},
                                         PathCase {"/a.b/c.d/korvane", "/a.b/c.d/korvane.ini"},
                                         PathCase {"", ".ini"}));
